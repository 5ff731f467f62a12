#include "platform/ui/Panel.h"

#include <QFrame>
#include <QPainter>

#include "platform/ui/internal/ControlImpl.h"
#include "platform/ui/internal/QtSupport.h"

namespace {

class PanelWidget : public QFrame {
 public:
  QString caption;

 protected:
  void paintEvent(QPaintEvent* event) override {
    QFrame::paintEvent(event);
    if (caption.isEmpty()) return;
    QPainter painter(this);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(contentsRect(), Qt::AlignCenter, caption);
  }
};

PanelWidget* PanelOf(const TControl& control) {
  return static_cast<PanelWidget*>(control.Native().Widget());
}

}  // namespace

TPanel::TPanel(TComponent* owner) : TWinControl(owner) {
  auto* panel = new PanelWidget;
  panel->setFocusPolicy(Qt::NoFocus);
  Native().Attach(panel);
  SetBevelOuter(bvRaised);
  SetBounds(0, 0, 185, 41);
}

void TPanel::SetCaption(const std::string& caption) {
  caption_ = caption;
  PanelOf(*this)->caption = WithLineBreaks(caption);
  PanelOf(*this)->update();
}

void TPanel::SetBevelOuter(TPanelBevel bevel) {
  bevel_outer_ = bevel;
  PanelWidget* panel = PanelOf(*this);
  panel->setFrameShape(bevel == bvNone ? QFrame::NoFrame : QFrame::Panel);
  panel->setFrameShadow(bevel == bvLowered ? QFrame::Sunken : QFrame::Raised);
}
