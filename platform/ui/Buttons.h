#pragma once
// Push buttons, buttons with a picture, and the speed buttons of tool bars.
// Captions mark their accelerator letter with "&".
#include <string>

#include "platform/ui/Control.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Picture.h"

class TButton : public TWinControl {
 public:
  explicit TButton(TComponent* owner);

  std::string Caption() const;
  void SetCaption(const std::string& caption);
  // A button with a modal result closes the modal form it is on with that result.
  TModalResult ModalResult() const { return modal_result_; }
  void SetModalResult(TModalResult result) { modal_result_ = result; }
  // Enter in the form presses the default button; Esc presses the cancel button.
  bool Default() const { return default_; }
  void SetDefault(bool on);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool on);

  void Click() override;

 protected:
  // Enter presses the focused button, as on the desktop the windows were made for.
  char32_t KeyPress(char32_t key) override;

 private:
  TModalResult modal_result_ = mrNone;
  bool default_ = false;
  bool cancel_ = false;
};

class TBitBtn : public TButton {
 public:
  explicit TBitBtn(TComponent* owner);
  void SetGlyph(const TPicture& glyph);
};

// A flat tool-bar button that never takes the focus.
class TSpeedButton : public TControl {
 public:
  explicit TSpeedButton(TComponent* owner);

  std::string Caption() const;
  void SetCaption(const std::string& caption);
  void SetGlyph(const TPicture& glyph);
  bool Flat() const { return flat_; }
  void SetFlat(bool flat);

 private:
  bool flat_ = false;
};
