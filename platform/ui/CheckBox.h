#pragma once
// A check box. A change of its state, by the user or by code, runs OnClick.
#include <string>

#include "platform/ui/Control.h"

class TCheckBox : public TWinControl {
 public:
  explicit TCheckBox(TComponent* owner);

  std::string Caption() const;
  void SetCaption(const std::string& caption);
  bool Checked() const;
  void SetChecked(bool checked);
};
