// The header save of the hall usage voucher window: the voucher number of a
// new voucher, the member it must have, its date, and two windows numbering
// at once.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/platform/ui/support/ScriptedDialogs.h"

#include "platform/rtl/DateTime.h"
#include "tests/app/temple/support/UsageVoucherTest.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

class VoucherHeaderSave : public UsageVoucher {
 protected:
  // Adds a header for the member picked in the register meanwhile.
  static void AddHeaderFor(Tadd_edit& w, const std::string& mem_no) {
    user::Click(*w.Button16);
    PickMember(w, mem_no);
  }

  Rows StoredHeaders() { return Stored("g_temple_2", {"work_no", "work_date", "work_room", "mem_no"}); }
};

// Dialogs that run a step of another user while the first-number box is shown,
// between the numbering's look-up and the save's statement.
class DialogsDuringInput : public ScriptedDialogs {
 public:
  std::function<void()> while_shown;
  bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override {
    if (while_shown) std::exchange(while_shown, nullptr)();
    return ScriptedDialogs::InputQuery(caption, prompt, value);
  }
};

TEST_F(VoucherHeaderSave, TheFirstVoucherOfASeriesTakesTheTypedSixDigitsOnly) {
  SetSetting("prefix3", "NEWH");
  Tadd_edit& w = Open();
  PickSite(w, "H01");
  AddHeaderFor(w, "0000001");
  Dialogs().AnswerInput("12");
  Dialogs().Answer(mrOk);
  user::Click(*w.Button10);
  ASSERT_EQ(Dialogs().Transcript().size(), 2u);
  EXPECT_EQ(Dialogs().Transcript()[0].caption, "กำหนดเลขที่ใบสำคัญครั้งแรก");
  EXPECT_EQ(Dialogs().Transcript()[1].text, "ไม่ครบ 6 หลัก ยกเลิกแล้วเริ่มต้นใหม่ นะ.");
  EXPECT_EQ(StoredHeaders().size(), 4u);
  EXPECT_EQ(w.HeaderState, "add");

  Dialogs().AnswerInput("000001");
  user::Click(*w.Button10);
  EXPECT_EQ(StoredHeaders().back()[0], "NEWH1000001");
  EXPECT_EQ(StoredHeaders().back()[2], "H01");
  EXPECT_EQ(StoredHeaders().back()[3], "0000001");
}

TEST_F(VoucherHeaderSave, AHeaderSavedMeanwhileUnderTheSameNumberIsRefusedAndTheNextSaveNumbersAgain) {
  SetSetting("prefix3", "NEWH");
  auto dialogs = std::make_unique<DialogsDuringInput>();
  DialogsDuringInput& during = *dialogs;
  std::unique_ptr<TDialogService> previous = SetDialogService(std::move(dialogs));
  during.while_shown = [this] { Store({{"g_temple_2", {{"work_no", "NEWH1000001"}, {"work_room", "H02"}}}}); };
  Tadd_edit& w = Open();
  PickSite(w, "H01");
  AddHeaderFor(w, "0000001");
  during.AnswerInput("000001");
  during.Answer(mrOk);
  user::Click(*w.Button10);
  ASSERT_EQ(during.Transcript().size(), 2u);
  EXPECT_EQ(during.Transcript()[1].text,
            "ยังไม่สามารถบันทึกได้ตอนนี้ USER อื่น กำลัง  LOCK  ข้อมูลอยู่ รอสักครู่.  แล้วลองใหม่อีกครั้ง ... ");
  EXPECT_EQ(w.HeaderState, "add");
  EXPECT_TRUE(w.Button10->Enabled());

  user::Click(*w.Button10);
  EXPECT_EQ(StoredHeaders().back(), (std::vector<std::string>{"NEWH1000002", DateToStr(Date()), "H01", "0000001"}));
  EXPECT_EQ(w.HeaderState, "normal");
  SetDialogService(std::move(previous));
}

TEST_F(VoucherHeaderSave, TheNextNumberFollowsTheHighestOfTheSeries) {
  Store({{"g_temple_2", {{"work_no", "HALL1000041"}, {"work_room", "H02"}}}});
  Tadd_edit& w = Open();
  PickSite(w, "H02");
  AddHeaderFor(w, "0000001");
  user::Click(*w.Edit12);
  w.Edit12->SelectAll();
  user::Type("15/03/2567");
  user::Click(*w.Button10);
  EXPECT_TRUE(Dialogs().Transcript().empty());
  EXPECT_EQ(StoredHeaders().back(), (std::vector<std::string>{"HALL1000042", "15/03/2024", "H02", "0000001"}));
  EXPECT_EQ(seen::Text(*w.Edit11), "HALL1000042");
  EXPECT_EQ(w.HeaderState, "normal");
  EXPECT_EQ(myVar.PickedMemberNo, "");
}

TEST_F(VoucherHeaderSave, ANewHeaderWithoutAMemberIsRefused) {
  Tadd_edit& w = Open();
  PickSite(w, "H01");
  user::Click(*w.Button16);
  Dialogs().Answer(mrOk);
  user::Click(*w.Button10);
  ASSERT_EQ(Dialogs().Transcript().size(), 1u);
  EXPECT_EQ(Dialogs().Transcript()[0].text, "ยังไม่ได้เลือกชื่อผู้ใช้งาน ...");
  EXPECT_EQ(StoredHeaders().size(), 4u);
  EXPECT_EQ(w.HeaderState, "add");
}

TEST_F(VoucherHeaderSave, AnEditKeepsTheNumberAndChangesTheDateAndMember) {
  Tadd_edit& w = Open();
  PickSite(w, "H01");
  user::Click(*w.Button18);
  PickMember(w, "0000003");
  user::Click(*w.Edit12);
  w.Edit12->SelectAll();
  user::Type("20/03/2567");
  user::Click(*w.Button10);
  EXPECT_EQ(StoredHeaders()[1], (std::vector<std::string>{"HALL1000002", "20/03/2024", "H01", "0000003"}));
  EXPECT_EQ(StoredHeaders().size(), 4u);
}

TEST_F(VoucherHeaderSave, TwoWindowsAddingInTurnStoreEachVoucherAndLineUnderTheirOwnSiteAndMember) {
  Tadd_edit& first = Open();
  PickSite(first, "H01");
  Tadd_edit& second = Open();
  PickSite(second, "H02");
  for (Tadd_edit* w : {&first, &second}) {
    SwitchTo(*w);
    AddHeaderFor(*w, w == &first ? "0000001" : "0000002");
  }
  for (Tadd_edit* w : {&first, &second}) {
    SwitchTo(*w);
    user::Click(*w->Button10);
    user::Click(*w->Button5);
    user::Click(*w->Button9);
  }
  EXPECT_TRUE(Dialogs().Transcript().empty());
  const Rows headers = StoredHeaders();
  EXPECT_EQ(headers[4][0], "HALL1000004");
  EXPECT_EQ(headers[4][2], "H01");
  EXPECT_EQ(headers[4][3], "0000001");
  EXPECT_EQ(headers[5][0], "HALL1000005");
  EXPECT_EQ(headers[5][2], "H02");
  EXPECT_EQ(headers[5][3], "0000002");
  const Rows lines = Stored("h_temple", {"work_no", "work_room", "mem_no", "accessory_no"});
  EXPECT_EQ(lines[lines.size() - 2], (std::vector<std::string>{"HALL1000004", "H01", "0000001", "H01"}));
  EXPECT_EQ(lines.back(), (std::vector<std::string>{"HALL1000005", "H02", "0000002", "H02"}));
}

}  // namespace
