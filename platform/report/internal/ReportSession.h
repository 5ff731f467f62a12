#pragma once
// A preview of a report: the pages generated for it, and printing from it,
// which generates the report again.
#include "platform/report/PreviewService.h"

class TQRReportSession : public TQRPreviewSession {
 public:
  explicit TQRReportSession(TQuickRep& report) : report_(report) {}

  // Generates the pages to show; false when the report's BeforePrint cancelled.
  bool Start();

  const std::string& Caption() const override;
  const TQRPrintedReport& Pages() const override { return pages_; }
  void Print(const TQRPrinterSettings& printer) override;
  void SaveAsPdf(const std::string& file_name) const override;

 private:
  TQuickRep& report_;
  TQRPrintedReport pages_;
};
