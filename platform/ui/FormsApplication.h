#pragma once
// The window side of the application object: the Qt application, the main form,
// the message loop, the forms alive in the process and what the engine's wait
// window needs (minimising, restoring, disabling the other windows, the cursor).
// A program constructs exactly one, first thing in main; while it exists the
// class library's application object shows unhandled exceptions in an error box
// and its ProcessMessages runs the Qt message loop. When it ends it frees what
// the application object owns and every form still alive, ownerless ones too:
// nothing may free a form after it.
#include <cstdint>
#include <memory>
#include <typeinfo>
#include <vector>

#include "platform/rtl/Application.h"
#include "platform/ui/Form.h"
#include "platform/ui/Picture.h"

class TFormsApplicationImpl;
class TModalLoop;

// The windows that DisableTaskWindows disabled, to be enabled again.
struct TTaskWindowList {
  std::vector<uint64_t> forms;
};

class TFormsApplication {
 public:
  TFormsApplication(int& argc, char** argv);
  ~TFormsApplication();
  TFormsApplication(const TFormsApplication&) = delete;
  TFormsApplication& operator=(const TFormsApplication&) = delete;

  // Constructs a form owned by the application object, runs its OnCreate (an
  // exception there is shown and the form is still returned), records it as the
  // newest instance of its class and shows it when it is an MDI child. The first
  // form created this way becomes the main form.
  template <typename T, typename... Args>
  T* CreateForm(Args&&... args) {
    T* form = new T(&Application(), std::forward<Args>(args)...);
    Created(form);
    return form;
  }

  // The newest live form of exactly this class that is not doomed to be freed; null
  // when there is none.
  template <typename T>
  T* Newest() const {
    return static_cast<T*>(NewestOf(typeid(T)));
  }

  TForm* MainForm() const;
  // Shows the main form and runs the message loop until Terminate.
  void Run();
  // Ends the message loop and every modal loop.
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Lets pending window messages run (also what Application().ProcessMessages does).
  void ProcessMessages();

  void Minimize();
  void Restore();
  bool Minimized() const;
  // Runs when the application is restored from the minimised state. A copy
  // runs, so a handler may replace itself.
  TNotifyEvent OnRestore;

  // Disables every visible top-level form but `except`; returns what it disabled.
  TTaskWindowList DisableTaskWindows(const TForm* except);
  // Enables again those of the list that are still alive.
  void EnableTaskWindows(const TTaskWindowList& list);

  // The program's icon, on the title bars of its windows and its MDI children;
  // without one (an empty picture, the default) they show none.
  void SetIcon(const TPicture& icon);

  // The screen cursor: hourglass over every window of the program, or each control's own.
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor);

  // The live forms in the order they were created.
  const std::vector<TForm*>& Forms() const { return forms_; }
  TForm* FormBySerial(uint64_t serial) const;
  // The form whose window is the program's active window, or null.
  TForm* ActiveForm() const;

 private:
  friend class TForm;
  friend class TFormImpl;
  void Created(TForm* form);
  TForm* NewestOf(const std::type_info& type) const;
  uint64_t Register(TForm* form);
  void Unregister(TForm* form);
  // Frees the form when control is back in the event loop that is running now.
  void ScheduleFree(TForm* form);
  void RestoredByUser();
  // Modal loops register themselves so that Terminate can end them.
  void EnterModal(TModalLoop* loop);
  void LeaveModal(TModalLoop* loop);

  std::unique_ptr<TFormsApplicationImpl> impl_;
  std::vector<TForm*> forms_;
  TForm* main_form_ = nullptr;
  uint64_t next_serial_ = 1;
  bool terminated_ = false;
  TCursor cursor_ = crDefault;
};

// The one window application; it must exist.
TFormsApplication& FormsApplication();
