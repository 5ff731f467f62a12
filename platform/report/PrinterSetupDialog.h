#pragma once
// The printer set-up dialog that windows place on their forms: Execute opens
// the toolkit's printer dialog, the one the report preview prints through.
#include "platform/rtl/Component.h"

class TPrinterSetupDialog : public TComponent {
 public:
  explicit TPrinterSetupDialog(TComponent* owner) : TComponent(owner) {}

  // Shows the dialog over the active window until the user closes it; true when
  // they confirmed it.
  bool Execute();
};
