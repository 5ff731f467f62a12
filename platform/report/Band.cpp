#include "platform/report/Band.h"

#include "platform/report/Printable.h"
#include "platform/report/Report.h"

TQRBand::TQRBand(TQuickRep* report, TQRBandType type) : TComponent(report), band_type_(type) {}

TQuickRep* TQRBand::ParentReport() const {
  return static_cast<TQuickRep*>(Owner());
}

int TQRBand::Width() const {
  return ParentReport()->PrintableWidthPixels();
}

std::vector<TQRPrintable*> TQRBand::Items() const {
  std::vector<TQRPrintable*> items;
  for (int i = 0; i < ComponentCount(); ++i) {
    if (auto* item = dynamic_cast<TQRPrintable*>(Components(i))) items.push_back(item);
  }
  return items;
}

TQRGroup::TQRGroup(TQuickRep* report) : TQRBand(report, rbGroupHeader) {}

void TQRGroup::SetFooterBand(TQRBand* band) {
  if (footer_band_ != nullptr) footer_band_->RemoveFreeNotification(this);
  footer_band_ = band;
  if (band != nullptr) {
    band->SetBandType(rbGroupFooter);
    band->FreeNotification(this);
  }
}

void TQRGroup::Notification(TComponent* component, TOperation operation) {
  TQRBand::Notification(component, operation);
  if (operation == opRemove && component == footer_band_) footer_band_ = nullptr;
}
