// The hall usage voucher window over a fresh temple database: the set-up,
// the site pick with its vouchers, members and lines, the header entry and
// two windows open at once, driven as a user drives them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/core/ThaiDateText.h"
#include "platform/rtl/DateTime.h"
#include "tests/app/temple/support/UsageVoucherTest.h"

namespace {

TEST_F(UsageVoucher, TheFirstActivationReadsTheSettingsAndWaitsForASite) {
  Tadd_edit& w = Open();
  EXPECT_EQ(seen::Caption(w), " ใช้งานศาลา อาคาร");
  EXPECT_EQ(w.SeriesHead(), "HALL1");
  EXPECT_EQ(myVar.VatRate, 0) << "tax status 0";
  EXPECT_EQ(myVar.ContractRequired, "0");
  EXPECT_FALSE(seen::Visible(*w.Panel5));
  EXPECT_FALSE(seen::Visible(*w.Panel2));
  EXPECT_TRUE(seen::HasFocus(*w.Edit1));
  EXPECT_TRUE(w.Button12->Enabled());
}

TEST_F(UsageVoucher, APickedSiteShowsItsNewestVoucherWithItsMemberAndLines) {
  Tadd_edit& w = Open();
  PickSite(w, "H01");
  EXPECT_EQ(seen::Text(*w.Edit1), "H01");
  EXPECT_EQ(seen::Text(*w.Edit8), "ศาลาการเปรียญ");
  EXPECT_TRUE(seen::Visible(*w.Panel5));
  EXPECT_TRUE(seen::Visible(*w.Panel2));
  EXPECT_EQ(seen::Text(*w.Edit11), "HALL1000002") << "the land voucher of the same code is not listed";
  EXPECT_EQ(seen::Text(*w.Edit12), "06/03/2567");
  EXPECT_EQ(seen::Text(*w.Edit5), "นายสอง");
  EXPECT_EQ(seen::Text(*w.Edit2), "2 ถนนสอง");
  EXPECT_EQ(seen::Text(*w.Edit15), "10200");
  EXPECT_EQ(seen::RowCount(*w.DBGrid2), 2);
  EXPECT_EQ(w.MemberNo, "0000002");

  user::ClickButton(*w.DBNavigator1, nbPrior);
  EXPECT_EQ(seen::Text(*w.Edit11), "HALL1000001");
  EXPECT_EQ(seen::Text(*w.Edit5), "นายหนึ่ง");
  EXPECT_EQ(seen::RowCount(*w.DBGrid2), 0);
}

TEST_F(UsageVoucher, ASiteSearchThatFindsNothingSaysSo) {
  Tadd_edit& w = Open();
  user::Click(*w.Button12);
  user::Type("X9");
  Dialogs().Answer(mrOk);
  user::PressEnter();
  ASSERT_EQ(Dialogs().Transcript().size(), 1u);
  EXPECT_EQ(Dialogs().Transcript()[0].text, "ไม่พบรายการ...");
}

TEST_F(UsageVoucher, TheVoucherSearchMovesToTheFirstNumberBeginningWithTheText) {
  Tadd_edit& w = Open();
  PickSite(w, "H01");
  user::Click(*w.Button20);
  EXPECT_TRUE(seen::HasFocus(*w.Edit16));
  EXPECT_EQ(seen::Cell(*w.DBGrid4, 0, 1), "05/03/2567");
  user::Type("HALL1000001");
  user::PressEnter();
  EXPECT_EQ(seen::Text(*w.Edit11), "HALL1000001");
  EXPECT_EQ(seen::Text(*w.Edit5), "นายหนึ่ง");
}

TEST_F(UsageVoucher, ANewHeaderStartsWithTodayAndNoMember) {
  Tadd_edit& w = Open();
  PickSite(w, "H01");
  user::Click(*w.Button16);
  EXPECT_EQ(seen::Text(*w.Edit11), "TEMPx000000");
  EXPECT_EQ(seen::Text(*w.Edit12), DateToThaiText(Date()));
  EXPECT_EQ(seen::Text(*w.Edit5), "");
  EXPECT_EQ(w.MemberNo, "") << "not the member of the voucher shown before";
  EXPECT_FALSE(w.Edit12->ReadOnly());
  EXPECT_FALSE(w.Button16->Enabled());
  EXPECT_FALSE(w.DBNavigator1->Enabled());
  EXPECT_TRUE(w.Button10->Enabled());
  EXPECT_FALSE(seen::Visible(*w.Panel2));
  EXPECT_FALSE(w.Button12->Enabled());

  user::Click(*w.Button11);
  EXPECT_EQ(seen::Text(*w.Edit11), "HALL1000002");
  EXPECT_EQ(w.MemberNo, "0000002");
  EXPECT_TRUE(w.Button16->Enabled());
  EXPECT_TRUE(seen::Visible(*w.Panel2));
}

TEST_F(UsageVoucher, TheMemberPickedMeanwhileIsTakenOverByItsNumberOnReturn) {
  Tadd_edit& w = Open();
  PickSite(w, "H01");
  user::Click(*w.Button16);
  // The register leaves the member it showed last; two members share the name.
  myVar.PickedMemberNo = "0000003";
  myVar.PickedMemberName = "นายสอง";
  auto* other = FormsApplication().CreateForm<OtherWindow>();
  user::ProcessEvents();
  SwitchTo(*other);
  SwitchTo(w);
  EXPECT_EQ(seen::Text(*w.Edit5), "นายสอง");
  EXPECT_EQ(seen::Text(*w.Edit2), "3 ถนนสาม");
  EXPECT_EQ(w.MemberNo, "0000003");
}

TEST_F(UsageVoucher, AMemberPickedWhileBrowsingIsNotTakenOver) {
  Tadd_edit& w = Open();
  PickSite(w, "H01");
  myVar.PickedMemberNo = "0000003";
  auto* other = FormsApplication().CreateForm<OtherWindow>();
  user::ProcessEvents();
  SwitchTo(*other);
  SwitchTo(w);
  EXPECT_EQ(seen::Text(*w.Edit2), "2 ถนนสอง");
  EXPECT_EQ(w.MemberNo, "0000002");
}

TEST_F(UsageVoucher, EnterOnThePickedSiteChecksItAgain) {
  Tadd_edit& w = Open();
  PickSite(w, "H01");
  user::Click(*w.Edit1);
  user::PressEnter();
  EXPECT_TRUE(Dialogs().Transcript().empty());
  EXPECT_EQ(seen::Text(*w.Edit8), "ศาลาการเปรียญ");
  EXPECT_FALSE(w.Button12->Enabled());
  EXPECT_FALSE(w.Button13->Enabled());
}

TEST_F(UsageVoucher, WhereContractsAreRequiredASiteWithoutOneIsRefused) {
  SetSetting("type_business2", "1");
  Tadd_edit& w = Open();
  PickSite(w, "H01");
  user::Click(*w.Edit1);
  Dialogs().Answer(mrOk);
  Dialogs().Answer(mrNo);  // keep the entry
  Dialogs().Answer(mrOk);
  user::PressEnter();
  std::vector<std::string> messages;
  for (const auto& entry : Dialogs().Transcript()) messages.push_back(entry.text);
  EXPECT_EQ(messages, (std::vector<std::string>{"ห้องนี้ยังไม่ได้ทำสัญญา ...",
                                                "ต้องการพักรายการนี้ เพื่อไปทำรายการอื่น หรือไม่ ?",
                                                "                  ไม่พบรหัสนี้...                 "}));
  EXPECT_EQ(seen::Text(*w.Edit1), "");
}

TEST_F(UsageVoucher, AVoucherWithLinesIsNotDeleted) {
  Tadd_edit& w = Open();
  PickSite(w, "H01");
  Dialogs().Answer(mrOk);
  user::Click(*w.Button19);
  ASSERT_EQ(Dialogs().Transcript().size(), 1u);
  EXPECT_EQ(Dialogs().Transcript()[0].text, "มีข้อมูลในรายการย่อย... ต้องลบออกก่อน ");
  EXPECT_EQ(Stored("g_temple_2", {"work_no"}).size(), 4u);
}

TEST_F(UsageVoucher, PrintingHandsTheVoucherOverWithTheTitleOfTheSettings) {
  struct Case {
    const char* view1;
    const char* tax_status;
    const char* title;
  };
  for (const Case& c : {Case{"0", "1", "ใบใช้บริการ / ใบกำกับภาษี"}, Case{"1", "0", "ใบใช้บริการ / ใบเสร็จรับเงิน"},
                        Case{"2", "1", "ใบเสร็จรับเงิน "}, Case{"2", "0", "ใบเสร็จรับเงิน "},
                        Case{"7", "1", "unchanged"}}) {
    SCOPED_TRACE(std::string(c.view1) + "/" + c.tax_status);
    SetSetting("view1", c.view1);
    SetSetting("tax_status", c.tax_status);
    myVar.PrintDocTitle = "unchanged";
    myVar.DocTitleChoice = "7";
    Tadd_edit& w = Open();
    PickSite(w, "H01");
    user::ClickButton(*w.DBNavigator1, nbPrior);
    user::Click(*w.Button13);
    EXPECT_EQ(myVar.PrintBillNo, "HALL1000001");
    EXPECT_EQ(myVar.PrintDocKind, "0");
    EXPECT_EQ(myVar.PrintDocTitle, c.title);
    EXPECT_EQ(myVar.PrintView1, c.view1);
    user::Click(*w.Button3);
    user::ProcessEvents();
  }
}

TEST_F(UsageVoucher, TwoWindowsKeepTheirOwnSiteVoucherAndMember) {
  Tadd_edit& first = Open();
  PickSite(first, "H01");
  Tadd_edit& second = Open();
  PickSite(second, "H02");
  SwitchTo(first);
  EXPECT_EQ(first.SiteCode, "H01");
  EXPECT_EQ(first.VoucherNumber, "HALL1000002");
  EXPECT_EQ(first.MemberNo, "0000002");
  EXPECT_EQ(second.SiteCode, "H02");
  EXPECT_EQ(second.VoucherNumber, "HALL1000003");
  EXPECT_EQ(second.MemberNo, "0000003");
  EXPECT_EQ(seen::Text(*first.Edit11), "HALL1000002");
  EXPECT_EQ(seen::Text(*second.Edit11), "HALL1000003");
}

}  // namespace
