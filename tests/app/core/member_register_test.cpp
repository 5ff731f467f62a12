// The member register over a fresh temple database, driven as a user drives it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/core/MemberEnvelope.h"
#include "app/core/RegisterSearchPanel.h"
#include "app/core/Ref_Member.h"
#include "tests/app/core/support/TempleWindowTest.h"
#include "tests/platform/ui/support/Seen.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

class MemberRegister : public TempleWindowTest {
 protected:
  void SetUp() override {
    TempleWindowTest::SetUp();
    myVar.MemberRegisterMode = 1;
    Store({{"h_nation", {{"nation_no", "01"}, {"nation_desc", "ไทย"}}},
           {"h_nation", {{"nation_no", "02"}, {"nation_desc", "ลาว"}}},
           {"h_broker", {{"broker_no", "B1"}, {"broker_name", "ทัวร์สยาม"}}}});
  }

  TRef_Member& Open() {
    auto* window = FormsApplication().CreateForm<TRef_Member>();
    user::ProcessEvents();
    return *window;
  }

  Rows StoredMembers() { return Stored("g_member", {"mem_no", "mem_name", "mem_nation", "mem_broker", "mem_rem"}); }

  void AddMember(TRef_Member& w, const std::string& name) {
    user::Click(*w.SpeedButton1);
    EXPECT_EQ(seen::Text(*w.Edit2), "TEMP0000");
    EXPECT_TRUE(w.Edit2->ReadOnly());
    EXPECT_TRUE(seen::HasFocus(*w.Edit3));
    user::Type(name);
    user::Click(*w.SpeedButton8);
  }
};

TEST_F(MemberRegister, NewMembersAreNumberedFromZeroAndPickedWhenShown) {
  TRef_Member& w = Open();
  EXPECT_EQ(seen::Caption(w), "  ทะเบียนฆราวาส");
  AddMember(w, "นายหนึ่ง");
  // The search panel empties its box: a later save still works.
  user::Click(*w.BitBtn1);
  EXPECT_EQ(seen::Text(*w.Panel3->Label45), "ชื่อที่ต้องการค้นหา");
  user::Click(*w.Panel3->Button1);
  AddMember(w, "นายสอง");
  EXPECT_TRUE(Dialogs().Transcript().empty());
  EXPECT_EQ(StoredMembers(), (Rows{{"0000000", "นายหนึ่ง", "02", "B1", ""}, {"0000001", "นายสอง", "02", "B1", ""}}))
      << "the highest nation number is shown first";
  EXPECT_EQ(seen::Text(*w.Edit2), "0000001");
  EXPECT_EQ(myVar.PickedMemberNo, "0000001");
  EXPECT_EQ(myVar.PickedMemberName, "นายสอง");
  user::ClickButton(*w.DBNavigator1, nbFirst);
  EXPECT_EQ(myVar.PickedMemberNo, "0000000");
  EXPECT_EQ(myVar.PickedMemberName, "นายหนึ่ง");
}

TEST_F(MemberRegister, AnEmptyNameIsRefusedAndNothingIsStored) {
  TRef_Member& w = Open();
  user::Click(*w.SpeedButton1);
  user::PressEnter();
  Dialogs().Answer(mrOk);
  user::Click(*w.SpeedButton8);
  ASSERT_EQ(Dialogs().Transcript().size(), 1u);
  EXPECT_EQ(Dialogs().Transcript()[0].text, "ข้อมูลไม่ครบ ....");
  EXPECT_TRUE(seen::HasFocus(*w.Edit3));
  EXPECT_TRUE(StoredMembers().empty());
  EXPECT_EQ(w.EditState, "add");
}

TEST_F(MemberRegister, ADeclinedDeleteIsAnsweredAndKeepsTheRow) {
  AddSampleRows();
  TRef_Member& w = Open();
  const Rows before = StoredMembers();
  Dialogs().Answer(mrNo);
  Dialogs().Answer(mrOk);
  user::Click(*w.SpeedButton4);
  ASSERT_EQ(Dialogs().Transcript().size(), 2u);
  EXPECT_EQ(Dialogs().Transcript()[0].text, "ต้องการลบข้อมูลนี้ ?");
  EXPECT_EQ(Dialogs().Transcript()[1].text, "ไม่ทำรายการลบข้อมูล ...");
  EXPECT_EQ(StoredMembers(), before);
  EXPECT_EQ(w.EditState, "normal");
}

TEST_F(MemberRegister, ANumberAnotherUserTakesMeanwhileMakesTheSaveTakeTheNext) {
  TRef_Member& w = Open();
  bool taken = false;
  w.query_temp->AfterClose = [&](TDataSet*) {
    if (std::exchange(taken, true)) return;
    Store({{"g_member", {{"mem_no", "0000000"}, {"mem_name", "ผู้ใช้อื่น"}}}});
  };
  AddMember(w, "นายหนึ่ง");
  EXPECT_TRUE(Dialogs().Transcript().empty());
  const Rows stored = Stored("g_member", {"mem_no", "mem_name"});
  EXPECT_EQ(stored, (Rows{{"0000000", "ผู้ใช้อื่น"}, {"0000001", "นายหนึ่ง"}}));
  EXPECT_EQ(seen::Text(*w.Edit2), "0000001");
  EXPECT_EQ(seen::Text(*w.Edit3), "นายหนึ่ง");
}

TEST_F(MemberRegister, EnterMovesAlongTheAddressToTheNumberAndBackToTheName) {
  TRef_Member& w = Open();
  user::Click(*w.SpeedButton1);
  for (TWinControl* next : std::vector<TWinControl*>{w.Edit5, w.Edit6, w.Edit7, w.Edit8, w.Edit9, w.Edit10, w.Memo1,
                                                     w.Edit2, w.Edit3}) {
    user::PressEnter();
    EXPECT_TRUE(seen::HasFocus(*next));
  }
}

TEST_F(MemberRegister, TheEnvelopeAddressesTheMemberShownFromTheTempleWithoutDoubledBlanks) {
  Store({{"g_member",
          {{"mem_no", "0000005"},
           {"mem_name", "นายประเสริฐ มั่นคง"},
           {"mem_add1", "9 ซอยสุข"},
           {"mem_add2", "ตำบลดี"},
           {"mem_add4", "ลำพูน"},
           {"mem_zip", "51000"}}}});
  StoreTempleAddress();
  auto preview = std::make_unique<THeadlessPreview>();
  THeadlessPreview& shown = *preview;
  auto previous = SetPreviewService(std::move(preview));

  TRef_Member& w = Open();
  user::Click(*w.SpeedButton9);
  const TQRPrintedReport& envelope = shown.Last();
  EXPECT_EQ(envelope.paper_width, 210);
  EXPECT_EQ(envelope.paper_length, 297);
  const TQRPage& page = w.Envelope->QuickRep1->Page();
  EXPECT_EQ((std::vector<double>{page.TopMargin(), page.BottomMargin(), page.LeftMargin(), page.RightMargin()}),
            (std::vector<double>(4, 10)));
  ASSERT_EQ(envelope.PageCount(), 1);
  const TQRPrintedPage& printed = envelope.pages[0];
  EXPECT_NE(printed.FindText("กรุณาส่ง"), nullptr);
  for (const char* line : {"นายประเสริฐ มั่นคง", "9 ซอยสุข", "ตำบลดี", "ลำพูน 51000", "วัดป่า", "1 ถนนวัด เชียงใหม่ 50000"})
    EXPECT_NE(printed.FindText(line), nullptr) << line;
  SetPreviewService(std::move(previous));
}

TEST(EnvelopeAddress, EmptyPartsAreLeftOutWithOneBlankBetweenTheOthers) {
  EXPECT_EQ(JoinAddressParts({"1 ถนนวัด", "", "เชียงใหม่", "50000"}), "1 ถนนวัด เชียงใหม่ 50000");
  EXPECT_EQ(JoinAddressParts({" ", "ตำบลดี ", "  ", "50000"}), "ตำบลดี 50000");
  EXPECT_EQ(JoinAddressParts({"", " "}), "");
}

}  // namespace
