#pragma once
// The fixture of the donation program's window tests: a new "dat_temple.vtr"
// in the working folder, and the main window made as the program makes it,
// first form of the run. With StubWindows() every menu item has a window, a
// plain child or picker that records its opening, so that menu states and
// handlers are seen whole before the real windows exist.
#include <string>
#include <vector>

#include "app/donation/MAIN_2.h"
#include "app/donation/password_donate.h"
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

// Every menu item that opens a window, and whether it opens a picker.
inline const std::vector<std::pair<std::string, bool>> kDonationWindowItems{
    {"Login1", false},    {"mm_donate", false},     {"mm_fill", false},    {"mm_sale", false},
    {"mm_cash", false},   {"mm_data_tools", false}, {"N26", false},        {"mm_ref_donate", false},
    {"N10", false},       {"mm_customer", true},    {"mm_supply", true},   {"mm_person", false},
    {"mm_office", false}, {"mm_system", false},     {"N1", false},         {"N110", false},
    {"N15", false},       {"N59", false},           {"N24", false},        {"N53", false},
    {"N29", false},       {"m_rep_buy", false},     {"m_rep_sale", false}, {"N5", false},
    {"QUILLMARK1", false}};

class DonationProgramTest : public TempleDatabaseTest {
 protected:
  TMAIN_2& Start() {
    TMAIN_2* frame = StartDonationProgram();
    frame->Show();
    user::ProcessEvents();
    return *frame;
  }

  // The real login window; every other item opens a stub that records the
  // item's name.
  TMAIN_2& StartWithStubWindows() {
    WindowFactories factories;
    for (const auto& [item, picker] : kDonationWindowItems) {
      factories[item] = {picker, [this, item, picker](TMdiFrame& opener) -> TForm* {
                           opened_.push_back(item);
                           if (picker) return FormsApplication().CreateForm<TStubPicker>(opener);
                           return FormsApplication().CreateForm<TStubChild>();
                         }};
    }
    factories["Login1"] = ChildWindow<Tpassword_donate>();
    Application().SetTitle(kDonationTitle);
    TMAIN_2* frame = FormsApplication().CreateForm<TMAIN_2>(std::move(factories));
    frame->Show();
    user::ProcessEvents();
    return *frame;
  }

  Tpassword_donate& OpenLogin(TMAIN_2& frame) {
    EXPECT_TRUE(user::ChooseMenu(*frame.Login1));
    user::ProcessEvents();
    return *FormsApplication().Newest<Tpassword_donate>();
  }

  // Types the name and password as a user does and presses Login.
  void LogIn(Tpassword_donate& login, const std::string& name, const std::string& password) {
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

  std::vector<std::string> opened_;
};
