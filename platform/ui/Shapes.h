#pragma once
// Decorations: a bevelled frame and a filled shape.
#include "platform/ui/Control.h"

enum TBevelShape : uint8_t { bsBox, bsFrame, bsTopLine, bsBottomLine };

class TBevel : public TControl {
 public:
  explicit TBevel(TComponent* owner);
  TBevelShape Shape() const { return shape_; }
  void SetShape(TBevelShape shape);

 private:
  TBevelShape shape_ = bsBox;
};

enum TShapeType : uint8_t { stRectangle, stEllipse, stRoundRect };

class TShape : public TControl {
 public:
  explicit TShape(TComponent* owner);
  TShapeType Shape() const { return shape_; }
  void SetShape(TShapeType shape);
  TColor BrushColor() const { return brush_color_; }
  void SetBrushColor(TColor color);
  TColor PenColor() const { return pen_color_; }
  void SetPenColor(TColor color);

 private:
  TShapeType shape_ = stRectangle;
  TColor brush_color_ = clWhite;
  TColor pen_color_ = clBlack;
};
