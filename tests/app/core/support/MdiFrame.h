#pragma once
// The main window that the programs' MDI children need: created and shown
// first, so that it is the application's main form; and switching between
// its children as a user does.
#include <gtest/gtest.h>

#include "platform/ui/FormsApplication.h"
#include "tests/platform/ui/support/User.h"

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

// An MDI child without contents, to switch to and away from a window.
class OtherWindow : public TForm {
 public:
  explicit OtherWindow(TComponent* owner) : TForm(owner) { SetFormStyle(fsMDIChild); }
};

// Makes the MDI child the active one, as a click into it does.
inline void SwitchTo(TForm& child) {
  user::Click(child);
  ASSERT_EQ(FormsApplication().MainForm()->ActiveMDIChild(), &child);
}
