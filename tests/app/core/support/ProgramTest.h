#pragma once
// What the window tests of both programs' main windows share: a new
// "dat_temple.vtr" in the working folder, users added to it, the login typed
// as a user types it, and stub windows that record which menu item opened
// them, so that menu states and handlers are seen whole before the real
// windows exist.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/core/LoginWindow.h"
#include "tests/app/core/support/TempleDatabaseTest.h"
#include "tests/platform/ui/support/Seen.h"
#include "tests/platform/ui/support/User.h"

class TStubChild : public TForm {
 public:
  explicit TStubChild(TComponent* owner) : TForm(owner) {
    SetFormStyle(fsMDIChild);
    OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
  }
};

class TStubPicker : public TForm {
 public:
  TStubPicker(TComponent* owner, TMdiFrame& opener) : TForm(owner), Opener(&opener) {
    OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
  }
  TMdiFrame* Opener;
};

class ProgramTest : public TempleDatabaseTest {
 protected:
  // The windows and their connections end before the engine runtime, as at
  // the end of a program.
  void TearDown() override {
    Application().DestroyComponents();
    user::ProcessEvents();
    TempleDatabaseTest::TearDown();
  }

  // A stub for each item (a picker where marked) that records the item's name.
  WindowFactories StubWindows(const std::vector<std::pair<std::string, bool>>& items) {
    WindowFactories factories;
    for (const auto& [item, picker] : items) {
      factories[item] = {picker, [this, item, picker](TMdiFrame& opener) -> TForm* {
                           opened_.push_back(item);
                           if (picker) return FormsApplication().CreateForm<TStubPicker>(opener);
                           return FormsApplication().CreateForm<TStubChild>();
                         }};
    }
    return factories;
  }

  // Types the name and password as a user does and presses Login.
  static void LogIn(TLoginWindow& login, const std::string& name, const std::string& password) {
    login.Edit1->Clear();
    login.Edit2->Clear();
    user::Click(*login.Edit1);
    user::Type(name);
    user::PressEnter();
    user::Type(password);
    user::Click(*login.Button1);
  }

  void AddUser(const std::string& name, const std::string& password, const std::string& level,
               const std::string& full_name = "ผู้ใช้ทดสอบ", const std::string& staff_no = "ST00000009") {
    const std::vector<TableRow> rows{{"password",
                                      {{"usrname", name},
                                       {"passwd", password},
                                       {"name", full_name},
                                       {"per_no", staff_no},
                                       {"ac1", level}}}};
    AppendRows(database_file_, rows);
  }

  // The item can be chosen through the menu bar (a window item then opens).
  static bool Reachable(const TMenuItem& item) { return user::ChooseMenu(item); }

  // The reachable items as letters '1' and '0'.
  static std::string ReachableAsLetters(const std::vector<TMenuItem*>& items) {
    std::string letters;
    for (TMenuItem* item : items) letters += Reachable(*item) ? '1' : '0';
    return letters;
  }

  // Starts the program twice and ends it once by the main window's close box
  // and once by its exit item: each way shows the backup reminder and ends the run.
  template <typename Frame>
  void ExpectEveryWayOutShowsTheBackupReminder(const std::function<Frame&()>& start, TMenuItem* Frame::*exit_item) {
    for (bool close_box : {true, false}) {
      SCOPED_TRACE(close_box ? "close box" : "exit item");
      Frame& frame = start();
      Dialogs().Clear();
      Dialogs().Answer(mrOk);
      if (close_box) {
        user::CloseWindow(frame);
      } else {
        ASSERT_TRUE(Reachable(*(frame.*exit_item)));
      }
      ASSERT_EQ(Dialogs().Transcript().size(), 1u);
      EXPECT_EQ(Dialogs().Transcript()[0].text,
                "หลังจากปิดโปรแกรมนี้แล้ว  ควร.. สำรองข้อมูล ด้วยเพื่อความปลอดภัย...\r\rอ่านวิธีสำรองข้อมูลได้ที่ Help");
      EXPECT_TRUE(FormsApplication().Terminated());
      Application().DestroyComponents();
      user::ProcessEvents();
    }
  }

  std::vector<std::string> opened_;
};
