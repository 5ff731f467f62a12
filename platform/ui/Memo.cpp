#include "platform/ui/Memo.h"

#include <QPlainTextEdit>
#include <QStringDecoder>

#include "platform/rtl/CodePage874.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StringList.h"
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

std::vector<std::string> TMemoLines::ToVector() const {
  std::vector<std::string> lines;
  const QString text = TextEditOf(memo_)->toPlainText();
  if (text.isEmpty()) return lines;
  for (const QString& line : text.split(QLatin1Char('\n'))) lines.push_back(FromQString(line));
  return lines;
}

std::string TMemoLines::operator[](int index) const {
  const std::vector<std::string> lines = ToVector();
  if (index < 0 || index >= static_cast<int>(lines.size())) {
    throw EStringListError(Format("List index out of bounds (%d)", index));
  }
  return lines[index];
}

void TMemoLines::Add(const std::string& line) {
  QPlainTextEdit* edit = TextEditOf(memo_);
  const QString text = edit->toPlainText();
  edit->setPlainText(text.isEmpty() ? WithLineBreaks(line) : text + QLatin1Char('\n') + WithLineBreaks(line));
}

void TMemoLines::Clear() {
  memo_.Clear();
}

void TMemoLines::LoadFromFile(const std::string& file_name) {
  TStringList file;
  file.LoadFromFile(file_name);
  const std::string bytes = file.Text();
  QStringDecoder utf8(QStringDecoder::Utf8);
  const QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  memo_.SetText(utf8.hasError() ? Cp874ToUtf8(bytes) : FromQString(text));
}

std::string TMemo::Text() const {
  std::string text;
  const std::vector<std::string> lines = lines_.ToVector();
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
