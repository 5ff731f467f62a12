#include "engine/foundation/Invariant.h"

#include <cstdio>
#include <cstdlib>

#ifdef VTR_CHECK_INVARIANTS
void VTRInvariantBroken(const char* condition, const char* file, int line) noexcept {
  std::fprintf(stderr, "%s:%d: engine invariant broken: %s\n", file, line, condition);
  std::abort();
}
#endif
