#pragma once
// Runs OnTimer every Interval milliseconds while enabled and handled.
#include <memory>

#include "platform/rtl/Component.h"

class TTimerImpl;

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  int Interval() const { return interval_; }
  void SetInterval(int milliseconds);
  void SetOnTimer(TNotifyEvent handler);

 private:
  void Update();

  std::unique_ptr<TTimerImpl> impl_;
  TNotifyEvent on_timer_;
  bool enabled_ = true;
  int interval_ = 1000;
};
