#include "app/core/WaitForm.h"

#include <utility>

TWaitForm::TWaitForm(TComponent* owner)
    : TLayoutForm(owner, kWaitWindowLayout),
      lMessage(Control<TLabel>("lMessage")),
      pb(Control<TProgressBar>("pb")),
      btnCancel(Control<TButton>("btnCancel")),
      Button1(Control<TButton>("Button1")),
      ShowTimer(Control<TTimer>("ShowTimer")) {
  ShowTimer.SetOnTimer(Bind(this, &TWaitForm::ShowTimerTimer));
  OnCloseQuery = [](TObject*, bool& can_close) { can_close = false; };
}

void TWaitForm::ShowWait(TfrmWait& wait) {
  btnCancel.OnClick = [&wait](TObject*) { wait.btnCancelClick(); };
  Button1.OnClick = [&wait](TObject*) { wait.Button1Click(); };
  Refresh(wait);
  SetActiveControl(&btnCancel);
  Show();
}

void TWaitForm::Refresh(const TfrmWait& wait) {
  lMessage.SetCaption(wait.Message());
  pb.SetPosition(wait.Position());
}

void TWaitForm::StartTimer(int32_t milliseconds, std::function<void()> handler) {
  timer_handler_ = std::move(handler);
  ShowTimer.SetInterval(milliseconds);
  ShowTimer.SetEnabled(true);
}

void TWaitForm::StopTimer() {
  ShowTimer.SetEnabled(false);
  timer_handler_ = nullptr;
}

void TWaitForm::ShowTimerTimer(TObject*) {
  // The handler may start the timer again, so it runs as a copy taken off.
  const std::function<void()> handler = std::exchange(timer_handler_, nullptr);
  ShowTimer.SetEnabled(false);
  if (handler) handler();
}
