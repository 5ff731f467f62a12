#pragma once
// One-line edit boxes. OnChange runs whenever the text changes, by typing or by
// code. A read-only box still reports its keys to OnKeyPress. The length limit
// holds for typing only: text set by code is kept whole.
#include <string>

#include "platform/ui/Control.h"

class TEdit : public TWinControl {
 public:
  explicit TEdit(TComponent* owner);

  std::string Text() const;
  void SetText(const std::string& text);
  void Clear() { SetText({}); }
  bool ReadOnly() const { return read_only_; }
  virtual void SetReadOnly(bool read_only);
  // The most characters the user may type; 0 for no limit.
  int MaxLength() const { return max_length_; }
  virtual void SetMaxLength(int length);
  // A character shown in place of each typed one; 0 shows the text.
  char32_t PasswordChar() const { return password_char_; }
  void SetPasswordChar(char32_t character);
  void SelectAll();

  TNotifyEvent OnChange;

 protected:
  void ApplyColor(TColor color) override;
  char32_t KeyPress(char32_t key) override;
  virtual void Change();
  // The most characters typing may reach (0: no limit), apart from MaxLength.
  void LimitTyping(int characters) { typing_limit_ = characters; }

 private:
  bool read_only_ = false;
  int max_length_ = 0;
  int typing_limit_ = 0;
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
