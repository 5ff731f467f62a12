#include "platform/report/PrintedReport.h"

const TQRPrintedItem* TQRPrintedPage::Find(std::string_view name) const {
  for (const TQRPrintedItem& item : items) {
    if (item.name == name) return &item;
  }
  return nullptr;
}

std::vector<const TQRPrintedItem*> TQRPrintedPage::FindAll(std::string_view name) const {
  std::vector<const TQRPrintedItem*> found;
  for (const TQRPrintedItem& item : items) {
    if (item.name == name) found.push_back(&item);
  }
  return found;
}

const TQRPrintedItem* TQRPrintedPage::FindText(std::string_view text) const {
  for (const TQRPrintedItem& item : items) {
    if (item.item_kind == TQRItemKind::Text && item.text == text) return &item;
  }
  return nullptr;
}

std::vector<const TQRPrintedBand*> TQRPrintedPage::BandsOf(TQRBandType type) const {
  std::vector<const TQRPrintedBand*> found;
  for (const TQRPrintedBand& band : bands) {
    if (band.type == type) found.push_back(&band);
  }
  return found;
}
