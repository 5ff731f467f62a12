#pragma once
// The main window that the programs' MDI children need: created and shown
// first, so that it is the application's main form.
#include "platform/ui/FormsApplication.h"

class MdiFrame : public TForm {
 public:
  explicit MdiFrame(TComponent* owner) : TForm(owner) {
    SetFormStyle(fsMDIForm);
    SetBounds(0, 0, 1000, 700);
  }

  static MdiFrame& Open() {
    auto* frame = FormsApplication().CreateForm<MdiFrame>();
    frame->Show();
    return *frame;
  }
};
