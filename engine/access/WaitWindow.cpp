#include "engine/access/WaitWindow.h"

#include <algorithm>

TfrmWait::~TfrmWait() {
  Hide();
}

void TfrmWait::StartWait(std::string_view message) {
  message_ = message;
  Aborted = false;
  saved_restore_handler_ = ui_.RestoreHandler();
  Finished = false;
  // A wait started while the window is up keeps it up, with the other windows
  // still disabled: Hooked stays true until the window hides.
  if (visible_) ui_.WaitWindowChanged(*this);
  ui_.StartTimer(kWaitShowDelayMs, [this] { ShowTimerTimer(); });
}

void TfrmWait::StopWait() {
  ui_.SetRestoreHandler(saved_restore_handler_);
  Hide();
  ui_.RestoreApplication();
  Finished = true;
}

void TfrmWait::StartProgress(std::string_view message) {
  SetPosition(0);
  StartWait(message);
}

void TfrmWait::ReportProgress(int32_t percent, bool& continue_) {
  SetPosition(percent);
  ui_.ProcessMessages();
  if (Aborted) continue_ = false;
}

void TfrmWait::SetPosition(int32_t position) {
  position_ = std::clamp(position, 0, 100);
  if (visible_) ui_.WaitWindowChanged(*this);
}

void TfrmWait::ShowTimerTimer() {
  ui_.StopTimer();
  if (!Finished && position_ <= kWaitShowMaxProgress) Show();
  ui_.ProcessMessages();
}

void TfrmWait::Button1Click() {
  ui_.SetRestoreHandler([this](TObject*) { ApplicationRestored(); });
  Hide();
  ui_.MinimizeApplication();
  ui_.ProcessMessages();
}

void TfrmWait::ApplicationRestored() {
  ui_.SetRestoreHandler(saved_restore_handler_);
  StartWait(message_);
  ui_.ProcessMessages();
}

void TfrmWait::Show() {
  if (visible_) return;
  ui_.StopTimer();
  active_window_ = ui_.ActiveWindow();
  ui_.ShowWaitWindow(*this);
  visible_ = true;
  disabled_windows_ = ui_.DisableTaskWindows();
  Hooked = true;
}

void TfrmWait::Hide() {
  ui_.StopTimer();
  if (Hooked) {
    ui_.EnableTaskWindows(disabled_windows_);
    disabled_windows_.clear();
  }
  if (visible_) ui_.HideWaitWindow();
  visible_ = false;
  if (Hooked) ui_.ActivateWindow(active_window_);
  Hooked = false;
}
