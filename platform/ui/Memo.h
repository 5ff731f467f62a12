#pragma once
// A multi-line edit box. Tab moves the focus; Enter starts a new line unless
// OnKeyPress swallows it or answers it by moving the focus.
#include <string>
#include <vector>

#include "platform/ui/Control.h"

class TMemo : public TWinControl {
 public:
  explicit TMemo(TComponent* owner);

  std::vector<std::string> Lines() const;
  void SetLines(const std::vector<std::string>& lines);
  // The lines joined with CR LF.
  std::string Text() const;
  // CR LF, CR and LF all end a line.
  void SetText(const std::string& text);
  void Clear() { SetText({}); }
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool read_only);

  TNotifyEvent OnChange;

 protected:
  void ApplyColor(TColor color) override;

 private:
  bool read_only_ = false;
};
