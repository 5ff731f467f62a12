// The purchase and income reports on a real file: unprocessed bills with the
// tax of hotel_sys on screen and on paper, the income of one item kind, and
// the runs that date changes make only after the first one.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/temple/r_buy_sale_h.h"
#include "platform/report/PreviewService.h"
#include "platform/rtl/DateTime.h"
#include "tests/app/core/support/TempleWindowTest.h"
#include "tests/platform/ui/support/Seen.h"
#include "tests/platform/ui/support/User.h"

namespace {

class MoneyReports : public TempleWindowTest {
 protected:
  void SetUp() override {
    TempleWindowTest::SetUp();
    auto preview = std::make_unique<THeadlessPreview>();
    preview_ = preview.get();
    previous_preview_ = SetPreviewService(std::move(preview));
    const auto bill = [](const char* number, const char* date, const char* total, const char* cleared) -> TableRow {
      return {"h_fill", {{"fill_no", number}, {"fill_date", date}, {"accessory_name", "ดอกไม้"}, {"total", total},
                         {"fg_clear", cleared}}};
    };
    const auto line = [](const char* date, const char* name, const char* type, const char* total) -> TableRow {
      return {"h_temple", {{"work_no", "HALL1000001"}, {"work_date", date}, {"accessory_name", name},
                           {"accessory_type", type}, {"total", total}}};
    };
    Store({bill("PURC6000001", "01/03/2024", "60", "0"), bill("PURC6000002", "31/03/2024", "40", "0"),
           bill("PURC6000003", "15/03/2024", "500", "1"), bill("PURC6000004", "01/04/2024", "900", "0"),
           line("01/03/2024", "ศาลาการเปรียญ", "0", "1000"), line("31/03/2024", "ค่าน้ำ", "1", "120.50"),
           line("15/03/2024", "ค่าไฟ", "1", "80"), line("01/04/2024", "ค่าน้ำ", "1", "99")});
  }
  void TearDown() override {
    TempleWindowTest::TearDown();
    SetPreviewService(std::move(previous_preview_));
  }

  void SetTax(const char* status) {
    TVTRTable& settings = OtherUser("hotel_sys");
    settings.Open();
    settings.Edit();
    settings.FieldByName("tax_status")->SetAsString(status);
    settings.FieldByName("tax_rate")->SetAsString("7");
    settings.Post();
    settings.Close();
  }

  template <typename T>
  T& OpenAndRun() {
    auto* window = FormsApplication().CreateForm<T>();
    user::ProcessEvents();
    window->Picker1->SetDate(EncodeDate(2024, 3, 1));
    window->Picker2->SetDate(EncodeDate(2024, 3, 31));
    user::Click(*window->RunButton);
    return *window;
  }

  const TQRPrintedPage& Print(ReportWindow& w) {
    user::Click(*w.PrintButtons.at(0));
    user::ProcessEvents();
    return preview_->Last().pages.at(0);
  }

  static std::string Text(const TQRPrintedPage& page, const char* name) {
    const TQRPrintedItem* item = page.Find(name);
    return item == nullptr ? "<not printed>" : item->text;
  }

  THeadlessPreview* preview_ = nullptr;
  std::unique_ptr<TQRPreviewService> previous_preview_;
};

TEST_F(MoneyReports, PurchasesWithTaxShowSumTaxAndGrandTotalOnScreenAndOnPaper) {
  SetTax("1");
  Tr_Buy_H& w = OpenAndRun<Tr_Buy_H>();
  EXPECT_EQ(w.Query1.Rows().RecordCount(), 2);
  EXPECT_EQ(seen::Text(*w.Label8), "100.00");
  EXPECT_EQ(seen::Text(*w.Label6), "7.00");
  EXPECT_EQ(seen::Text(*w.Label10), "107.00");
  for (const TLabel* label : {w.Label7, w.Label8, w.Label5, w.Label6, w.Label10}) EXPECT_TRUE(seen::Visible(*label));
  const TQRPrintedPage& page = Print(w);
  EXPECT_EQ(Text(page, "QRLabel10"), "100.00");
  EXPECT_EQ(Text(page, "QRLabel12"), "7.00");
  EXPECT_EQ(Text(page, "QRLabel13"), "107.00");
}

TEST_F(MoneyReports, PurchasesWithoutTaxShowOnlyTheGrandTotal) {
  SetTax("0");
  Tr_Buy_H& w = OpenAndRun<Tr_Buy_H>();
  EXPECT_EQ(seen::Text(*w.Label10), "100.00");
  for (const TLabel* label : {w.Label7, w.Label8, w.Label5, w.Label6}) EXPECT_FALSE(seen::Visible(*label));
  EXPECT_TRUE(seen::Visible(*w.Label9));
  const TQRPrintedPage& page = Print(w);
  EXPECT_EQ(Text(page, "QRLabel7"), "รวมทั้งสิ้น");
  EXPECT_EQ(Text(page, "QRLabel13"), "100.00");
  for (const char* gone : {"QRLabel8", "QRLabel10", "QRLabel11", "QRLabel12"}) EXPECT_EQ(page.Find(gone), nullptr);
}

TEST_F(MoneyReports, DateChangesRunOnlyAfterTheFirstRunAndTheStartMovesTheEnd) {
  SetTax("0");
  auto* w = FormsApplication().CreateForm<Tr_Buy_H>();
  user::ProcessEvents();
  w->Picker1->SetDate(EncodeDate(2024, 3, 1));
  user::PickDay(*w->Picker1, 31);
  EXPECT_EQ(w->Picker2->Date(), EncodeDate(2024, 3, 31)) << "the end follows the start";
  EXPECT_FALSE(w->Query1.Rows().Active()) << "no run before the first one";
  user::Click(*w->RunButton);
  EXPECT_EQ(seen::Text(*w->Label10), "40.00");
  user::PickDay(*w->Picker1, 1);
  EXPECT_EQ(seen::Text(*w->Label10), "60.00");
}

TEST_F(MoneyReports, IncomeOfOneItemKindUnderItsTitleWithoutTax) {
  SetTax("1");
  myVar.SaleReportType = "1";
  Tr_Sale_H& w = OpenAndRun<Tr_Sale_H>();
  EXPECT_EQ(seen::Caption(w), " รายได้จากค่าสาธารณูปโภค");
  EXPECT_EQ(seen::Text(*w.Label10), "200.50");
  EXPECT_FALSE(seen::Visible(*w.Label6));
  const TQRPrintedPage& page = Print(w);
  EXPECT_EQ(Text(page, "QRLabel13"), "200.50");
  EXPECT_EQ(page.Find("QRLabel12"), nullptr);
  EXPECT_NE(page.FindText(" รายได้จากค่าสาธารณูปโภค"), nullptr);
}

}  // namespace
