#pragma once
// How a main window's menu opens its windows: each menu item that opens a
// window has a factory under the item's name. A child is made through the
// application object (a new instance each time, recorded as the newest of its
// class) and shown as an MDI child; a picker is made the same way, told the
// window that opened it, and shown modally. An item without a factory has no
// window yet and stays disabled.
#include <functional>
#include <map>
#include <string>
#include <type_traits>

#include "platform/ui/Form.h"
#include "platform/ui/FormsApplication.h"

class TMdiFrame;

struct WindowFactory {
  bool modal = false;
  std::function<TForm*(TMdiFrame& opener)> create;
};

// T is constructed with (owner), or with (owner, opener) when it takes one.
template <typename T>
WindowFactory ChildWindow() {
  return {false, [](TMdiFrame& opener) -> TForm* {
            if constexpr (std::is_constructible_v<T, TComponent*, TMdiFrame&>) {
              return FormsApplication().CreateForm<T>(opener);
            } else {
              return FormsApplication().CreateForm<T>();
            }
          }};
}

// T is constructed with (owner, opener).
template <typename T>
WindowFactory PickerWindow() {
  return {true, [](TMdiFrame& opener) -> TForm* { return FormsApplication().CreateForm<T>(opener); }};
}

using WindowFactories = std::map<std::string, WindowFactory, std::less<>>;
