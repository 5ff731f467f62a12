#pragma once
// The native code of the engine error an action raises; 0 when it raises none.
#include <cstdint>

#include "engine/foundation/VTRExcept.h"

template <typename Action>
int32_t NativeErrorOf(Action&& action) {
  try {
    action();
  } catch (const EVTRException& e) {
    return e.NativeError();
  }
  return 0;
}
