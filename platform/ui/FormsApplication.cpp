#include "platform/ui/FormsApplication.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QPointer>
#include <algorithm>
#include <cassert>

#include "platform/ui/Dialogs.h"
#include "platform/ui/internal/FormImpl.h"
#include "platform/ui/internal/Guard.h"
#include "platform/ui/internal/PictureImpl.h"

namespace {

TFormsApplication* instance = nullptr;

// The icon of a program without one: an empty square, so that title bars show
// no icon of the toolkit's own.
QIcon BlankIcon() {
  QPixmap blank(16, 16);
  blank.fill(Qt::transparent);
  return QIcon(blank);
}

// Frees a form when Qt deletes it as a deferred deletion, that is once control
// is back in the event loop that was running when the form was released.
class FormReaper : public QObject {
 public:
  explicit FormReaper(uint64_t serial) : serial_(serial) {}
  ~FormReaper() override {
    if (instance == nullptr) return;
    delete instance->FormBySerial(serial_);
  }

 private:
  uint64_t serial_;
};

}  // namespace

class TFormsApplicationImpl {
 public:
  TFormsApplicationImpl(int& argc, char** argv) : application(argc, argv) {}
  QApplication application;
  std::vector<TModalLoop*> modal_loops;
  bool override_cursor = false;
  bool running = false;
};

TFormsApplication& FormsApplication() {
  assert(instance != nullptr && "construct the TFormsApplication first");
  return *instance;
}

TFormsApplication::TFormsApplication(int& argc, char** argv)
    : impl_(std::make_unique<TFormsApplicationImpl>(argc, argv)) {
  assert(instance == nullptr);
  instance = this;
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setWindowIcon(BlankIcon());
  Application().OnException = [](TObject*, const std::exception& error) {
    DialogService().MessageDlg(Application().Title(), error.what(), mtError, mbOKOnly);
  };
  Application().SetProcessMessagesHandler([] { QApplication::processEvents(); });
}

TFormsApplication::~TFormsApplication() {
  terminated_ = true;
  // No window may outlive Qt.
  Application().DestroyComponents();
  while (!forms_.empty()) delete forms_.back();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  SetCursor(crDefault);
  Application().OnException = nullptr;
  Application().SetProcessMessagesHandler(nullptr);
  instance = nullptr;
}

void TFormsApplication::Created(TForm* form) {
  // The first form of a run becomes its main form; the run ends with Terminate.
  if (main_form_ == nullptr) {
    main_form_ = form;
    terminated_ = false;
  }
  form->Create();
  if (form->FormStyle() == fsMDIChild && !form->Released()) form->Show();
}

TForm* TFormsApplication::NewestOf(const std::type_info& type) const {
  for (auto it = forms_.rbegin(); it != forms_.rend(); ++it) {
    TForm* form = *it;
    if (typeid(*form) == type && !form->Released() && Reachable(form)) return form;
  }
  return nullptr;
}

uint64_t TFormsApplication::Register(TForm* form) {
  forms_.push_back(form);
  return next_serial_++;
}

void TFormsApplication::Unregister(TForm* form) {
  std::erase(forms_, form);
  if (main_form_ == form) main_form_ = nullptr;
}

TForm* TFormsApplication::FormBySerial(uint64_t serial) const {
  const auto found =
      std::find_if(forms_.begin(), forms_.end(), [serial](TForm* f) { return f->serial_ == serial; });
  return found == forms_.end() ? nullptr : *found;
}

TForm* TFormsApplication::ActiveForm() const {
  const QWidget* active = QApplication::activeWindow();
  if (active == nullptr) return nullptr;
  const auto found = std::find_if(forms_.begin(), forms_.end(),
                                  [active](TForm* f) { return f->FormNative().Window() == active; });
  return found == forms_.end() ? nullptr : *found;
}

void TFormsApplication::ScheduleFree(TForm* form) {
  (new FormReaper(form->serial_))->deleteLater();
}

TForm* TFormsApplication::MainForm() const {
  return main_form_;
}

void TFormsApplication::Run() {
  if (main_form_ != nullptr && !terminated_) main_form_->Show();
  if (terminated_) return;
  impl_->running = true;
  QApplication::exec();
  impl_->running = false;
}

void TFormsApplication::Terminate() {
  terminated_ = true;
  for (TModalLoop* loop : impl_->modal_loops) loop->loop.quit();
  // Qt's exit stops every later event loop until the main loop runs again, so it
  // is called only when the main loop runs.
  if (impl_->running) QCoreApplication::exit(0);
}

void TFormsApplication::ProcessMessages() {
  QApplication::processEvents();
}

void TFormsApplication::EnterModal(TModalLoop* loop) {
  impl_->modal_loops.push_back(loop);
}
void TFormsApplication::LeaveModal(TModalLoop* loop) {
  std::erase(impl_->modal_loops, loop);
}

void TFormsApplication::Minimize() {
  if (main_form_ != nullptr) main_form_->FormNative().Frame()->showMinimized();
}

void TFormsApplication::Restore() {
  if (main_form_ == nullptr || !Minimized()) return;
  QWidget* frame = main_form_->FormNative().Frame();
  if (main_form_->window_state_ == wsMaximized) {
    frame->showMaximized();
  } else {
    frame->showNormal();
  }
}

bool TFormsApplication::Minimized() const {
  return main_form_ != nullptr && main_form_->FormNative().Frame()->isMinimized();
}

void TFormsApplication::RestoredByUser() {
  Guarded(&Application(), [this] {
    const TNotifyEvent handler = OnRestore;
    if (handler) handler(&Application());
  });
}

TTaskWindowList TFormsApplication::DisableTaskWindows(const TForm* except) {
  TTaskWindowList list;
  for (TForm* form : forms_) {
    QWidget* frame = form->FormNative().Frame();
    if (form == except || form->FormStyle() == fsMDIChild || !frame->isVisible() || !frame->isEnabled())
      continue;
    frame->setEnabled(false);
    list.forms.push_back(form->serial_);
  }
  return list;
}

void TFormsApplication::EnableTaskWindows(const TTaskWindowList& list) {
  for (uint64_t serial : list.forms) {
    if (TForm* form = FormBySerial(serial)) form->FormNative().Frame()->setEnabled(form->Enabled());
  }
}

void TFormsApplication::SetIcon(const TPicture& icon) {
  QApplication::setWindowIcon(icon.Empty() ? BlankIcon() : QIcon(QPixmap::fromImage(icon.Native().image)));
  // Qt tells the top-level windows; the MDI children's title bars are told here.
  for (TForm* form : forms_) {
    if (QMdiSubWindow* sub_window = form->FormNative().SubWindow()) {
      QEvent change(QEvent::WindowIconChange);
      QApplication::sendEvent(sub_window, &change);
    }
  }
}

void TFormsApplication::SetCursor(TCursor cursor) {
  cursor_ = cursor;
  const bool hourglass = cursor == crHourGlass;
  if (hourglass == impl_->override_cursor) return;
  impl_->override_cursor = hourglass;
  if (hourglass) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}
