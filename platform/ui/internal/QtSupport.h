#pragma once
// Conversions between the window layer's value types and Qt's. Only the window
// layer's implementation files and its test helpers include this header.
#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>
#include <string>

#include "platform/ui/Graphics.h"

inline QString ToQString(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string FromQString(const QString& text) {
  return text.toUtf8().toStdString();
}

// A CR (alone or before LF) in a caption or message is a line break.
QString WithLineBreaks(const std::string& text);

QColor ToQColor(TColor color);
// The font with its family substituted and its pixel height scaled.
QFont ToQFont(const TFont& font);

// A control's font, and its colour for the text, on the widget and what it holds.
void ApplyFontTo(QWidget& widget, const TFont& font);
// A control's colour as the background of the widget and what it holds.
void ApplyColorTo(QWidget& widget, TColor color);
