#pragma once
// TLayoutForm: a form drawn from one of the engine's window layouts with the
// window toolkit's controls: the frame's caption, client size, border,
// placement, cursor and font, and each control by its kind, named as the
// layout names it. The first control that takes the focus has it when the
// form shows, as a dialog of the platform gives it.
#include <stdexcept>
#include <string>
#include <string_view>

#include "engine/access/WindowLayout.h"
#include "platform/ui/Form.h"

class TLayoutForm : public TForm {
 public:
  TLayoutForm(TComponent* owner, const TWindowLayout& layout);

  // The control the layout names; std::logic_error when it names no control
  // of that kind.
  template <typename T>
  T& Control(std::string_view name) const {
    auto* control = dynamic_cast<T*>(FindComponent(name));
    if (control == nullptr)
      throw std::logic_error("the window's layout has no such control: " + std::string(name));
    return *control;
  }

 private:
  void AddControl(const TLayoutControl& layout);
};
