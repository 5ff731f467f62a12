#include <gtest/gtest.h>

#include "engine/access/HeadlessUi.h"
#include "engine/access/VTRDlgWait.h"

namespace {

class TheWaitWindow : public ::testing::Test {
 protected:
  TheWaitWindow() {
    ui_.SetWindows({1, 2, 3});
    ui_.SetRestoreHandler([this](TObject*) { ++program_restores_; });
  }

  TVTRHeadlessUi ui_;
  TfrmWait window_{ui_};
  int program_restores_ = 0;
};

TEST_F(TheWaitWindow, AWaitThatEndsWithinHalfASecondNeverShows) {
  window_.StartWait("Compacting Database...");
  ui_.Advance(450);
  window_.StopWait();
  ui_.Advance(1000);
  EXPECT_EQ(ui_.WaitWindowShowCount(), 0);
  EXPECT_TRUE(window_.Finished);
  EXPECT_FALSE(ui_.TimerRunning());
}

TEST_F(TheWaitWindow, AWaitPastHalfWayWhenTheTimerFiresStaysHidden) {
  window_.StartWait("Compacting Database...");
  ui_.Advance(300);
  window_.SetPosition(60);
  ui_.Advance(200);
  window_.SetPosition(20);
  ui_.Advance(5000);
  EXPECT_EQ(ui_.WaitWindowShowCount(), 0);
  EXPECT_FALSE(ui_.TimerRunning());
}

TEST_F(TheWaitWindow, ALongWaitShowsWithTheOtherWindowsDisabledUntilItStops) {
  ui_.ActivateWindow(2);
  window_.StartWait("Repairing Database...");
  ui_.Advance(499);
  EXPECT_EQ(ui_.ShownWaitWindow(), nullptr);
  ui_.Advance(1);
  ASSERT_EQ(ui_.ShownWaitWindow(), &window_);
  EXPECT_EQ(window_.Message(), "Repairing Database...");
  EXPECT_TRUE(window_.Hooked);
  EXPECT_FALSE(ui_.WindowEnabled(1) || ui_.WindowEnabled(2) || ui_.WindowEnabled(3));
  window_.SetPosition(150);
  EXPECT_EQ(window_.Position(), 100);
  window_.StopWait();
  EXPECT_EQ(ui_.ShownWaitWindow(), nullptr);
  EXPECT_FALSE(window_.Hooked);
  EXPECT_TRUE(ui_.WindowEnabled(1) && ui_.WindowEnabled(2) && ui_.WindowEnabled(3));
  EXPECT_EQ(ui_.ActiveWindow(), 2u) << "the window active before is active again";
}

TEST_F(TheWaitWindow, AWaitStartedWhileTheWindowIsUpStillEnablesTheOtherWindowsWhenItStops) {
  window_.StartWait("Compacting Database...");
  ui_.Advance(500);
  ASSERT_TRUE(window_.Hooked);
  window_.StartWait("Copy Table...");
  EXPECT_TRUE(window_.Hooked);
  EXPECT_EQ(window_.Message(), "Copy Table...");
  ui_.Advance(500);
  EXPECT_EQ(ui_.WaitWindowShowCount(), 1);
  window_.StopWait();
  EXPECT_TRUE(ui_.WindowEnabled(1) && ui_.WindowEnabled(2) && ui_.WindowEnabled(3));
}

TEST_F(TheWaitWindow, AbortIsSeenUntilTheNextWaitStarts) {
  window_.StartWait("Copy Table...");
  window_.btnCancelClick();
  EXPECT_TRUE(window_.Aborted);
  window_.StopWait();
  window_.StartWait("Copy Table...");
  EXPECT_FALSE(window_.Aborted);
}

TEST_F(TheWaitWindow, BackgroundModeMinimisesUntilTheUserRestoresThenWaitsAgain) {
  window_.StartWait("Restructure Table...");
  ui_.Advance(500);
  ASSERT_TRUE(window_.Hooked);
  window_.Button1Click();
  EXPECT_TRUE(ui_.Minimized());
  EXPECT_EQ(ui_.ShownWaitWindow(), nullptr);
  EXPECT_TRUE(ui_.WindowEnabled(1));

  ui_.RestoreByUser();
  EXPECT_EQ(program_restores_, 0) << "the wait's own handler answered the restore";
  EXPECT_EQ(ui_.ShownWaitWindow(), nullptr);
  ui_.Advance(500);
  EXPECT_EQ(ui_.ShownWaitWindow(), &window_) << "still below half-way, so it shows again";
  EXPECT_EQ(window_.Message(), "Restructure Table...");

  window_.StopWait();
  ui_.MinimizeApplication();
  ui_.RestoreByUser();
  EXPECT_EQ(program_restores_, 1) << "the program's handler is back";
}

}  // namespace
