#pragma once
// TWaitForm: the window of the engine's wait (TfrmWait), drawn from
// kWaitWindowLayout. It shows a wait's message and progress, hands Abort and
// Background Mode to the wait's own handlers, and its ShowTimer is the
// one-shot timer that decides whether the wait shows at all. It goes only
// when its wait stops: a close from the keyboard is refused.
#include <cstdint>
#include <functional>

#include "app/core/LayoutForm.h"
#include "engine/access/WaitWindow.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/Label.h"
#include "platform/ui/ProgressBar.h"
#include "platform/ui/Timer.h"

class TWaitForm : public TLayoutForm {
 public:
  explicit TWaitForm(TComponent* owner);

  // Shows the wait's message and progress, btnCancel focused; the buttons
  // then act on `wait`, which outlives the form's showing.
  void ShowWait(TfrmWait& wait);
  void Refresh(const TfrmWait& wait);
  // `handler` runs once, `milliseconds` from now, unless stopped or started
  // again before.
  void StartTimer(int32_t milliseconds, std::function<void()> handler);
  void StopTimer();

  TLabel& lMessage;
  TProgressBar& pb;
  TButton& btnCancel;
  TButton& Button1;
  TTimer& ShowTimer;

 private:
  void ShowTimerTimer(TObject* sender);

  std::function<void()> timer_handler_;
};
