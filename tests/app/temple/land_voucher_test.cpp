// The land usage voucher window and the land-user register: land plots and
// land users of their own tables, the PREFIX1 + "2" series beside the hall
// series, the land user taken over from the land-user register, and the land
// layouts of VIEW1.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/core/RegisterSearchPanel.h"
#include "app/temple/Ref_Member_Land.h"
#include "app/temple/add_edit_land.h"
#include "tests/app/temple/support/UsageVoucherTest.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

class LandVoucher : public UsageVoucher {
 protected:
  void SetUp() override {
    UsageVoucher::SetUp();
    // The plot shares its code with the first hall.
    Store({{"g_land", {{"accessory_no", "H01"}, {"accessory_name", "ที่ดินแปลงหนึ่ง"}, {"price_1", "300"}}},
           {"g_member_land", {{"mem_no", "0000001"}, {"mem_name", "นายที่ดิน"}, {"mem_add1", "9 ถนนนา"}}},
           {"g_member_land", {{"mem_no", "0000002"}, {"mem_name", "นางสวน"}}},
           {"h_temple", {{"work_no", "LAND2000001"}, {"accessory_name", "ค่าที่ดิน"}, {"qty", "1"},
                         {"price", "300"}, {"total", "300"}}}});
  }

  Tadd_edit_land& OpenLand() {
    auto* window = FormsApplication().CreateForm<Tadd_edit_land>();
    user::ProcessEvents();
    return *window;
  }

  static std::vector<std::string> ListedVouchers(Tadd_edit& w) {
    std::vector<std::string> numbers;
    TDataSet& rows = w.q_master.Rows();
    for (rows.First(); !rows.Eof(); rows.Next()) numbers.push_back(rows.FieldByName("work_no")->AsString());
    return numbers;
  }
};

TEST_F(LandVoucher, TheLandWindowListsItsPlotsVouchersAndLandUsers) {
  Tadd_edit_land& w = OpenLand();
  EXPECT_EQ(seen::Caption(w), " ใช้งานที่ดิน");
  EXPECT_EQ(seen::Text(*w.Label1), "รหัสที่ดิน");
  EXPECT_EQ(seen::Text(*w.Label19), "ชื่อที่ดิน");
  EXPECT_EQ(w.RadioGroup5->Items().at(0), "ค่าที่ดิน (ที่ธรณีสงฆ์)");
  EXPECT_EQ(w.RadioGroup4->Items(), (std::vector<std::string>{"รหัสที่ดิน", "ชื่อที่ดิน"}));
  EXPECT_EQ(w.SeriesHead(), "LAND2");
  PickSite(w, "H01");
  EXPECT_EQ(seen::Text(*w.Edit8), "ที่ดินแปลงหนึ่ง");
  EXPECT_EQ(ListedVouchers(w), (std::vector<std::string>{"LAND2000001"}));
  EXPECT_EQ(seen::Text(*w.Edit5), "นายที่ดิน") << "the land user, not the member of the same number";
  EXPECT_EQ(seen::Text(*w.Edit2), "9 ถนนนา");

  Tadd_edit& hall = Open();
  EXPECT_EQ(hall.SeriesHead(), "HALL1");
  PickSite(hall, "H01");
  EXPECT_EQ(ListedVouchers(hall), (std::vector<std::string>{"HALL1000001", "HALL1000002"}));
  EXPECT_EQ(w.SeriesHead(), "LAND2") << "each window keeps its own series";
}

TEST_F(LandVoucher, LandVouchersAreNumberedUnderPrefix1AndTwoBesideTheHallSeries) {
  SetSetting("prefix1", "TERA");
  Tadd_edit_land& w = OpenLand();
  PickSite(w, "H01");
  user::Click(*w.Button16);
  PickMember(w, "0000002");
  EXPECT_EQ(w.MemberNo, "0000002");
  EXPECT_EQ(seen::Text(*w.Edit5), "นางสวน") << "taken over from the land users";
  Dialogs().AnswerInput("000001");
  user::Click(*w.Button10);
  Tadd_edit& hall = Open();
  PickSite(hall, "H01");
  user::Click(*hall.Button16);
  PickMember(hall, "0000001");
  user::Click(*hall.Button10);
  EXPECT_EQ(Stored("g_temple_2", {"work_no", "mem_no"}),
            (Rows{{"HALL1000001", "0000001"},
                  {"HALL1000002", "0000002"},
                  {"LAND2000001", "0000001"},
                  {"HALL1000003", "0000003"},
                  {"TERA2000001", "0000002"},
                  {"HALL1000004", "0000001"}}));
}

TEST_F(LandVoucher, TheSitePriceItemOfALandLineComesFromThePlots) {
  Tadd_edit_land& w = OpenLand();
  PickSite(w, "H01");
  user::Click(*w.Button5);
  EXPECT_EQ(w.Query_Find_Acc.Rows().FieldByName("accessory_name")->AsString(), "ที่ดินแปลงหนึ่ง");
}

TEST_F(LandVoucher, ALandUserPickedInTheLandUserRegisterIsTakenOver) {
  myVar.MemberRegisterMode = 7;
  Tadd_edit_land& w = OpenLand();
  PickSite(w, "H01");
  user::Click(*w.Button16);
  user::Click(*w.Button14);
  user::ProcessEvents();
  auto* land_users = dynamic_cast<TRef_Member_Land*>(FormsApplication().Forms().back());
  ASSERT_NE(land_users, nullptr);
  EXPECT_EQ(myVar.MemberRegisterMode, 7) << "the land-user register is opened without a mode";
  EXPECT_EQ(seen::Caption(*land_users), "  ทะเบียนผู้ใช้งานที่ดิน (ที่ธรณีสงฆ์)");
  user::ClickButton(*land_users->DBNavigator1, nbLast);
  EXPECT_EQ(myVar.PickedMemberNo, "0000002");
  EXPECT_EQ(myVar.PickedMemberName, "นางสวน");
  SwitchTo(w);
  EXPECT_EQ(seen::Text(*w.Edit5), "นางสวน");
  EXPECT_EQ(w.MemberNo, "0000002");
}

TEST_F(LandVoucher, LandVouchersPrintInTheLayoutOfView1WithTheLandUser) {
  struct Case {
    const char* view1;
    double paper_length;
  };
  SetSetting("view3", "2");
  for (const Case& c : {Case{"1", 139.7}, Case{"0", 279.4}}) {
    SCOPED_TRACE(c.view1);
    SetSetting("view1", c.view1);
    const size_t printed = preview_->Previews().size();
    Tadd_edit_land& w = OpenLand();
    PickSite(w, "H01");
    user::Click(*w.Button13);
    user::ProcessEvents();
    ASSERT_EQ(preview_->Previews().size(), printed + 1);
    const TQRPrintedReport& report = preview_->Last();
    EXPECT_EQ(report.paper_length, c.paper_length);
    const TQRPrintedPage& page = report.pages.at(0);
    EXPECT_EQ(page.Find("QRDBText1")->text, "LAND2000001");
    EXPECT_EQ(page.Find("QRLabel30")->text, "นายที่ดิน");
    EXPECT_EQ(page.Find("QRLabel22")->text, "300.00") << "no VAT under tax status 0";
    user::Click(*w.Button3);
    user::ProcessEvents();
  }
}

class LandUserRegister : public TempleWindowTest {
 protected:
  TRef_Member_Land& Open() {
    auto* window = FormsApplication().CreateForm<TRef_Member_Land>();
    user::ProcessEvents();
    return *window;
  }
  void AddLandUser(TRef_Member_Land& w, const std::string& name) {
    user::Click(*w.SpeedButton1);
    EXPECT_TRUE(seen::HasFocus(*w.Edit3));
    user::Type(name);
    user::Click(*w.SpeedButton8);
  }
};

TEST_F(LandUserRegister, LandUsersAreNumberedInTheirOwnSeriesWhateverTheMode) {
  AddSampleRows();  // members of g_member up to 0000000002
  myVar.MemberRegisterMode = 0;
  TRef_Member_Land& w = Open();
  EXPECT_EQ(w.Left(), 100);
  AddLandUser(w, "นายที่ดิน");
  // The search panel empties its box: a later save still stores.
  user::Click(*w.BitBtn1);
  user::Click(*w.Panel3->Button1);
  AddLandUser(w, "นางสวน");
  EXPECT_TRUE(Dialogs().Transcript().empty());
  EXPECT_EQ(Stored("g_member_land", {"mem_no", "mem_name", "mem_nation", "mem_broker"}),
            (Rows{{"0000000", "นายที่ดิน", "", ""}, {"0000001", "นางสวน", "", ""}}));
  EXPECT_EQ(myVar.PickedMemberNo, "0000001");
  EXPECT_EQ(myVar.PickedMemberName, "นางสวน");
  EXPECT_EQ(w.ComboBox1, nullptr) << "no nation and agent lists";
}

}  // namespace
