// The printed list of monks and staff: its rows in the chosen order through
// the SQL engine, and the salaries added up at the end.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/core/Rep_Person.h"
#include "platform/report/PreviewService.h"
#include "tests/app/core/support/MdiFrame.h"
#include "tests/app/core/support/TempleDatabaseTest.h"
#include "tests/platform/ui/support/User.h"

namespace {

class PersonListReport : public TempleDatabaseTest {
 protected:
  void SetUp() override {
    TempleDatabaseTest::SetUp();
    MdiFrame::Open();
    previous_preview_ = SetPreviewService(std::make_unique<THeadlessPreview>());
  }
  void TearDown() override {
    SetPreviewService(std::move(previous_preview_));
    TempleDatabaseTest::TearDown();
  }

  TRep_Person& Open() {
    auto* window = FormsApplication().CreateForm<TRep_Person>();
    user::ProcessEvents();
    return *window;
  }
  THeadlessPreview& Preview() { return static_cast<THeadlessPreview&>(PreviewService()); }

  static std::vector<std::string> Texts(const TQRPrintedPage& page, std::string_view name) {
    std::vector<std::string> texts;
    for (const TQRPrintedItem* item : page.FindAll(name)) texts.push_back(item->text);
    return texts;
  }

  std::unique_ptr<TQRPreviewService> previous_preview_;
};

TEST_F(PersonListReport, ListsEveryoneInTheChosenOrderAndAddsUpTheSalaries) {
  AppendRows(database_file_, std::vector<TableRow>{
                                 {"h_person", {{"per_no", "P03"}, {"per_name", "ก สมชาย"}, {"per_salary", "12500"}}},
                                 {"h_person", {{"per_no", "P01"}, {"per_name", "ค สมศรี"}, {"per_salary", "9000"}}},
                                 {"h_person", {{"per_no", "P02"}, {"per_name", "ข สมปอง"}, {"per_salary", "0"}}},
                             });
  TRep_Person& window = Open();
  user::Click(*window.PrintButtons.at(0));
  ASSERT_EQ(Preview().Previews().size(), 1u);
  const TQRPrintedPage& by_number = Preview().Last().pages.at(0);
  EXPECT_NE(by_number.FindText("รายงานเจ้าหน้าที่"), nullptr);
  for (const char* caption : {"ที่", "รหัส", "ชื่อ", "เงินเดือน", "ฉายา", "ตำแหน่ง"})
    EXPECT_NE(by_number.FindText(caption), nullptr) << caption;
  EXPECT_EQ(Texts(by_number, "QRDBText1"), (std::vector<std::string>{"P01", "P02", "P03"}));
  EXPECT_EQ(Texts(by_number, "QRSysData1"), (std::vector<std::string>{"1", "2", "3"}));
  ASSERT_NE(by_number.Find("QRExpr1"), nullptr);
  EXPECT_EQ(by_number.Find("QRExpr1")->text, "21,500.00");

  user::ClickItem(*window.RadioGroup1, 1);
  user::Click(*window.PrintButtons.at(0));
  EXPECT_EQ(Texts(Preview().Last().pages.at(0), "QRDBText1"), (std::vector<std::string>{"P03", "P02", "P01"}));
}

TEST_F(PersonListReport, AnEmptyRegisterStillPrintsOnePage) {
  TRep_Person& window = Open();
  user::Click(*window.PrintButtons.at(0));
  ASSERT_EQ(Preview().Previews().size(), 1u);
  EXPECT_EQ(Preview().Last().PageCount(), 1);
  EXPECT_TRUE(Preview().Last().pages.at(0).FindAll("QRDBText1").empty());
}

}  // namespace
