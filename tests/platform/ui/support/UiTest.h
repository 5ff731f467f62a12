#pragma once
// The fixture of window tests: one application for the test program, a scripted
// dialog service per test, and every form the test left freed at its end.
#include <gtest/gtest.h>

#include <memory>

#include "platform/rtl/Application.h"
#include "platform/ui/FormsApplication.h"
#include "tests/platform/ui/support/ScriptedDialogs.h"
#include "tests/platform/ui/support/User.h"

// Drops the offscreen platform's notes on window operations it does not have.
void QuietPlatformWarnings();

class UiEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "ui_tests";
    static char* argv[] = {name, nullptr};
    application_ = std::make_unique<TFormsApplication>(argc, argv);
    QuietPlatformWarnings();
  }
  void TearDown() override { application_.reset(); }

 private:
  std::unique_ptr<TFormsApplication> application_;
};

inline testing::Environment* const kUiEnvironment = testing::AddGlobalTestEnvironment(new UiEnvironment);

class UiTest : public testing::Test {
 protected:
  void SetUp() override {
    auto dialogs = std::make_unique<ScriptedDialogs>();
    dialogs_ = dialogs.get();
    previous_ = SetDialogService(std::move(dialogs));
  }
  void TearDown() override {
    Application().DestroyComponents();
    user::ProcessEvents();
    EXPECT_EQ(dialogs_->PendingAnswers(), 0u) << "answers were queued for dialogs that never came";
    SetDialogService(std::move(previous_));
  }

  ScriptedDialogs& Dialogs() { return *dialogs_; }

 private:
  ScriptedDialogs* dialogs_ = nullptr;
  std::unique_ptr<TDialogService> previous_;
};
