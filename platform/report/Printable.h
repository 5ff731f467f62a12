#pragma once
// The base of everything printed on a band: a place in pixels at 96 per inch
// from the band's top left corner, a switch and a font.
#include "platform/rtl/Component.h"
#include "platform/ui/Graphics.h"

class TQRBand;
class TQRLayoutPass;

class TQRPrintable : public TComponent {
 public:
  explicit TQRPrintable(TQRBand* band);

  TQRBand* ParentBand() const;

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int pixels) { left_ = pixels; }
  void SetTop(int pixels) { top_ = pixels; }
  void SetWidth(int pixels) { width_ = pixels; }
  void SetHeight(int pixels) { height_ = pixels; }
  void SetBounds(int left, int top, int width, int height);

  // A disabled item is not printed.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }

  // An item takes the report's font until it is given one of its own; asking
  // for the font to change it gives the item its own copy of the report's.
  bool ParentFont() const { return parent_font_; }
  void SetParentFont(bool value) { parent_font_ = value; }
  const TFont& Font() const;
  TFont& Font();
  void SetFont(const TFont& font);

 protected:
  friend class TQRLayoutPass;
  // Places the item on the page being made.
  virtual void Print(TQRLayoutPass& pass) = 0;
  // Generating the report starts.
  virtual void Reset() {}
  // The report passed a data row (whether or not the detail band printed it).
  virtual void RecordPassed() {}
  // The item's band printed with the item enabled.
  virtual void Printed() {}

 private:
  int left_ = 0;
  int top_ = 0;
  int width_ = 65;
  int height_ = 17;
  bool enabled_ = true;
  bool parent_font_ = true;
  TFont font_;
};
