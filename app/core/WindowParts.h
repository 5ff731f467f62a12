#pragma once
// The parts that the programs' windows build in code: controls placed on the
// form or on a panel of it, and the window's own connection to the database
// file.
#include <string>
#include <string_view>

#include "platform/db/DataSource.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/Form.h"
#include "platform/ui/Label.h"

class TVTRDatabase;

// A control owned by `form`, named, placed, and shown on `parent` (the form
// itself when null).
template <typename T>
T& MakeControl(TForm& form, const std::string& name, int left, int top, int width, int height,
               TWinControl* parent = nullptr) {
  auto* control = new T(&form);
  control->SetName(name);
  if (parent != nullptr) control->SetParent(parent);
  control->SetBounds(left, top, width, height);
  return *control;
}

// A label with its caption, placed as MakeControl places it, 16 pixels high.
inline TLabel& MakeLabel(TForm& form, const std::string& name, std::string_view caption, int left, int top,
                         int width, TWinControl* parent = nullptr) {
  auto& label = MakeControl<TLabel>(form, name, left, top, width, 16, parent);
  label.SetCaption(std::string(caption));
  return label;
}

// A button with its caption, placed as MakeControl places it, 28 pixels high.
inline TButton& MakeButton(TForm& form, const std::string& name, std::string_view caption, int left, int top,
                           int width, TWinControl* parent = nullptr) {
  auto& button = MakeControl<TButton>(form, name, left, top, width, 28, parent);
  button.SetCaption(std::string(caption));
  return button;
}

// A data source of `owner`, named, over `rows`.
inline TDataSource& MakeDataSource(TComponent& owner, const std::string& name, TDataSet& rows) {
  auto* source = new TDataSource(&owner);
  source->SetName(name);
  source->SetDataSet(&rows);
  return *source;
}

// The window's connection `name` with its own alias on the program's database
// file in the working folder, shared with other connections of this and other
// programs (not exclusive, multi-user, up to 500 connections, session
// "Default"). It connects when its first dataset opens.
TVTRDatabase& MakeWindowDatabase(TComponent& owner, const std::string& name, const std::string& alias);
