// The donation report and the donation report by purpose: the run over a
// period, the totals, the purpose filter, the two printed layouts and the
// export.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/core/myVar.h"
#include "app/donation/Rep_Donate.h"
#include "app/donation/Rep_Donate_Filter.h"
#include "tests/app/donation/support/DonationReportTest.h"

namespace {

using Texts = std::vector<std::string>;

const ServedShape kDonationLines{{{"BILL_NO", ftString, 11},
                                  {"BILL_DATE", ftDate},
                                  {"CUST_NAME", ftString, 100},
                                  {"ACCESSORY_NO", ftString, 15},
                                  {"ACCESSORY_NAME", ftString, 80},
                                  {"QTY", ftFloat},
                                  {"UNIT_NAME", ftString, 10},
                                  {"PRICE", ftFloat},
                                  {"TOTAL", ftFloat}},
                                 "BILL_DATE"};
const ServedShape kPurposes{{{"accessory_no", ftString, 13}, {"accessory_name", ftString, 40}}, ""};

const TDateTime kDay = EncodeDate(2024, 3, 10);

std::vector<Variant> Line(const char* bill, TDateTime date, const char* donor, const char* purpose_no,
                          const char* purpose, double total) {
  return {bill, Variant::Date(date), donor, purpose_no, purpose, 1.0, "บาท", total, total};
}

// Lines of 9 and 10 March 2024, served sorted by purpose name.
std::vector<std::vector<Variant>> TwoDaysOfLines() {
  return {Line("DONA0000001", kDay - 1, "นายก่อน", "001", "บำรุงวัด", 999),
          Line("DONA0000002", kDay, "นายสมชาย ใจดี", "001", "บำรุงวัด", 1000),
          Line("DONA0000003", kDay, "O'Neil Smith", "001", "บำรุงวัด", 200.5),
          Line("DONA0000002", kDay, "นายสมชาย ใจดี", "003", "สร้างศาลา", 300)};
}

using DonationReport = DonationReportTest;

TEST_F(DonationReport, ADaysLinesAreListedWithTheirDonorsAndTotalled) {
  auto& w = OpenServed<TRep_Donate>({kDonationLines});
  EXPECT_EQ(seen::Caption(w), "รายงานการบริจาค");
  EXPECT_EQ(w.Left(), 3);
  EXPECT_EQ(w.Top(), 5);
  Served().served = TwoDaysOfLines();
  SetPeriod(w, kDay, kDay);
  user::Click(*w.RunButton);

  const QueryStatement& run = Served().runs.at(0);
  EXPECT_EQ(ServedQuery::Parameter(run, "mBegin")->AsDateTime(), kDay) << "the start day itself";
  EXPECT_EQ(ServedQuery::Parameter(run, "mEnd")->AsDateTime(), kDay);
  EXPECT_EQ(run.lines, (Texts{" select donate.* , customer.cust_name, customer.cust_birth  ", " from donate, customer ",
                              " where donate.cust_no = customer.cust_no ",
                              " and (donate.bill_date between :mBegin and :mEnd) ", " order by bill_date "}));
  ASSERT_EQ(seen::RowCount(*w.DBGrid1), 3);
  EXPECT_EQ(seen::Cell(*w.DBGrid1, 0, 0), "DONA0000002");
  EXPECT_EQ(seen::Cell(*w.DBGrid1, 0, 1), "10/03/2567");
  EXPECT_EQ(seen::Cell(*w.DBGrid1, 0, 2), "นายสมชาย ใจดี");
  EXPECT_EQ(seen::Cell(*w.DBGrid1, 1, 2), "O'Neil Smith");
  EXPECT_EQ(seen::Cell(*w.DBGrid1, 0, 7), "1,000.00");
  EXPECT_EQ(seen::Text(w.Label8), "1,500.50");
  EXPECT_DOUBLE_EQ(myVar.ReportTotals[0], 1500.5);
  EXPECT_DOUBLE_EQ(myVar.ReportTotals[2], 1500.5);
  EXPECT_DOUBLE_EQ(myVar.ReportTotals[5], 1500.5);

  user::ClickItem(*w.RadioGroup1, 2);
  EXPECT_EQ(Served().runs.back().lines.back(), " order by accessory_name ") << "the sort choice runs at once";

  SetPeriod(w, kDay + 1, kDay + 1);
  user::Click(*w.RunButton);
  EXPECT_EQ(seen::Text(w.Label8), "0.00");
  for (TButton* print : w.PrintButtons) EXPECT_FALSE(print->Enabled());
  EXPECT_FALSE(w.ExportButton->Enabled());
}

TEST_F(DonationReport, LayoutOnePrintsTheLinesWithPageSumsAndLayoutTwoOneLinePerPurpose) {
  auto& w = OpenServed<TRep_Donate>({kDonationLines});
  Served().served = TwoDaysOfLines();
  SetPeriod(w, kDay, kDay);
  user::ClickItem(*w.RadioGroup1, 2);

  user::Click(*w.PrintButtons.at(1));
  EXPECT_EQ(Printed("Group_ACCESSORY_NAME"), (Texts{"บำรุงวัด", "สร้างศาลา"}));
  EXPECT_EQ(Printed("GroupSum"), (Texts{"1,200.50", "300.00"}));
  EXPECT_EQ(Printed("Group_bill_date"), (Texts{"10/03/2567", "10/03/2567"}));
  EXPECT_TRUE(Printed("Line_bill_no").empty());
  EXPECT_TRUE(Printed("PageSum").empty());
  EXPECT_EQ(Preview().Last().pages.at(0).FindText("ชื่อผู้บริจาค"), nullptr);

  user::Click(*w.PrintButtons.at(0));
  const TQRPrintedPage& page = Preview().Last().pages.at(0);
  EXPECT_NE(page.FindText("รายงานการบริจาค"), nullptr);
  for (const char* caption : {"เลขใบสำคัญ", "วันที่", "ชื่อผู้บริจาค", "รายการ", "จำนวน", "หน่วยนับ", "ราคาต่อหน่วย",
                              "เป็นเงินทั้งสิ้น"})
    EXPECT_NE(page.FindText(caption), nullptr) << caption;
  EXPECT_EQ(Printed("Line_cust_name"), (Texts{"นายสมชาย ใจดี", "O'Neil Smith", "นายสมชาย ใจดี"}));
  EXPECT_EQ(Printed("Line_bill_date"), (Texts{"10/03/2567", "10/03/2567", "10/03/2567"}));
  EXPECT_EQ(Printed("Line_TOTAL"), (Texts{"1,000.00", "200.50", "300.00"}));
  EXPECT_EQ(Printed("PageSum"), Texts{"1,500.50"});
  EXPECT_TRUE(Printed("GroupSum").empty());
}

TEST_F(DonationReport, EachReportExportsToItsOwnFile) {
  std::filesystem::create_directory(folder_.Path() / "CSV");
  auto export_from = [this](ReportWindow& w, const std::string& file_name) {
    SCOPED_TRACE(file_name);
    Served().served = TwoDaysOfLines();
    SetPeriod(w, kDay, kDay);
    user::Click(*w.RunButton);
    Dialogs().Clear();
    Dialogs().Answer(mrOk);
    Dialogs().Answer(mrOk);
    user::Click(*w.ExportButton);
    ASSERT_EQ(Dialogs().Transcript().size(), 2u);
    EXPECT_EQ(Dialogs().Transcript()[1].text, "ดำเนินการสร้างแฟ้ม CSV\\" + file_name + " เรียบร้อยแล้ว...");
    EXPECT_TRUE(std::filesystem::exists(folder_.Path() / "CSV" / file_name));
  };
  export_from(OpenServed<TRep_Donate>({kDonationLines}), "รายการบริจาค.csv");
  export_from(OpenServed<TRep_Donate_Filter>({kDonationLines, kPurposes}), "รายการบริจาคตามวัตถุประสงค์.csv");
}

using DonationByPurpose = DonationReportTest;

TEST_F(DonationByPurpose, TheFilterIsAParameterOfTheStatementWhateverItHolds) {
  auto& w = OpenServed<TRep_Donate_Filter>({kDonationLines, kPurposes});
  EXPECT_EQ(seen::Caption(w), "รายงานการบริจาค แยกตามวัตถุประสงค์");
  EXPECT_EQ(seen::Text(*w.ExportButton), "EXPORT CSV");
  SetPeriod(w, kDay, kDay);
  struct Case {
    int filter;
    const char* typed;
    const char* condition;  // empty: none
    const char* value;
  };
  for (const Case& c : {Case{1, "ศาลา", " and accessory_name like :mPurpose ", "%ศาลา%"},
                        Case{0, "O'Neil", " and accessory_no = :mPurpose ", "O'Neil"},
                        Case{2, "", "", ""},
                        Case{1, "ค่า'น้ำ", " and accessory_name like :mPurpose ", "%ค่า'น้ำ%"}}) {
    SCOPED_TRACE(c.typed);
    user::ClickItem(*w.RadioGroup2, c.filter);
    EXPECT_TRUE(seen::HasFocus(*w.Edit1));
    user::Type(c.typed);
    user::PressEnter();
    const QueryStatement& run = Served().runs.back();
    EXPECT_EQ(run.lines.at(1), " where (bill_date between :mBegin and :mEnd) ");
    if (*c.condition == 0) {
      EXPECT_EQ(run.lines.size(), 3u);
      EXPECT_EQ(ServedQuery::Parameter(run, "mPurpose"), nullptr);
    } else {
      EXPECT_EQ(run.lines.at(2), c.condition);
      EXPECT_EQ(ServedQuery::Parameter(run, "mPurpose")->AsString(), c.value);
    }
    EXPECT_EQ(run.lines.back(), " order by bill_date ");
    w.Edit1->Clear();
  }
}

TEST_F(DonationByPurpose, OnlyTheRunButtonEnterAndBackFromTheListRun) {
  ServedShape purposes = kPurposes;
  purposes.rows = {{"003", "สร้างศาลา"}, {"001", "บำรุงวัด"}};
  auto& w = OpenServed<TRep_Donate_Filter>({kDonationLines, purposes});
  Served().served = TwoDaysOfLines();
  w.Edit1->SetText("old");
  user::PickDay(*w.Picker1, 10);
  user::ClickItem(*w.RadioGroup1, 3);
  EXPECT_TRUE(Served().runs.empty()) << "picking a day or an order waits for the run";
  EXPECT_EQ(seen::Text(*w.Edit1), "") << "the filter stands on every purpose";
  EXPECT_TRUE(seen::HasFocus(*w.Edit1));

  user::ClickItem(*w.RadioGroup2, 1);
  user::Click(*w.Button1);
  EXPECT_TRUE(seen::Visible(*w.DBGrid2));
  ASSERT_EQ(seen::RowCount(*w.DBGrid2), 2);
  EXPECT_EQ(seen::Cell(*w.DBGrid2, 0, 1), "สร้างศาลา");
  user::ClickCell(*w.DBGrid2, 0, 1);
  user::Click(*w.Button2);
  EXPECT_TRUE(seen::Visible(*w.DBGrid1));
  EXPECT_EQ(seen::Text(*w.Edit1), "สร้างศาลา");
  ASSERT_EQ(Served().runs.size(), 1u);
  EXPECT_EQ(ServedQuery::Parameter(Served().runs[0], "mPurpose")->AsString(), "%สร้างศาลา%");
  EXPECT_EQ(Served().runs[0].lines.back(), " order by accessory_type , accessory_no ");
}

}  // namespace
