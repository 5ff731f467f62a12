#pragma once
// Every handler that the window layer calls from Qt runs through Guarded: an
// exception never crosses into Qt but goes to the application object's handler,
// and handlers of a component that is being freed are not called at all.
#include "platform/rtl/Application.h"
#include "platform/rtl/Component.h"

// False while the component or one of its owners is being freed.
inline bool Reachable(const TComponent* component) {
  for (const TComponent* c = component; c != nullptr; c = c->Owner()) {
    if (c->ComponentState().Contains(csDestroying)) return false;
  }
  return true;
}

template <typename Handler>
void Guarded(TComponent* sender, Handler&& handler) noexcept {
  if (!Reachable(sender)) return;
  try {
    handler();
  } catch (...) {
    try {
      Application().HandleException(sender);
    } catch (...) {
      // Showing the error failed too; there is nobody left to tell.
    }
  }
}
