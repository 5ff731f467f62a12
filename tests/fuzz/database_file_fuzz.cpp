// libFuzzer target of opening damaged database files. An input is a database
// file, or damage to a seed database built at start-up (see
// tests/support/DatabaseFileExercise.h); the file is opened and everything
// it reaches is read. Engine errors are the accepted answer to damage.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/DatabaseFileExercise.h"

namespace {

// The file under test, of this process alone.
const std::filesystem::path& DatabaseFile() {
  static const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("vtr-fuzz-" + std::to_string(::getpid()) + ".vtr");
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  const std::string fault = ExerciseDatabaseInput(data, size, DatabaseFile());
  if (!fault.empty()) {
    std::fprintf(stderr, "%s\n", fault.c_str());
    std::abort();
  }
  return 0;
}
