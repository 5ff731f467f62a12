// The hall usage voucher window over a fresh temple database: the set-up,
// the site pick with its vouchers, members and lines, the header entry and
// two windows open at once, driven as a user drives them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/core/SqlWindowQuery.h"
#include "app/core/ThaiDateText.h"
#include "app/temple/add_edit.h"
#include "platform/rtl/DateTime.h"
#include "tests/app/core/support/TempleWindowTest.h"
#include "tests/platform/ui/support/Seen.h"
#include "tests/platform/ui/support/User.h"

namespace {

class UsageVoucher : public TempleWindowTest {
 protected:
  void SetUp() override {
    TempleWindowTest::SetUp();
    Store({{"g_room", {{"accessory_no", "H01"}, {"accessory_name", "ศาลาการเปรียญ"}, {"price_1", "1500"}}},
           {"g_room", {{"accessory_no", "H02"}, {"accessory_name", "อาคารเรียน"}, {"price_1", "800"}}},
           {"g_member", {{"mem_no", "0000001"}, {"mem_name", "นายหนึ่ง"}, {"mem_add1", "1 ถนนหนึ่ง"}}},
           {"g_member",
            {{"mem_no", "0000002"}, {"mem_name", "นายสอง"}, {"mem_add1", "2 ถนนสอง"}, {"mem_zip", "10200"}}},
           {"g_member", {{"mem_no", "0000003"}, {"mem_name", "นายสอง"}, {"mem_add1", "3 ถนนสาม"}}},
           {"g_temple_2",
            {{"work_no", "HALL1000001"}, {"work_date", "05/03/2024"}, {"work_room", "H01"}, {"mem_no", "0000001"}}},
           {"g_temple_2",
            {{"work_no", "HALL1000002"}, {"work_date", "06/03/2024"}, {"work_room", "H01"}, {"mem_no", "0000002"}}},
           {"g_temple_2",
            {{"work_no", "LAND2000001"}, {"work_date", "06/03/2024"}, {"work_room", "H01"}, {"mem_no", "0000001"}}},
           {"g_temple_2",
            {{"work_no", "HALL1000003"}, {"work_date", "07/03/2024"}, {"work_room", "H02"}, {"mem_no", "0000003"}}},
           {"h_temple", {{"work_no", "HALL1000002"}, {"accessory_no", "H01"}, {"qty", "1"}, {"total", "1500"}}},
           {"h_temple", {{"work_no", "HALL1000002"}, {"accessory_no", "P01"}, {"qty", "150"}, {"total", "1200"}}}});
  }

  Tadd_edit& Open() {
    auto* window = FormsApplication().CreateForm<Tadd_edit>(SqlQueries());
    user::ProcessEvents();
    return *window;
  }

  // Searches the site by its code and takes it.
  static void PickSite(Tadd_edit& w, const std::string& code) {
    user::Click(*w.Button12);
    EXPECT_TRUE(seen::HasFocus(*w.Edit7));
    user::Type(code);
    user::PressEnter();
    EXPECT_TRUE(seen::HasFocus(*w.Button17));
    user::Click(*w.Button17);
  }
};

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
