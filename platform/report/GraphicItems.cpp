#include "platform/report/GraphicItems.h"

#include "platform/report/internal/LayoutPass.h"

void TQRShape::Print(TQRLayoutPass& pass) {
  TQRPrintedItem& placed = pass.PlaceItem(*this, TQRItemKind::Shape);
  placed.shape = shape_;
  placed.pen_width = pen_width_ * kMillimetresPerPixel;
  placed.pen_color = pen_color_;
}

TQRImage::TQRImage(TQRBand* band) : TQRPrintable(band), picture_(std::make_shared<TPicture>()) {}

void TQRImage::SetPicture(const TPicture& picture) {
  picture_ = std::make_shared<TPicture>(picture);
}

void TQRImage::LoadFromFile(const std::string& file_name) {
  auto picture = std::make_shared<TPicture>();
  picture->LoadFromFile(file_name);
  picture_ = std::move(picture);
}

void TQRImage::Clear() {
  picture_ = std::make_shared<TPicture>();
}

void TQRImage::Print(TQRLayoutPass& pass) {
  if (picture_->Empty()) return;
  pass.PlaceItem(*this, TQRItemKind::Image).picture = picture_;
}
