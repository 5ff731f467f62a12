#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include "platform/report/Report.h"
#include "platform/report/ReportErrors.h"
#include "platform/report/internal/QtReport.h"
#include "platform/rtl/Format.h"

namespace {

// PDF files are drawn at this resolution; fonts stay vectors at any.
constexpr int kPdfDpi = 1200;

constexpr double kMillimetresPerInch = 25.4;

void PaintPages(QPainter& painter, QPagedPaintDevice& device, const TQRPrintedReport& report, int first_page,
                int last_page, double dots_per_mm) {
  const int first = std::max(first_page, 1);
  const int last = last_page <= 0 ? report.PageCount() : std::min(last_page, report.PageCount());
  for (int number = first; number <= last; ++number) {
    if (number > first) device.newPage();
    PaintPage(painter, report.pages[number - 1], dots_per_mm);
  }
}

}  // namespace

QPageLayout PaperLayout(const TQRPrintedReport& report) {
  // An exact size: a custom sheet must not be taken for the nearest standard one.
  const QPageSize size(QSizeF(report.paper_width, report.paper_length), QPageSize::Millimeter, QString(),
                       QPageSize::ExactMatch);
  return QPageLayout(size, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

void WritePdf(const TQRPrintedReport& report, const std::string& file_name) {
  QPdfWriter writer(QString::fromStdString(file_name));
  writer.setResolution(kPdfDpi);
  writer.setCreator(QStringLiteral("Temple administration"));
  writer.setTitle(QString::fromStdString(report.title));
  writer.setPageLayout(PaperLayout(report));
  QPainter painter;
  if (!painter.begin(&writer)) {
    throw EQuickReportError(Format("Cannot write the PDF file \"%s\"", file_name));
  }
  PaintPages(painter, writer, report, 1, 0, kPdfDpi / kMillimetresPerInch);
}

void PrintPages(const TQRPrintedReport& report, QPrinter& printer, int first_page, int last_page) {
  printer.setFullPage(true);
  printer.setPageLayout(PaperLayout(report));
  printer.setDocName(QString::fromStdString(report.title));
  QPainter painter;
  if (!painter.begin(&printer)) {
    if (printer.outputFormat() == QPrinter::PdfFormat) {
      throw EQuickReportError(
          Format("Cannot write the PDF file \"%s\"", printer.outputFileName().toStdString()));
    }
    if (printer.printerName().isEmpty()) throw EQuickReportError("Cannot print: no printer is set up");
    throw EQuickReportError(
        Format("Cannot print on the printer \"%s\"", printer.printerName().toStdString()));
  }
  PaintPages(painter, printer, report, first_page, last_page, printer.resolution() / kMillimetresPerInch);
}

void PrintPages(const TQRPrintedReport& report, const TQRPrinterSettings& settings) {
  QPrinter printer(QPrinter::HighResolution);
  if (!settings.output_file.empty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(settings.output_file));
  } else if (!settings.printer_name.empty()) {
    printer.setPrinterName(QString::fromStdString(settings.printer_name));
  }
  printer.setCopyCount(std::max(settings.copies, 1));
  PrintPages(report, printer, settings.first_page, settings.last_page);
}
