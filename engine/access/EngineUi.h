#pragma once
// EngineUi: what the engine's own prompts need of the window toolkit. The
// data-access components decide what to ask and when (the password dialog
// and the repair questions of the database component, the wait window's
// timing, Abort and background mode); an implementation only shows and
// answers. The programs implement it with the window toolkit, rendering the
// layouts of PasswordDialog.h and WaitWindow.h; HeadlessUi.h answers without
// windows. Every text is UTF-8.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Object.h"

class TfrmWait;

// A window of the program, as the implementation identifies it; 0 is none.
using TEngineWindowId = uint64_t;

class EngineUi {
 public:
  virtual ~EngineUi() = default;

  // The password dialog (kPassDialogLayout) shown modally, with `name` in
  // lbName: the text typed into Pass when it closes with OK, nothing when it
  // closes with Cancel.
  virtual std::optional<std::string> AskPassword(std::string_view name) = 0;
  // A confirmation box with Yes and No buttons: true for Yes.
  virtual bool Confirm(std::string_view text) = 0;
  // An information box and a warning box, each with an OK button.
  virtual void Inform(std::string_view text) = 0;
  virtual void Warn(std::string_view text) = 0;

  // The wait window (kWaitWindowLayout) shows, btnCancel focused, or hides;
  // while shown it shows the window's Message() and Position(), and its
  // buttons call the window's btnCancelClick and Button1Click. WaitWindowChanged tells that the message
  // or the position changed.
  virtual void ShowWaitWindow(TfrmWait& window) = 0;
  virtual void HideWaitWindow() = 0;
  virtual void WaitWindowChanged(const TfrmWait& window) = 0;
  // Disables every window of the program but the wait window and returns them.
  virtual std::vector<TEngineWindowId> DisableTaskWindows() = 0;
  // Enables those of the list that still exist.
  virtual void EnableTaskWindows(const std::vector<TEngineWindowId>& windows) = 0;
  virtual TEngineWindowId ActiveWindow() = 0;
  virtual void ActivateWindow(TEngineWindowId window) = 0;

  virtual void MinimizeApplication() = 0;
  // Restores the application when it is minimised.
  virtual void RestoreApplication() = 0;
  // The handler the application runs when the user restores it from the
  // minimised state. The application runs a copy: a handler may replace itself.
  virtual TNotifyEvent RestoreHandler() = 0;
  virtual void SetRestoreHandler(TNotifyEvent handler) = 0;
  // Lets pending window messages run.
  virtual void ProcessMessages() = 0;

  // The one-shot timer: `handler` runs once, `milliseconds` after the start,
  // unless the timer is stopped or started again before.
  virtual void StartTimer(int32_t milliseconds, std::function<void()> handler) = 0;
  virtual void StopTimer() = 0;
};
