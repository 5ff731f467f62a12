#include "platform/report/internal/TextMetrics.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QTextLayout>

#include "platform/report/ReportErrors.h"
#include "platform/report/internal/QtReport.h"

namespace {

// Text is measured on a fine raster so that rounding to device pixels does
// not show in the layout.
constexpr double kMeasureDpi = 1200;
constexpr double kPixelsPerMeasureDot = 96.0 / kMeasureDpi;

QPaintDevice& MeasureDevice() {
  static QImage device = [] {
    QImage image(1, 1, QImage::Format_ARGB32);
    image.setDotsPerMeterX(static_cast<int>(kMeasureDpi / 0.0254));
    image.setDotsPerMeterY(static_cast<int>(kMeasureDpi / 0.0254));
    return image;
  }();
  return device;
}

QFont MeasuredFont(const TFont& font) {
  if (QGuiApplication::instance() == nullptr) {
    throw EQuickReportError("A report needs the application's window system: create the application first");
  }
  return ReportFont(font);
}

QString ToQString(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

TQRLineMetrics LineMetrics(const TFont& font) {
  const QFontMetricsF metrics(MeasuredFont(font), &MeasureDevice());
  return {metrics.ascent() * kPixelsPerMeasureDot, metrics.descent() * kPixelsPerMeasureDot,
          metrics.lineSpacing() * kPixelsPerMeasureDot};
}

double TextWidth(const TFont& font, const std::string& text) {
  const QFontMetricsF metrics(MeasuredFont(font), &MeasureDevice());
  return metrics.horizontalAdvance(ToQString(text)) * kPixelsPerMeasureDot;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find_first_of("\r\n", start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return lines;
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
}

std::vector<std::string> WrapText(const TFont& font, const std::string& text, double width) {
  const QFont qfont = MeasuredFont(font);
  std::vector<std::string> lines;
  for (const std::string& paragraph : SplitLines(text)) {
    const QString source = ToQString(paragraph);
    QTextLayout layout(source, qfont, &MeasureDevice());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(width / kPixelsPerMeasureDot);
    }
    layout.endLayout();
    if (layout.lineCount() == 0) lines.emplace_back();
    for (int i = 0; i < layout.lineCount(); ++i) {
      const QTextLine line = layout.lineAt(i);
      QString part = source.mid(line.textStart(), line.textLength());
      while (!part.isEmpty() && part.back().isSpace()) part.chop(1);
      lines.push_back(part.toStdString());
    }
  }
  return lines;
}
