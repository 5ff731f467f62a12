#include "platform/ui/internal/QtSupport.h"

#include <QApplication>
#include <QPalette>
#include <algorithm>
#include <cmath>

QString WithLineBreaks(const std::string& text) {
  QString result = ToQString(text);
  result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return result;
}

QColor ToQColor(TColor color) {
  const auto bits = static_cast<uint32_t>(color);
  if ((bits & 0xFF000000u) == 0xFF000000u) {
    const QPalette palette = QApplication::palette();
    switch (color) {
      case clWindow:
        return palette.color(QPalette::Base);
      case clWindowText:
        return palette.color(QPalette::WindowText);
      default:
        return palette.color(QPalette::Button);
    }
  }
  return QColor(bits & 0xFF, (bits >> 8) & 0xFF, (bits >> 16) & 0xFF);
}

QFont ToQFont(const TFont& font) {
  const TFontSubstitute substitute = SubstituteFont(font.Name());
  QFont result(QString::fromStdString(substitute.family));
  const int pixels = static_cast<int>(std::lround(std::abs(font.Height()) * substitute.size_factor));
  result.setPixelSize(std::max(pixels, 1));
  result.setBold(font.Style().Contains(fsBold));
  result.setItalic(font.Style().Contains(fsItalic));
  result.setUnderline(font.Style().Contains(fsUnderline));
  result.setStrikeOut(font.Style().Contains(fsStrikeOut));
  return result;
}

void ApplyFontTo(QWidget& widget, const TFont& font) {
  widget.setFont(ToQFont(font));
  QPalette palette = widget.palette();
  palette.setColor(QPalette::WindowText, ToQColor(font.Color()));
  palette.setColor(QPalette::Text, ToQColor(font.Color()));
  palette.setColor(QPalette::ButtonText, ToQColor(font.Color()));
  widget.setPalette(palette);
}

void ApplyColorTo(QWidget& widget, TColor color) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, ToQColor(color));
  palette.setColor(QPalette::Button, ToQColor(color));
  widget.setPalette(palette);
  widget.setAutoFillBackground(true);
}
