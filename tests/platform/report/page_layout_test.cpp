#include <gtest/gtest.h>

#include "tests/platform/report/ReportTestSupport.h"

namespace {

constexpr double kMm = 1e-6;

TEST(PageLayoutTest, ItemsMovedInBeforePrintPrintWhereTheyWereMoved) {
  struct Case {
    int left;
    double millimetres;
  };
  for (const Case& c : {Case{123, 32.5}, Case{39, 10.3}}) {
    DonationReceipt receipt;
    TQRLabel* name = AddLabel(receipt.header, "QRLabel20", "วัดตัวอย่าง", 65, 10);
    TQRLabel* hidden = AddLabel(receipt.header, "QRLabel37", "รหัสพนักงาน", 0, 10);
    receipt.report->BeforePrint = [&](TQuickRep* report, bool&) {
      report->Page().SetLeftMargin(5);
      name->SetLeft(c.left);
      name->SetCaption("วัดป่าตัวอย่าง");
      hidden->SetEnabled(false);
    };
    const TQRPrintedReport printed = receipt.report->Render();
    ASSERT_EQ(1, printed.PageCount());
    const TQRPrintedItem* item = printed.pages[0].Find("QRLabel20");
    ASSERT_NE(nullptr, item);
    const double band_left = printed.pages[0].BandsOf(rbPageHeader)[0]->bounds.left;
    EXPECT_NEAR(5, band_left, kMm);
    EXPECT_NEAR(c.millimetres, item->bounds.left - band_left, 0.05) << "Left " << c.left;
    EXPECT_EQ("วัดป่าตัวอย่าง", item->text);
    EXPECT_EQ(nullptr, printed.pages[0].Find("QRLabel37"));
  }
}

TEST(PageLayoutTest, BandHeightSetPerRowMovesTheRowsBelow) {
  DonationReceipt receipt;
  receipt.detail->BeforePrint = [&](TQRBand* band, bool&) {
    band->SetHeight(receipt.lines->FieldByName("per_no")->AsString() == "2" ? 48 : 23);
  };
  const TQRPrintedReport printed = receipt.report->Render();
  const auto rows = printed.pages[0].FindAll("QRDBText1");
  ASSERT_EQ(3u, rows.size());
  EXPECT_NEAR(23 * 25.4 / 96, rows[1]->bounds.top - rows[0]->bounds.top, kMm);
  EXPECT_NEAR(12.7, rows[2]->bounds.top - rows[1]->bounds.top, kMm);
}

TEST(PageLayoutTest, CustomPaperKeepsEveryItemInsideTheMarginsSetInBeforePrint) {
  DonationReceipt receipt;
  const TQRPrintedReport printed = receipt.report->Render();
  EXPECT_DOUBLE_EQ(215.9, printed.paper_width);
  EXPECT_DOUBLE_EQ(139.7, printed.paper_length);
  ASSERT_EQ(1, printed.PageCount());
  const TQRPrintedPage& page = printed.pages[0];
  for (const TQRPrintedItem& item : page.items) {
    EXPECT_GE(item.bounds.left, 5 - kMm) << item.name;
    EXPECT_GE(item.bounds.top, 10 - kMm) << item.name;
  }
  ASSERT_EQ(1u, page.BandsOf(rbPageFooter).size());
  EXPECT_NEAR(127.7, page.BandsOf(rbPageFooter)[0]->bounds.Bottom(), kMm);
  EXPECT_NEAR(10, page.BandsOf(rbPageHeader)[0]->bounds.top, kMm);
  EXPECT_EQ("400.00", page.Find("QRLabel53")->text);
}

TEST(PageLayoutTest, NegativeMarginPrintsAsZero) {
  DonationReceipt receipt;
  receipt.print_top = 30;  // bottom margin 22 - 30
  const TQRPrintedReport printed = receipt.report->Render();
  EXPECT_DOUBLE_EQ(0, receipt.report->Page().BottomMargin());
  EXPECT_NEAR(139.7, printed.pages[0].BandsOf(rbPageFooter)[0]->bounds.Bottom(), kMm);
}

TEST(PageLayoutTest, MarginsLeavingNoRoomRaiseAClearError) {
  struct Case {
    double top, bottom, left, right;
  };
  for (const Case& c : {Case{70, 69.7, 5, 5}, Case{100, 50, 5, 5}, Case{10, 10, 110, 105.9}}) {
    DonationReceipt receipt;
    receipt.report->BeforePrint = [&](TQuickRep* report, bool&) {
      report->Page().SetTopMargin(c.top);
      report->Page().SetBottomMargin(c.bottom);
      report->Page().SetLeftMargin(c.left);
      report->Page().SetRightMargin(c.right);
    };
    try {
      receipt.report->Render();
      ADD_FAILURE() << "no error for margins " << c.top << " " << c.bottom << " " << c.left << " " << c.right;
    } catch (const EQuickReportError& error) {
      EXPECT_NE(std::string::npos, std::string(error.what()).find("margins leave no room")) << error.what();
      EXPECT_NE(std::string::npos, std::string(error.what()).find("PrnDonate4s")) << error.what();
    }
  }
}

TEST(PageLayoutTest, BandThatDoesNotFitStartsTheNextPage) {
  DonationReceipt receipt;
  std::vector<StaffRow> rows;
  for (int i = 1; i <= 20; ++i) rows.push_back({std::to_string(i), "รายการ", 10, ""});
  receipt.report->SetDataSet(StaffQuery(&receipt.host, rows));
  receipt.report->SetOptions({FirstPageHeader});
  auto* sum = static_cast<TQRExpr*>(receipt.footer->Items()[1]);
  sum->SetExpression("SUM(per_salary)");
  const TQRPrintedReport printed = receipt.report->Render();
  ASSERT_GT(printed.PageCount(), 1);
  int rows_printed = 0;
  for (const TQRPrintedPage& page : printed.pages) {
    const double footer_top = page.BandsOf(rbPageFooter)[0]->bounds.top;
    for (const TQRPrintedBand* band : page.BandsOf(rbDetail))
      EXPECT_LE(band->bounds.Bottom(), footer_top + kMm);
    // The page header (120 px) and the footer (80 px) leave room for a fixed number of rows.
    if (page.number < printed.PageCount()) {
      EXPECT_LT(footer_top - page.BandsOf(rbDetail).back()->bounds.Bottom(), 24 * 25.4 / 96);
    }
    rows_printed += static_cast<int>(page.BandsOf(rbDetail).size());
    EXPECT_EQ(std::to_string(page.BandsOf(rbDetail).size() * 10) + ".00", page.Find("QRLabel53")->text);
  }
  EXPECT_EQ(20, rows_printed);
}

TEST(PageLayoutTest, BandTallerThanAPageGetsAPageOfItsOwn) {
  DonationReceipt receipt;
  receipt.detail->SetHeight(1000);
  const TQRPrintedReport printed = receipt.report->Render();
  ASSERT_EQ(3, printed.PageCount());
  for (const TQRPrintedPage& page : printed.pages) EXPECT_EQ(1u, page.BandsOf(rbDetail).size());
}

TEST(PageLayoutTest, PageHeaderAndFooterOptions) {
  struct Case {
    TQuickRepOptions options;
    std::vector<bool> header_on_page;
    std::vector<bool> footer_on_page;
  };
  const Case cases[] = {
      {{}, {false, true, true}, {true, true, true}},
      {{FirstPageHeader}, {true, true, true}, {true, true, true}},
      {{LastPageFooter}, {false, true, true}, {false, false, true}},
      {{FirstPageHeader, LastPageFooter}, {true, true, true}, {false, false, true}},
  };
  for (const Case& c : cases) {
    DonationReceipt receipt;
    receipt.report->SetOptions(c.options);
    receipt.header->SetHeight(20);
    receipt.detail->SetHeight(300);
    const TQRPrintedReport printed = receipt.report->Render();
    ASSERT_EQ(3, printed.PageCount());
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(c.header_on_page[i], !printed.pages[i].BandsOf(rbPageHeader).empty()) << "page " << i + 1;
      EXPECT_EQ(c.footer_on_page[i], !printed.pages[i].BandsOf(rbPageFooter).empty()) << "page " << i + 1;
    }
  }
}

TEST(PageLayoutTest, EmptyDatasetPrintsOnePageOnlyWhenAskedTo) {
  for (bool print_if_empty : {true, false}) {
    DonationReceipt receipt;
    receipt.report->SetDataSet(StaffQuery(&receipt.host, {}));
    static_cast<TQRExpr*>(receipt.footer->Items()[1])->SetExpression("SUM(per_salary)");
    receipt.report->SetPrintIfEmpty(print_if_empty);
    const TQRPrintedReport printed = receipt.report->Render();
    if (!print_if_empty) {
      EXPECT_EQ(0, printed.PageCount());
      continue;
    }
    ASSERT_EQ(1, printed.PageCount());
    const TQRPrintedPage& page = printed.pages[0];
    EXPECT_EQ(1u, page.BandsOf(rbPageHeader).size());
    EXPECT_EQ(1u, page.BandsOf(rbPageFooter).size());
    EXPECT_TRUE(page.BandsOf(rbDetail).empty());
    EXPECT_EQ("0.00", page.Find("QRLabel53")->text);
  }
}

TEST(PageLayoutTest, WithoutDatasetTheDetailPrintsOnce) {
  TComponent host(nullptr);
  auto* envelope = new TQuickRep(&host);
  envelope->Page().SetWidth(210.1);
  envelope->Page().SetLength(110.9);
  TQRBand* band = AddBand(envelope, "TitleBand1", rbDetail, 200);
  AddLabel(band, "QRLabel1", "กรุณาส่ง", 10, 10);
  int band_events = 0;
  band->BeforePrint = [&](TQRBand*, bool&) { ++band_events; };
  const TQRPrintedReport printed = envelope->Render();
  ASSERT_EQ(1, printed.PageCount());
  EXPECT_EQ(1u, printed.pages[0].FindAll("QRLabel1").size());
  EXPECT_EQ(1, band_events);
}

TEST(PageLayoutTest, DatasetWithoutDetailBandGivesOnePage) {
  DonationReceipt receipt;
  std::vector<StaffRow> rows(60, StaffRow{"1", "ผ้าป่า", 5, ""});
  receipt.report->SetDataSet(StaffQuery(&receipt.host, rows));
  static_cast<TQRExpr*>(receipt.footer->Items()[1])->SetExpression("SUM(per_salary)");
  delete receipt.detail;
  const TQRPrintedReport printed = receipt.report->Render();
  ASSERT_EQ(1, printed.PageCount());
  EXPECT_EQ("300.00", printed.pages[0].Find("QRLabel53")->text);
}

TEST(PageLayoutTest, BeforePrintCanCancelTheReport) {
  DonationReceipt receipt;
  int after_print = 0;
  receipt.report->BeforePrint = [](TQuickRep*, bool& print) { print = false; };
  receipt.report->AfterPrint = [&](TObject*) { ++after_print; };
  EXPECT_EQ(0, receipt.report->Render().PageCount());
  EXPECT_EQ(0, after_print);
}

TEST(PageLayoutTest, ClosedDatasetIsOpenedAndWalkedFromItsFirstRow) {
  DonationReceipt receipt;
  receipt.lines->Last();
  receipt.lines->Close();
  const TQRPrintedReport printed = receipt.report->Render();
  const auto rows = printed.pages[0].FindAll("QRDBText1");
  ASSERT_EQ(3u, rows.size());
  EXPECT_EQ("บำรุงวัด", rows[0]->text);
}

}  // namespace
