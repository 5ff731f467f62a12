#include "platform/ui/Form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScreen>
#include <QWindowStateChangeEvent>
#include <utility>

#include "platform/ui/FormsApplication.h"
#include "platform/ui/Menus.h"
#include "platform/ui/internal/ControlImpl.h"
#include "platform/ui/internal/FormImpl.h"
#include "platform/ui/internal/Guard.h"
#include "platform/ui/internal/MenuImpl.h"
#include "platform/ui/internal/QtSupport.h"

namespace {

// The top-level window of a form, or the widget inside an MDI child's sub-window.
class FormWindow : public QWidget {
 public:
  explicit FormWindow(TFormImpl& impl) : impl_(impl) {}

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    TForm& form = impl_.Form();
    Guarded(&form, [&form] { form.Close(); });
  }
  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    impl_.LayOut();
  }
  void changeEvent(QEvent* event) override {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !isWindow()) return;
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    if ((change->oldState() & Qt::WindowMinimized) && !(windowState() & Qt::WindowMinimized))
      impl_.Restored();
  }

 private:
  TFormImpl& impl_;
};

TForm* FormOf(const QMdiSubWindow* sub_window) {
  if (sub_window == nullptr) return nullptr;
  return dynamic_cast<TForm*>(TControlImpl::ControlOf(sub_window->widget()));
}

}  // namespace

// ---------------------------------------------------------------------------
// TFormImpl

TFormImpl::TFormImpl(TForm& form)
    : form_(form), window_(new FormWindow(*this)), client_(new QWidget(window_)) {
  window_->setAttribute(Qt::WA_DeleteOnClose, false);
}

QWidget* TFormImpl::Frame() const {
  return sub_window_ ? static_cast<QWidget*>(sub_window_.data()) : window_;
}

void TFormImpl::SetMenuBar(QMenuBar* bar) {
  if (menu_bar_ && menu_bar_ != bar) menu_bar_->setParent(nullptr);
  menu_bar_ = bar;
  if (bar != nullptr) {
    bar->setParent(window_);
    bar->show();
  }
  LayOut();
}

void TFormImpl::LayOut() {
  int top = 0;
  if (menu_bar_) {
    top = menu_bar_->sizeHint().height();
    menu_bar_->setGeometry(0, 0, window_->width(), top);
  }
  client_->setGeometry(0, top, window_->width(), std::max(window_->height() - top, 0));
  form_.Realign();
}

void TFormImpl::MakeMdiFrame() {
  if (mdi_area_) return;
  mdi_area_ = new QMdiArea(client_);
  mdi_area_->setActivationOrder(QMdiArea::ActivationHistoryOrder);
  mdi_area_->show();
  connect(mdi_area_, &QMdiArea::subWindowActivated, this, &TFormImpl::ChildActivated);
  form_.Realign();
}

void TFormImpl::MakeMdiChild(TForm& frame) {
  QMdiArea* area = frame.FormNative().MdiArea();
  const QSize size = window_->size();
  sub_window_ = new QMdiSubWindow;
  sub_window_->setWidget(window_);
  // The sub-window shows and hides the child; the form's own widget stays shown inside it.
  window_->show();
  sub_window_->setAttribute(Qt::WA_DeleteOnClose, false);
  sub_window_->installEventFilter(this);
  area->addSubWindow(sub_window_);
  sub_window_->hide();
  // The form's size becomes the sub-window's, as a form's size is its window's.
  sub_window_->resize(size);
  form_.Native().SetPlaced(sub_window_);
}

bool TFormImpl::eventFilter(QObject* watched, QEvent* event) {
  if (watched == sub_window_ && event->type() == QEvent::Close) {
    event->ignore();
    Guarded(&form_, [this] { form_.Close(); });
    return true;
  }
  return false;
}

void TFormImpl::ChildActivated(QMdiSubWindow* sub_window) {
  TForm* child = FormOf(sub_window);
  // Qt reports the frame losing and regaining the focus (a message box, a modal
  // form) as a deactivation and a new activation of the same child.
  if (child == nullptr || child->released_ || child->serial_ == form_.last_active_child_) return;
  form_.last_active_child_ = child->serial_;
  Guarded(child, [child] { child->Activate(); });
}

void TFormImpl::ActivateNextChild() {
  if (!mdi_area_) return;
  if (QMdiSubWindow* active = mdi_area_->activeSubWindow(); active != nullptr && active->isVisible()) return;
  const QList<QMdiSubWindow*> history = mdi_area_->subWindowList(QMdiArea::ActivationHistoryOrder);
  for (auto it = history.rbegin(); it != history.rend(); ++it) {
    TForm* child = FormOf(*it);
    if ((*it)->isVisible() && child != nullptr && !child->Released()) {
      mdi_area_->setActiveSubWindow(*it);
      return;
    }
  }
}

void TFormImpl::Restored() {
  if (FormsApplication().MainForm() == &form_) FormsApplication().RestoredByUser();
}

TWinControl* TFormImpl::FocusedControl() const {
  return focused_ ? dynamic_cast<TWinControl*>(TControlImpl::ControlOf(focused_)) : nullptr;
}

void TFormImpl::SetFocusedControl(TWinControl& control) {
  focused_ = control.Native().FocusWidget();
}

// ---------------------------------------------------------------------------
// TForm

TForm::TForm(TComponent* owner) : TWinControl(owner), form_impl_(std::make_unique<TFormImpl>(*this)) {
  QWidget* window = form_impl_->Window();
  Native().Attach(window, form_impl_->Client());
  window->hide();
  window->resize(400, 300);
  TControl::SetVisible(false);
  ApplyFont(Font());
  ApplyColor(clBtnFace);
  serial_ = FormsApplication().Register(this);
}

TForm::~TForm() {
  try {
    if (OnDestroy) OnDestroy(this);
  } catch (...) {
    Application().HandleException(this);
  }
  Destroying();
  FormsApplication().Unregister(this);
  if (form_style_ == fsMDIForm) {
    // The children's windows live inside this one.
    for (int i = MDIChildCount() - 1; i >= 0; --i) delete MDIChildren(i);
  }
  if (TForm* frame = MdiFrame(); frame != nullptr && frame->last_active_child_ == serial_) {
    frame->last_active_child_ = 0;
  }
  DestroyComponents();
  menu_ = nullptr;
  form_impl_->SetMenuBar(nullptr);
}

TForm* TForm::MdiFrame() const {
  if (form_style_ != fsMDIChild || !form_impl_->SubWindow()) return nullptr;
  QWidget* area = form_impl_->SubWindow()->mdiArea();
  return area == nullptr ? nullptr : dynamic_cast<TForm*>(TControlImpl::ControlOf(area));
}

void TForm::SetFormStyle(TFormStyle style) {
  if (style == form_style_) return;
  if (style == fsMDIChild) {
    TForm* frame = FormsApplication().MainForm();
    if (frame == nullptr || frame->form_style_ != fsMDIForm) {
      throw EInvalidOperation("Cannot create form. No MDI forms are currently active");
    }
    form_impl_->MakeMdiChild(*frame);
  } else if (style == fsMDIForm) {
    form_impl_->MakeMdiFrame();
  }
  form_style_ = style;
  if (!form_impl_->SubWindow()) {
    form_impl_->Window()->setWindowFlag(Qt::WindowStaysOnTopHint, style == fsStayOnTop);
  }
  ApplyColor(Color());
}

std::string TForm::Caption() const {
  return FromQString(form_impl_->Window()->windowTitle());
}

void TForm::SetCaption(const std::string& caption) {
  form_impl_->Window()->setWindowTitle(ToQString(caption));
  if (QMdiSubWindow* sub = form_impl_->SubWindow()) sub->setWindowTitle(ToQString(caption));
}

TWindowState TForm::WindowState() const {
  const QWidget* frame = form_impl_->Frame();
  if (!frame->isVisible()) return window_state_;
  if (frame->isMinimized()) return wsMinimized;
  return frame->isMaximized() ? wsMaximized : wsNormal;
}

void TForm::SetWindowState(TWindowState state) {
  window_state_ = state;
  QWidget* frame = form_impl_->Frame();
  if (!frame->isVisible()) return;
  switch (state) {
    case wsNormal:
      frame->showNormal();
      break;
    case wsMinimized:
      frame->showMinimized();
      break;
    case wsMaximized:
      frame->showMaximized();
      break;
  }
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
  border_style_ = style;
  SetBorderIcons(border_icons_);
}

void TForm::SetBorderIcons(TBorderIcons icons) {
  border_icons_ = icons;
  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint;
  if (border_style_ != bsNone) flags |= Qt::WindowTitleHint;
  if (icons.Contains(biSystemMenu)) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (icons.Contains(biMinimize) && border_style_ != bsDialog) flags |= Qt::WindowMinimizeButtonHint;
  if (icons.Contains(biMaximize) && border_style_ == bsSizeable) flags |= Qt::WindowMaximizeButtonHint;
  if (border_style_ == bsNone) flags = Qt::Window | Qt::FramelessWindowHint;
  if (form_style_ == fsStayOnTop) flags |= Qt::WindowStaysOnTopHint;
  QWidget* frame = form_impl_->Frame();
  const bool was_visible = frame->isVisible();
  if (QMdiSubWindow* sub = form_impl_->SubWindow()) {
    sub->setWindowFlags(flags & ~Qt::Window);
  } else {
    frame->setWindowFlags(flags);
  }
  const bool fixed = border_style_ == bsSingle || border_style_ == bsDialog;
  if (fixed) {
    frame->setFixedSize(frame->size());
  } else {
    frame->setMinimumSize(0, 0);
    frame->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  }
  if (was_visible) frame->show();
}

void TForm::SetBounds(int left, int top, int width, int height) {
  QWidget* frame = form_impl_->Frame();
  if (border_style_ == bsSingle || border_style_ == bsDialog) frame->setFixedSize(width, height);
  TWinControl::SetBounds(left, top, width, height);
  form_impl_->LayOut();
}

int TForm::ClientWidth() const {
  return form_impl_->Client()->width();
}
int TForm::ClientHeight() const {
  return form_impl_->Client()->height();
}

void TForm::SetClientWidth(int width) {
  // The client area is laid out only when the window is, so it is measured by the window.
  SetWidth(Width() - form_impl_->Window()->width() + width);
}

void TForm::SetClientHeight(int height) {
  const int menu = form_impl_->MenuBar() ? form_impl_->MenuBar()->sizeHint().height() : 0;
  SetHeight(Height() - form_impl_->Window()->height() + menu + height);
}

void TForm::SetMenu(TMainMenu* menu) {
  menu_ = menu;
  form_impl_->SetMenuBar(menu != nullptr ? MenuBarOf(*menu) : nullptr);
}

TWinControl* TForm::ActiveControl() const {
  QWidget* focus = QApplication::focusWidget();
  if (focus != nullptr && form_impl_->Window()->isAncestorOf(focus)) {
    if (auto* control = dynamic_cast<TWinControl*>(TControlImpl::ControlOf(focus)); control != this)
      return control;
  }
  return pending_active_control_;
}

void TForm::SetActiveControl(TWinControl* control) {
  pending_active_control_ = control;
  if (control != nullptr && form_impl_->Frame()->isVisible()) control->SetFocus();
}

void TForm::ApplyFont(const TFont& font) {
  ApplyFontTo(*form_impl_->Client(), font);
}

void TForm::ApplyColor(TColor color) {
  ApplyColorTo(*form_impl_->Client(), color);
  if (QMdiArea* area = form_impl_->MdiArea()) area->setBackground(ToQColor(color));
}

void TForm::AlignRemainder(const TRect& rect) {
  if (QMdiArea* area = form_impl_->MdiArea())
    area->setGeometry(rect.Left, rect.Top, rect.Width(), rect.Height());
}

void TForm::Create() {
  if (created_) return;
  created_ = true;
  Guarded(this, [this] {
    if (OnCreate) OnCreate(this);
  });
}

void TForm::SetVisible(bool visible) {
  if (visible) {
    Show();
  } else {
    Hide();
  }
}

void TForm::Show() {
  Create();
  ShowWindow();
  BringToFront();
}

void TForm::Hide() {
  HideWindow();
}

void TForm::BringToFront() {
  QWidget* frame = form_impl_->Frame();
  if (!frame->isVisible()) return;
  if (QMdiSubWindow* sub = form_impl_->SubWindow()) {
    if (sub->mdiArea() != nullptr && sub->mdiArea()->activeSubWindow() != sub) {
      sub->mdiArea()->setActiveSubWindow(sub);
    }
    return;
  }
  frame->raise();
  frame->activateWindow();
}

void TForm::PlaceOnFirstShow() {
  QWidget* frame = form_impl_->Frame();
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (position_ == poScreenCenter && screen != nullptr) {
    const QRect area = screen->availableGeometry();
    frame->move(area.center() - QPoint(frame->width() / 2, frame->height() / 2));
  } else if (position_ == poMainFormCenter) {
    TForm* main = FormsApplication().MainForm();
    if (main != nullptr && main != this) {
      const QRect area = main->form_impl_->Frame()->frameGeometry();
      frame->move(area.center() - QPoint(frame->width() / 2, frame->height() / 2));
    }
  }
}

void TForm::ShowWindow() {
  QWidget* frame = form_impl_->Frame();
  if (frame->isVisible()) return;
  if (!shown_once_) PlaceOnFirstShow();
  shown_once_ = true;
  TControl::SetVisible(true);
  switch (window_state_) {
    case wsMaximized:
      frame->showMaximized();
      break;
    case wsMinimized:
      frame->showMinimized();
      break;
    case wsNormal:
      frame->show();
      break;
  }
  Guarded(this, [this] {
    if (OnShow) OnShow(this);
  });
  if (pending_active_control_ != nullptr && pending_active_control_->CanFocus()) {
    pending_active_control_->Native().TakeFocus();
  }
  if (form_impl_->SubWindow()) {
    BringToFront();
  } else {
    frame->raise();
    frame->activateWindow();
    Guarded(this, [this] { Activate(); });
  }
}

void TForm::HideWindow() {
  QWidget* frame = form_impl_->Frame();
  if (!frame->isVisible()) {
    TControl::SetVisible(false);
    return;
  }
  // Hiding moves the focus out of the form; its controls take no part in that.
  const bool was_hiding = std::exchange(hiding_, true);
  TControl::SetVisible(false);
  frame->hide();
  hiding_ = was_hiding;
  if (TForm* frame_form = MdiFrame()) {
    if (frame_form->last_active_child_ == serial_) frame_form->last_active_child_ = 0;
    frame_form->form_impl_->ActivateNextChild();
  }
}

void TForm::Activate() {
  if (OnActivate) OnActivate(this);
}

TCloseAction TForm::RunCloseHandlers() {
  bool can_close = true;
  if (OnCloseQuery) OnCloseQuery(this, can_close);
  if (!can_close) return caNone;
  TCloseAction action = form_style_ == fsMDIChild ? caMinimize : caHide;
  if (OnClose) OnClose(this, action);
  return action;
}

void TForm::Close() {
  if (modal_) {
    if (modal_result_ == mrNone) modal_result_ = mrCancel;
    form_impl_->modal_loop->loop.quit();
    return;
  }
  const TCloseAction action = RunCloseHandlers();
  if (action == caNone) return;
  if (form_style_ == fsMDIForm) {
    for (int i = MDIChildCount() - 1; i >= 0; --i) MDIChildren(i)->Release();
  }
  if (FormsApplication().MainForm() == this) {
    HideWindow();
    FormsApplication().Terminate();
    return;
  }
  switch (action) {
    case caHide:
      HideWindow();
      break;
    case caMinimize:
      form_impl_->Frame()->showMinimized();
      break;
    case caFree:
      Release();
      break;
    case caNone:
      break;
  }
}

void TForm::Release() {
  if (released_) return;
  released_ = true;
  if (modal_) {
    Close();
    return;
  }
  HideWindow();
  FormsApplication().ScheduleFree(this);
}

void TForm::SetModalResult(TModalResult result) {
  modal_result_ = result;
  if (modal_ && result != mrNone) form_impl_->modal_loop->loop.quit();
}

TModalResult TForm::ShowModal() {
  if (form_impl_->Frame()->isVisible() || form_style_ == fsMDIChild) {
    throw EInvalidOperation("Cannot make a visible window modal");
  }
  Create();
  TFormsApplication& application = FormsApplication();
  TModalLoop modal_loop;
  form_impl_->modal_loop = &modal_loop;
  modal_result_ = mrNone;
  modal_ = true;
  form_impl_->Window()->setWindowModality(Qt::ApplicationModal);
  application.EnterModal(&modal_loop);
  ShowWindow();
  TCloseAction action = caHide;
  while (true) {
    if (modal_result_ == mrNone && !application.Terminated()) modal_loop.loop.exec();
    if (application.Terminated()) {
      if (modal_result_ == mrNone) modal_result_ = mrCancel;
      break;
    }
    try {
      action = released_ ? caFree : RunCloseHandlers();
    } catch (...) {
      action = caNone;
      Application().HandleException(this);
    }
    if (action != caNone) break;
    modal_result_ = mrNone;
  }
  application.LeaveModal(&modal_loop);
  form_impl_->modal_loop = nullptr;
  modal_ = false;
  HideWindow();
  form_impl_->Window()->setWindowModality(Qt::NonModal);
  if (action == caFree) {
    released_ = false;
    Release();
  }
  return modal_result_;
}

TForm* TForm::ActiveMDIChild() const {
  if (!form_impl_->MdiArea()) return nullptr;
  TForm* child = FormOf(form_impl_->MdiArea()->currentSubWindow());
  return child != nullptr && !child->released_ ? child : nullptr;
}

int TForm::MDIChildCount() const {
  int count = 0;
  for (TForm* form : FormsApplication().Forms()) count += form->MdiFrame() == this ? 1 : 0;
  return count;
}

TForm* TForm::MDIChildren(int index) const {
  for (TForm* form : FormsApplication().Forms()) {
    if (form->MdiFrame() == this && index-- == 0) return form;
  }
  return nullptr;
}
