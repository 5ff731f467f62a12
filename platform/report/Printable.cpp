#include "platform/report/Printable.h"

#include "platform/report/Band.h"
#include "platform/report/Report.h"

TQRPrintable::TQRPrintable(TQRBand* band) : TComponent(band) {}

TQRBand* TQRPrintable::ParentBand() const {
  return static_cast<TQRBand*>(Owner());
}

void TQRPrintable::SetBounds(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
}

const TFont& TQRPrintable::Font() const {
  return parent_font_ ? ParentBand()->ParentReport()->Font() : font_;
}

TFont& TQRPrintable::Font() {
  if (parent_font_) {
    font_ = ParentBand()->ParentReport()->Font();
    parent_font_ = false;
  }
  return font_;
}

void TQRPrintable::SetFont(const TFont& font) {
  font_ = font;
  parent_font_ = false;
}
