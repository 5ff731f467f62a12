#include "platform/ui/ProgressBar.h"

#include <QProgressBar>

#include "platform/ui/internal/ControlImpl.h"

namespace {

QProgressBar* BarOf(const TControl& control) {
  return static_cast<QProgressBar*>(control.Native().Widget());
}

}  // namespace

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
  auto* bar = new QProgressBar;
  bar->setTextVisible(false);
  bar->setFocusPolicy(Qt::NoFocus);
  bar->setRange(0, 100);
  bar->setValue(0);
  Native().Attach(bar);
  SetBounds(0, 0, 150, 16);
}

int TProgressBar::Min() const {
  return BarOf(*this)->minimum();
}
int TProgressBar::Max() const {
  return BarOf(*this)->maximum();
}
void TProgressBar::SetMin(int min) {
  BarOf(*this)->setMinimum(min);
}
void TProgressBar::SetMax(int max) {
  BarOf(*this)->setMaximum(max);
}
int TProgressBar::Position() const {
  return BarOf(*this)->value();
}

void TProgressBar::SetPosition(int position) {
  QProgressBar* bar = BarOf(*this);
  bar->setValue(std::clamp(position, bar->minimum(), bar->maximum()));
}

void TProgressBar::StepIt() {
  QProgressBar* bar = BarOf(*this);
  // Past the end the bar starts again from the minimum, as the platform's does.
  int next = bar->value() + step_;
  if (next > bar->maximum()) next = bar->minimum() + (next - bar->maximum());
  SetPosition(next);
}
