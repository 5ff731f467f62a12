#pragma once
// One-line edit boxes. OnChange runs whenever the text changes, by typing or by
// code. A read-only box still reports its keys to OnKeyPress.
#include <string>

#include "platform/ui/Control.h"

class TEdit : public TWinControl {
 public:
  explicit TEdit(TComponent* owner);

  std::string Text() const;
  void SetText(const std::string& text);
  void Clear() { SetText({}); }
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool read_only);
  // The most characters the user may type; 0 for no limit.
  int MaxLength() const { return max_length_; }
  void SetMaxLength(int length);
  // A character shown in place of each typed one; 0 shows the text.
  char32_t PasswordChar() const { return password_char_; }
  void SetPasswordChar(char32_t character);
  void SelectAll();

  TNotifyEvent OnChange;

 protected:
  void ApplyColor(TColor color) override;
  virtual void Change();

 private:
  bool read_only_ = false;
  int max_length_ = 0;
  char32_t password_char_ = 0;
};

// An edit box that the forms give an edit mask; the mask is kept but not enforced.
class TMaskEdit : public TEdit {
 public:
  using TEdit::TEdit;
  const std::string& EditMask() const { return edit_mask_; }
  void SetEditMask(std::string mask) { edit_mask_ = std::move(mask); }

 private:
  std::string edit_mask_;
};
