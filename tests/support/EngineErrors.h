#pragma once
// The native code and the message of the engine error an action raises; 0
// and empty when it raises none.
#include <cstdint>
#include <string>

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

template <typename Action>
std::string EngineErrorMessageOf(Action&& action) {
  try {
    action();
  } catch (const EVTRException& e) {
    return e.Message();
  }
  return {};
}
