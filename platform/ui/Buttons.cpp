#include "platform/ui/Buttons.h"

#include <QPushButton>
#include <QShortcut>
#include <QToolButton>

#include "platform/ui/Form.h"
#include "platform/ui/internal/ControlImpl.h"
#include "platform/ui/internal/Guard.h"
#include "platform/ui/internal/PictureImpl.h"
#include "platform/ui/internal/QtSupport.h"

namespace {

QPushButton* PushButtonOf(const TControl& control) {
  return static_cast<QPushButton*>(control.Native().Widget());
}
QToolButton* ToolButtonOf(const TControl& control) {
  return static_cast<QToolButton*>(control.Native().Widget());
}

constexpr const char* kCancelShortcut = "vtr_cancel_shortcut";

}  // namespace

TButton::TButton(TComponent* owner) : TWinControl(owner) {
  auto* button = new QPushButton;
  button->setAutoDefault(false);
  Native().Attach(button);
  Native().SetClickOnMouse(false);
  QObject::connect(button, &QPushButton::clicked, &Native(), [this] { Guarded(this, [this] { Click(); }); });
  SetBounds(0, 0, 75, 25);
}

std::string TButton::Caption() const {
  return FromQString(PushButtonOf(*this)->text());
}
void TButton::SetCaption(const std::string& caption) {
  PushButtonOf(*this)->setText(ToQString(caption));
}

void TButton::SetDefault(bool on) {
  default_ = on;
  PushButtonOf(*this)->setDefault(on);
}

void TButton::SetCancel(bool on) {
  cancel_ = on;
  QPushButton* button = PushButtonOf(*this);
  delete button->findChild<QShortcut*>(kCancelShortcut, Qt::FindDirectChildrenOnly);
  if (!on) return;
  // The shortcut answers Esc anywhere in the button's window.
  auto* shortcut = new QShortcut(QKeySequence(Qt::Key_Escape), button);
  shortcut->setObjectName(kCancelShortcut);
  shortcut->setContext(Qt::WindowShortcut);
  QObject::connect(shortcut, &QShortcut::activated, &Native(), [this] {
    if (Enabled() && Showing()) Guarded(this, [this] { Click(); });
  });
}

void TButton::Click() {
  if (modal_result_ != mrNone) {
    if (TForm* form = ParentForm()) form->SetModalResult(modal_result_);
  }
  TControl::Click();
}

char32_t TButton::KeyPress(char32_t key) {
  key = TWinControl::KeyPress(key);
  if (key != 13) return key;
  Click();
  return 0;
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

void TBitBtn::SetGlyph(const TPicture& glyph) {
  PushButtonOf(*this)->setIcon(QIcon(QPixmap::fromImage(glyph.Native().image)));
}

TSpeedButton::TSpeedButton(TComponent* owner) : TControl(owner) {
  auto* button = new QToolButton;
  button->setFocusPolicy(Qt::NoFocus);
  button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  Native().Attach(button);
  Native().SetClickOnMouse(false);
  QObject::connect(button, &QToolButton::clicked, &Native(), [this] { Guarded(this, [this] { Click(); }); });
  SetBounds(0, 0, 23, 22);
}

std::string TSpeedButton::Caption() const {
  return FromQString(ToolButtonOf(*this)->text());
}
void TSpeedButton::SetCaption(const std::string& caption) {
  ToolButtonOf(*this)->setText(ToQString(caption));
}

void TSpeedButton::SetGlyph(const TPicture& glyph) {
  ToolButtonOf(*this)->setIcon(QIcon(QPixmap::fromImage(glyph.Native().image)));
}

void TSpeedButton::SetFlat(bool flat) {
  flat_ = flat;
  ToolButtonOf(*this)->setAutoRaise(flat);
}
