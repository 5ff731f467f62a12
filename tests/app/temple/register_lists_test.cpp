// The printed register lists on a real file: the article list that opens
// empty and lists every article on Enter in the empty name box, the name
// filter, the land users sorted by name without the hall users, and the
// address line under each name.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/temple/rep_registers.h"
#include "platform/report/PreviewService.h"
#include "tests/app/core/support/TempleWindowTest.h"
#include "tests/platform/ui/support/Seen.h"
#include "tests/platform/ui/support/User.h"

namespace {

using Texts = std::vector<std::string>;

class RegisterLists : public TempleWindowTest {
 protected:
  void SetUp() override {
    TempleWindowTest::SetUp();
    auto preview = std::make_unique<THeadlessPreview>();
    preview_ = preview.get();
    previous_preview_ = SetPreviewService(std::move(preview));
    Store({{"g_accessory", {{"accessory_no", "A01"}, {"accessory_name", "เครื่องเสียง"}, {"accessory_type", "2"}}},
           {"g_accessory", {{"accessory_no", "A02"}, {"accessory_name", "ผ้าไตร"}, {"accessory_type", "2"}}},
           {"g_room", {{"accessory_no", "H01"}, {"accessory_name", "ศาลาการเปรียญ"}, {"price_1", "1500"}}},
           {"g_room", {{"accessory_no", "H02"}, {"accessory_name", "อาคารเรียน"}, {"price_1", "800"}}},
           {"g_member", {{"mem_no", "0000001"}, {"mem_name", "ก หอประชุม"}}},
           {"g_member_land", {{"mem_no", "0000001"}, {"mem_name", "ฮ สวนหลังวัด"}}},
           {"g_member_land",
            {{"mem_no", "0000002"}, {"mem_name", "ข นาริมน้ำ"}, {"mem_add1", "1 ถนนหนึ่ง"}, {"mem_tel", "02-1234567"}}}});
  }
  void TearDown() override {
    TempleWindowTest::TearDown();
    SetPreviewService(std::move(previous_preview_));
  }

  template <typename T>
  T& Open() {
    auto* window = FormsApplication().CreateForm<T>();
    user::ProcessEvents();
    return *window;
  }

  static Texts Listed(ReportWindow& w, const char* column) {
    Texts texts;
    TDataSet& rows = w.Query1.Rows();
    if (!rows.Active()) return texts;
    for (rows.First(); !rows.Eof(); rows.Next()) texts.push_back(rows.FieldByName(column)->AsString());
    return texts;
  }

  Texts Printed(const char* name) {
    Texts texts;
    for (const TQRPrintedItem* item : preview_->Last().pages.at(0).FindAll(name)) texts.push_back(item->text);
    return texts;
  }

  THeadlessPreview* preview_ = nullptr;
  std::unique_ptr<TQRPreviewService> previous_preview_;
};

TEST_F(RegisterLists, TheArticleListOpensEmptyAndEnterInTheEmptyBoxListsEveryArticle) {
  Trep_h_accessory& w = Open<Trep_h_accessory>();
  EXPECT_EQ(seen::Caption(w), " รายงานทะเบียนสินค้า - บริการ");
  EXPECT_TRUE(Listed(w, "accessory_name").empty());
  w.Edit1->SetFocus();
  user::PressEnter();
  EXPECT_EQ(Listed(w, "accessory_name"), (Texts{"เครื่องเสียง", "ผ้าไตร"}));
  user::Click(*w.PrintButtons.at(0));
  user::ProcessEvents();
  EXPECT_EQ(Printed("QRDBText_accessory_no"), (Texts{"A01", "A02"}));
}

TEST_F(RegisterLists, TheHallListOpensListedAndFiltersByAPartOfTheName) {
  Trep_room& w = Open<Trep_room>();
  EXPECT_EQ(Listed(w, "accessory_no"), (Texts{"H01", "H02"}));
  w.Edit1->SetFocus();
  user::Type("เรียน");
  user::PressEnter();
  EXPECT_EQ(Listed(w, "accessory_no"), (Texts{"H02"}));
  user::Click(*w.ShowAllButton);
  EXPECT_EQ(seen::Text(*w.Edit1), "");
  EXPECT_EQ(Listed(w, "accessory_no").size(), 2u);
}

TEST_F(RegisterLists, TheLandUserListByNameHoldsLandUsersWithTheirAddressLine) {
  TRep_H_Member_Land& w = Open<TRep_H_Member_Land>();
  user::ClickItem(*w.RadioGroup1, 1);
  user::ClickItem(*w.RadioGroup2, 1);
  user::Click(*w.PrintButtons.at(0));
  user::ProcessEvents();
  EXPECT_EQ(Printed("QRDBText_mem_name"), (Texts{"ข นาริมน้ำ", "ฮ สวนหลังวัด"}));
  EXPECT_EQ(Printed("QRLabel8"), (Texts{"1 ถนนหนึ่ง Tel. 02-1234567", ""}));
  EXPECT_EQ(Printed("QRLabel7"), (Texts{"ที่อยู่", "ที่อยู่"}));
  std::vector<double> heights;
  for (const TQRPrintedBand* band : preview_->Last().pages.at(0).BandsOf(rbDetail)) heights.push_back(band->bounds.height);
  ASSERT_EQ(heights.size(), 2u);

  user::ClickItem(*w.RadioGroup2, 0);
  user::Click(*w.PrintButtons.at(0));
  user::ProcessEvents();
  EXPECT_TRUE(Printed("QRLabel8").empty()) << "names only";
  const TQRPrintedBand* short_band = preview_->Last().pages.at(0).BandsOf(rbDetail).at(0);
  EXPECT_LT(short_band->bounds.height, heights[0]);
}

}  // namespace
