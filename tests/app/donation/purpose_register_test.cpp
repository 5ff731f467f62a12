// The donation purpose and name title registers over a fresh temple database,
// driven as a user drives them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/core/RegisterSearchPanel.h"
#include "app/donation/Ref_Attn.h"
#include "app/donation/Ref_Donate.h"
#include "tests/app/donation/support/DonationRegisterTest.h"

namespace {

TableRow Purpose(const std::string& number, const std::string& name) {
  return {"m_donate", {{"accessory_no", number}, {"accessory_name", name}, {"cut_stock", "N"}}};
}

class PurposeRegister : public DonationRegisterTest {
 protected:
  void SetUp() override {
    DonationRegisterTest::SetUp();
    Store({Purpose("00101", "บำรุงวัด"), Purpose("00102", "ค่าน้ำค่าไฟ")});
  }

  TRef_Donate& Open() {
    auto* window = FormsApplication().CreateForm<TRef_Donate>();
    user::ProcessEvents();
    return *window;
  }

  Rows StoredPurposes() { return Stored("m_donate", {"accessory_no", "accessory_name"}); }

  // Edits the purpose shown: the number replaced by `number`, then save.
  void Renumber(TRef_Donate& w, const std::string& number) {
    user::Click(*w.SpeedButton3);
    w.Edit2->Clear();
    user::Click(*w.Edit2);
    user::Type(number);
    user::Click(*w.SpeedButton8);
  }
};

TEST_F(PurposeRegister, ANewPurposeWithAStoredNumberIsRefusedAndNothingIsWritten) {
  TRef_Donate& w = Open();
  EXPECT_EQ(seen::Caption(w), " ทะเบียนวัตถุประสงค์การบริจาค");
  user::Click(*w.SpeedButton1);
  EXPECT_TRUE(seen::HasFocus(*w.Edit2));
  user::Type("00101");
  user::Click(*w.Edit3);
  user::Type("ซ้ำ");
  Dialogs().Answer(mrOk);
  user::Click(*w.SpeedButton8);
  EXPECT_EQ(Shown(), std::vector<std::string>{"รหัสข้อมูลซ้ำ ..."});
  EXPECT_EQ(StoredPurposes(), (Rows{{"00101", "บำรุงวัด"}, {"00102", "ค่าน้ำค่าไฟ"}}));
  EXPECT_EQ(w.EditState, "add");
  EXPECT_TRUE(seen::HasFocus(*w.Edit2));
}

TEST_F(PurposeRegister, AnEditMayRenameAPurposeButNotToTheNumberOfAnother) {
  TRef_Donate& w = Open();
  user::ClickButton(*w.DBNavigator1, nbFirst);
  EXPECT_EQ(seen::Text(*w.Edit3), "บำรุงวัด");
  Dialogs().Answer(mrOk);
  Renumber(w, "00102");
  EXPECT_EQ(Shown(), std::vector<std::string>{"รหัสข้อมูลซ้ำ ..."});
  EXPECT_EQ(w.EditState, "edit");
  EXPECT_EQ(StoredPurposes(), (Rows{{"00101", "บำรุงวัด"}, {"00102", "ค่าน้ำค่าไฟ"}}));
  user::Click(*w.SpeedButton6);

  Renumber(w, "00109");
  EXPECT_EQ(w.EditState, "normal");
  EXPECT_EQ(StoredPurposes(), (Rows{{"00109", "บำรุงวัด"}, {"00102", "ค่าน้ำค่าไฟ"}}));
}

TEST_F(PurposeRegister, EverySaveWritesThePurposeConstants) {
  Store({{"m_donate",
          {{"accessory_no", "00200"},
           {"accessory_name", "กฐิน"},
           {"accessory_type", "1"},
           {"qty", "5"},
           {"b_price", "7"},
           {"price_1", "100"},
           {"price_2", "10"},
           {"price_5", "50"},
           {"cut_stock", "Y"},
           {"fg_vat", "x"}}}});
  TRef_Donate& w = Open();
  EXPECT_EQ(seen::Text(*w.Edit3), "กฐิน");
  EXPECT_EQ(seen::Text(*w.Edit6), "100");
  EXPECT_EQ(seen::Text(*w.Edit11), "0") << "a stored VAT that is no number";
  EXPECT_TRUE(w.CheckBox1->Checked());
  user::Click(*w.SpeedButton3);
  user::Click(*w.CheckBox1);
  user::Click(*w.SpeedButton8);
  EXPECT_EQ(Stored("m_donate", {"accessory_no", "accessory_type", "qty", "b_price", "price_1", "price_2", "price_3",
                                "price_4", "price_5", "cut_stock"})
                .back(),
            (std::vector<std::string>{"00200", "2", "0", "0", "100", "", "", "", "", "N"}));
}

TEST_F(PurposeRegister, SwitchingToAnotherWindowAndBackKeepsAnAddAndItsTexts) {
  TRef_Donate& w = Open();
  user::Click(*w.SpeedButton1);
  user::Type("00300");
  user::PressEnter();
  user::Type("สร้างศาลา");
  TRef_Attn& other = *FormsApplication().CreateForm<TRef_Attn>();
  user::ProcessEvents();
  user::ActivateWindow(other);
  user::ActivateWindow(w);
  EXPECT_EQ(w.EditState, "add");
  EXPECT_EQ(seen::Text(*w.Edit3), "สร้างศาลา");
  user::Click(*w.SpeedButton8);
  EXPECT_EQ(StoredPurposes().back(), (std::vector<std::string>{"00300", "สร้างศาลา"}));
}

TEST_F(PurposeRegister, ASearchThatFindsNothingSaysSo) {
  TRef_Donate& w = Open();
  user::Click(*w.BitBtn1);
  user::Type("9");
  Dialogs().Answer(mrOk);
  user::PressEnter();
  EXPECT_EQ(Shown(), std::vector<std::string>{"ไม่พบรายการที่ค้นหา..."});
  w.Panel3->Edit1->Clear();
  user::Type("001");
  user::PressEnter();
  EXPECT_EQ(seen::Text(*w.Edit3), "บำรุงวัด");
}

class TitleRegister : public DonationRegisterTest {};

TEST_F(TitleRegister, TitlesAreEditedAndDeletedByTheirOwnKey) {
  Store({{"cust_prefix", {{"prefix_name", "นาย"}}}, {"cust_prefix", {{"prefix_name", "นาย"}}}});
  TRef_Attn& w = *FormsApplication().CreateForm<TRef_Attn>();
  user::ProcessEvents();
  EXPECT_EQ(seen::Caption(w), "ตารางคำนำหน้าชื่อ");
  user::ClickButton(*w.DBNavigator1, nbFirst);
  user::Click(*w.SpeedButton3);
  w.Edit3->Clear();
  user::Type("นางสาว");
  user::PressEnter();
  user::Click(*w.Button8);
  EXPECT_EQ(Stored("cust_prefix", {"prefix_id", "prefix_name"}), (Rows{{"1", "นางสาว"}, {"2", "นาย"}}));
  user::ClickButton(*w.DBNavigator1, nbLast);
  Dialogs().Answer(mrYes);
  user::Click(*w.SpeedButton4);
  EXPECT_EQ(Stored("cust_prefix", {"prefix_id", "prefix_name"}), (Rows{{"1", "นางสาว"}}));

  Dialogs().Answer(mrOk);
  user::Click(*w.SpeedButton1);
  user::Click(*w.Button8);
  EXPECT_EQ(Shown().back(), "ข้อมูลไม่ครบ ....");
}

}  // namespace
