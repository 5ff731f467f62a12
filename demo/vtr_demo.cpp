// A small demonstration of the database engine, run by the README's first
// command until the two programs exist.
#include <cstdio>

#include "engine/foundation/VTRExcept.h"

int main() {
  std::puts("Temple database engine demonstration");
  try {
    throw EVTRException::CreateFmt(30004, "Memory limit exceeded (Limit = %d bytes)", 1024);
  } catch (const EVTRException& e) {
    std::printf("engine error %d: %s\n", e.NativeError(), e.Message().c_str());
  }
  return 0;
}
