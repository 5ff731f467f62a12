#include "platform/ui/Memo.h"

#include <QPlainTextEdit>

#include "platform/ui/internal/ControlImpl.h"
#include "platform/ui/internal/Guard.h"
#include "platform/ui/internal/QtSupport.h"

namespace {

QPlainTextEdit* TextEditOf(const TControl& control) {
  return static_cast<QPlainTextEdit*>(control.Native().Widget());
}

}  // namespace

TMemo::TMemo(TComponent* owner) : TWinControl(owner) {
  auto* edit = new QPlainTextEdit;
  edit->setTabChangesFocus(true);
  Native().Attach(edit);
  Native().Watch(edit->viewport());
  QObject::connect(edit, &QPlainTextEdit::textChanged, &Native(), [this] {
    Guarded(this, [this] {
      if (OnChange) OnChange(this);
    });
  });
  SetColor(clWindow);
  SetBounds(0, 0, 185, 89);
}

std::vector<std::string> TMemo::Lines() const {
  std::vector<std::string> lines;
  const QString text = TextEditOf(*this)->toPlainText();
  if (text.isEmpty()) return lines;
  for (const QString& line : text.split(QLatin1Char('\n'))) lines.push_back(FromQString(line));
  return lines;
}

void TMemo::SetLines(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) text += (i > 0 ? "\n" : "") + lines[i];
  SetText(text);
}

std::string TMemo::Text() const {
  std::string text;
  const std::vector<std::string> lines = Lines();
  for (size_t i = 0; i < lines.size(); ++i) text += (i > 0 ? "\r\n" : "") + lines[i];
  return text;
}

void TMemo::SetText(const std::string& text) {
  QString value = WithLineBreaks(text);
  if (value.endsWith(QLatin1Char('\n'))) value.chop(1);
  TextEditOf(*this)->setPlainText(value);
}

void TMemo::SetReadOnly(bool read_only) {
  read_only_ = read_only;
  TextEditOf(*this)->setReadOnly(read_only);
}

void TMemo::ApplyColor(TColor color) {
  QPlainTextEdit* edit = TextEditOf(*this);
  QPalette palette = edit->palette();
  palette.setColor(QPalette::Base, ToQColor(color));
  edit->setPalette(palette);
}
