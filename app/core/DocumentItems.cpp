#include "app/core/DocumentItems.h"

TQRBand* MakeDocumentBand(TQuickRep& report, const char* name, TQRBandType type, int height) {
  auto* band = new TQRBand(&report, type);
  band->SetName(name);
  band->SetHeight(height);
  return band;
}

TQRLabel* MakeDocumentLabel(TQRBand* band, const char* name, std::string caption, int left, int top) {
  auto* label = new TQRLabel(band);
  label->SetName(name);
  label->SetCaption(std::move(caption));
  label->SetLeft(left);
  label->SetTop(top);
  return label;
}

TQRShape* MakeDocumentRule(TQRBand* band, const char* name, int left, int top, int width) {
  auto* rule = new TQRShape(band);
  rule->SetName(name);
  rule->SetShape(qrsHorLine);
  rule->SetBounds(left, top, width, 3);
  return rule;
}
