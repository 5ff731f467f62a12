#pragma once
// A bar that shows how far an operation has come.
#include "platform/ui/Control.h"

class TProgressBar : public TWinControl {
 public:
  explicit TProgressBar(TComponent* owner);

  int Min() const;
  int Max() const;
  void SetMin(int min);
  void SetMax(int max);
  int Position() const;
  void SetPosition(int position);
  int Step() const { return step_; }
  void SetStep(int step) { step_ = step; }
  // Advances the position by Step.
  void StepIt();

 private:
  int step_ = 10;
};
