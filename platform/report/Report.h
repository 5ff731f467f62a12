#pragma once
// A report form: bands of printable items over an optional dataset, generated
// into pages and shown in a preview, printed, written to a PDF file or handed
// to tests as the list of printed items.
//
// A report is owned by a form (its host window, which need not ever be shown);
// its bands are owned by the report and their items by the bands.
//
// Generating: BeforePrint runs (it may change anything, the margins included),
// then the pages are made.
// - A page starts with the page header (on page 1 only with FirstPageHeader),
//   then on page 1 the title, then the column header.
// - The dataset (opened when closed) is walked from its first row: the headers
//   of the groups that start, the detail band, and after the last row of a group
//   its footer, which still reads that row. Sums count every row, whether its
//   detail band prints or not. A report without a detail band still walks the
//   rows but prints no band per row. After the last row: the summary.
// - A page ends with its page footer on the bottom margin (with LastPageFooter
//   on the last page only). A band that does not fit above it starts the next
//   page; one taller than an empty page goes on a page of its own.
// Without a dataset the detail band prints once. An empty dataset gives no page,
// or with PrintIfEmpty one page of the bands that are not per row.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/report/PrintedReport.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/EnumSet.h"
#include "platform/ui/Graphics.h"

class TDataSet;
class TQuickRep;
class TQRBand;

enum class TQRPaperSize : uint8_t { Letter, A4, Custom };

// The paper (always portrait) and the margins, in millimetres.
class TQRPage {
 public:
  TQRPaperSize PaperSize() const { return paper_size_; }
  // Letter and A4 bring their own size; Custom keeps the size set last.
  void SetPaperSize(TQRPaperSize size);
  double Width() const { return width_; }
  double Length() const { return length_; }
  // A size of custom paper; either call makes the paper custom.
  void SetWidth(double millimetres);
  void SetLength(double millimetres);

  // A margin below 0 is taken as 0.
  double TopMargin() const { return top_; }
  double BottomMargin() const { return bottom_; }
  double LeftMargin() const { return left_; }
  double RightMargin() const { return right_; }
  void SetTopMargin(double millimetres);
  void SetBottomMargin(double millimetres);
  void SetLeftMargin(double millimetres);
  void SetRightMargin(double millimetres);

  // The printable width and length inside the margins (may be 0 or less while
  // margins are being set; generating then raises EQuickReportError).
  double PrintableWidth() const { return width_ - left_ - right_; }
  double PrintableLength() const { return length_ - top_ - bottom_; }

 private:
  TQRPaperSize paper_size_ = TQRPaperSize::Letter;
  double width_ = 215.9;
  double length_ = 279.4;
  double top_ = 10;
  double bottom_ = 10;
  double left_ = 10;
  double right_ = 10;
};

enum TQuickRepOption : uint8_t { FirstPageHeader, LastPageFooter };
using TQuickRepOptions = EnumSet<TQuickRepOption>;

// Where Print sends the pages.
struct TQRPrinterSettings {
  std::string printer_name;  // empty: the system's default printer
  std::string output_file;   // not empty: a PDF file written through the printer path
  int copies = 1;
  int first_page = 0;  // 0: from the first page
  int last_page = 0;   // 0: to the last page
};

using TQRReportBeforePrintEvent = std::function<void(TQuickRep* sender, bool& print_report)>;

class TQuickRep : public TComponent {
 public:
  explicit TQuickRep(TComponent* owner);
  ~TQuickRep() override;

  // The rows: one detail band per row. Null: the detail band prints once.
  TDataSet* DataSet() const { return dataset_; }
  void SetDataSet(TDataSet* dataset);

  TQRPage& Page() { return page_; }
  const TQRPage& Page() const { return page_; }
  // FirstPageHeader: the page header prints on page 1 too. LastPageFooter: the
  // page footer prints on the last page only.
  TQuickRepOptions Options() const { return options_; }
  void SetOptions(TQuickRepOptions options) { options_ = options; }
  // An empty dataset still gives one page with the bands that are not per row.
  bool PrintIfEmpty() const { return print_if_empty_; }
  void SetPrintIfEmpty(bool value) { print_if_empty_ = value; }
  // The font of every item that has none of its own.
  const TFont& Font() const { return font_; }
  TFont& Font() { return font_; }
  void SetFont(const TFont& font) { font_ = font; }
  // The caption of the preview window and the name of the print job.
  const std::string& ReportTitle() const { return report_title_; }
  void SetReportTitle(std::string title) { report_title_ = std::move(title); }
  TQRPrinterSettings& PrinterSettings() { return printer_settings_; }

  // The bands, in the order they were created.
  std::vector<TQRBand*> Bands() const;
  // The printable width between the margins, in pixels at 96 per inch.
  int PrintableWidthPixels() const;

  // While the report is being generated: the page being filled (from 1) and the
  // number of the data row (from 1; 0 before the first).
  int PageNumber() const { return page_number_; }
  int RecordNumber() const { return record_number_; }

  // Each of these generates the report anew, so BeforePrint runs every time.
  // Shows the pages in the preview service (a modal window unless replaced) and
  // fires AfterPreview when it closes. AfterPreview may free the report's host:
  // nothing of the report is touched after it.
  void Preview();
  // Prints with PrinterSettings.
  void Print();
  // Writes the pages to a PDF file.
  void ExportToPdf(const std::string& file_name);
  // The pages with their printed items; no pages when BeforePrint cancels.
  TQRPrintedReport Render();

  // Runs before each generation; setting print_report to false cancels it.
  TQRReportBeforePrintEvent BeforePrint;
  // Runs after each generation that BeforePrint let run.
  TNotifyEvent AfterPrint;
  // Runs when the preview has closed.
  TNotifyEvent AfterPreview;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TQRLayoutPass;
  friend class TQRReportSession;

  // Runs BeforePrint, lays the pages out, hands them (when there are any) to
  // `output` and runs AfterPrint; false when BeforePrint cancelled.
  bool Produce(TQRPrintedReport& pages, const std::function<void(const TQRPrintedReport&)>& output);

  TDataSet* dataset_ = nullptr;
  TQRPage page_;
  TQuickRepOptions options_;
  bool print_if_empty_ = false;
  TFont font_;
  std::string report_title_;
  TQRPrinterSettings printer_settings_;
  int page_number_ = 0;
  int record_number_ = 0;
};
