#pragma once
// The fixture of the donation program's window tests: the main window made as
// the program makes it, first form of the run, or with a stub window for every
// menu item but the login.
#include <string>
#include <vector>

#include "app/donation/MAIN_2.h"
#include "app/donation/password_donate.h"
#include "tests/app/core/support/ProgramTest.h"

// Every menu item that opens a window, and whether it opens a picker.
inline const std::vector<std::pair<std::string, bool>> kDonationWindowItems{
    {"Login1", false},    {"mm_donate", false},     {"mm_fill", false},    {"mm_sale", false},
    {"mm_cash", false},   {"mm_data_tools", false}, {"N26", false},        {"mm_ref_donate", false},
    {"N10", false},       {"mm_customer", true},    {"mm_supply", true},   {"mm_person", false},
    {"mm_office", false}, {"mm_system", false},     {"N1", false},         {"N110", false},
    {"N15", false},       {"N59", false},           {"N24", false},        {"N53", false},
    {"N29", false},       {"m_rep_buy", false},     {"m_rep_sale", false}, {"N5", false},
    {"QUILLMARK1", false}};

class DonationProgramTest : public ProgramTest {
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
    WindowFactories factories = StubWindows(kDonationWindowItems);
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
};
