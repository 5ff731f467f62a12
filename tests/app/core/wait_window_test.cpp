// The engine's wait window on screen: shown by its timer half a second into a
// long wait, following the progress, with the program's other windows
// disabled; Abort, and Background Mode with the program minimised until the
// user restores it.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "app/core/WaitForm.h"
#include "engine/access/EngineRuntime.h"
#include "platform/ui/FormsApplication.h"
#include "tests/app/core/support/EngineUiTest.h"

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

// Lets the program run until `done` holds or `limit` has passed; whether it held.
bool RunUntil(const std::function<bool()>& done, milliseconds limit) {
  const auto deadline = steady_clock::now() + limit;
  while (true) {
    user::ProcessEvents();
    if (done()) return true;
    if (steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(milliseconds(2));
  }
}

void RunFor(milliseconds time) {
  RunUntil([] { return false; }, time);
}

class WaitWindowOnScreen : public EngineUiTest {
 protected:
  void SetUp() override {
    EngineUiTest::SetUp();
    main_ = FormsApplication().CreateForm<TForm>();
    main_->SetCaption("ทะเบียนพระ - นักบวช");
    main_->Show();
    other_ = FormsApplication().CreateForm<TForm>();
    other_->Show();
    user::ProcessEvents();
  }
  void TearDown() override {
    FormsApplication().OnRestore = nullptr;
    EngineUiTest::TearDown();
  }

  TWaitForm& Form() { return Ui().WaitForm(); }
  // A wait that its timer has found still below half-way.
  void ShowLongWait(const std::string& message, int position) {
    WaitWindow().StartWait(message);
    WaitWindow().SetPosition(position);
    WaitWindow().ShowTimerTimer();
    user::ProcessEvents();
  }

  TForm* main_ = nullptr;
  TForm* other_ = nullptr;
};

TEST_F(WaitWindowOnScreen, ALongWaitShowsItsProgressWithTheOtherWindowsDisabledUntilItStops) {
  user::ActivateWindow(*other_);
  const auto start = steady_clock::now();
  WaitWindow().StartWait("Repairing Database...");
  WaitWindow().SetPosition(10);
  user::ProcessEvents();
  EXPECT_FALSE(seen::OnScreen(Form()));
  ASSERT_TRUE(RunUntil([this] { return seen::OnScreen(Form()); }, milliseconds(3000)));
  EXPECT_GE(steady_clock::now() - start, milliseconds(450)) << "shown by its timer, half a second on";

  EXPECT_EQ(seen::Caption(Form()), "Please Wait...");
  EXPECT_TRUE(seen::StaysOnTop(Form()));
  EXPECT_EQ(seen::ShowsWaitCursor(Form()), true);
  EXPECT_EQ(seen::Text(Form().lMessage), "Repairing Database...");
  EXPECT_EQ(seen::Progress(Form().pb), 10);
  EXPECT_EQ(seen::Text(Form().btnCancel), "Abort");
  EXPECT_EQ(seen::Text(Form().Button1), "Background Mode");
  EXPECT_TRUE(seen::HasFocus(Form().btnCancel));
  EXPECT_FALSE(seen::Usable(*main_));
  EXPECT_FALSE(seen::Usable(*other_));
  EXPECT_TRUE(seen::Usable(Form()));

  for (const int position : {40, 75, 100}) {
    WaitWindow().SetPosition(position);
    EXPECT_EQ(seen::Progress(Form().pb), position);
  }
  WaitWindow().StopWait();
  user::ProcessEvents();
  EXPECT_FALSE(seen::OnScreen(Form()));
  EXPECT_TRUE(seen::Usable(*main_));
  EXPECT_TRUE(seen::Usable(*other_));
  EXPECT_EQ(FormsApplication().ActiveForm(), other_) << "the window active before is active again";
}

TEST_F(WaitWindowOnScreen, AWaitThatEndsOrPassesHalfWayBeforeItsTimerNeverShows) {
  WaitWindow().StartWait("Compacting Database...");
  WaitWindow().StopWait();
  WaitWindow().StartWait("Compacting Database...");
  WaitWindow().SetPosition(60);
  WaitWindow().ShowTimerTimer();
  WaitWindow().SetPosition(20);
  RunFor(milliseconds(50));
  EXPECT_FALSE(seen::OnScreen(Form()));
  EXPECT_TRUE(seen::Usable(*main_));
  WaitWindow().StopWait();
}

TEST_F(WaitWindowOnScreen, TheOneShotTimerRunsOnceUnlessStoppedOrStartedAgain) {
  int first = 0;
  int second = 0;
  Ui().StartTimer(20, [&first] { ++first; });
  Ui().StartTimer(20, [&second] { ++second; });
  ASSERT_TRUE(RunUntil([&second] { return second == 1; }, milliseconds(2000)));
  RunFor(milliseconds(60));
  EXPECT_EQ(first, 0) << "started again before it ran";
  EXPECT_EQ(second, 1) << "once";

  Ui().StartTimer(20, [&first] { ++first; });
  Ui().StopTimer();
  RunFor(milliseconds(60));
  EXPECT_EQ(first, 0) << "stopped";

  // A handler that starts the timer again, as a restored background wait does.
  Ui().StartTimer(10, [this, &first, &second] {
    ++first;
    Ui().StartTimer(10, [&second] { ++second; });
  });
  ASSERT_TRUE(RunUntil([&second] { return second == 2; }, milliseconds(2000)));
  EXPECT_EQ(first, 1);
}

struct AbortCase {
  const char* how;
  std::function<void(TWaitForm& form)> press;
};

TEST_F(WaitWindowOnScreen, AbortMarksTheWaitAbortedAndTheWindowStaysUntilTheWorkStops) {
  const std::vector<AbortCase> cases = {
      {"clicked", [](TWaitForm& form) { user::Click(form.btnCancel); }},
      {"Esc pressed", [](TWaitForm&) { user::PressEscape(); }},
  };
  for (const AbortCase& c : cases) {
    SCOPED_TRACE(c.how);
    ShowLongWait("Copy Table...", 20);
    ASSERT_TRUE(seen::OnScreen(Form()));
    EXPECT_FALSE(WaitWindow().Aborted);
    c.press(Form());
    EXPECT_TRUE(WaitWindow().Aborted);
    EXPECT_TRUE(seen::OnScreen(Form()));
    WaitWindow().StopWait();
    EXPECT_FALSE(seen::OnScreen(Form()));
  }
}

TEST_F(WaitWindowOnScreen, TheUserCannotCloseTheWindowAway) {
  ShowLongWait("Copy Table...", 20);
  user::CloseWindow(Form());
  user::ProcessEvents();
  EXPECT_TRUE(seen::OnScreen(Form()));
  EXPECT_FALSE(seen::Usable(*main_));
  EXPECT_FALSE(WaitWindow().Aborted);
  WaitWindow().StopWait();
}

TEST_F(WaitWindowOnScreen, BackgroundModeMinimisesTheProgramUntilTheUserRestoresIt) {
  int program_restores = 0;
  FormsApplication().OnRestore = [&program_restores](TObject*) { ++program_restores; };
  ShowLongWait("Restructure Table...", 30);
  ASSERT_TRUE(seen::OnScreen(Form()));

  user::Click(Form().Button1);
  EXPECT_FALSE(seen::OnScreen(Form()));
  EXPECT_TRUE(seen::Minimized(*main_));
  EXPECT_TRUE(seen::Usable(*main_));
  RunFor(milliseconds(20));
  EXPECT_FALSE(seen::OnScreen(Form()));
  EXPECT_TRUE(seen::Minimized(*main_)) << "minimised until the user restores it";

  user::RestoreWindow(*main_);
  user::ProcessEvents();
  EXPECT_FALSE(FormsApplication().Minimized());
  EXPECT_EQ(program_restores, 0) << "the wait answered the restore";
  EXPECT_FALSE(seen::OnScreen(Form())) << "back only when its timer finds the work still below half-way";
  WaitWindow().ShowTimerTimer();
  user::ProcessEvents();
  EXPECT_TRUE(seen::OnScreen(Form()));
  EXPECT_EQ(seen::Text(Form().lMessage), "Restructure Table...");
  EXPECT_FALSE(seen::Usable(*main_));

  WaitWindow().StopWait();
  EXPECT_TRUE(seen::Usable(*main_));
  FormsApplication().Minimize();
  user::ProcessEvents();
  user::RestoreWindow(*main_);
  user::ProcessEvents();
  EXPECT_EQ(program_restores, 1) << "the program's own restore handler is back";
}

}  // namespace
