#pragma once
// TfrmWait: the one wait window of the process (WaitWindow()), which shows
// the progress of long engine operations and lets the user abort them or
// hide the application meanwhile. It is drawn from kWaitWindowLayout by the
// EngineUi; this class holds what the window does.
//
// Only long waits show it: StartWait starts a 500 ms timer, and the window
// appears when the timer fires only if the wait has not finished and the
// progress is at most 50. While shown it has disabled every other window of
// the program (Hooked); hiding enables them again and activates the window
// that was active before.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/access/EngineUi.h"
#include "engine/access/WindowLayout.h"

// "Please Wait...": lMessage, pb, btnCancel, Button1, ShowTimer.
extern const TWindowLayout kWaitWindowLayout;
inline constexpr int32_t kWaitShowDelayMs = 500;
// The progress above which a wait is near its end and the window stays hidden.
inline constexpr int32_t kWaitShowMaxProgress = 50;

class TfrmWait {
 public:
  // `ui` outlives the window.
  explicit TfrmWait(EngineUi& ui) : ui_(ui) {}
  // Hides the window, enabling the other windows again.
  ~TfrmWait();
  TfrmWait(const TfrmWait&) = delete;
  TfrmWait& operator=(const TfrmWait&) = delete;

  // Starts a wait with the message: Aborted cleared, the application's
  // restore handler saved, the timer started. The window is not shown yet.
  void StartWait(std::string_view message);
  // Ends the wait: the saved restore handler back, the window hidden, the
  // application restored when minimised, Finished set.
  void StopWait();
  // A long operation's progress, as the engine reports it when no event
  // handler is assigned: the bar at 0 and a wait started with the message;
  // then the bar at each percent, pending messages run, and Continue false
  // once the user pressed Abort.
  void StartProgress(std::string_view message);
  void ReportProgress(int32_t percent, bool& continue_);

  // lMessage.
  const std::string& Message() const { return message_; }
  // pb, 0 to 100; callers set it as the work advances.
  int32_t Position() const { return position_; }
  void SetPosition(int32_t position);
  bool Visible() const { return visible_; }

  // The handlers of the timer and the two buttons.
  void ShowTimerTimer();
  // Abort: the running operation sees Aborted at its next progress report.
  void btnCancelClick() { Aborted = true; }
  // Background mode: the window hides and the application minimises until
  // the user restores it; then the wait starts again with its message.
  void Button1Click();

  bool Hooked = false;    // shown, with the other windows disabled
  bool Finished = false;  // the current wait has been stopped
  bool Aborted = false;   // the user pressed Abort

 private:
  void Show();
  void Hide();
  void ApplicationRestored();

  EngineUi& ui_;
  std::string message_ = "Wait...";
  int32_t position_ = 0;
  bool visible_ = false;
  std::vector<TEngineWindowId> disabled_windows_;
  TEngineWindowId active_window_ = 0;
  TNotifyEvent saved_restore_handler_;
};
