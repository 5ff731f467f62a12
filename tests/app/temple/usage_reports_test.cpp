// The usage reports on a real file: the period with both end days, the kind
// of voucher by the fifth character of its number, the site lines only in
// Trep_use_land, the name filter that a date change drops, and the printed
// sum of the listed totals.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/temple/rep_use.h"
#include "platform/report/PreviewService.h"
#include "platform/rtl/DateTime.h"
#include "tests/app/core/support/TempleWindowTest.h"
#include "tests/platform/ui/support/Seen.h"
#include "tests/platform/ui/support/User.h"

namespace {

using Names = std::vector<std::string>;

class UsageReports : public TempleWindowTest {
 protected:
  void SetUp() override {
    TempleWindowTest::SetUp();
    auto preview = std::make_unique<THeadlessPreview>();
    preview_ = preview.get();
    previous_preview_ = SetPreviewService(std::move(preview));
    const auto line = [](const char* number, const char* date, const char* name, const char* type,
                         const char* total) -> TableRow {
      return {"h_temple", {{"work_no", number}, {"work_date", date}, {"accessory_name", name},
                           {"accessory_type", type}, {"qty", "1"}, {"price", total}, {"total", total}}};
    };
    Store({line("HALL1000001", "29/02/2024", "ศาลาก่อนเดือน", "0", "700"),
           line("HALL1000002", "01/03/2024", "ศาลาการเปรียญ", "0", "1000"),
           line("HALL1000002", "01/03/2024", "ค่าน้ำ", "1", "100"),
           line("LAND2000001", "15/03/2024", "ที่ดินแปลงหนึ่ง", "0", "300"),
           line("HALL1000003", "31/03/2024", "ศาลาเล็ก", "0", "500.25"),
           line("HALL1000003", "31/03/2024", "เครื่องเสียง", "2", "50")});
  }
  void TearDown() override {
    TempleWindowTest::TearDown();
    SetPreviewService(std::move(previous_preview_));
  }

  template <typename T>
  T& Open(int mode) {
    myVar.UseAllReportMode = mode;
    myVar.UseLandReportMode = mode;
    auto* window = FormsApplication().CreateForm<T>();
    user::ProcessEvents();
    window->Picker1->SetDate(EncodeDate(2024, 3, 1));
    window->Picker2->SetDate(EncodeDate(2024, 3, 31));
    user::Click(*window->ShowAllButton);
    return *window;
  }

  static Names Listed(ReportWindow& w) {
    Names names;
    TDataSet& rows = w.Query1.Rows();
    for (rows.First(); !rows.Eof(); rows.Next()) names.push_back(rows.FieldByName("accessory_name")->AsString());
    return names;
  }

  std::string PrintedSum(ReportWindow& w) {
    user::Click(*w.PrintButtons.at(0));
    user::ProcessEvents();
    return preview_->Last().pages.at(0).Find("QRExpr1")->text;
  }

  THeadlessPreview* preview_ = nullptr;
  std::unique_ptr<TQRPreviewService> previous_preview_;
};

TEST_F(UsageReports, AllLinesOfHallVouchersOfThePeriodWithBothEndDays) {
  Trep_use_all& w = Open<Trep_use_all>(1);
  EXPECT_EQ(seen::Caption(w), "รายงานการใช้ศาลา - อาคาร และอื่น ๆ");
  EXPECT_EQ(Listed(w), (Names{"ศาลาการเปรียญ", "ค่าน้ำ", "ศาลาเล็ก", "เครื่องเสียง"}));
  EXPECT_EQ(PrintedSum(w), "1,650.25");
  EXPECT_EQ(preview_->Last().pages.at(0).Find("QRDBText_work_date")->text, "01/03/2567") << "Buddhist-era dates";
  EXPECT_NE(preview_->Last().pages.at(0).FindText("รายงานการใช้ศาลา - อาคาร และอื่น ๆ"), nullptr);
}

TEST_F(UsageReports, TheNameFilterKeepsMatchingLinesUntilADateChanges) {
  Trep_use_all& w = Open<Trep_use_all>(1);
  w.Edit1->SetFocus();
  user::Type(" ศาลา ");
  user::PressEnter();
  EXPECT_EQ(Listed(w), (Names{"ศาลาการเปรียญ", "ศาลาเล็ก"}));
  EXPECT_EQ(PrintedSum(w), "1,500.25");
  user::PickDay(*w.Picker2, 31);
  EXPECT_EQ(Listed(w).size(), 4u) << "a date change lists the period without the name";
  EXPECT_EQ(seen::Text(*w.Edit1), " ศาลา ");
}

TEST_F(UsageReports, TheSiteReportLeavesOutUtilityAndArticleLines) {
  struct Case {
    int mode;
    const char* caption;
    Names listed;
    const char* sum;
  };
  for (const Case& c : {Case{1, "รายงานการใช้ศาลา - อาคาร", {"ศาลาการเปรียญ", "ศาลาเล็ก"}, "1,500.25"},
                        Case{2, "รายงานการใช้ที่ดิน (ที่ธรณีสงฆ์)", {"ที่ดินแปลงหนึ่ง"}, "300.00"},
                        Case{0, " รายงานการใช้งานที่ดิน (ที่ธรณีสงฆ์)", {"ศาลาการเปรียญ", "ที่ดินแปลงหนึ่ง", "ศาลาเล็ก"},
                             "1,800.25"}}) {
    SCOPED_TRACE(c.mode);
    Trep_use_land& w = Open<Trep_use_land>(c.mode);
    EXPECT_EQ(w.Tag(), c.mode);
    EXPECT_EQ(seen::Caption(w), c.caption);
    EXPECT_EQ(Listed(w), c.listed);
    EXPECT_EQ(PrintedSum(w), c.sum);
    w.Close();
    user::ProcessEvents();
  }
}

}  // namespace
