// The goods register over a fresh temple database, driven as a user drives it,
// and the stock-on-hand rule it shows.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/donation/Ref_Attn.h"
#include "app/donation/Ref_Part_Pict.h"
#include "app/donation/StockOnHand.h"
#include "tests/app/donation/support/DonationRegisterTest.h"

namespace {

namespace fs = std::filesystem;

TableRow Item(const std::string& number, const std::string& name, const std::string& cut_stock) {
  return {"product", {{"pro_no", number}, {"pro_name", name}, {"pro_type", "0"}, {"cut_stock", cut_stock}}};
}

TableRow Line(const char* table, const std::string& number, const char* qty, const char* stk_post) {
  return {table, {{"bill_no", "B1"}, {"accessory_no", number}, {"qty", qty}, {"stk_post", stk_post}}};
}

class GoodsRegister : public DonationRegisterTest {
 protected:
  TRef_Part_Pict& Open() {
    auto* window = FormsApplication().CreateForm<TRef_Part_Pict>();
    user::ProcessEvents();
    return *window;
  }

  void PictureFolder(const std::vector<std::string>& pictures) {
    const fs::path folder = folder_.Path() / "picture";
    fs::create_directories(folder);
    for (const std::string& name : pictures) ASSERT_TRUE(user::SavePhoto((folder / name).string()));
  }

  Rows StoredItems() { return Stored("product", {"pro_no", "pro_name"}); }

  void Renumber(TRef_Part_Pict& w, const std::string& number) {
    user::Click(*w.SpeedButton3);
    w.Edit1->Clear();
    user::Click(*w.Edit1);
    user::Type(number);
    user::Click(*w.SpeedButton8);
  }
};

TEST_F(GoodsRegister, StockOnHandCountsPostedPurchasesLessPostedSales) {
  Store({Item("P1", "พระผง", "1"), Item("P0", "เทียน", "0"), Line("instock", "P1", "5", "2"),
         Line("instock", "P1", "3", "2"), Line("instock", "P1", "4", "5"), Line("outstock", "P1", "2", "1"),
         Line("outstock", "P1", "7", "0"), Line("instock", "P0", "9", "2")});
  TRef_Part_Pict& w = Open();
  EXPECT_EQ(StockOnHand("d_partpict", "P1", 0), 6);
  EXPECT_EQ(StockOnHand("d_partpict", "P1", 10), 16);
  EXPECT_EQ(StockOnHand("d_partpict", "P9", 0), 0);
  EXPECT_EQ(seen::Caption(w), "ทะเบียนวัตถุมงคล  - สินค้า อื่น ๆ ");
  user::ClickButton(*w.DBNavigator1, nbFirst);
  EXPECT_EQ(seen::Text(*w.Edit2), "เทียน");
  EXPECT_EQ(seen::Text(*w.Label19), "0") << "stock not counted";
  user::ClickButton(*w.DBNavigator1, nbNext);
  EXPECT_EQ(seen::Text(*w.Label19), "6");
}

TEST_F(GoodsRegister, ANewItemWithoutAChosenPictureStoresThePlaceholder) {
  PictureFolder({"temp.jpg", "PHOTO.JPG"});
  TRef_Part_Pict& w = Open();
  user::Click(*w.SpeedButton1);
  EXPECT_EQ(seen::Text(*w.Edit3), "วัตถุมงคล");
  EXPECT_FALSE(w.Image1->Picture().Empty());
  user::Type("P1");
  user::PressEnter();
  user::Type("พระผง");
  user::Click(*w.SpeedButton8);
  EXPECT_EQ(Stored("product", {"pro_no", "pro_name", "pro_type", "pro_pict", "tax_status", "tax_rate", "warn_term",
                               "pro_total", "cut_stock"}),
            (Rows{{"P1", "พระผง", "0", "temp.jpg", "0", "0", "-", "0", "1"}}));
}

TEST_F(GoodsRegister, APictureInCapitalsIsListedAndChosenAndACancelKeepsTheName) {
  PictureFolder({"temp.jpg", "a.jpg", "PHOTO.JPG"});
  Store({{"product", {{"pro_no", "P1"}, {"pro_type", "0"}, {"pro_pict", "a.jpg"}}}});
  TRef_Part_Pict& w = Open();
  user::Click(*w.SpeedButton3);
  user::Click(*w.SpeedButton7);
  EXPECT_FALSE(seen::Visible(*w.Panel1));
  user::ClickFile(*w.FileListBox1, "PHOTO.JPG");
  user::Click(*w.Button4);
  EXPECT_TRUE(seen::Visible(*w.Panel1));
  EXPECT_EQ(seen::Text(*w.Label20), "a.jpg");
  user::Click(*w.SpeedButton7);
  user::ClickFile(*w.FileListBox1, "PHOTO.JPG");
  user::Click(*w.Button2);
  EXPECT_EQ(seen::Text(*w.Label20), "PHOTO.JPG");
  user::Click(*w.SpeedButton8);
  EXPECT_EQ(Stored("product", {"pro_pict"}), (Rows{{"PHOTO.JPG"}}));
}

TEST_F(GoodsRegister, AnItemWithoutAPictureOrCountShowsThePlaceholderAndNoStock) {
  PictureFolder({"temp.jpg", "a.jpg"});
  Store({{"product", {{"pro_no", "P1"}, {"pro_type", "0"}, {"cut_stock", "1"}, {"pro_pict", "a.jpg"}}},
         {"product", {{"pro_no", "P2"}, {"pro_type", "0"}, {"cut_stock", "x"}, {"pro_pict", "gone.jpg"}}},
         {"product", {{"pro_no", "P3"}, {"pro_type", "0"}, {"cut_stock", ""}}}});
  TRef_Part_Pict& w = Open();
  user::ClickButton(*w.DBNavigator1, nbFirst);
  EXPECT_EQ(seen::Text(*w.Label19), "0");
  user::ClickButton(*w.DBNavigator1, nbNext);
  EXPECT_EQ(seen::Text(*w.Label19), "");
  EXPECT_EQ(seen::Text(*w.Label20), "ไม่พบรูป ...");
  EXPECT_FALSE(w.Image1->Picture().Empty());
  fs::remove(folder_.Path() / "picture" / "temp.jpg");
  user::ClickButton(*w.DBNavigator1, nbNext);
  EXPECT_EQ(seen::Text(*w.Label19), "");
  EXPECT_TRUE(w.Image1->Picture().Empty()) << "no placeholder: an empty picture, not an error";
  EXPECT_TRUE(Dialogs().Transcript().empty());
}

TEST_F(GoodsRegister, ANumberAnotherItemHoldsIsRefusedInAddAndEdit) {
  Store({Item("P1", "พระผง", "0"), Item("P2", "เหรียญ", "0")});
  TRef_Part_Pict& w = Open();
  user::Click(*w.SpeedButton1);
  user::Type("P2");
  user::Click(*w.Edit2);
  user::Type("ซ้ำ");
  Dialogs().Answer(mrOk);
  user::Click(*w.SpeedButton8);
  user::Click(*w.SpeedButton6);
  user::ClickButton(*w.DBNavigator1, nbFirst);
  Dialogs().Answer(mrOk);
  Renumber(w, "P2");
  EXPECT_EQ(Shown(), (std::vector<std::string>{"รหัสข้อมูลซ้ำ ...", "รหัสข้อมูลซ้ำ ..."}));
  EXPECT_EQ(StoredItems(), (Rows{{"P1", "พระผง"}, {"P2", "เหรียญ"}}));
  user::Click(*w.SpeedButton6);
  Renumber(w, "P3");
  EXPECT_EQ(StoredItems(), (Rows{{"P3", "พระผง"}, {"P2", "เหรียญ"}}));
}

TEST_F(GoodsRegister, TheTypeButtonsListEachTypeAndANewItemTakesTheListedType) {
  Store({Item("P1", "พระผง", "0"), {"product", {{"pro_no", "S1"}, {"pro_name", "ค่าเช่า"}, {"pro_type", "1"}}}});
  TRef_Part_Pict& w = Open();
  EXPECT_EQ(w.Table1->RecordCount(), 1);
  user::ClickItem(*w.RadioGroup3, 1);
  EXPECT_EQ(seen::Text(*w.Edit2), "ค่าเช่า");
  user::Click(*w.SpeedButton1);
  EXPECT_FALSE(w.RadioGroup3->Enabled());
  EXPECT_EQ(seen::Text(*w.Edit3), "สินค้า-บริการ");
  user::Type("S2");
  user::Click(*w.SpeedButton8);
  EXPECT_EQ(Stored("product", {"pro_no", "pro_type"}).back(), (std::vector<std::string>{"S2", "1"}));
}

TEST_F(GoodsRegister, SwitchingToAnotherWindowAndBackKeepsAnAddAndItsTexts) {
  TRef_Part_Pict& w = Open();
  user::Click(*w.SpeedButton1);
  user::Type("P7");
  user::PressEnter();
  user::Type("เหรียญ");
  TRef_Attn& other = *FormsApplication().CreateForm<TRef_Attn>();
  user::ProcessEvents();
  user::ActivateWindow(other);
  user::ActivateWindow(w);
  EXPECT_EQ(w.EditState, "add");
  EXPECT_EQ(seen::Text(*w.Edit2), "เหรียญ");
  user::Click(*w.SpeedButton8);
  EXPECT_EQ(StoredItems(), (Rows{{"P7", "เหรียญ"}}));
}

}  // namespace
