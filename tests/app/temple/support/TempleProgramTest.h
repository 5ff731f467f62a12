#pragma once
// The fixture of the temple program's window tests: the main window made as
// the program makes it, first form of the run, or with a stub window for every
// menu item but the login.
#include <string>
#include <utility>
#include <vector>

#include "app/temple/MAIN_HOTEL.h"
#include "app/temple/passwd.h"
#include "tests/app/core/support/ProgramTest.h"

// Every menu item that opens a window; none opens a picker.
inline const std::vector<std::pair<std::string, bool>> kTempleWindowItems{
    {"Login1", false}, {"mm_use_room", false}, {"mm_use_land", false}, {"mm_cash", false},
    {"mm_data_tools", false}, {"mm_person", false}, {"mm_customer", false}, {"N26", false},
    {"mm_room", false}, {"mm_public", false}, {"mm_accessory", false}, {"N35", false},
    {"mm_office", false}, {"mm_system", false}, {"N12", false}, {"N37", false},
    {"N39", false}, {"N11", false}, {"N38", false}, {"N40", false},
    {"N46", false}, {"N24", false}, {"N15", false}, {"N53", false},
    {"N20", false}, {"N21", false}, {"N23", false}, {"QUILLMARK1", false}};

class TempleProgramTest : public ProgramTest {
 protected:
  TMAIN_HOTEL& Start() {
    TMAIN_HOTEL* frame = StartTempleProgram();
    frame->Show();
    user::ProcessEvents();
    return *frame;
  }

  // The real login window; every other item opens a stub that records the
  // item's name.
  TMAIN_HOTEL& StartWithStubWindows() {
    WindowFactories factories = StubWindows(kTempleWindowItems);
    factories["Login1"] = ChildWindow<Tpasswd>();
    Application().SetTitle(kTempleTitle);
    TMAIN_HOTEL* frame = FormsApplication().CreateForm<TMAIN_HOTEL>(std::move(factories));
    frame->Show();
    user::ProcessEvents();
    return *frame;
  }

  Tpasswd& OpenLogin(TMAIN_HOTEL& frame) {
    EXPECT_TRUE(user::ChooseMenu(*frame.Login1));
    user::ProcessEvents();
    return *FormsApplication().Newest<Tpasswd>();
  }

  // The items of the level table's columns, in its order.
  static std::vector<TMenuItem*> LevelItems(TMAIN_HOTEL& frame) {
    return {frame.m_login,       frame.m_main, frame.mm_use_room, frame.mm_use_land, frame.mm_cash,
            frame.mm_data_tools, frame.m_ref,  frame.mm_office,   frame.m_report,    frame.m_help};
  }
};
