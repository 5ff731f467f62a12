#include "platform/ui/Image.h"

#include <QPainter>
#include <QWidget>

#include "platform/ui/internal/ControlImpl.h"
#include "platform/ui/internal/PictureImpl.h"

namespace {

class ImageWidget : public QWidget {
 public:
  QImage image;
  bool stretch = false;
  bool center = false;

 protected:
  void paintEvent(QPaintEvent*) override {
    if (image.isNull()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (stretch) {
      painter.drawImage(rect(), image);
    } else if (center) {
      painter.drawImage(QPoint((width() - image.width()) / 2, (height() - image.height()) / 2), image);
    } else {
      painter.drawImage(QPoint(0, 0), image);
    }
  }
};

ImageWidget* ImageOf(const TControl& control) {
  return static_cast<ImageWidget*>(control.Native().Widget());
}

}  // namespace

TImage::TImage(TComponent* owner) : TControl(owner) {
  Native().Attach(new ImageWidget);
  SetBounds(0, 0, 105, 105);
}

void TImage::SetPicture(const TPicture& picture) {
  picture_ = picture;
  Repaint();
}

void TImage::LoadFromFile(const std::string& file_name) {
  TPicture picture;
  picture.LoadFromFile(file_name);
  SetPicture(picture);
}

void TImage::Clear() {
  picture_.Clear();
  Repaint();
}

void TImage::SetStretch(bool stretch) {
  stretch_ = stretch;
  Repaint();
}

void TImage::SetCenter(bool center) {
  center_ = center;
  Repaint();
}

void TImage::Repaint() {
  ImageWidget* widget = ImageOf(*this);
  widget->image = picture_.Native().image;
  widget->stretch = stretch_;
  widget->center = center_;
  widget->update();
}
