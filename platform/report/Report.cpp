#include "platform/report/Report.h"

#include <cmath>

#include "platform/db/DataSet.h"
#include "platform/report/Band.h"
#include "platform/report/internal/LayoutPass.h"
#include "platform/report/internal/QtReport.h"
#include "platform/report/internal/ReportSession.h"

namespace {

const std::string kDefaultCaption = "ตัวอย่างก่อนพิมพ์";

}  // namespace

void TQRPage::SetPaperSize(TQRPaperSize size) {
  paper_size_ = size;
  if (size == TQRPaperSize::Letter) {
    width_ = 215.9;
    length_ = 279.4;
  } else if (size == TQRPaperSize::A4) {
    width_ = 210;
    length_ = 297;
  }
}

void TQRPage::SetWidth(double millimetres) {
  paper_size_ = TQRPaperSize::Custom;
  width_ = millimetres;
}

void TQRPage::SetLength(double millimetres) {
  paper_size_ = TQRPaperSize::Custom;
  length_ = millimetres;
}

void TQRPage::SetTopMargin(double millimetres) {
  top_ = std::max(millimetres, 0.0);
}
void TQRPage::SetBottomMargin(double millimetres) {
  bottom_ = std::max(millimetres, 0.0);
}
void TQRPage::SetLeftMargin(double millimetres) {
  left_ = std::max(millimetres, 0.0);
}
void TQRPage::SetRightMargin(double millimetres) {
  right_ = std::max(millimetres, 0.0);
}

TQuickRep::TQuickRep(TComponent* owner) : TComponent(owner) {
  font_.SetName("Arial");
  font_.SetSize(10);
  font_.SetColor(clBlack);
}

TQuickRep::~TQuickRep() = default;

void TQuickRep::SetDataSet(TDataSet* dataset) {
  if (dataset_ != nullptr) dataset_->RemoveFreeNotification(this);
  dataset_ = dataset;
  if (dataset != nullptr) dataset->FreeNotification(this);
}

void TQuickRep::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == dataset_) dataset_ = nullptr;
}

std::vector<TQRBand*> TQuickRep::Bands() const {
  std::vector<TQRBand*> bands;
  for (int i = 0; i < ComponentCount(); ++i) {
    if (auto* band = dynamic_cast<TQRBand*>(Components(i))) bands.push_back(band);
  }
  return bands;
}

int TQuickRep::PrintableWidthPixels() const {
  return static_cast<int>(std::lround(page_.PrintableWidth() / kMillimetresPerPixel));
}

bool TQuickRep::Produce(TQRPrintedReport& pages, const std::function<void(const TQRPrintedReport&)>& output) {
  bool print = true;
  if (BeforePrint) BeforePrint(this, print);
  if (!print) return false;
  TQRLayoutPass(*this, pages).Run();
  if (output && !pages.pages.empty()) output(pages);
  if (AfterPrint) AfterPrint(this);
  return true;
}

TQRPrintedReport TQuickRep::Render() {
  TQRPrintedReport pages;
  Produce(pages, {});
  return pages;
}

void TQuickRep::Print() {
  TQRPrintedReport pages;
  Produce(pages, [&](const TQRPrintedReport& done) { PrintPages(done, printer_settings_); });
}

void TQuickRep::ExportToPdf(const std::string& file_name) {
  TQRPrintedReport pages;
  Produce(pages, [&](const TQRPrintedReport& done) { WritePdf(done, file_name); });
}

void TQuickRep::Preview() {
  {
    TQRReportSession session(*this);
    if (!session.Start()) return;
    PreviewService().ShowPreview(session);
  }
  // The handler may free the report's host, and the report with it: it runs
  // from a copy, and nothing of the report is touched once it has run.
  const TNotifyEvent after_preview = AfterPreview;
  if (after_preview) after_preview(this);
}

bool TQRReportSession::Start() {
  return report_.Produce(pages_, {});
}

const std::string& TQRReportSession::Caption() const {
  return report_.ReportTitle().empty() ? kDefaultCaption : report_.ReportTitle();
}

void TQRReportSession::Print(const TQRPrinterSettings& printer) {
  TQRPrintedReport pages;
  if (report_.Produce(pages, [&](const TQRPrintedReport& done) { PrintPages(done, printer); })) {
    pages_ = std::move(pages);
  }
}

void TQRReportSession::SaveAsPdf(const std::string& file_name) const {
  if (!pages_.pages.empty()) WritePdf(pages_, file_name);
}
