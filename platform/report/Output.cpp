#include <QBuffer>
#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include "platform/report/Report.h"
#include "platform/report/ReportErrors.h"
#include "platform/report/internal/PdfText.h"
#include "platform/report/internal/QtReport.h"
#include "platform/rtl/Format.h"

namespace {

// PDF files are drawn at this resolution; fonts stay vectors at any.
constexpr int kPdfDpi = 1200;

constexpr double kMillimetresPerInch = 25.4;

// Paints pages first_page..last_page; with `drawn`, records each page's text.
void PaintPages(QPainter& painter, QPagedPaintDevice& device, const TQRPrintedReport& report, int first_page,
                int last_page, double dots_per_mm, std::vector<TPdfPageText>* drawn) {
  const int first = std::max(first_page, 1);
  const int last = last_page <= 0 ? report.PageCount() : std::min(last_page, report.PageCount());
  for (int number = first; number <= last; ++number) {
    if (number > first) device.newPage();
    TPdfPageText* page_text = drawn != nullptr ? &drawn->emplace_back() : nullptr;
    PaintPage(painter, report.pages[number - 1], dots_per_mm, page_text);
  }
}

[[noreturn]] void CannotWritePdf(const std::string& file_name) {
  throw EQuickReportError(Format("Cannot write the PDF file \"%s\"", file_name));
}

// Writes the PDF that Qt made of the pages with their text marked for readers.
void WriteMarkedPdf(const std::string& file_name, const QByteArray& pdf, const std::vector<TPdfPageText>& drawn) {
  const std::string marked = WithActualText(pdf.toStdString(), drawn);
  QFile file(QString::fromStdString(file_name));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      file.write(marked.data(), static_cast<qint64>(marked.size())) != static_cast<qint64>(marked.size()) ||
      !file.flush()) {
    CannotWritePdf(file_name);
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
  QBuffer pdf;
  pdf.open(QIODevice::WriteOnly);
  std::vector<TPdfPageText> drawn;
  {
    QPdfWriter writer(&pdf);
    writer.setResolution(kPdfDpi);
    writer.setCreator(QStringLiteral("Temple administration"));
    writer.setTitle(QString::fromStdString(report.title));
    writer.setPageLayout(PaperLayout(report));
    QPainter painter(&writer);
    PaintPages(painter, writer, report, 1, 0, kPdfDpi / kMillimetresPerInch, &drawn);
  }
  WriteMarkedPdf(file_name, pdf.data(), drawn);
}

void PrintPages(const TQRPrintedReport& report, QPrinter& printer, int first_page, int last_page) {
  printer.setFullPage(true);
  printer.setPageLayout(PaperLayout(report));
  printer.setDocName(QString::fromStdString(report.title));
  const bool to_pdf = printer.outputFormat() == QPrinter::PdfFormat;
  std::vector<TPdfPageText> drawn;
  {
    QPainter painter;
    if (!painter.begin(&printer)) {
      if (to_pdf) CannotWritePdf(printer.outputFileName().toStdString());
      if (printer.printerName().isEmpty()) throw EQuickReportError("Cannot print: no printer is set up");
      throw EQuickReportError(
          Format("Cannot print on the printer \"%s\"", printer.printerName().toStdString()));
    }
    PaintPages(painter, printer, report, first_page, last_page, printer.resolution() / kMillimetresPerInch,
               to_pdf ? &drawn : nullptr);
  }
  if (!to_pdf) return;
  // The printer wrote the file when painting ended; it is marked as it is read back.
  QFile written(printer.outputFileName());
  if (!written.open(QIODevice::ReadOnly)) CannotWritePdf(printer.outputFileName().toStdString());
  const QByteArray pdf = written.readAll();
  written.close();
  WriteMarkedPdf(printer.outputFileName().toStdString(), pdf, drawn);
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
