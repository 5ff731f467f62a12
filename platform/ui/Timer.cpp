#include "platform/ui/Timer.h"

#include <QTimer>

#include "platform/ui/internal/Guard.h"

class TTimerImpl {
 public:
  QTimer timer;
};

TTimer::TTimer(TComponent* owner) : TComponent(owner), impl_(std::make_unique<TTimerImpl>()) {
  QObject::connect(&impl_->timer, &QTimer::timeout, [this] {
    Guarded(this, [this] {
      if (on_timer_) on_timer_(this);
    });
  });
}

TTimer::~TTimer() {
  Destroying();
  impl_->timer.stop();
}

void TTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Update();
}

void TTimer::SetInterval(int milliseconds) {
  interval_ = milliseconds;
  Update();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
  on_timer_ = std::move(handler);
  Update();
}

void TTimer::Update() {
  impl_->timer.stop();
  if (enabled_ && interval_ > 0 && on_timer_) impl_->timer.start(interval_);
}
