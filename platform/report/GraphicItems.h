#pragma once
// Lines, frames and pictures on a band.
#include <memory>
#include <string>

#include "platform/report/Printable.h"
#include "platform/report/PrintedReport.h"
#include "platform/ui/Picture.h"

// A horizontal line across the middle of the item, a vertical line down its
// middle, or the frame of its rectangle.
class TQRShape : public TQRPrintable {
 public:
  explicit TQRShape(TQRBand* band) : TQRPrintable(band) {}

  TQRShapeType Shape() const { return shape_; }
  void SetShape(TQRShapeType shape) { shape_ = shape; }
  // Pixels at 96 per inch.
  int PenWidth() const { return pen_width_; }
  void SetPenWidth(int pixels) { pen_width_ = pixels; }
  TColor PenColor() const { return pen_color_; }
  void SetPenColor(TColor color) { pen_color_ = color; }

 protected:
  void Print(TQRLayoutPass& pass) override;

 private:
  TQRShapeType shape_ = qrsRectangle;
  int pen_width_ = 1;
  TColor pen_color_ = clBlack;
};

// A picture stretched over the item. Without a picture it prints nothing.
class TQRImage : public TQRPrintable {
 public:
  explicit TQRImage(TQRBand* band);

  const TPicture& Picture() const { return *picture_; }
  void SetPicture(const TPicture& picture);
  // Raises EInvalidGraphic naming the file when it is missing or undecodable;
  // the picture stays as it was.
  void LoadFromFile(const std::string& file_name);
  void Clear();

 protected:
  void Print(TQRLayoutPass& pass) override;

 private:
  // Shared with the pages already generated, so a new picture never changes them.
  std::shared_ptr<const TPicture> picture_;
};
