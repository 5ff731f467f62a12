// The report windows' shared shape: set-up once, the run with its statement,
// period and totals, print and export following the rows, the printout's bands
// by report kind, and the name filter of the browse-and-print reports.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/core/ProgramVariables.h"
#include "app/core/ReportStatement.h"
#include "app/core/ReportWindow.h"
#include "platform/report/PreviewService.h"
#include "tests/app/core/support/EngineUiTest.h"
#include "tests/app/core/support/ScopedWorkingFolder.h"
#include "tests/app/core/support/MdiFrame.h"
#include "tests/app/core/support/ServedQuery.h"
#include "tests/platform/ui/support/Seen.h"
#include "tests/support/ScratchFolder.h"

namespace {


const TDateTime kStart = EncodeDate(2024, 3, 5);
const TDateTime kEnd = EncodeDate(2024, 3, 9);

ReportLayout DonationLayout() {
  ReportLayout layout;
  layout.shape = ReportShape::Period;
  layout.alias = "d_rep_donation";
  layout.caption = "รายงานการบริจาค";
  layout.title = "รายงานการบริจาคเงิน";
  layout.top = 5;
  layout.left = 3;
  layout.sort_caption = "  จัดเรียงโดย  ";
  layout.sort_items = {"วันที่", "เลขที่"};
  layout.statement = {" select bill_no , bill_date , total from h_bill ",
                      " where (bill_date >=:mBegin) and (bill_date <=:mEnd) "};
  layout.order_lines = {" order by bill_date ", " order by bill_no "};
  layout.money_fields = {"total"};
  layout.print_buttons = {{"รายงาน 1", "1"}, {"รายงาน 2", "2"}};
  layout.csv_name = "รายการบริจาค";
  return layout;
}

class ReportWindowTest : public EngineUiTest {
 protected:
  void SetUp() override {
    EngineUiTest::SetUp();
    ResetProgramVariables();
    MdiFrame::Open();
    previous_preview_ = SetPreviewService(std::make_unique<THeadlessPreview>());
  }
  void TearDown() override {
    SetPreviewService(std::move(previous_preview_));
    EngineUiTest::TearDown();
  }

  ReportWindow& Open(ReportLayout layout, std::string date_field = "bill_date") {
    auto factory = [this, date_field](TComponent& owner, const std::string&) {
      auto query = std::make_unique<ServedQuery>(
          owner,
          std::vector<ArrayFieldDef>{{"bill_no", ftString, 30}, {"bill_date", ftDate}, {"total", ftFloat}},
          date_field);
      query_ = query.get();
      return query;
    };
    window_ = FormsApplication().CreateForm<ReportWindow>(std::move(layout), factory);
    user::ProcessEvents();
    return *window_;
  }

  void Serve(std::vector<std::vector<Variant>> rows) { query_->served = std::move(rows); }
  static Variant Day(TDateTime date) { return Variant::Date(date); }
  THeadlessPreview& Preview() { return static_cast<THeadlessPreview&>(PreviewService()); }

  ReportWindow* window_ = nullptr;
  ServedQuery* query_ = nullptr;
  std::unique_ptr<TQRPreviewService> previous_preview_;
};

TEST_F(ReportWindowTest, SetUpShowsTheWindowAtItsPlaceWithNothingToPrintYet) {
  ReportWindow& window = Open(DonationLayout());
  EXPECT_EQ(seen::Caption(window), "รายงานการบริจาค");
  EXPECT_EQ(window.Left(), 3);
  EXPECT_EQ(window.Top(), 5);
  EXPECT_EQ(seen::Text(*window.TotalLabels.at(0)), "0.00");
  EXPECT_FALSE(window.PrintButtons.at(0)->Enabled());
  EXPECT_FALSE(window.ExportButton->Enabled());
  EXPECT_EQ(window.RadioGroup1->ItemIndex(), 0);
  EXPECT_EQ(window.Picker1->Date(), Date());
  EXPECT_EQ(window.Picker2->Date(), Date());
  EXPECT_TRUE(query_->runs.empty()) << "a period report waits for the user";
  EXPECT_EQ(seen::Text(*window.RunButton), "&ประมวลผล");
}

TEST_F(ReportWindowTest, APeriodTakesItsFirstAndLastDayWholeAndTotalsTheirRows) {
  ReportWindow& window = Open(DonationLayout());
  Serve({{"B1", Day(kStart - 1), 1000.0},
         {"B2", Day(kStart), 1000.25},
         {"B3", Day(kEnd), 234.25},
         {"B4", Day(kEnd + 1), 7.0}});
  window.Picker1->SetDate(kStart);
  window.Picker2->SetDate(kEnd);
  myVar.ReportTotals.fill(99);
  user::Click(*window.RunButton);

  ASSERT_EQ(query_->runs.size(), 1u);
  const QueryStatement& run = query_->runs[0];
  EXPECT_EQ(ServedQuery::Parameter(run, "mBegin")->AsDateTime(), kStart) << "never the day before";
  EXPECT_EQ(ServedQuery::Parameter(run, "mEnd")->AsDateTime(), kEnd);
  EXPECT_EQ(run.lines.back(), " order by bill_date ");
  ASSERT_EQ(seen::RowCount(*window.DBGrid1), 2);
  EXPECT_EQ(seen::Cell(*window.DBGrid1, 0, 0), "B2");
  EXPECT_EQ(seen::Cell(*window.DBGrid1, 0, 1), "05/03/2567");
  EXPECT_EQ(seen::Cell(*window.DBGrid1, 0, 2), "1,000.25");
  EXPECT_EQ(seen::Cell(*window.DBGrid1, 1, 0), "B3");
  EXPECT_EQ(seen::Text(*window.TotalLabels[0]), "1,234.50");
  EXPECT_DOUBLE_EQ(myVar.ReportTotals[0], 1234.5);
  EXPECT_DOUBLE_EQ(myVar.ReportTotals[1], 0) << "every running total is cleared";
  EXPECT_TRUE(window.PrintButtons[0]->Enabled());
  EXPECT_TRUE(window.ExportButton->Enabled());
  EXPECT_EQ(window.PeriodBeginText(), "05/03/2567");
  EXPECT_EQ(window.PeriodEndText(), "09/03/2567");
}

TEST_F(ReportWindowTest, AStartAfterTheEndSelectsNothingAndDisablesOutput) {
  ReportWindow& window = Open(DonationLayout());
  Serve({{"B2", Day(kStart), 1000.25}, {"B3", Day(kEnd), 234.25}});
  window.Picker1->SetDate(kStart);
  window.Picker2->SetDate(kEnd);
  user::Click(*window.RunButton);
  ASSERT_TRUE(window.ExportButton->Enabled());

  window.Picker1->SetDate(kEnd + 1);
  user::Click(*window.RunButton);
  EXPECT_EQ(seen::RowCount(*window.DBGrid1), 0);
  EXPECT_EQ(seen::Text(*window.TotalLabels[0]), "0.00");
  EXPECT_FALSE(window.ExportButton->Enabled());
  for (TButton* print : window.PrintButtons) EXPECT_FALSE(print->Enabled());
}

TEST_F(ReportWindowTest, AFailingStatementLeavesNothingOfTheRunBeforeToPrint) {
  ReportWindow& window = Open(DonationLayout());
  Serve({{"B2", Day(kStart), 1000.25}});
  window.Picker1->SetDate(kStart);
  window.Picker2->SetDate(kStart);
  user::Click(*window.RunButton);
  ASSERT_EQ(seen::Text(*window.TotalLabels[0]), "1,000.25");

  query_->fail_next = "Table 'h_bill' not found";
  Dialogs().Answer(mrOk);
  user::Click(*window.RunButton);
  ASSERT_EQ(Dialogs().Transcript().size(), 1u);
  EXPECT_EQ(Dialogs().Transcript()[0].text, "Table 'h_bill' not found");
  EXPECT_EQ(seen::Text(*window.TotalLabels[0]), "0.00");
  EXPECT_DOUBLE_EQ(myVar.ReportTotals[0], 0);
  EXPECT_FALSE(window.ExportButton->Enabled());
  EXPECT_FALSE(window.PrintButtons[0]->Enabled());
  EXPECT_TRUE(seen::OnScreen(window)) << "the window stays open";
}

TEST_F(ReportWindowTest, ChoosingADayOrASortOrderRunsAtOnce) {
  ReportWindow& window = Open(DonationLayout());
  Serve({{"B2", Day(EncodeDate(2024, 3, 12)), 5.0}});
  window.Picker1->SetDate(EncodeDate(2024, 3, 1));
  window.Picker2->SetDate(EncodeDate(2024, 3, 31));
  user::PickDay(*window.Picker2, 12);
  ASSERT_EQ(query_->runs.size(), 1u);
  EXPECT_EQ(ServedQuery::Parameter(query_->runs[0], "mEnd")->AsDateTime(), EncodeDate(2024, 3, 12));
  EXPECT_EQ(seen::Text(*window.TotalLabels[0]), "5.00");

  user::ClickItem(*window.RadioGroup1, 1);
  ASSERT_EQ(query_->runs.size(), 2u);
  EXPECT_EQ(query_->runs[1].lines.back(), " order by bill_no ");
}

TEST_F(ReportWindowTest, ExportWritesTheFileAndSaysSoOnlyWhenItWasWritten) {
  ScratchFolder folder;
  ScopedWorkingFolder working(folder.Path());
  ReportWindow& window = Open(DonationLayout());
  Serve({{"B2", Day(kStart), 1000.25}});
  window.Picker1->SetDate(kStart);
  window.Picker2->SetDate(kStart);
  user::Click(*window.RunButton);

  Dialogs().Answer(mrOk);
  user::Click(*window.ExportButton);
  ASSERT_EQ(Dialogs().Transcript().size(), 1u) << "without a CSV folder";
  EXPECT_EQ(Dialogs().Transcript()[0].text, "ไม่สามารถดำเนิการได้...");

  Dialogs().Clear();
  std::filesystem::create_directory(folder.Path() / "CSV");
  Dialogs().Answer(mrOk);
  Dialogs().Answer(mrOk);
  user::Click(*window.ExportButton);
  ASSERT_EQ(Dialogs().Transcript().size(), 2u);
  EXPECT_EQ(Dialogs().Transcript()[0].text, "บันทึกลงแฟ้ม  CSV\\รายการบริจาค.csv สำเร็จ...");
  EXPECT_EQ(Dialogs().Transcript()[1].text, "ดำเนินการสร้างแฟ้ม CSV\\รายการบริจาค.csv เรียบร้อยแล้ว...");
  EXPECT_TRUE(std::filesystem::exists(folder.Path() / "CSV" / "รายการบริจาค.csv"));
}

TEST_F(ReportWindowTest, TheSummaryKindPrintsNoDetailLinesAndNoBandShowsAFormColour) {
  ReportWindow& window = Open(DonationLayout());
  auto& bill_no = *new TQRDBText(&window.DetailBand);
  bill_no.SetName("QRDBText1");
  bill_no.SetDataSet(&window.Query1.Rows());
  bill_no.SetDataField("bill_no");
  window.DetailBand.SetColor(clLime);
  window.SummaryBand.SetColor(clYellow);
  Serve({{"B2", Day(kStart), 1.0}, {"B3", Day(kStart), 2.0}});
  window.Picker1->SetDate(kStart);
  window.Picker2->SetDate(kStart);
  user::Click(*window.RunButton);

  user::Click(*window.PrintButtons[0]);
  const TQRPrintedPage& detail = Preview().Last().pages.at(0);
  EXPECT_EQ(detail.FindAll("QRDBText1").size(), 2u);
  EXPECT_NE(detail.FindText("รายงานการบริจาคเงิน"), nullptr);
  for (const TQRPrintedBand& band : detail.bands) EXPECT_EQ(band.color, clWhite) << band.name;

  user::Click(*window.PrintButtons[1]);
  const TQRPrintedPage& summary = Preview().Last().pages.at(0);
  EXPECT_TRUE(summary.FindAll("QRDBText1").empty());
  EXPECT_TRUE(summary.BandsOf(rbDetail).empty());
  EXPECT_FALSE(summary.BandsOf(rbSummary).empty());
  EXPECT_EQ(window.ReportKind(), "2");
}

TEST_F(ReportWindowTest, TheMonthPeriodIsSetOnceAtTheFirstActivation) {
  ReportLayout layout = DonationLayout();
  layout.period_start = ReportPeriodStart::CurrentMonth;
  layout.run_at_setup = true;
  ReportWindow& window = Open(layout);
  int year = 0, month = 0, day = 0;
  DecodeDate(Date(), year, month, day);
  EXPECT_EQ(window.Picker1->Date(), EncodeDate(year, month, 1));
  EXPECT_EQ(window.Picker2->Date(), EncodeDate(year, month, DaysInMonth(year, month)));
  EXPECT_EQ(query_->runs.size(), 1u) << "this report shows its rows at once";

  window.Picker1->SetDate(kStart);
  auto* other = FormsApplication().CreateForm<ReportWindow>(DonationLayout(), [](TComponent& owner, const std::string&) {
    return std::make_unique<ServedQuery>(owner, std::vector<ArrayFieldDef>{{"total", ftFloat}}, "");
  });
  user::ProcessEvents();
  user::ActivateWindow(window);
  user::ProcessEvents();
  EXPECT_EQ(window.Picker1->Date(), kStart) << "a second activation sets nothing up";
  EXPECT_EQ(query_->runs.size(), 1u);
  other->Close();
}

TEST_F(ReportWindowTest, ANameFiltersByAnyPartOfItTrimmedAndShowAllDropsTheFilter) {
  ReportLayout layout;
  layout.shape = ReportShape::BrowseAndPrint;
  layout.alias = "d_rep_item";
  layout.caption = "รายการวัสดุ";
  layout.statement = {" select bill_no , bill_date , total from h_bill "};
  layout.name_field = "bill_no";
  layout.name_condition = " where bill_no like :pName ";
  layout.name_parameter = "pName";
  layout.print_buttons = {{"พิมพ์", "1"}};
  ReportWindow& window = Open(layout, "");
  Serve({{"ศาลา 1", Day(kStart), 1.0}});

  window.Edit1->SetFocus();
  user::Type("  ศาลา ");
  user::PressEnter();
  ASSERT_EQ(query_->runs.size(), 1u);
  EXPECT_EQ(query_->runs[0].lines.back(), " where bill_no like :pName ");
  EXPECT_EQ(ServedQuery::Parameter(query_->runs[0], "pName")->AsString(), "%ศาลา%");

  user::Click(*window.ShowAllButton);
  ASSERT_EQ(query_->runs.size(), 2u);
  EXPECT_EQ(seen::Text(*window.Edit1), "");
  EXPECT_EQ(query_->runs[1].lines, layout.statement);
  EXPECT_TRUE(query_->runs[1].parameters.empty());

  user::ClickCell(*window.DBGrid1, 0, 0);
  EXPECT_EQ(seen::Text(*window.Edit1), "ศาลา 1");
  EXPECT_TRUE(seen::HasFocus(*window.Edit1));
}

TEST_F(ReportWindowTest, AListReportRunsInTheChosenOrderWhenItPrints) {
  ReportLayout layout;
  layout.shape = ReportShape::List;
  layout.alias = "d_per";
  layout.caption = "รายชื่อพระ - นักบวช";
  layout.title = "ทะเบียนรายชื่อพระ - นักบวช";
  layout.sort_caption = "  จัดเรียงลำดับโดย  ";
  layout.sort_items = {"รหัส", "ชื่อ"};
  layout.statement = {" Select * from h_person "};
  layout.order_lines = {" order by per_no ", " order by per_name "};
  layout.print_buttons = {{"รายงาน", "1"}};
  ReportWindow& window = Open(layout, "");
  EXPECT_EQ(window.DBGrid1, nullptr);

  user::ClickItem(*window.RadioGroup1, 1);
  EXPECT_TRUE(query_->runs.empty()) << "a list report runs when it prints";
  user::Click(*window.PrintButtons.at(0));
  ASSERT_EQ(query_->runs.size(), 1u);
  EXPECT_EQ(query_->runs[0].lines, (std::vector<std::string>{" Select * from h_person ", " order by per_name "}));
  ASSERT_EQ(Preview().Previews().size(), 1u);
  EXPECT_NE(Preview().Last().pages.at(0).FindText("ทะเบียนรายชื่อพระ - นักบวช"), nullptr)
      << "an empty list still prints its title";
}

// A search report of its own criterion: one condition with its parameter, and
// the number of runs that finished.
class CriterionReport : public ReportWindow {
 public:
  using ReportWindow::ReportWindow;
  std::string criterion = "B2";
  int runs_done = 0;

 protected:
  void AddConditions(std::vector<std::string>& lines, std::vector<QueryParameter>& parameters) override {
    lines.push_back(" where bill_no = :pBill ");
    parameters.push_back({"pBill", Variant(criterion)});
  }
  void RunDone() override { ++runs_done; }
};

TEST_F(ReportWindowTest, ASearchReportAddsItsConditionsBeforeTheOrderAndHasNoPeriod) {
  ReportLayout layout = DonationLayout();
  layout.shape = ReportShape::Search;
  layout.statement = {" select bill_no , bill_date , total from h_bill "};
  auto* window = FormsApplication().CreateForm<CriterionReport>(layout, [this](TComponent& owner, const std::string&) {
    auto query = std::make_unique<ServedQuery>(
        owner, std::vector<ArrayFieldDef>{{"bill_no", ftString, 30}, {"bill_date", ftDate}, {"total", ftFloat}}, "");
    query_ = query.get();
    return query;
  });
  user::ProcessEvents();
  EXPECT_EQ(window->Picker1, nullptr);
  EXPECT_TRUE(window->PrintButtons.at(0)->Enabled()) << "a search prints also what it has not found";

  user::Click(*window->RunButton);
  ASSERT_EQ(query_->runs.size(), 1u);
  EXPECT_EQ(query_->runs[0].lines,
            (std::vector<std::string>{" select bill_no , bill_date , total from h_bill ", " where bill_no = :pBill ",
                                      " order by bill_date "}));
  ASSERT_EQ(query_->runs[0].parameters.size(), 1u) << "no period";
  EXPECT_EQ(ServedQuery::Parameter(query_->runs[0], "pBill")->AsString(), "B2");
  EXPECT_EQ(window->runs_done, 1) << "also a run that found nothing";
  EXPECT_TRUE(window->PrintButtons.at(0)->Enabled());

  query_->fail_next = "Table 'h_bill' not found";
  Dialogs().Answer(mrOk);
  user::Click(*window->RunButton);
  EXPECT_EQ(window->runs_done, 1) << "a failed run is not done";
}

TEST(ReportStatementTest, OneOrderLineBySortIndexAndNoneOutsideTheList) {
  const std::vector<std::string> fixed{" Select * from h_person "};
  const std::vector<std::string> order{" order by per_no ", " order by per_name "};
  struct Case {
    int index;
    std::vector<std::string> lines;
  };
  for (const Case& c : {Case{0, {fixed[0], order[0]}}, Case{1, {fixed[0], order[1]}}, Case{-1, fixed},
                        Case{2, fixed}}) {
    EXPECT_EQ(ReportStatement(fixed, order, c.index).lines, c.lines) << c.index;
  }
}

}  // namespace
