#include <QPainter>
#include <QTextLayout>
#include <algorithm>

#include "platform/report/internal/PdfText.h"
#include "platform/report/internal/QtReport.h"
#include "platform/ui/internal/PictureImpl.h"

QFont ReportFont(const TFont& font) {
  const TFontSubstitute substitute = SubstituteFont(font.Name());
  QFont result(QString::fromStdString(substitute.family));
  result.setPointSizeF(std::max(1.0, font.Height() * 72.0 / 96.0 * substitute.size_factor));
  result.setBold(font.Style().Contains(fsBold));
  result.setItalic(font.Style().Contains(fsItalic));
  result.setUnderline(font.Style().Contains(fsUnderline));
  result.setStrikeOut(font.Style().Contains(fsStrikeOut));
  result.setHintingPreference(QFont::PreferNoHinting);
  return result;
}

QColor ReportColor(TColor color) {
  if (color == clWindowText) return Qt::black;
  if (color == clWindow) return Qt::white;
  if (color == clBtnFace) return QColor(0xF0, 0xF0, 0xF0);
  return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

namespace {

QRectF DeviceRect(const TQRRect& rect, double dots_per_mm) {
  return QRectF(rect.left * dots_per_mm, rect.top * dots_per_mm, rect.width * dots_per_mm,
                rect.height * dots_per_mm);
}

void PaintText(QPainter& painter, const TQRPrintedItem& item, double dots_per_mm, TPdfPageText* drawn) {
  const QFont font = ReportFont(item.font);
  painter.setPen(ReportColor(item.font.Color()));
  for (const TQRTextLine& line : item.lines) {
    // Each line is laid out whole so that Thai vowels and tone marks are
    // shaped onto their consonants; the breaks were made by the layout pass.
    const QString text = QString::fromStdString(line.text);
    QTextLayout layout(text, font, painter.device());
    layout.beginLayout();
    QTextLine text_line = layout.createLine();
    text_line.setNumColumns(static_cast<int>(text.size()));
    layout.endLayout();
    const QPointF origin(line.left * dots_per_mm, line.baseline * dots_per_mm - text_line.ascent());
    layout.draw(&painter, origin);
    if (drawn != nullptr) AppendTextSpans(text_line, text, *drawn);
  }
}

void PaintShape(QPainter& painter, const TQRPrintedItem& item, double dots_per_mm) {
  const QRectF rect = DeviceRect(item.bounds, dots_per_mm);
  QPen pen(ReportColor(item.pen_color), std::max(item.pen_width * dots_per_mm, 1.0));
  pen.setCapStyle(Qt::FlatCap);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  switch (item.shape) {
    case qrsHorLine:
      painter.drawLine(QLineF(rect.left(), rect.center().y(), rect.right(), rect.center().y()));
      break;
    case qrsVertLine:
      painter.drawLine(QLineF(rect.center().x(), rect.top(), rect.center().x(), rect.bottom()));
      break;
    case qrsRectangle: {
      const double inset = pen.widthF() / 2;
      painter.drawRect(rect.adjusted(inset, inset, -inset, -inset));
      break;
    }
  }
}

}  // namespace

void PaintPage(QPainter& painter, const TQRPrintedPage& page, double dots_per_mm, TPdfPageText* drawn) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  for (const TQRPrintedBand& band : page.bands) {
    if (band.color != clWhite)
      painter.fillRect(DeviceRect(band.bounds, dots_per_mm), ReportColor(band.color));
  }
  for (const TQRPrintedItem& item : page.items) {
    switch (item.item_kind) {
      case TQRItemKind::Text:
        PaintText(painter, item, dots_per_mm, drawn);
        break;
      case TQRItemKind::Shape:
        PaintShape(painter, item, dots_per_mm);
        break;
      case TQRItemKind::Image:
        painter.drawImage(DeviceRect(item.bounds, dots_per_mm), item.picture->Native().image);
        break;
    }
  }
  painter.restore();
}

QImage PageImage(const TQRPrintedReport& report, int page_index, double dots_per_mm) {
  QImage image(std::max(1, static_cast<int>(report.paper_width * dots_per_mm + 0.5)),
               std::max(1, static_cast<int>(report.paper_length * dots_per_mm + 0.5)), QImage::Format_RGB32);
  image.setDotsPerMeterX(static_cast<int>(dots_per_mm * 1000 + 0.5));
  image.setDotsPerMeterY(static_cast<int>(dots_per_mm * 1000 + 0.5));
  image.fill(Qt::white);
  QPainter painter(&image);
  PaintPage(painter, report.pages.at(page_index), dots_per_mm);
  return image;
}
