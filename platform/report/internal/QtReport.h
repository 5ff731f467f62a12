#pragma once
// The Qt side of the report, for the report layer's own implementation files:
// fonts, colours, pages drawn on a painter, PDF files and printers.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPageLayout>
#include <string>

#include "platform/report/PrintedReport.h"
#include "platform/report/internal/PdfText.h"

class QPainter;
class QPrinter;
struct TQRPrinterSettings;

// The installed family that stands in for the font's, at the font's size in
// points (fractional), unhinted so that text measures the same on every device.
QFont ReportFont(const TFont& font);
// System colours print as their usual light-theme colours.
QColor ReportColor(TColor color);
// The paper, portrait, without margins: pages carry their margins themselves.
QPageLayout PaperLayout(const TQRPrintedReport& report);

// Draws a page on a device with `dots_per_mm` both ways and its origin at the
// paper's top left corner; fonts scale with the device's own resolution. With
// `drawn`, the text drawn is recorded there for a PDF file.
void PaintPage(QPainter& painter, const TQRPrintedPage& page, double dots_per_mm,
               TPdfPageText* drawn = nullptr);
// The page as an image at `dots_per_mm`, white where nothing is printed.
QImage PageImage(const TQRPrintedReport& report, int page_index, double dots_per_mm);

// Raises EQuickReportError when the file cannot be written.
void WritePdf(const TQRPrintedReport& report, const std::string& file_name);
// Prints pages first_page..last_page (numbers from 1; 0 for the first or last) on
// a printer already set up; the paper becomes the report's.
void PrintPages(const TQRPrintedReport& report, QPrinter& printer, int first_page, int last_page);
// Prints on the printer the settings name (or to their PDF file).
void PrintPages(const TQRPrintedReport& report, const TQRPrinterSettings& settings);
