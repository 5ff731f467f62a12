// The line page of the hall usage voucher window: the item offered for a new
// line, the amount, meter readings, the remaining stock, the booking check,
// and what a line save and delete store.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/core/ThaiDateText.h"
#include "platform/rtl/DateTime.h"
#include "tests/app/temple/support/UsageVoucherTest.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

class UsageVoucherLines : public UsageVoucher {
 protected:
  void SetUp() override {
    UsageVoucher::SetUp();
    Store({{"g_public", {{"accessory_no", "P01"}, {"accessory_name", "ค่าไฟฟ้า"}, {"accessory_type", "1"},
                         {"unit", "หน่วย"}, {"price_1", "8"}, {"cut_stock", "N"}}},
           {"g_accessory", {{"accessory_no", "A01"}, {"accessory_name", "ผ้าไตร"}, {"accessory_type", "2"},
                            {"unit", "ชุด"}, {"price_1", "350"}, {"cut_stock", "Y"}}},
           {"h_fill", {{"fill_no", "F1"}, {"accessory_no", "A01"}, {"qty", "6"}}},
           {"h_fill", {{"fill_no", "F2"}, {"accessory_no", "A01"}, {"qty", "4"}}},
           {"h_temple", {{"work_no", "HALL1000003"}, {"accessory_no", "A01"}, {"accessory_type", "2"},
                         {"qty", "4"}, {"price", "350"}, {"stk_post", "1"}}},
           {"h_temple", {{"work_no", "HALL1000003"}, {"accessory_no", "A01"}, {"accessory_type", "2"},
                         {"qty", "3"}, {"price", "350"}, {"stk_post", "1"}, {"price_level", "2"},
                         {"check_in", "07/03/2024"}, {"check_out", "07/03/2024"}}},
           {"h_temple", {{"work_no", "HALL1000003"}, {"accessory_no", "A01"}, {"accessory_type", "2"},
                         {"qty", "2"}, {"price", "350"}, {"stk_post", "0"}}}});
  }

  // The lines stored for the voucher, with the named columns.
  Rows StoredLines(const std::string& work_no, const std::vector<std::string>& columns) {
    std::vector<std::string> with_number = columns;
    with_number.insert(with_number.begin(), "work_no");
    Rows rows;
    for (std::vector<std::string>& row : Stored("h_temple", with_number)) {
      if (row[0] != work_no) continue;
      row.erase(row.begin());
      rows.push_back(row);
    }
    return rows;
  }

  static void Retype(TEdit& box, const std::string& text) {
    user::Click(box);
    box.SelectAll();
    user::Type(text);
  }

  // Adds a line of the item through the type group and the code.
  static void StartLineOf(Tadd_edit& w, int type, const std::string& code) {
    user::Click(*w.Button5);
    user::ClickItem(*w.RadioGroup5, type);
    Retype(*w.Edit9, code);
    user::PressEnter();
  }

  std::vector<std::string> Messages() {
    std::vector<std::string> texts;
    for (const auto& entry : Dialogs().Transcript()) texts.push_back(entry.text);
    return texts;
  }
};

TEST_F(UsageVoucherLines, ANewLineIsTheUseOfTheVouchersSiteAndStoresItsAmount) {
  SetSetting("tax_status", "1");
  SetSetting("tax_rate", "10");
  myVar.CurrentStaffNo = "ST00000001";
  Tadd_edit& w = Open();
  PickSite(w, "H01");
  user::Click(*w.Button5);
  EXPECT_EQ(seen::Text(*w.Edit9), "H01");
  EXPECT_EQ(seen::Text(*w.Edit10), "ศาลาการเปรียญ");
  EXPECT_TRUE(w.Edit9->ReadOnly());
  EXPECT_EQ(seen::Text(*w.MaskEdit1), DateToThaiText(Date()));
  EXPECT_EQ(seen::Text(*w.MaskEdit2), DateToThaiText(Date()));
  EXPECT_EQ(seen::Text(*w.MaskEdit12), "1");
  EXPECT_EQ(seen::Text(*w.MaskEdit13), "1500");
  EXPECT_EQ(seen::Text(*w.MaskEdit15), "0.00");
  EXPECT_FALSE(seen::Visible(*w.Panel1));
  EXPECT_FALSE(seen::Visible(*w.MaskEdit11));
  EXPECT_FALSE(w.Panel5->Enabled());

  Retype(*w.MaskEdit12, "3");
  Retype(*w.MaskEdit13, "150");
  Retype(*w.MaskEdit14, "10");
  user::PressEnter();
  EXPECT_EQ(seen::Text(*w.MaskEdit15), "405");
  EXPECT_TRUE(seen::HasFocus(*w.Button9));
  user::Click(*w.Button9);
  EXPECT_TRUE(Messages().empty()) << Messages().front();
  EXPECT_EQ(StoredLines("HALL1000002", {"accessory_no", "accessory_type", "qty", "price", "disc_rate", "tax_rate",
                                        "total", "work_room", "mem_no", "staff_no", "fg_clear", "stk_post",
                                        "price_level"})
                .back(),
            (std::vector<std::string>{"H01", "0", "3", "150", "10", "7", "405", "H01", "0000002", "ST00000001", "1",
                                      "0", ""}));
  EXPECT_EQ(seen::RowCount(*w.DBGrid2), 3);
  EXPECT_TRUE(w.Panel5->Enabled());
  EXPECT_TRUE(seen::HasFocus(*w.Button5));
}

TEST_F(UsageVoucherLines, MeterReadingsGiveTheQuantityAndAreStored) {
  Tadd_edit& w = Open();
  PickSite(w, "H01");
  StartLineOf(w, 1, "P01");
  EXPECT_TRUE(seen::Visible(*w.Panel1));
  EXPECT_EQ(seen::Text(*w.MaskEdit13), "8");
  user::PressEnter();  // from date
  user::PressEnter();  // to date
  EXPECT_TRUE(seen::HasFocus(*w.Edit3));
  w.Edit3->SelectAll();
  user::Type("1200");
  user::PressEnter();
  w.Edit4->SelectAll();
  user::Type("1350");
  user::PressEnter();
  EXPECT_EQ(seen::Text(*w.MaskEdit12), "150");
  EXPECT_TRUE(seen::HasFocus(*w.MaskEdit13));
  user::Click(*w.Button9);
  EXPECT_EQ(StoredLines("HALL1000002", {"accessory_no", "check_first", "check_last", "qty", "total"}).back(),
            (std::vector<std::string>{"P01", "1200", "1350", "150", "1200"}));
}

TEST_F(UsageVoucherLines, AnArticleOffersWhatRemainsAndRefusesMore) {
  Tadd_edit& w = Open();
  PickSite(w, "H02");
  StartLineOf(w, 2, "A01");
  EXPECT_TRUE(seen::Visible(*w.MaskEdit11));
  EXPECT_EQ(seen::Text(*w.MaskEdit11), "3") << "10 received, 4 and 3 taken out of stock";
  Retype(*w.MaskEdit12, "4");
  Dialogs().Answer(mrOk);
  user::Click(*w.Button9);
  EXPECT_EQ(Messages(), std::vector<std::string>{"จำนวนไม่เพียงพอ ...ใช้ได้สูงสุด 3"});
  EXPECT_EQ(StoredLines("HALL1000003", {"qty"}).size(), 3u);
  EXPECT_EQ(w.PageControl1->ActivePage(), w.edit);

  Retype(*w.MaskEdit12, "2");
  user::Click(*w.Button9);
  EXPECT_EQ(StoredLines("HALL1000003", {"qty", "stk_post", "unit"}).back(),
            (std::vector<std::string>{"2", "1", "ชุด"}));
}

TEST_F(UsageVoucherLines, EditingALineGivesItsOwnQuantityBackAndKeepsItsPriceLevelOnly) {
  Tadd_edit& w = Open();
  PickSite(w, "H02");
  EXPECT_EQ(seen::Cell(*w.DBGrid2, 1, 2), "07/03/2567") << "dates show the Buddhist-era year";
  user::ClickCell(*w.DBGrid2, 1, 0);  // the line of 3
  user::Click(*w.Button6);
  EXPECT_EQ(seen::Text(*w.MaskEdit11), "6") << "3 remain, and the line's own 3";
  EXPECT_EQ(seen::Text(*w.MaskEdit12), "3");
  Retype(*w.MaskEdit12, "5");
  user::Click(*w.Button9);
  EXPECT_EQ(StoredLines("HALL1000003", {"qty", "price_level"})[1], (std::vector<std::string>{"5", "2"}));

  // A new line does not take the price level of the line edited before.
  StartLineOf(w, 2, "A01");
  Retype(*w.MaskEdit12, "1");
  user::Click(*w.Button9);
  EXPECT_EQ(StoredLines("HALL1000003", {"qty", "price_level"}).back(), (std::vector<std::string>{"1", ""}));
}

TEST_F(UsageVoucherLines, AnotherUsersLineSavedMeanwhileCountsAtTheSave) {
  Tadd_edit& w = Open();
  PickSite(w, "H02");
  StartLineOf(w, 2, "A01");
  Retype(*w.MaskEdit12, "3");
  Store({{"h_temple", {{"work_no", "HALL1000009"}, {"accessory_no", "A01"}, {"qty", "1"}, {"stk_post", "1"}}}});
  Dialogs().Answer(mrOk);
  user::Click(*w.Button9);
  EXPECT_EQ(Messages(), std::vector<std::string>{"จำนวนไม่เพียงพอ ...ใช้ได้สูงสุด 2"});
  EXPECT_EQ(StoredLines("HALL1000003", {"qty"}).size(), 3u);
}

TEST_F(UsageVoucherLines, ACodeOfNoItemIsReportedAndEmptiesTheLine) {
  Tadd_edit& w = Open();
  PickSite(w, "H01");
  StartLineOf(w, 2, "A01");
  Dialogs().Answer(mrOk);
  Retype(*w.Edit9, "Z9");
  user::PressEnter();
  EXPECT_EQ(Messages(), std::vector<std::string>{"ไม่พบรายการ..."});
  EXPECT_EQ(seen::Text(*w.Edit10), "");
  EXPECT_EQ(seen::Text(*w.MaskEdit13), "");
  EXPECT_EQ(seen::Text(*w.MaskEdit12), "");
}

TEST_F(UsageVoucherLines, ABookedSiteAsksBeforeALineInsideOrAroundTheBooking) {
  Store({{"h_booking_detail",
          {{"room_no", "H01"}, {"book_beg", "05/03/2024"}, {"book_end", "10/03/2024"}, {"fg_book", "1"}}}});
  struct Case {
    const char* from;
    const char* to;
    bool asks;
  };
  Tadd_edit& w = Open();
  PickSite(w, "H01");
  for (const Case& c : {Case{"06/03/2567", "08/03/2567", true}, Case{"01/03/2567", "20/03/2567", true},
                        Case{"08/03/2567", "12/03/2567", false}}) {
    SCOPED_TRACE(std::string(c.from) + " - " + c.to);
    Dialogs().Clear();
    const size_t stored = StoredLines("HALL1000002", {"qty"}).size();
    user::Click(*w.Button5);
    Retype(*w.MaskEdit1, c.from);
    Retype(*w.MaskEdit2, c.to);
    if (c.asks) Dialogs().Answer(mrNo);
    user::Click(*w.Button9);
    if (c.asks) {
      EXPECT_EQ(Messages(), std::vector<std::string>{"มีการจองห้องพักแล้ว ในวันที่นี้ จะอนุญาตให้เข้าพัก หรือไม่... ?"});
      EXPECT_EQ(StoredLines("HALL1000002", {"qty"}).size(), stored);
      user::Click(*w.Button8);
    } else {
      EXPECT_TRUE(Messages().empty());
      EXPECT_EQ(StoredLines("HALL1000002", {"check_in", "check_out"}).back(),
                (std::vector<std::string>{"08/03/2024", "12/03/2024"}));
    }
  }
}

TEST_F(UsageVoucherLines, ADateThatIsNoDateStopsTheSaveWithTheHelpersMessage) {
  Tadd_edit& w = Open();
  PickSite(w, "H01");
  user::Click(*w.Button5);
  Retype(*w.MaskEdit1, "32/13/2567");
  Dialogs().Answer(mrOk);
  user::Click(*w.Button9);
  EXPECT_EQ(Messages(), std::vector<std::string>{"ข้ อ ม ู ล วัน เดือน ปี ผิด ต้องตรวจสอบทันที"});
  EXPECT_EQ(StoredLines("HALL1000002", {"qty"}).size(), 2u);
}

TEST_F(UsageVoucherLines, ADeleteAskedYesRemovesTheSelectedLineOnly) {
  Tadd_edit& w = Open();
  PickSite(w, "H01");
  Dialogs().Answer(mrNo);
  user::Click(*w.Button7);
  EXPECT_EQ(StoredLines("HALL1000002", {"accessory_no"}).size(), 2u);
  Dialogs().Answer(mrYes);
  user::Click(*w.Button7);
  EXPECT_EQ(StoredLines("HALL1000002", {"accessory_no"}), (Rows{{"P01"}}));
  EXPECT_EQ(seen::RowCount(*w.DBGrid2), 1);
}

}  // namespace
