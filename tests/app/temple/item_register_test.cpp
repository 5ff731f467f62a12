// The registers of halls, land plots, ceremony articles and public-utility
// charges over a fresh temple database, driven as a user drives them.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/core/RegisterSearchPanel.h"
#include "app/temple/ItemRegisters.h"
#include "tests/app/core/support/TempleWindowTest.h"
#include "tests/platform/ui/support/Seen.h"
#include "tests/platform/ui/support/User.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

const std::vector<std::string> kSavedColumns{"accessory_no", "accessory_name", "accessory_type", "unit", "zone",
                                             "qty",          "b_price",        "price_1",        "price_2", "price_3",
                                             "price_4",      "price_5",        "cut_stock",      "live",    "fg_vat"};

class ItemRegister : public TempleWindowTest {
 protected:
  template <typename Window>
  Window& Open() {
    auto* window = FormsApplication().CreateForm<Window>();
    user::ProcessEvents();
    return *window;
  }

  // Starts an add and types the boxes, moving on with Enter: code, name,
  // unit, zone, price and quantity, as far as the window has them.
  static void TypeNewItem(TRef_Item& w, const std::vector<std::string>& texts) {
    user::Click(*w.SpeedButton1);
    std::vector<TEdit*> boxes;
    for (TEdit* box : {w.Edit2, w.Edit3, w.Edit4, w.Edit5, w.Edit6, w.Edit1})
      if (box != nullptr) boxes.push_back(box);
    for (size_t i = 0; i < texts.size(); ++i) {
      EXPECT_TRUE(seen::HasFocus(*boxes[i])) << boxes[i]->Name();
      boxes[i]->SelectAll();
      user::Type(texts[i]);
      user::PressEnter();
    }
  }

  std::vector<std::string> Messages() {
    std::vector<std::string> texts;
    for (const auto& entry : Dialogs().Transcript()) texts.push_back(entry.text);
    return texts;
  }

  void StoreHall(const std::string& code, const std::string& name, const std::string& live,
                 const std::string& fg_vat = "0") {
    Store({{"g_room",
            {{"accessory_no", code},
             {"accessory_name", name},
             {"accessory_type", "0"},
             {"price_1", "1000"},
             {"price_2", "900"},
             {"live", live},
             {"fg_vat", fg_vat}}}});
  }
};

TEST_F(ItemRegister, ASavedItemGetsItsKindAndOnlyTheFirstPriceLevel) {
  struct Case {
    const char* table;
    std::vector<std::string> typed;  // in Enter order from the code
    std::vector<std::string> stored;
  };
  const std::vector<Case> cases{
      {"g_room",
       {"H01", "ศาลาการเปรียญ", "หลัง", "A", "1500"},
       {"H01", "ศาลาการเปรียญ", "0", "หลัง", "A", "0", "0", "1500", "", "", "", "", "N", "0", "0"}},
      {"g_land",
       {"L01", "แปลงหน้าวัด", "ไร่", "B", "200.5"},
       {"L01", "แปลงหน้าวัด", "0", "ไร่", "B", "0", "0", "200.5", "", "", "", "", "N", "0", "0"}},
      {"g_accessory",
       {"A01", "ผ้าไตร", "ชุด", "C", "350", "12"},
       {"A01", "ผ้าไตร", "2", "ชุด", "C", "12", "0", "350", "", "", "", "", "N", "", "0"}},
      {"g_public",
       {"P01", "ค่าไฟฟ้า", "หน่วย", "8"},
       {"P01", "ค่าไฟฟ้า", "1", "หน่วย", "", "0", "0", "8", "", "", "", "", "N", "", "0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.table);
    TRef_Item* w = nullptr;
    const std::string table = c.table;
    if (table == "g_room") w = &Open<TRef_Room>();
    if (table == "g_land") w = &Open<TRef_Land>();
    if (table == "g_accessory") w = &Open<TRef_Accessory>();
    if (table == "g_public") w = &Open<TRef_Public>();
    TypeNewItem(*w, c.typed);
    user::Click(*w->SpeedButton8);
    EXPECT_TRUE(Messages().empty()) << Messages().front();
    EXPECT_EQ(Stored(c.table, kSavedColumns), Rows{c.stored});
    EXPECT_EQ(w->EditState, "normal");
    EXPECT_EQ(seen::Text(*w->Edit2), c.stored[0]);
    EXPECT_TRUE(w->Edit3->ReadOnly());
  }
}

TEST_F(ItemRegister, TheEnterKeyFollowsEachCatalogueBoxes) {
  TRef_Room& room = Open<TRef_Room>();
  user::Click(*room.SpeedButton1);
  for (TEdit* next : {room.Edit3, room.Edit4, room.Edit5, room.Edit6, room.Edit6}) {
    user::PressEnter();
    EXPECT_TRUE(seen::HasFocus(*next)) << next->Name();
  }
  TRef_Public& utility = Open<TRef_Public>();
  EXPECT_FALSE(seen::Visible(*utility.Edit11));
  user::Click(*utility.SpeedButton1);
  for (TEdit* next : {utility.Edit3, utility.Edit4, utility.Edit6, utility.Edit2}) {
    user::PressEnter();
    EXPECT_TRUE(seen::HasFocus(*next)) << next->Name();
  }
}

TEST_F(ItemRegister, ANewItemStartsAtZeroAndItsCodeTakesFiveCharacters) {
  TRef_Accessory& w = Open<TRef_Accessory>();
  EXPECT_EQ(seen::Caption(w), " ทะเบียนเครื่องประกอบพิธี - บริการ (3)");
  user::Click(*w.SpeedButton1);
  EXPECT_EQ(seen::Text(*w.Edit6), "0");
  EXPECT_EQ(seen::Text(*w.Edit1), "0");
  EXPECT_EQ(seen::Text(*w.Edit11), "0");
  user::Type("ABCDEFG");
  EXPECT_EQ(seen::Text(*w.Edit2), "ABCDE");
}

TEST_F(ItemRegister, AnExistingCodeInAddIsRefusedAndNothingIsWritten) {
  StoreHall("H01", "ศาลาเดิม", "2");
  TRef_Room& w = Open<TRef_Room>();
  user::Click(*w.SpeedButton1);
  user::Type("H01");
  user::Click(*w.Edit3);
  user::Type("ศาลาใหม่");
  Dialogs().Answer(mrOk);
  user::Click(*w.SpeedButton8);
  EXPECT_EQ(Messages(), std::vector<std::string>{"รหัสข้อมูลซ้ำ ..."});
  EXPECT_TRUE(seen::HasFocus(*w.Edit2));
  EXPECT_EQ(w.EditState, "add");
  EXPECT_EQ(Stored("g_room", {"accessory_no", "accessory_name"}), (Rows{{"H01", "ศาลาเดิม"}}));
}

TEST_F(ItemRegister, AnEditKeepsTheCodeSetsTheHallFreeAndEmptiesTheOtherPriceLevels) {
  StoreHall("H01", "ศาลาเดิม", "2");
  StoreHall("H02", "อาคารสอง", "1");
  TRef_Room& w = Open<TRef_Room>();
  user::ClickButton(*w.DBNavigator1, nbFirst);
  user::Click(*w.SpeedButton3);
  EXPECT_TRUE(seen::HasFocus(*w.Edit3));
  EXPECT_TRUE(w.Edit2->ReadOnly());
  w.Edit3->SelectAll();
  user::Type("ศาลาแก้ไข");
  user::Click(*w.SpeedButton8);
  EXPECT_EQ(Stored("g_room", {"accessory_no", "accessory_name", "price_1", "price_2", "live"}),
            (Rows{{"H01", "ศาลาแก้ไข", "1000", "", "0"}, {"H02", "อาคารสอง", "1000", "900", "1"}}));
  EXPECT_EQ(seen::Text(*w.Edit2), "H01") << "the list returns to the edited row";
}

TEST_F(ItemRegister, APriceThatIsNoNumberStopsTheSaveWithTheConversionMessage) {
  TRef_Room& w = Open<TRef_Room>();
  TypeNewItem(w, {"H09", "ศาลา", "หลัง", "A", "๑๕๐๐"});
  Dialogs().Answer(mrOk);
  user::Click(*w.SpeedButton8);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("is not a valid floating point value"), std::string::npos) << Messages()[0];
  EXPECT_EQ(w.EditState, "add");
  EXPECT_TRUE(Stored("g_room", {"accessory_no"}).empty());
}

TEST_F(ItemRegister, ARowWhoseTaxFlagIsNoNumberShowsZero) {
  StoreHall("H01", "ศาลา", "0", "Y");
  StoreHall("H02", "อาคาร", "0", "7");
  TRef_Room& w = Open<TRef_Room>();
  EXPECT_EQ(seen::Text(*w.Edit11), "7");
  user::ClickButton(*w.DBNavigator1, nbFirst);
  EXPECT_EQ(seen::Text(*w.Edit2), "H01");
  EXPECT_EQ(seen::Text(*w.Edit11), "0");
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ItemRegister, ASearchFindsTheFirstNameThatBeginsWithTheTextOrSaysItFoundNone) {
  StoreHall("H01", "ศาลาการเปรียญ", "0");
  StoreHall("H02", "อาคารเรียน", "0");
  StoreHall("H03", "อาคารธรรม", "0");
  TRef_Room& w = Open<TRef_Room>();
  user::ClickButton(*w.DBNavigator1, nbFirst);
  user::Click(*w.BitBtn1);
  user::ClickItem(*w.Panel3->RadioGroup1, 1);
  user::Click(*w.Panel3->Edit1);
  user::Type("อาคาร");
  user::PressEnter();
  EXPECT_TRUE(Messages().empty());
  user::Click(*w.Panel3->Button1);
  EXPECT_EQ(seen::Text(*w.Edit2), "H02");
  EXPECT_EQ(seen::Text(*w.Edit3), "อาคารเรียน");

  user::Click(*w.BitBtn1);
  user::ClickItem(*w.Panel3->RadioGroup1, 1);
  user::Click(*w.Panel3->Edit1);
  user::Type("วิหาร");
  Dialogs().Answer(mrOk);
  user::PressEnter();
  EXPECT_EQ(Messages(), std::vector<std::string>{"ไม่พบรายการที่ค้นหา..."});
}

TEST_F(ItemRegister, SwitchingToAnotherWindowAndBackDuringAnAddKeepsItsStateAndTexts) {
  TRef_Room& w = Open<TRef_Room>();
  TypeNewItem(w, {"H05", "ศาลาใหม่", "หลัง"});
  auto* other = FormsApplication().CreateForm<OtherWindow>();
  user::ProcessEvents();
  SwitchTo(*other);
  SwitchTo(w);
  EXPECT_EQ(w.EditState, "add");
  EXPECT_EQ(seen::Text(*w.Edit2), "H05");
  EXPECT_EQ(seen::Text(*w.Edit3), "ศาลาใหม่");
  EXPECT_FALSE(w.DBNavigator1->Enabled());
  EXPECT_FALSE(w.Edit3->ReadOnly());
  EXPECT_TRUE(w.SpeedButton8->Enabled());
  user::Click(*w.SpeedButton8);
  EXPECT_EQ(Stored("g_room", {"accessory_no", "accessory_name", "unit"}), (Rows{{"H05", "ศาลาใหม่", "หลัง"}}));
  EXPECT_TRUE(w.DBNavigator1->Enabled());
}

TEST_F(ItemRegister, HallAndLandRegistersOpenTogetherOnOneAliasEachKeepTheirOwnTable) {
  TRef_Room& room = Open<TRef_Room>();
  TRef_Land& land = Open<TRef_Land>();
  TypeNewItem(room, {"H01", "ศาลา", "หลัง", "A", "100"});
  TypeNewItem(land, {"L01", "ที่นา", "ไร่", "B", "50"});
  user::Click(*land.SpeedButton8);
  SwitchTo(room);
  user::Click(*room.SpeedButton8);
  EXPECT_EQ(Stored("g_room", {"accessory_no"}), Rows{{"H01"}});
  EXPECT_EQ(Stored("g_land", {"accessory_no"}), Rows{{"L01"}});
  EXPECT_EQ(seen::Text(*room.Edit2), "H01");
  EXPECT_EQ(seen::Text(*land.Edit2), "L01");
  EXPECT_TRUE(Messages().empty());
}

// Each catalogue's register, opened on one stored item.
struct CatalogueCase {
  const char* table;
  std::function<TRef_Item&()> open;
};

std::vector<CatalogueCase> Catalogues() {
  const auto open = []<typename Window>(Window*) {
    return []() -> TRef_Item& {
      auto* window = FormsApplication().CreateForm<Window>();
      user::ProcessEvents();
      return *window;
    };
  };
  return {{"g_room", open(static_cast<TRef_Room*>(nullptr))},
          {"g_land", open(static_cast<TRef_Land*>(nullptr))},
          {"g_accessory", open(static_cast<TRef_Accessory*>(nullptr))},
          {"g_public", open(static_cast<TRef_Public*>(nullptr))}};
}

TEST_F(ItemRegister, EachCatalogueDeletesTheItemShownAndReportsAnEditOfAnItemAnotherUserDeleted) {
  for (const CatalogueCase& c : Catalogues()) {
    SCOPED_TRACE(c.table);
    Store({{c.table, {{"accessory_no", "A'01"}, {"accessory_name", "รายการ"}, {"price_1", "100"}, {"qty", "1"}, {"fg_vat", "0"}}},
           {c.table, {{"accessory_no", "A'02"}, {"accessory_name", "รายการสอง"}, {"price_1", "100"}, {"qty", "1"}, {"fg_vat", "0"}}}});
    TRef_Item& w = c.open();
    EXPECT_EQ(seen::Text(*w.Edit2), "A'02");
    Dialogs().Answer(mrYes);
    user::Click(*w.SpeedButton4);
    EXPECT_EQ(Stored(c.table, {"accessory_no"}), Rows{{"A'01"}});

    EXPECT_EQ(seen::Text(*w.Edit2), "A'01");
    user::Click(*w.SpeedButton3);
    TVTRTable& other = OtherUser(c.table);
    other.Open();
    other.Delete();
    other.Close();
    Dialogs().Answer(mrOk);
    user::Click(*w.SpeedButton8);
    EXPECT_EQ(Messages(), (std::vector<std::string>{kConfirmDelete, kRowNotFound}));
    EXPECT_EQ(w.EditState, "edit");
    EXPECT_TRUE(Stored(c.table, {"accessory_no"}).empty());
    user::Click(*w.SpeedButton6);
    w.Close();
    user::ProcessEvents();
    Dialogs().Clear();
  }
}

TEST_F(ItemRegister, TheSearchPanelKeepsItsTextListsCodeAndNameAndKeepsTheFocusAfterAMiss) {
  StoreHall("H01", "ศาลาการเปรียญ", "0");
  StoreHall("H02", "อาคารเรียน", "0");
  TRef_Room& w = Open<TRef_Room>();
  user::Click(*w.SpeedButton5);
  EXPECT_TRUE(seen::Visible(*w.Panel7));
  EXPECT_EQ(w.Panel7->RadioGroup1->Caption(), "ค้นหาโดย");
  EXPECT_EQ(seen::Text(*w.Label10), "พิมพ์รายการที่ค้นหา");
  ASSERT_EQ(w.DBGrid4->Columns().Count(), 2);
  EXPECT_EQ(w.DBGrid4->Columns()[0]->Title(), "รหัส");
  EXPECT_EQ(w.DBGrid4->Columns()[1]->Title(), "ชื่อ");
  EXPECT_EQ(seen::Cell(*w.DBGrid4, 0, 0), "H01");
  EXPECT_EQ(seen::Cell(*w.DBGrid4, 0, 1), "ศาลาการเปรียญ");
  user::ClickItem(*w.Panel7->RadioGroup1, 1);
  EXPECT_EQ(seen::Text(*w.Label10), "พิมพ์รายการที่ค้นหา");
  user::ClickCell(*w.DBGrid4, 0, 1);
  EXPECT_EQ(seen::Text(*w.Edit14), "ศาลาการเปรียญ");
  EXPECT_TRUE(seen::HasFocus(*w.Edit14));
  w.Edit14->SelectAll();
  user::Type("วิหาร");
  Dialogs().Answer(mrOk);
  user::PressEnter();
  EXPECT_EQ(Messages(), std::vector<std::string>{kSearchMiss});
  EXPECT_TRUE(seen::Visible(*w.Edit14));
  EXPECT_TRUE(seen::HasFocus(*w.Edit14)) << "the zone box behind the panel cannot be seen";
  user::Click(*w.Button2);

  user::Click(*w.SpeedButton5);
  EXPECT_EQ(seen::Text(*w.Edit14), "วิหาร") << "the last search text is kept";
  EXPECT_EQ(w.Panel7->RadioGroup1->ItemIndex(), 0) << "the search is by code again";
  EXPECT_TRUE(seen::HasFocus(*w.Edit14));
  w.Edit14->SelectAll();
  user::Type("H02");
  user::PressEnter();
  EXPECT_TRUE(seen::HasFocus(*w.Button2));
  user::Click(*w.Button2);
  EXPECT_EQ(seen::Text(*w.Edit3), "อาคารเรียน");
}

}  // namespace
