#include "platform/ui/Control.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

#include "platform/ui/Form.h"
#include "platform/ui/internal/ControlImpl.h"
#include "platform/ui/internal/FormImpl.h"
#include "platform/ui/internal/Guard.h"
#include "platform/ui/internal/QtSupport.h"

namespace {

constexpr const char* kControlProperty = "vtr_control";

// The character a key event types, as OnKeyPress sees it; 0 for keys that type
// nothing (Tab moves the focus and is never offered).
char32_t CharOf(const QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return 0;
    default:
      break;
  }
  if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return 0;
  const QString text = event->text();
  if (text.isEmpty()) return 0;
  const char32_t code = text.toUcs4().value(0);
  return code >= 32 ? code : 0;
}

TShiftState ShiftOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  TShiftState shift;
  if (modifiers & Qt::ShiftModifier) shift.Include(ssShift);
  if (modifiers & Qt::AltModifier) shift.Include(ssAlt);
  if (modifiers & Qt::ControlModifier) shift.Include(ssCtrl);
  if (buttons & Qt::LeftButton) shift.Include(ssLeft);
  if (buttons & Qt::RightButton) shift.Include(ssRight);
  if (buttons & Qt::MiddleButton) shift.Include(ssMiddle);
  return shift;
}

bool Contains(const QWidget* outer, const QWidget* inner) {
  return inner != nullptr && (inner == outer || outer->isAncestorOf(inner));
}

}  // namespace

// ---------------------------------------------------------------------------
// TControlImpl

TControlImpl::TControlImpl(TControl& control) : control_(control) {}

TControlImpl::~TControlImpl() {
  for (const QPointer<QWidget>& watched : watched_) {
    if (watched) watched->removeEventFilter(this);
  }
  if (container_ && container_ != widget_) container_->removeEventFilter(this);
  delete Placed();
}

void TControlImpl::Attach(QWidget* widget, QWidget* container) {
  widget_ = widget;
  container_ = container;
  widget->setProperty(kControlProperty, QVariant::fromValue(static_cast<void*>(&control_)));
  widget->setAttribute(Qt::WA_MouseTracking);
  Watch(widget);
  if (Container() != widget) Container()->installEventFilter(this);
  // A form is a window of its own, whoever owns it.
  if (dynamic_cast<TForm*>(&control_) != nullptr) return;
  if (auto* owner = dynamic_cast<TWinControl*>(control_.Owner())) control_.SetParent(owner);
}

void TControlImpl::SetFocusWidget(QWidget* widget) {
  focus_ = widget;
  if (widget_ && widget != widget_) widget_->setFocusProxy(widget);
  Watch(widget);
}

void TControlImpl::TakeFocus() {
  QWidget* widget = FocusWidget();
  // Qt draws the cue only in windows where the focus moved by the keyboard.
  widget->window()->setAttribute(Qt::WA_KeyboardFocusChange);
  widget->setFocus(Qt::OtherFocusReason);
  widget->update();
}

void TControlImpl::Watch(QWidget* widget) {
  std::erase_if(watched_, [](const QPointer<QWidget>& watched) { return watched.isNull(); });
  if (std::find(watched_.begin(), watched_.end(), widget) != watched_.end()) return;
  widget->installEventFilter(this);
  watched_.emplace_back(widget);
}

TControl* TControlImpl::ControlOf(const QObject* widget) {
  for (const QObject* object = widget; object != nullptr; object = object->parent()) {
    const QVariant value = object->property(kControlProperty);
    if (value.isValid()) return static_cast<TControl*>(value.value<void*>());
  }
  return nullptr;
}

bool TControlImpl::eventFilter(QObject* watched, QEvent* event) {
  if (!Reachable(&control_)) return false;
  auto* windowed = dynamic_cast<TWinControl*>(&control_);
  if (watched == Container() && event->type() == QEvent::Resize && windowed != nullptr) {
    windowed->Realign();
    return false;
  }
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr) return false;
  switch (event->type()) {
    case QEvent::MouseButtonPress:
      if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) pressed_ = true;
      break;
    case QEvent::MouseButtonRelease: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton || !pressed_) break;
      pressed_ = false;
      if (click_on_mouse_ && widget->rect().contains(mouse->position().toPoint())) {
        Guarded(&control_, [this] { control_.Click(); });
      }
      break;
    }
    case QEvent::MouseMove: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      const QPoint at = widget->mapTo(widget_, mouse->position().toPoint());
      const TShiftState shift = ShiftOf(mouse->modifiers(), mouse->buttons());
      Guarded(&control_, [&] { control_.MouseMoved(shift, at.x(), at.y()); });
      break;
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      // A window losing or regaining the activation, or a popup, is no move of the focus.
      if (windowed == nullptr || widget != FocusWidget() || reason == Qt::ActiveWindowFocusReason ||
          reason == Qt::PopupFocusReason) {
        break;
      }
      FocusMoved(*windowed, event->type() == QEvent::FocusIn);
      break;
    }
    case QEvent::KeyPress: {
      // A key the focused part of this control left unanswered passes on to the
      // parts around it; it was offered once already.
      const QWidget* focus = QApplication::focusWidget();
      if (widget != focus && ControlOf(focus) == &control_) break;
      if (windowed != nullptr && !replaying_) return FilterKey(widget, static_cast<QKeyEvent*>(event));
      break;
    }
    default:
      break;
  }
  return false;
}

void TControlImpl::FocusMoved(TWinControl& control, bool entered) {
  TForm* form = control.ParentForm();
  if (form == nullptr) {
    Guarded(&control, [&control, entered] { entered ? control.DoEnter() : control.DoExit(); });
    return;
  }
  // As on the desktop the windows were made for, a form keeps its focused control
  // while the focus is in another window: OnExit and OnEnter run when the focus
  // moves from one control of the form to another, never for a move between windows.
  TFormImpl& form_impl = form->FormNative();
  TWinControl* previous = form_impl.FocusedControl();
  if (!entered || previous == &control) return;
  form_impl.SetFocusedControl(control);
  if (previous != nullptr) Guarded(previous, [previous] { previous->DoExit(); });
  Guarded(&control, [&control] { control.DoEnter(); });
}

bool TControlImpl::FilterKey(QWidget* widget, QKeyEvent* event) {
  const char32_t typed = CharOf(event);
  if (typed == 0) return false;
  auto& windowed = static_cast<TWinControl&>(control_);
  char32_t key = typed;
  QPointer<QWidget> alive(widget);
  Guarded(&control_, [&] { key = windowed.KeyPress(typed); });
  if (!alive || key == 0) return true;
  // A handler that moved the focus has answered the key; it must not land elsewhere.
  if (!Contains(widget_, QApplication::focusWidget())) return true;
  if (key == typed) return false;
  const QString text = QString::fromUcs4(&key, 1);
  QKeyEvent replacement(QEvent::KeyPress, key == 13 ? Qt::Key_Return : 0, event->modifiers(), text);
  replaying_ = true;
  QApplication::sendEvent(widget, &replacement);
  replaying_ = false;
  return true;
}

// ---------------------------------------------------------------------------
// TControl

TControl::TControl(TComponent* owner) : TComponent(owner), impl_(std::make_unique<TControlImpl>(*this)) {}

TControl::~TControl() {
  Destroying();
  if (parent_ != nullptr) parent_->RemoveControl(this);
  impl_.reset();
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent_ != nullptr) parent_->RemoveControl(this);
  parent_ = parent;
  QWidget* placed = impl_->Placed();
  if (parent_ != nullptr) {
    parent_->InsertControl(this);
    if (placed != nullptr) {
      placed->setParent(parent_->Native().Container());
      placed->setVisible(visible_);
      if (align_ != alNone) parent_->Realign();
    }
  } else if (placed != nullptr) {
    placed->setParent(nullptr);
  }
}

TForm* TControl::ParentForm() const {
  for (const TControl* control = this; control != nullptr; control = control->parent_) {
    if (auto* form = dynamic_cast<const TForm*>(control)) return const_cast<TForm*>(form);
  }
  return nullptr;
}

int TControl::Left() const {
  return impl_->Placed()->x();
}
int TControl::Top() const {
  return impl_->Placed()->y();
}
int TControl::Width() const {
  return impl_->Placed()->width();
}
int TControl::Height() const {
  return impl_->Placed()->height();
}
void TControl::SetLeft(int left) {
  SetBounds(left, Top(), Width(), Height());
}
void TControl::SetTop(int top) {
  SetBounds(Left(), top, Width(), Height());
}
void TControl::SetWidth(int width) {
  SetBounds(Left(), Top(), width, Height());
}
void TControl::SetHeight(int height) {
  SetBounds(Left(), Top(), Width(), height);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  impl_->Placed()->setGeometry(left, top, std::max(width, 0), std::max(height, 0));
  // Qt holds back resize events of hidden widgets; aligned children follow now.
  if (auto* windowed = dynamic_cast<TWinControl*>(this)) windowed->Realign();
  if (align_ != alNone && parent_ != nullptr) parent_->Realign();
}

int TControl::ClientWidth() const {
  return impl_->Container()->width();
}
int TControl::ClientHeight() const {
  return impl_->Container()->height();
}

void TControl::SetVisible(bool visible) {
  visible_ = visible;
  if (parent_ != nullptr || impl_->Placed()->isWindow()) impl_->Placed()->setVisible(visible);
  if (align_ != alNone && parent_ != nullptr) parent_->Realign();
}

bool TControl::Showing() const {
  for (const TControl* control = this; control != nullptr; control = control->parent_) {
    if (!control->visible_) return false;
  }
  return true;
}

void TControl::SetEnabled(bool enabled) {
  enabled_ = enabled;
  impl_->Placed()->setEnabled(enabled);
}

void TControl::SetHint(const std::string& hint) {
  hint_ = hint;
  impl_->Widget()->setToolTip(WithLineBreaks(hint));
}

TFont TControl::Font() const {
  if (has_font_ || parent_ == nullptr) return font_;
  return parent_->Font();
}

void TControl::SetFont(const TFont& font) {
  font_ = font;
  has_font_ = true;
  ApplyFont(font);
}

void TControl::ApplyFont(const TFont& font) {
  ApplyFontTo(*impl_->Widget(), font);
}

TColor TControl::Color() const {
  if (has_color_ || parent_ == nullptr) return color_;
  return parent_->Color();
}

void TControl::SetColor(TColor color) {
  color_ = color;
  has_color_ = true;
  ApplyColor(color);
}

void TControl::ApplyColor(TColor color) {
  ApplyColorTo(*impl_->Widget(), color);
}

void TControl::SetAlign(TAlign align) {
  align_ = align;
  if (parent_ != nullptr) parent_->Realign();
}

void TControl::SetCursor(TCursor cursor) {
  cursor_ = cursor;
  if (cursor == crHourGlass) {
    impl_->Widget()->setCursor(Qt::WaitCursor);
  } else {
    impl_->Widget()->unsetCursor();
  }
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::MouseMoved(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

// ---------------------------------------------------------------------------
// TWinControl

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  Destroying();
  for (TControl* control : controls_) control->parent_ = nullptr;
  controls_.clear();
  tab_list_.clear();
}

void TWinControl::InsertControl(TControl* control) {
  controls_.push_back(control);
  if (auto* windowed = dynamic_cast<TWinControl*>(control)) tab_list_.push_back(windowed);
}

void TWinControl::RemoveControl(TControl* control) {
  std::erase(controls_, control);
  std::erase(tab_list_, control);
}

bool TWinControl::CanFocus() const {
  for (const TControl* control = this; control != nullptr; control = control->Parent()) {
    if (!control->Visible() || !control->Enabled()) return false;
  }
  return true;
}

void TWinControl::SetFocus() {
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  if (TForm* form = ParentForm(); form != nullptr && form != this) form->BringToFront();
  Native().TakeFocus();
}

bool TWinControl::Focused() const {
  return Contains(Native().FocusWidget(), QApplication::focusWidget());
}

int TWinControl::TabOrder() const {
  if (Parent() == nullptr) return -1;
  const auto& list = Parent()->tab_list_;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int order) {
  TWinControl* parent = Parent();
  if (parent == nullptr) return;
  auto& list = parent->tab_list_;
  std::erase(list, this);
  order = std::clamp(order, 0, static_cast<int>(list.size()));
  list.insert(list.begin() + order, this);
  TWinControl* root = parent;
  while (root->Parent() != nullptr) root = root->Parent();
  root->ApplyTabOrder();
}

void TWinControl::ApplyTabOrder() {
  std::vector<QWidget*> chain;
  std::function<void(const TWinControl*)> collect = [&](const TWinControl* container) {
    for (const TWinControl* control : container->tab_list_) {
      chain.push_back(control->Native().FocusWidget());
      collect(control);
    }
  };
  collect(this);
  for (size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void TWinControl::SetTabStop(bool tab_stop) {
  tab_stop_ = tab_stop;
  QWidget* focus = Native().FocusWidget();
  if (focus->focusPolicy() == Qt::NoFocus) return;
  focus->setFocusPolicy(tab_stop ? Qt::StrongFocus : Qt::ClickFocus);
}

char32_t TWinControl::KeyPress(char32_t key) {
  if (OnKeyPress) OnKeyPress(this, key);
  return key;
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

TRect TWinControl::Realign() {
  const QWidget* container = Native().Container();
  TRect rest{0, 0, container->width(), container->height()};
  for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
    for (TControl* control : controls_) {
      if (control->Align() != align || !control->Visible()) continue;
      QWidget* placed = control->Native().Placed();
      const int width = placed->width();
      const int height = placed->height();
      switch (align) {
        case alTop:
          placed->setGeometry(rest.Left, rest.Top, rest.Width(), height);
          rest.Top += height;
          break;
        case alBottom:
          placed->setGeometry(rest.Left, rest.Bottom - height, rest.Width(), height);
          rest.Bottom -= height;
          break;
        case alLeft:
          placed->setGeometry(rest.Left, rest.Top, width, rest.Height());
          rest.Left += width;
          break;
        case alRight:
          placed->setGeometry(rest.Right - width, rest.Top, width, rest.Height());
          rest.Right -= width;
          break;
        default:
          placed->setGeometry(rest.Left, rest.Top, std::max(rest.Width(), 0), std::max(rest.Height(), 0));
          break;
      }
      if (auto* windowed = dynamic_cast<TWinControl*>(control)) windowed->Realign();
    }
  }
  AlignRemainder(rest);
  return rest;
}
