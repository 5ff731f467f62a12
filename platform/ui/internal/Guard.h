#pragma once
// Every handler that the window layer calls from Qt runs through Guarded: an
// exception never crosses into Qt but goes to the application object's handler,
// and handlers of a component that is being freed, or of a control of a form
// that is closing, are not called at all.
#include "platform/rtl/Application.h"
#include "platform/rtl/Component.h"
#include "platform/ui/Form.h"

// False while the component or one of its owners is being freed, and while a
// form that owns it or holds it (other than itself) is closing.
inline bool Reachable(const TComponent* component) {
  auto closing = [component](const TComponent* c) {
    const auto* form = dynamic_cast<const TForm*>(c);
    return form != nullptr && form != component && form->Closing();
  };
  for (const TComponent* c = component; c != nullptr; c = c->Owner()) {
    if (c->ComponentState().Contains(csDestroying) || closing(c)) return false;
  }
  const auto* control = dynamic_cast<const TControl*>(component);
  return control == nullptr || !closing(control->ParentForm());
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
