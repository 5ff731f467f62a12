// The donation program's main window: start-up, the logged-out menus, what the
// menu's handlers do, and the ways of ending the program.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/core/DatabaseToolsWindow.h"
#include "tests/app/donation/support/DonationProgramTest.h"

namespace {

using MainWindow = DonationProgramTest;

TEST_F(MainWindow, StartsLoggedOutOnANewFileWithTheSettingsRead) {
  std::ofstream(WorkingPath(kLicenceFileName)) << "licence";
  TMAIN_2& frame = Start();
  EXPECT_EQ(Application().Title(), "Quill Orvane2.02 <DONATE>");
  EXPECT_EQ(seen::Caption(frame),
            " Quill Orvane 2.02  โปรแกรมบริหารวัดและศาสนสถาน  (บริจาค-จำหน่าย)  Quillmark. 089-5550123");
  EXPECT_EQ(FormsApplication().MainForm(), &frame);
  EXPECT_EQ(myVar.CurrentStaffNo, "007");
  EXPECT_EQ(myVar.BusinessType, "1");
  EXPECT_EQ(myVar.SkinName, "0");
  EXPECT_FALSE(seen::Visible(*frame.Panel1));
  EXPECT_TRUE(Dialogs().Transcript().empty());

  for (TMenuItem* usable :
       {frame.m_login, frame.Login1, frame.m_main, frame.m_help, frame.N19, frame.QUILLMARK1, frame.N16})
    EXPECT_TRUE(Reachable(*usable)) << usable->Name();
  for (TMenuItem* closed :
       {frame.mm_donate, frame.mm_fill, frame.mm_sale, frame.mm_cash, frame.m_ref, frame.mm_office,
        frame.m_report, frame.N1, frame.N20, frame.N14, frame.N25, frame.N5})
    EXPECT_FALSE(Reachable(*closed)) << closed->Name();
  EXPECT_EQ(Dialogs().Opened(),
            (std::vector<std::string>{WorkingPath("HB_Belcrest.html"), "https://quillmark.example/"}));
}

TEST_F(MainWindow, BeforeALoginOnlyLoginTheListWithToolsAndExitAndHelpCanBeUsed) {
  TMAIN_2& frame = StartWithStubWindows();
  for (TMenuItem* usable : {frame.m_login, frame.m_main, frame.mm_data_tools, frame.m_help})
    EXPECT_TRUE(Reachable(*usable)) << usable->Name();
  for (TMenuItem* closed : {frame.mm_donate, frame.mm_fill, frame.mm_sale, frame.mm_cash, frame.m_ref,
                            frame.m_report, frame.N20, frame.N14})
    EXPECT_FALSE(Reachable(*closed)) << closed->Name();
}

TEST_F(MainWindow, HiddenItemsAndTheSeparatorsBesideThemAreNotShown) {
  TMAIN_2& frame = Start();
  const TMenuItem& list = *frame.m_main;
  const TMenuItem& last_line = *list.Items(list.Count() - 2);
  ASSERT_TRUE(last_line.IsLine());
  EXPECT_FALSE(last_line.Visible()) << "the separator before the hidden delete item";
  EXPECT_TRUE(list.Items(5)->IsLine() && list.Items(5)->Visible())
      << "the separator after the sale items stays";
}

TEST_F(MainWindow, EachMenuItemSetsItsVariablesThenOpensItsWindowThroughTheTable) {
  TMAIN_2& frame = StartWithStubWindows();
  frame.ShowLevel(1, kDonationLevelMenus);

  struct Case {
    TMenuItem* item;
    std::string ProgramVariables::*variable;
    const char* value;
  };
  for (const Case& c : {Case{frame.mm_donate, &ProgramVariables::WorkMode, "5"},
                        Case{frame.mm_fill, &ProgramVariables::WorkMode, "3"},
                        Case{frame.mm_sale, &ProgramVariables::WorkMode, "1"},
                        Case{frame.N10, &ProgramVariables::PickCaller, "0"},
                        Case{frame.m_rep_buy, &ProgramVariables::BuySaleReportKind, "0"},
                        Case{frame.m_rep_sale, &ProgramVariables::BuySaleReportKind, "1"}}) {
    SCOPED_TRACE(c.item->Name());
    myVar.*c.variable = "x";
    opened_.clear();
    ASSERT_TRUE(Reachable(*c.item));
    EXPECT_EQ(myVar.*c.variable, c.value);
    EXPECT_EQ(opened_, std::vector<std::string>{c.item->Name()});
    EXPECT_EQ(frame.ActiveMDIChild(), FormsApplication().Newest<TStubChild>());
  }

  // A second choice opens a second instance, the newest of its class.
  TStubChild* first = FormsApplication().Newest<TStubChild>();
  ASSERT_TRUE(Reachable(*frame.mm_office));
  EXPECT_NE(FormsApplication().Newest<TStubChild>(), first);
}

TEST_F(MainWindow, TheDonorRegisterOpensAsAPickerToldItsOpenerAndReturnsWhenItCloses) {
  TMAIN_2& frame = StartWithStubWindows();
  frame.ShowLevel(1, kDonationLevelMenus);
  myVar.PickCaller = "1";
  TMdiFrame* told = nullptr;
  seen::OnModalForm([&](TForm& modal) {
    auto* picker = dynamic_cast<TStubPicker*>(&modal);
    ASSERT_NE(picker, nullptr);
    told = picker->Opener;
    EXPECT_EQ(myVar.MemberRegisterMode, 1);
    EXPECT_EQ(myVar.PickCaller, "0");
    picker->Close();
  });
  frame.mm_customer->Click();
  EXPECT_EQ(told, &frame);
  EXPECT_EQ(seen::ModalForm(), nullptr);
}

TEST_F(MainWindow, TheSharedWindowsOfTheApplicationOpenFromTheirItems) {
  TMAIN_2& frame = Start();
  LogIn(OpenLogin(frame), "admin", "8052");
  struct Case {
    TMenuItem* item;
    std::string caption;
  };
  for (const Case& c : {Case{frame.mm_person, "ทะเบียนพระ นักบวช"}, Case{frame.mm_cash, "Quill_CashDrawer"},
                        Case{frame.N53, " รายงานพนักงาน"}}) {
    SCOPED_TRACE(c.item->Name());
    ASSERT_TRUE(Reachable(*c.item));
    user::ProcessEvents();
    TForm* child = frame.ActiveMDIChild();
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(seen::Visible(*child));
    EXPECT_EQ(seen::Caption(*child), c.caption);
  }
}

TEST_F(MainWindow, BeforeALoginTheDatabaseToolsCompactTheFileAndThenShowItsOffice) {
  TMAIN_2& frame = Start();
  ASSERT_TRUE(Reachable(*frame.mm_data_tools));
  user::ProcessEvents();
  auto* tools = dynamic_cast<Tdata_hotel_tools*>(frame.ActiveMDIChild());
  ASSERT_NE(tools, nullptr);
  EXPECT_TRUE(seen::Visible(*tools));
  EXPECT_EQ(seen::Text(tools->DBEdit1), "");
  Dialogs().Answer(mrOk);
  user::Click(tools->Button3);
  ASSERT_EQ(Dialogs().Transcript().size(), 1u);
  EXPECT_EQ(Dialogs().Transcript()[0].text, kToolsDoneMessage);
  EXPECT_EQ(seen::Text(tools->DBEdit1), "วัดตัวอย่าง");
}

TEST_F(MainWindow, TheServiceItemShowsTheDefaultLogin) {
  TMAIN_2& frame = Start();
  Dialogs().Answer(mrOk);
  ASSERT_TRUE(Reachable(*frame.Serv));
  ASSERT_EQ(Dialogs().Transcript().size(), 1u);
  EXPECT_EQ(Dialogs().Transcript()[0].text, "User Name = admin\rPassword = 8052");
}

TEST_F(MainWindow, EveryWayOutShowsTheBackupReminderAndEndsTheProgram) {
  ExpectEveryWayOutShowsTheBackupReminder<TMAIN_2>([this]() -> TMAIN_2& { return Start(); }, &TMAIN_2::mm_exit);
}

TEST_F(MainWindow, WithoutTheDatabaseFileItStartsShowsTheErrorAndStaysLoggedOut) {
  std::filesystem::remove(database_file_);
  Dialogs().Answer(mrOk);
  TMAIN_2& frame = StartWithStubWindows();
  ASSERT_EQ(Dialogs().Transcript().size(), 1u);
  EXPECT_NE(Dialogs().Transcript()[0].text.find("dat_temple.vtr"), std::string::npos)
      << Dialogs().Transcript()[0].text;
  EXPECT_EQ(myVar.CurrentStaffNo, "007");
  Dialogs().Answer(mrOk);  // the login window cannot open the users either
  EXPECT_TRUE(Reachable(*frame.Login1));
  EXPECT_EQ(Dialogs().Transcript().size(), 2u);
  for (TMenuItem* closed : {frame.mm_donate, frame.mm_cash, frame.m_ref, frame.m_report})
    EXPECT_FALSE(Reachable(*closed)) << closed->Name();
}

}  // namespace
