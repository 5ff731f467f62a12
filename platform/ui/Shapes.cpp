#include "platform/ui/Shapes.h"

#include <QFrame>
#include <QPainter>

#include "platform/ui/internal/ControlImpl.h"
#include "platform/ui/internal/QtSupport.h"

namespace {

class BevelWidget : public QWidget {
 public:
  TBevelShape shape = bsBox;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QColor dark = palette().color(QPalette::Dark);
    const QColor light = palette().color(QPalette::Light);
    const QRect box = rect().adjusted(0, 0, -1, -1);
    switch (shape) {
      case bsBox:
      case bsFrame:
        painter.setPen(dark);
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        if (shape == bsFrame) {
          painter.setPen(light);
          painter.drawRect(box.adjusted(1, 1, 0, 0));
        }
        break;
      case bsTopLine:
        painter.setPen(dark);
        painter.drawLine(0, 0, width(), 0);
        painter.setPen(light);
        painter.drawLine(0, 1, width(), 1);
        break;
      case bsBottomLine:
        painter.setPen(dark);
        painter.drawLine(0, height() - 2, width(), height() - 2);
        painter.setPen(light);
        painter.drawLine(0, height() - 1, width(), height() - 1);
        break;
    }
  }
};

class ShapeWidget : public QWidget {
 public:
  TShapeType shape = stRectangle;
  QColor brush = Qt::white;
  QColor pen = Qt::black;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, shape != stRectangle);
    painter.setBrush(brush);
    painter.setPen(pen);
    const QRect box = rect().adjusted(0, 0, -1, -1);
    switch (shape) {
      case stRectangle:
        painter.drawRect(box);
        break;
      case stEllipse:
        painter.drawEllipse(box);
        break;
      case stRoundRect:
        painter.drawRoundedRect(box, 8, 8);
        break;
    }
  }
};

}  // namespace

TBevel::TBevel(TComponent* owner) : TControl(owner) {
  Native().Attach(new BevelWidget);
  Native().Widget()->setAttribute(Qt::WA_TransparentForMouseEvents);
  SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape shape) {
  shape_ = shape;
  static_cast<BevelWidget*>(Native().Widget())->shape = shape;
  Native().Widget()->update();
}

TShape::TShape(TComponent* owner) : TControl(owner) {
  Native().Attach(new ShapeWidget);
  SetBounds(0, 0, 65, 65);
}

void TShape::SetShape(TShapeType shape) {
  shape_ = shape;
  static_cast<ShapeWidget*>(Native().Widget())->shape = shape;
  Native().Widget()->update();
}

void TShape::SetBrushColor(TColor color) {
  brush_color_ = color;
  static_cast<ShapeWidget*>(Native().Widget())->brush = ToQColor(color);
  Native().Widget()->update();
}

void TShape::SetPenColor(TColor color) {
  pen_color_ = color;
  static_cast<ShapeWidget*>(Native().Widget())->pen = ToQColor(color);
  Native().Widget()->update();
}
