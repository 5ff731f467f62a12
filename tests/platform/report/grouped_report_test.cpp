#include <gtest/gtest.h>

#include <map>

#include "platform/rtl/FormatFloat.h"
#include "tests/platform/report/ReportTestSupport.h"

namespace {

constexpr const char* kMoney = "##,###,##0.00";

// The staff list of the report windows: 45 rows in three groups of unequal
// size, Letter portrait with 10 mm margins, sums per group, per page and in all.
class GroupedReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<StaffRow> rows;
    for (int i = 1; i <= 45; ++i) {
      const std::string group = i <= 12 ? "A" : i <= 30 ? "B" : "C";
      const double salary = i == 1 ? 1250.50 : 1000 + i * 37.25;
      rows.push_back({"P" + std::to_string(i), "ชื่อ " + std::to_string(i), salary, group});
      group_sums[group] += salary;
      total += salary;
    }
    query = StaffQuery(&host, rows);

    report = new TQuickRep(&host);
    report->SetName("QuickRep1");
    report->SetDataSet(query);
    report->Page().SetPaperSize(TQRPaperSize::Letter);
    for (auto set : {&TQRPage::SetTopMargin, &TQRPage::SetBottomMargin, &TQRPage::SetLeftMargin,
                     &TQRPage::SetRightMargin}) {
      (report->Page().*set)(10);
    }

    TQRBand* title = AddBand(report, "TitleBand1", rbTitle, 40);
    TQRLabel* caption = AddLabel(title, "QRLabel1", "รายงานเจ้าหน้าที่", 0, 4);
    caption->Font().SetSize(18);
    caption->SetAlignment(taCenter);
    caption->SetAlignToBand(true);

    TQRBand* page_header = AddBand(report, "PageHeaderBand1", rbPageHeader, 24);
    AddItem<TQRSysData>(page_header, "QRSysData1", 500, 2)->SetData(qrsDate);

    TQRBand* columns = AddBand(report, "ColumnHeaderBand1", rbColumnHeader, 24);
    AddLabel(columns, "QRLabel2", "ที่", 0, 2);
    AddLabel(columns, "QRLabel3", "รหัส", 40, 2);
    AddLabel(columns, "QRLabel4", "ชื่อ", 120, 2);
    AddLabel(columns, "QRLabel5", "เงินเดือน", 400, 2);

    group = new TQRGroup(report);
    group->SetName("QRGroup1");
    group->SetExpression("Query1.per_group");
    group->SetHeight(24);
    auto* group_text = AddItem<TQRDBText>(group, "QRDBText0", 0, 2);
    group_text->SetDataSet(query);
    group_text->SetDataField("per_group");

    detail = AddBand(report, "DetailBand1", rbDetail, 24);
    AddItem<TQRSysData>(detail, "QRSysData2", 0, 2)->SetData(qrsDetailNo);
    for (auto [name, field, left] : {std::tuple{"QRDBText1", "per_no", 40}, {"QRDBText2", "per_name", 120}}) {
      auto* text = AddItem<TQRDBText>(detail, name, left, 2);
      text->SetDataSet(query);
      text->SetDataField(field);
    }
    auto* salary = AddItem<TQRDBText>(detail, "QRDBText3", 400, 2);
    salary->SetDataSet(query);
    salary->SetDataField("per_salary");
    salary->SetMask(kMoney);
    salary->SetAlignment(taRightJustify);

    TQRBand* footer = AddBand(report, "GroupFooterBand1", rbGroupFooter, 24);
    group->SetFooterBand(footer);
    auto* footer_group = AddItem<TQRDBText>(footer, "QRDBText4", 0, 2);
    footer_group->SetDataSet(query);
    footer_group->SetDataField("per_group");
    auto* group_sum = AddItem<TQRExpr>(footer, "QRExpr1", 400, 2);
    group_sum->SetExpression("SUM(Query1.per_salary)");
    group_sum->SetMask(kMoney);

    TQRBand* summary = AddBand(report, "SummaryBand1", rbSummary, 30);
    auto* total_sum = AddItem<TQRExpr>(summary, "QRExpr2", 400, 4);
    total_sum->SetExpression("SUM(Query1.per_salary)");
    total_sum->SetMask(kMoney);

    TQRBand* page_footer = AddBand(report, "PageFooterBand1", rbPageFooter, 30);
    AddLabel(page_footer, "QRLabel6", "หน้า", 560, 4);
    AddItem<TQRSysData>(page_footer, "QRSysData3", 600, 4)->SetData(qrsPageNumber);
    auto* page_sum = AddItem<TQRExpr>(page_footer, "QRExpr3", 400, 4);
    page_sum->SetExpression("sum( Query1 . per_salary )");
    page_sum->SetMask(kMoney);
  }

  // The group footers' texts and sums must be those of the groups, in order.
  void ExpectGroupFooters(const TQRPrintedReport& printed) {
    const auto keys = AllItems(printed, "QRDBText4");
    const auto sums = AllItems(printed, "QRExpr1");
    ASSERT_EQ(3u, keys.size());
    ASSERT_EQ(3u, sums.size());
    for (size_t i = 0; i < keys.size(); ++i) {
      EXPECT_EQ(FormatFloat(kMoney, group_sums[keys[i]->text]), sums[i]->text) << "group " << keys[i]->text;
    }
    EXPECT_EQ("A", keys[0]->text);
    EXPECT_EQ("C", keys[2]->text);
    const auto totals = AllItems(printed, "QRExpr2");
    ASSERT_EQ(1u, totals.size());
    EXPECT_EQ(FormatFloat(kMoney, total), totals[0]->text);
    EXPECT_NE(nullptr, printed.pages.back().Find("QRExpr2"));
  }

  TComponent host{nullptr};
  TArrayDataSet* query = nullptr;
  TQuickRep* report = nullptr;
  TQRGroup* group = nullptr;
  TQRBand* detail = nullptr;
  std::map<std::string, double> group_sums;
  double total = 0;
};

TEST_F(GroupedReportTest, PrintsTitleRowsAndEverySum) {
  const TQRPrintedReport printed = report->Render();
  ASSERT_GE(printed.PageCount(), 2);

  const TQRPrintedPage& first = printed.pages[0];
  ASSERT_NE(nullptr, first.FindText("รายงานเจ้าหน้าที่"));
  EXPECT_EQ(1u, AllItems(printed, "QRLabel1").size()) << "the title prints on page 1 only";
  for (const char* caption : {"ที่", "รหัส", "ชื่อ", "เงินเดือน"}) EXPECT_NE(nullptr, first.FindText(caption));
  ASSERT_FALSE(first.FindAll("QRDBText3").empty());
  EXPECT_EQ("1,250.50", first.FindAll("QRDBText3")[0]->text);
  EXPECT_EQ(45u, AllItems(printed, "QRDBText3").size());
  EXPECT_EQ("45", AllItems(printed, "QRSysData2").back()->text);

  for (const TQRPrintedPage& page : printed.pages) {
    SCOPED_TRACE("page " + std::to_string(page.number));
    ASSERT_NE(nullptr, page.Find("QRLabel6"));
    EXPECT_EQ("หน้า", page.Find("QRLabel6")->text);
    ASSERT_NE(nullptr, page.Find("QRSysData3"));
    EXPECT_EQ(std::to_string(page.number), page.Find("QRSysData3")->text);
    double page_rows = 0;
    for (const TQRPrintedItem* salary : page.FindAll("QRDBText3")) page_rows += Amount(salary->text);
    ASSERT_NE(nullptr, page.Find("QRExpr3"));
    EXPECT_EQ(FormatFloat(kMoney, page_rows), page.Find("QRExpr3")->text);
    // Column captions head every page; the page footer sits on the bottom margin.
    EXPECT_NE(nullptr, page.Find("QRLabel5"));
    ASSERT_EQ(1u, page.BandsOf(rbPageFooter).size());
    EXPECT_NEAR(279.4 - 10, page.BandsOf(rbPageFooter)[0]->bounds.Bottom(), 1e-6);
    for (const TQRPrintedBand& band : page.bands) {
      EXPECT_LE(band.bounds.Bottom(), 279.4 - 10 + 1e-6) << band.name;
      if (band.type != rbPageFooter) {
        EXPECT_LE(band.bounds.Bottom(), page.BandsOf(rbPageFooter)[0]->bounds.top + 1e-6) << band.name;
      }
    }
  }
  ExpectGroupFooters(printed);
}

TEST_F(GroupedReportTest, GroupFootersReadTheLastRowOfTheirGroup) {
  auto* last_no = AddItem<TQRDBText>(group->FooterBand(), "QRDBText5", 200, 2);
  last_no->SetDataSet(query);
  last_no->SetDataField("per_no");
  const TQRPrintedReport report_pages = report->Render();
  const auto printed = AllItems(report_pages, "QRDBText5");
  ASSERT_EQ(3u, printed.size());
  EXPECT_EQ("P12", printed[0]->text);
  EXPECT_EQ("P30", printed[1]->text);
  EXPECT_EQ("P45", printed[2]->text);
}

TEST_F(GroupedReportTest, SummaryLayoutWithoutDetailKeepsTheGroupSums) {
  report->BeforePrint = [&](TQuickRep*, bool&) { detail->SetEnabled(false); };
  int detail_events = 0;
  detail->BeforePrint = [&](TQRBand*, bool&) { ++detail_events; };
  const TQRPrintedReport printed = report->Render();
  EXPECT_TRUE(AllItems(printed, "QRDBText3").empty());
  EXPECT_TRUE(AllItems(printed, "QRSysData2").empty());
  EXPECT_EQ(0, detail_events) << "a disabled band runs no events";
  ExpectGroupFooters(printed);
}

TEST_F(GroupedReportTest, DetailLeftOutByItsHandlerStillCountsInTheSums) {
  detail->BeforePrint = [&](TQRBand*, bool& print) {
    print = query->FieldByName("per_group")->AsString() != "B";
  };
  const TQRPrintedReport printed = report->Render();
  EXPECT_EQ(12u + 15u, AllItems(printed, "QRDBText3").size());
  ExpectGroupFooters(printed);
}

TEST_F(GroupedReportTest, DisabledGroupHeaderKeepsTheGroupWorking) {
  group->SetEnabled(false);
  const TQRPrintedReport printed = report->Render();
  EXPECT_TRUE(AllItems(printed, "QRDBText0").empty());
  ExpectGroupFooters(printed);
}

TEST_F(GroupedReportTest, GroupHeaderPrintsBeforeEachGroup) {
  const TQRPrintedReport printed = report->Render();
  const auto headers = AllItems(printed, "QRDBText0");
  ASSERT_EQ(3u, headers.size());
  EXPECT_EQ("A", headers[0]->text);
  EXPECT_EQ("B", headers[1]->text);
  EXPECT_EQ("C", headers[2]->text);
}

}  // namespace
