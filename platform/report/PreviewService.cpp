#include "platform/report/PreviewService.h"

#include "platform/report/ReportErrors.h"
#include "platform/report/internal/PreviewWindow.h"

namespace {

std::unique_ptr<TQRPreviewService>& InstalledService() {
  static std::unique_ptr<TQRPreviewService> service;
  return service;
}

}  // namespace

TQRPreviewService& PreviewService() {
  std::unique_ptr<TQRPreviewService>& service = InstalledService();
  if (service == nullptr) service = CreatePreviewWindowService();
  return *service;
}

std::unique_ptr<TQRPreviewService> SetPreviewService(std::unique_ptr<TQRPreviewService> service) {
  std::swap(InstalledService(), service);
  return service;
}

void THeadlessPreview::ShowPreview(TQRPreviewSession& session) {
  if (print_) session.Print(*print_);
  if (!pdf_file_.empty()) session.SaveAsPdf(pdf_file_);
  previews_.push_back(session.Pages());
}

const TQRPrintedReport& THeadlessPreview::Last() const {
  if (previews_.empty()) throw EQuickReportError("No report was previewed");
  return previews_.back();
}
