#include "platform/ui/Edit.h"

#include <QLineEdit>
#include <algorithm>

#include "platform/ui/internal/ControlImpl.h"
#include "platform/ui/internal/Guard.h"
#include "platform/ui/internal/QtSupport.h"

namespace {

QLineEdit* LineEditOf(const TControl& control) {
  return static_cast<QLineEdit*>(control.Native().Widget());
}

}  // namespace

TEdit::TEdit(TComponent* owner) : TWinControl(owner) {
  auto* edit = new QLineEdit;
  edit->setFocusPolicy(Qt::StrongFocus);
  Native().Attach(edit);
  QObject::connect(edit, &QLineEdit::textEdited, &Native(), [this] { Guarded(this, [this] { Change(); }); });
  SetColor(clWindow);
  SetBounds(0, 0, 121, 21);
}

std::string TEdit::Text() const {
  return FromQString(LineEditOf(*this)->text());
}

void TEdit::SetText(const std::string& text) {
  QLineEdit* edit = LineEditOf(*this);
  const QString value = ToQString(text);
  if (value == edit->text()) return;
  edit->setText(value);
  Change();
}

void TEdit::SetReadOnly(bool read_only) {
  read_only_ = read_only;
  LineEditOf(*this)->setReadOnly(read_only);
}

void TEdit::SetMaxLength(int length) {
  max_length_ = std::max(length, 0);
  LimitTyping(max_length_);
}

char32_t TEdit::KeyPress(char32_t key) {
  key = TWinControl::KeyPress(key);
  if (key < 32 || typing_limit_ == 0) return key;
  // Qt's own limit would also cut text that code sets; this one only refuses typing.
  const QLineEdit* edit = LineEditOf(*this);
  const qsizetype kept = edit->text().size() - edit->selectedText().size();
  return kept < typing_limit_ ? key : 0;
}

void TEdit::SetPasswordChar(char32_t character) {
  password_char_ = character;
  QLineEdit* edit = LineEditOf(*this);
  edit->setEchoMode(character == 0 ? QLineEdit::Normal : QLineEdit::Password);
  edit->setStyleSheet(
      character == 0 ? QString()
                     : QStringLiteral("lineedit-password-character: %1").arg(static_cast<uint>(character)));
}

void TEdit::SelectAll() {
  LineEditOf(*this)->selectAll();
}

void TEdit::ApplyColor(TColor color) {
  QLineEdit* edit = LineEditOf(*this);
  QPalette palette = edit->palette();
  palette.setColor(QPalette::Base, ToQColor(color));
  edit->setPalette(palette);
}

void TEdit::Change() {
  if (OnChange) OnChange(this);
}
