// The temple program's main window: start-up, the logged-out menus, what the
// menu's handlers set before they open their windows, and the ways of ending
// the program.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/core/AboutMe.h"
#include "app/core/DatabaseToolsWindow.h"
#include "app/core/Poke.h"
#include "app/core/Ref_Office.h"
#include "app/core/Ref_Person.h"
#include "app/core/Rep_Person.h"
#include "app/temple/ItemRegisters.h"
#include "tests/app/temple/support/TempleProgramTest.h"

namespace {

using MainWindow = TempleProgramTest;

TEST_F(MainWindow, StartsLoggedOutWithItsTitleCaptionAndSettings) {
  std::ofstream(WorkingPath(kLicenceFileName)) << "licence";
  TMAIN_HOTEL& frame = Start();
  EXPECT_EQ(Application().Title(), "Quill Orvane 2.02 (Temple)");
  EXPECT_EQ(seen::Caption(frame),
            " Quill Orvane 2.02  โปรแกรมบริหารวัดและศาสนสถาน  ( ศาลา อาคาร ที่ดิน )    Quillmark.  Tel. 089-5550123");
  EXPECT_EQ(FormsApplication().MainForm(), &frame);
  EXPECT_EQ(myVar.CurrentStaffNo, "007");
  EXPECT_EQ(myVar.BusinessType, "1");
  EXPECT_EQ(myVar.SkinName, "0");
  EXPECT_FALSE(seen::Visible(*frame.Panel1));
  EXPECT_TRUE(Dialogs().Transcript().empty());

  for (TMenuItem* usable : {frame.m_login, frame.Login1, frame.m_main, frame.m_help, frame.N19,
                            frame.QUILLMARK1, frame.N16})
    EXPECT_TRUE(Reachable(*usable)) << usable->Name();
  for (TMenuItem* closed : {frame.mm_use_room, frame.mm_use_land, frame.mm_cash, frame.m_ref, frame.mm_office,
                            frame.m_report, frame.mm_book_stock, frame.mm_work_stock, frame.N4})
    EXPECT_FALSE(Reachable(*closed)) << closed->Name();
  EXPECT_EQ(Dialogs().Opened(),
            (std::vector<std::string>{WorkingPath("HB_Orvane.html"), "https://quillmark.example/"}));
}

TEST_F(MainWindow, BeforeALoginOnlyLoginTheListWithToolsAndExitAndHelpCanBeUsed) {
  TMAIN_HOTEL& frame = StartWithStubWindows();
  EXPECT_EQ(ReachableAsLetters(LevelItems(frame)), "1100010001");
  EXPECT_EQ(opened_, std::vector<std::string>{"mm_data_tools"});
}

TEST_F(MainWindow, HiddenItemsAndTheSeparatorsBesideThemAreNotShown) {
  TMAIN_HOTEL& frame = Start();
  const TMenuItem& list = *frame.m_main;
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(list.Items(i)->Visible()) << list.Items(i)->Caption();
  ASSERT_TRUE(list.Items(5)->IsLine());
  EXPECT_FALSE(list.Items(5)->Visible()) << "nothing visible above the line";
  const TMenuItem& last_line = *list.Items(list.Count() - 2);
  ASSERT_TRUE(last_line.IsLine());
  EXPECT_FALSE(last_line.Visible()) << "the line before the hidden delete item";
  EXPECT_TRUE(list.Items(8)->IsLine() && list.Items(8)->Visible()) << "the line after the voucher items";
  for (TMenuItem* hidden : {frame.N27, frame.mm_cust_label, frame.N56, frame.m_rep_buy, frame.N5})
    EXPECT_FALSE(hidden->Visible()) << hidden->Name();
}

TEST_F(MainWindow, EachMenuItemSetsItsVariableThenOpensItsWindowThroughTheTable) {
  TMAIN_HOTEL& frame = StartWithStubWindows();
  frame.ShowLevel(1, kTempleLevelMenus);

  struct Case {
    TMenuItem* item;
    std::string ProgramVariables::*text;
    int32_t ProgramVariables::*number;
    const char* value;
  };
  const std::vector<Case> cases{
      {frame.mm_use_room, &ProgramVariables::BusinessType, nullptr, "1"},
      {frame.mm_use_land, &ProgramVariables::BusinessType, nullptr, "2"},
      {frame.N20, &ProgramVariables::SaleReportType, nullptr, "0"},
      {frame.N21, &ProgramVariables::SaleReportType, nullptr, "1"},
      {frame.N23, &ProgramVariables::SaleReportType, nullptr, "2"},
      {frame.mm_customer, nullptr, &ProgramVariables::MemberRegisterMode, "1"},
      {frame.N26, nullptr, &ProgramVariables::MemberRegisterMode, "1"},
      {frame.N37, nullptr, &ProgramVariables::UseLandReportMode, "1"},
      {frame.N38, nullptr, &ProgramVariables::UseLandReportMode, "2"},
      {frame.N39, nullptr, &ProgramVariables::UseAllReportMode, "1"},
      {frame.N40, nullptr, &ProgramVariables::UseAllReportMode, "2"},
      {frame.mm_room, nullptr, nullptr, ""},
      {frame.N35, nullptr, nullptr, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item->Name());
    if (c.text != nullptr) myVar.*c.text = "x";
    if (c.number != nullptr) myVar.*c.number = 9;
    opened_.clear();
    ASSERT_TRUE(Reachable(*c.item));
    if (c.text != nullptr) {
      EXPECT_EQ(myVar.*c.text, c.value);
    }
    if (c.number != nullptr) {
      EXPECT_EQ(std::to_string(myVar.*c.number), c.value);
    }
    EXPECT_EQ(opened_, std::vector<std::string>{c.item->Name()});
    EXPECT_EQ(frame.ActiveMDIChild(), FormsApplication().Newest<TStubChild>());
  }

  // A second choice opens a second instance, the newest of its class.
  TStubChild* first = FormsApplication().Newest<TStubChild>();
  ASSERT_TRUE(Reachable(*frame.mm_use_room));
  EXPECT_NE(FormsApplication().Newest<TStubChild>(), first);
}

TEST_F(MainWindow, TheMenuOpensTheWindowsThatExistAndKeepsTheOthersClosed) {
  std::ofstream(WorkingPath(kLicenceFileName)) << "licence";
  TMAIN_HOTEL& frame = Start();
  frame.ShowLevel(1, kTempleLevelMenus);
  const auto opens = [](TMenuItem* item, auto newest) {
    EXPECT_TRUE(Reachable(*item)) << item->Name();
    EXPECT_NE(newest(), nullptr) << item->Name();
  };
  opens(frame.mm_room, [] { return FormsApplication().Newest<TRef_Room>(); });
  opens(frame.N35, [] { return FormsApplication().Newest<TRef_Land>(); });
  opens(frame.mm_accessory, [] { return FormsApplication().Newest<TRef_Accessory>(); });
  opens(frame.mm_public, [] { return FormsApplication().Newest<TRef_Public>(); });
  opens(frame.mm_person, [] { return FormsApplication().Newest<TRef_Person>(); });
  opens(frame.mm_office, [] { return FormsApplication().Newest<TRef_Office>(); });
  opens(frame.mm_cash, [] { return FormsApplication().Newest<TPoke>(); });
  opens(frame.mm_data_tools, [] { return FormsApplication().Newest<Tdata_hotel_tools>(); });
  opens(frame.QUILLMARK1, [] { return FormsApplication().Newest<TAboutMe>(); });
  opens(frame.N53, [] { return FormsApplication().Newest<TRep_Person>(); });
  EXPECT_TRUE(Dialogs().Transcript().empty());
  for (TMenuItem* closed : {frame.mm_use_room, frame.mm_use_land, frame.N26, frame.mm_system, frame.N12, frame.N37,
                            frame.N20})
    EXPECT_FALSE(Reachable(*closed)) << closed->Name();
}

TEST_F(MainWindow, EveryWayOutShowsTheBackupReminderAndEndsTheProgram) {
  ExpectEveryWayOutShowsTheBackupReminder<TMAIN_HOTEL>([this]() -> TMAIN_HOTEL& { return Start(); }, &TMAIN_HOTEL::EXIT);
}

TEST_F(MainWindow, WithoutTheDatabaseFileItShowsTheErrorAndStaysLoggedOut) {
  std::filesystem::remove(database_file_);
  Dialogs().Answer(mrOk);
  TMAIN_HOTEL& frame = StartWithStubWindows();
  ASSERT_EQ(Dialogs().Transcript().size(), 1u);
  EXPECT_NE(Dialogs().Transcript()[0].text.find("dat_temple.vtr"), std::string::npos)
      << Dialogs().Transcript()[0].text;
  EXPECT_EQ(myVar.CurrentStaffNo, "007");
  for (TMenuItem* usable : {frame.m_login, frame.m_main, frame.mm_data_tools, frame.m_help})
    EXPECT_TRUE(Reachable(*usable)) << usable->Name();
  for (TMenuItem* closed : {frame.mm_use_room, frame.mm_use_land, frame.mm_cash, frame.m_ref, frame.m_report})
    EXPECT_FALSE(Reachable(*closed)) << closed->Name();
}

}  // namespace
