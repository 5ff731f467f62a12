# Layering by include paths. Every include names its file from the top of the
# tree ("engine/storage/pager/Page.h"), but no target gets the top of the tree
# as an include folder. Each layer gets a folder of its own in the build tree
# that holds one symbolic link, named like the layer's folder, to that folder:
#   <build>/vtr-include/engine_storage/engine/storage -> <source>/engine/storage
# A layer's library publishes that folder, so a target sees exactly the layers
# it links, directly or through their DEPS, and an include that points up a
# layer fails to compile. Tests see the tests/ folder besides the layers they
# link.
set(VTR_INCLUDE_FOREST ${CMAKE_BINARY_DIR}/vtr-include)

# vtr_include_folder(<out-var> <name> <folder relative to the source tree>)
# The include folder that shows only that folder of the source tree.
function(vtr_include_folder out_var name folder)
  set(root ${VTR_INCLUDE_FOREST}/${name})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  set(${out_var} ${root} PARENT_SCOPE)
endfunction()

vtr_include_folder(VTR_TESTS_INCLUDE_DIR tests tests)

# vtr_layer(<target> [DEPS libs...] [PRIVATE_DEPS libs...] [EXCLUDE_DIRS dirs...])
# One static library per layer, made of every .cpp below the calling folder
# (sub-folders listed in EXCLUDE_DIRS hold the layer's programs, built on their own).
function(vtr_layer target)
  cmake_parse_arguments(ARG "" "" "DEPS;PRIVATE_DEPS;EXCLUDE_DIRS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(dir IN LISTS ARG_EXCLUDE_DIRS)
    list(FILTER sources EXCLUDE REGEX "^${CMAKE_CURRENT_SOURCE_DIR}/${dir}/")
  endforeach()
  add_library(${target} STATIC ${sources})
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  vtr_include_folder(include_dir ${target} ${folder})
  target_include_directories(${target} PUBLIC ${include_dir})
  target_link_libraries(${target} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
endfunction()

# vtr_layer_tests(<target> [DEPS libs...] [EXCLUDE_DIRS dirs...])
# One test program per layer, made of every .cpp below the calling folder
# (sub-folders listed in EXCLUDE_DIRS hold helper programs built on their own).
function(vtr_layer_tests target)
  cmake_parse_arguments(ARG "" "" "DEPS;EXCLUDE_DIRS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(dir IN LISTS ARG_EXCLUDE_DIRS)
    list(FILTER sources EXCLUDE REGEX "^${CMAKE_CURRENT_SOURCE_DIR}/${dir}/")
  endforeach()
  add_executable(${target} ${sources})
  target_include_directories(${target} PRIVATE ${VTR_TESTS_INCLUDE_DIR})
  target_link_libraries(${target} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  # Test code only drives the layers, which keep their own optimisation; not
  # optimising it makes the sanitizer build markedly quicker to compile.
  if(VTR_SANITIZE)
    target_compile_options(${target} PRIVATE -O0)
  endif()
  # Parameterised tests are named by their index or their name generator, never by
  # a dump of their parameter's bytes.
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 120 NO_PRETTY_VALUES
                       PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# vtr_layer_test_folders()
# Called in tests/<group>: adds the test folder of each layer of VTR_LAYERS in
# that group that has tests, bottom layer first.
function(vtr_layer_test_folders)
  file(RELATIVE_PATH group ${PROJECT_SOURCE_DIR}/tests ${CMAKE_CURRENT_SOURCE_DIR})
  foreach(layer IN LISTS VTR_LAYERS)
    if(layer MATCHES "^${group}/" AND EXISTS ${PROJECT_SOURCE_DIR}/tests/${layer}/CMakeLists.txt)
      string(REPLACE "${group}/" "" folder ${layer})
      add_subdirectory(${folder})
    endif()
  endforeach()
endfunction()

# vtr_xvfb_tests(<target> <tests>...)
# Runs each named test of the target once more on a real X server (xvfb-run),
# as "<test>UnderXvfb", in the calling folder's build folder, where the pictures
# the tests save stay. Nothing is added without xvfb-run.
function(vtr_xvfb_tests target)
  find_program(XVFB_RUN xvfb-run)
  if(NOT XVFB_RUN)
    return()
  endif()
  foreach(test IN LISTS ARGN)
    add_test(NAME ${test}UnderXvfb COMMAND ${XVFB_RUN} -a $<TARGET_FILE:${target}> --gtest_filter=${test})
    set_tests_properties(${test}UnderXvfb PROPERTIES
                         ENVIRONMENT "QT_QPA_PLATFORM=xcb;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp"
                         WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  endforeach()
endfunction()
