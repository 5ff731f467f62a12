#include "platform/rtl/Object.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

std::string TObject::ClassName() const {
  const char* mangled = typeid(*this).name();
  int status = 0;
  std::unique_ptr<char, decltype(&std::free)> demangled(
      abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &std::free);
  std::string name = status == 0 && demangled ? demangled.get() : mangled;
  // Namespaces (the test tree's anonymous ones among them) are not part of a class name.
  const size_t scope = name.rfind("::");
  return scope == std::string::npos ? name : name.substr(scope + 2);
}
