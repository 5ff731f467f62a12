#pragma once
// Where TQuickRep::Preview shows its pages. The default service is the modal
// preview window; tests install THeadlessPreview, which shows nothing and
// returns at once, so that windows that preview never block a test.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/report/PrintedReport.h"
#include "platform/report/Report.h"

// One preview of a report, as the preview's buttons see it.
class TQRPreviewSession {
 public:
  virtual ~TQRPreviewSession() = default;
  virtual const std::string& Caption() const = 0;
  // The pages shown: those generated for the preview, then those last printed from it.
  virtual const TQRPrintedReport& Pages() const = 0;
  // Printing from the preview: the report is generated again (its BeforePrint
  // runs again) and the new pages are printed.
  virtual void Print(const TQRPrinterSettings& printer) = 0;
  // Writes the pages shown to a PDF file.
  virtual void SaveAsPdf(const std::string& file_name) const = 0;
};

class TQRPreviewService {
 public:
  virtual ~TQRPreviewService() = default;
  // Shows the pages and returns once the preview is closed.
  virtual void ShowPreview(TQRPreviewSession& session) = 0;
};

// The service in force: the one installed last, else the preview window.
TQRPreviewService& PreviewService();
// Installs a service (null: the preview window again) and returns the one it replaces.
std::unique_ptr<TQRPreviewService> SetPreviewService(std::unique_ptr<TQRPreviewService> service);

// Keeps the pages of every preview instead of showing them.
class THeadlessPreview : public TQRPreviewService {
 public:
  void ShowPreview(TQRPreviewSession& session) override;

  // Also writes each preview's pages to this PDF file (empty: no file).
  void SetPdfFile(std::string file_name) { pdf_file_ = std::move(file_name); }
  // Acts as a user who prints from each preview with these settings.
  void SetPrintFromPreview(std::optional<TQRPrinterSettings> printer) { print_ = std::move(printer); }

  // What each preview showed, the earliest first (after printing from a
  // preview: the pages printed).
  const std::vector<TQRPrintedReport>& Previews() const { return previews_; }
  // The last preview; raises EQuickReportError when there was none.
  const TQRPrintedReport& Last() const;

 private:
  std::string pdf_file_;
  std::optional<TQRPrinterSettings> print_;
  std::vector<TQRPrintedReport> previews_;
};
