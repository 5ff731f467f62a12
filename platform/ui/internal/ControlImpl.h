#pragma once
// The Qt side of a control: the widget that shows it, the widget its children
// go into, and the event filter that turns Qt's input into the control's events.
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <vector>

#include "platform/ui/Control.h"

class TControlImpl : public QObject {
 public:
  explicit TControlImpl(TControl& control);
  ~TControlImpl() override;

  // Takes ownership of the widget that shows the control; children go into
  // `container` (the widget itself when null). Places the control on its
  // owner when the owner is a windowed control.
  void Attach(QWidget* widget, QWidget* container = nullptr);
  QWidget* Widget() const { return widget_; }
  // The widget whose geometry is the control's place (the widget itself unless set).
  QWidget* Placed() const { return placed_ ? placed_.data() : widget_.data(); }
  void SetPlaced(QWidget* widget) { placed_ = widget; }
  QWidget* Container() const { return container_ ? container_.data() : widget_.data(); }
  // The widget that takes the focus and the keys (the widget itself by default).
  QWidget* FocusWidget() const { return focus_ ? focus_.data() : widget_.data(); }
  void SetFocusWidget(QWidget* widget);
  // Gives the focus widget the focus as code does, with the focus cue that a Tab shows.
  void TakeFocus();
  // Routes the mouse, focus and key events of `widget` to the control.
  void Watch(QWidget* widget);
  // A press and release of the left button on the widget runs Click (controls
  // whose widget reports clicks itself leave this off).
  void SetClickOnMouse(bool on) { click_on_mouse_ = on; }

  // The control that a widget shows, or null.
  static TControl* ControlOf(const QObject* widget);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool FilterKey(QWidget* widget, class QKeyEvent* event);
  // The focus moved to this control (`entered`) or away from it by a move inside
  // its window.
  void FocusMoved(TWinControl& control, bool entered);

  TControl& control_;
  QPointer<QWidget> widget_;
  QPointer<QWidget> container_;
  QPointer<QWidget> focus_;
  QPointer<QWidget> placed_;
  std::vector<QPointer<QWidget>> watched_;
  bool click_on_mouse_ = true;
  bool pressed_ = false;
  bool replaying_ = false;
};
