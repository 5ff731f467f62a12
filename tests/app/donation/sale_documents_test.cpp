// The printed documents of a goods sale, on a database file through the SQL
// engine, read from the report engine's list of printed items: the short and
// the long layout with their lines and totals, the paper mode, the margins,
// and the choice of layout by the goods window's print buttons.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/core/myVar.h"
#include "app/donation/PrnDO.h"
#include "app/donation/edit_fill.h"
#include "engine/access/Database.h"
#include "engine/access/Query.h"
#include "platform/report/PreviewService.h"
#include "tests/app/core/support/MdiFrame.h"
#include "tests/app/core/support/TempleDatabaseTest.h"
#include "tests/platform/ui/support/Seen.h"
#include "tests/platform/ui/support/User.h"

namespace {

constexpr const char* kSale = "AB011000042";

// A sale of two lines totalling 2,650.75, the second with a serial number.
std::vector<TableRow> SaleRows() {
  return {
      {"customer", {{"cust_no", "C0001"}, {"cust_name", "นายสมชาย ใจดี"}, {"cust_add1", " 12 ถนนพระราม 4 "},
                    {"cust_add4", "กรุงเทพฯ"}, {"cust_zip", "10500"}, {"cust_tel", "02-111"}}},
      {"g_sale_2", {{"bill_no", kSale}, {"bill_date", "01/03/2024"}, {"due_date", "31/03/2024"},
                    {"cust_no", "C0001"}, {"credit_rate", "30 ว."}, {"sale_no", "ST1"}}},
      {"outstock", {{"bill_no", kSale}, {"accessory_no", "A01"}, {"accessory_name", "พระผง"}, {"qty", "20"},
                    {"unit_name", "องค์"}, {"price", "100"}, {"total", "2000"}}},
      {"outstock", {{"bill_no", kSale}, {"accessory_no", "D01"}, {"accessory_name", "ตะกรุด"},
                    {"accessory_sn", "SN-7"}, {"qty", "1"}, {"unit_name", "ดอก"}, {"price", "650.75"},
                    {"total", "650.75"}}},
      {"outstock", {{"bill_no", "AB011000043"}, {"accessory_no", "A01"}, {"qty", "1"}, {"total", "100"}}},
  };
}

class SaleDocumentsTest : public TempleDatabaseTest {
 protected:
  void SetUp() override {
    TempleDatabaseTest::SetUp();
    AppendRows(database_file_, SaleRows());
    auto preview = std::make_unique<THeadlessPreview>();
    preview_ = preview.get();
    previous_ = SetPreviewService(std::move(preview));
    myVar.PrintBillNo = kSale;
    myVar.PrintLogo = "0";
    myVar.PrintPreview = "0";
  }
  void TearDown() override {
    // The layouts' queries close before the engine that holds their results ends.
    Application().DestroyComponents();
    user::ProcessEvents();
    SetPreviewService(std::move(previous_));
    TempleDatabaseTest::TearDown();
  }

  // Previews the layout T and returns its first page.
  template <typename T>
  const TQRPrintedPage& Print(const char* kind, const char* title) {
    myVar.PrintDocKind = kind;
    myVar.PrintDocTitle = title;
    T* document = FormsApplication().CreateForm<T>();
    document->Preview();
    user::ProcessEvents();
    const std::vector<TForm*>& forms = FormsApplication().Forms();
    EXPECT_EQ(std::find(forms.begin(), forms.end(), document), forms.end()) << "freed when the preview closed";
    const TQRPrintedReport& report = preview_->Last();
    EXPECT_EQ(report.PageCount(), 1);
    return report.pages.at(0);
  }

  static std::string Text(const TQRPrintedPage& page, const char* name) {
    const TQRPrintedItem* item = page.Find(name);
    return item == nullptr ? "<not printed>" : item->text;
  }
  static std::vector<std::string> Texts(const TQRPrintedPage& page, const char* name) {
    std::vector<std::string> texts;
    for (const TQRPrintedItem* item : page.FindAll(name)) texts.push_back(item->text);
    return texts;
  }

  // Runs a statement on a connection of the test's own.
  void Change(const std::string& statement) {
    TComponent owner(nullptr);
    auto* database = new TVTRDatabase(&owner);
    database->SetDatabaseName("sale_documents_writer");
    database->SetDatabaseFileName(database_file_.string());
    database->MultiUser = true;
    TVTRQuery change(&owner);
    change.SetDatabaseName("sale_documents_writer");
    change.SQL().Add(statement);
    change.ExecSQL();
  }

  std::string PdfPath(const char* name) const { return (database_file_.parent_path() / name).string(); }

  THeadlessPreview* preview_ = nullptr;
  std::unique_ptr<TQRPreviewService> previous_;
};

TEST_F(SaleDocumentsTest, TheShortLayoutListsTheSaleWithItsGrandTotalAndNoAmountInWords) {
  const std::string pdf = PdfPath("short.pdf");
  preview_->SetPdfFile(pdf);
  const TQRPrintedPage& page = Print<TPrnDO4s>("0", "ใบส่งสินค้า");
  EXPECT_EQ(preview_->Last().paper_width, 215.9);
  EXPECT_EQ(preview_->Last().paper_length, 139.7);
  EXPECT_EQ(Text(page, "QRLabel1"), "ใบส่งสินค้า");
  EXPECT_EQ(Text(page, "QRLabel57"), "AB01-1-000042");
  EXPECT_EQ(Text(page, "BillDate"), "01/03/2567") << "Buddhist-era like every other date of the program";
  EXPECT_EQ(Text(page, "DueDate"), "31/03/2567");
  EXPECT_EQ(Text(page, "CreditRate"), "30 ว.");
  EXPECT_EQ(Text(page, "QRLabel22"), "นายสมชาย ใจดี");
  EXPECT_EQ(Text(page, "QRLabel13"), "12 ถนนพระราม 4 กรุงเทพฯ 10500");
  EXPECT_EQ(Texts(page, "QRSysData1"), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(Texts(page, "QRLabel17"), (std::vector<std::string>{"พระผง ", "ตะกรุด SN-7"}));
  EXPECT_EQ(Texts(page, "QRDBText5"), (std::vector<std::string>{"20.00", "1.00"}));
  EXPECT_EQ(Texts(page, "QRDBText7"), (std::vector<std::string>{"2,000.00", "650.75"}));
  EXPECT_EQ(Text(page, "QRLabel53"), "2,650.75");
  EXPECT_EQ(Text(page, "QRLabel56"), "<not printed>") << "the sum line is hidden on the short layout";
  EXPECT_EQ(Text(page, "QRLabel23"), "<not printed>");
  EXPECT_EQ(Text(page, "QRLabel30"), "") << "no taxpayer number in the organisation record";
  ASSERT_TRUE(std::filesystem::exists(pdf));
  EXPECT_GT(std::filesystem::file_size(pdf), 0u);
}

TEST_F(SaleDocumentsTest, TheShortLayoutPrintsTheTaxpayerNumberAndOnAFormOnlyTheVariableData) {
  Change("update tresksys set of_taxid = '0994000123456', prn_top = 10, prn_left = 4");
  myVar.PrintPreview = "1";
  const TQRPrintedPage& page = Print<TPrnDO4s>("1", "ใบเสร็จรับเงิน");
  EXPECT_EQ(Text(page, "QRLabel30"), "เลขประจำตัวผู้เสียภาษี  0994000123456");
  for (const char* form_item : {"QRShape10", "QRLabel2", "QRLabel4", "QRLabel7", "QRLabel19"})
    EXPECT_EQ(page.Find(form_item), nullptr) << form_item << " is on the pre-printed form";
  for (const char* data_item : {"QRLabel1", "QRLabel20", "QRLabel57", "QRLabel22", "QRLabel53", "QRLabel24"})
    EXPECT_NE(page.Find(data_item), nullptr) << data_item;
  const TQRPrintedBand* header = page.BandsOf(rbPageHeader).at(0);
  const TQRPrintedBand* footer = page.BandsOf(rbPageFooter).at(0);
  EXPECT_DOUBLE_EQ(header->bounds.top, 10);
  EXPECT_DOUBLE_EQ(header->bounds.left, 4);
  EXPECT_NEAR(footer->bounds.Bottom(), 139.7 - 12, 0.01);
}

TEST_F(SaleDocumentsTest, TheLongLayoutAddsTheAmountInWordsAndTheSerialUnderTheItem) {
  Change("update sys_sys set prn_top = 10, prn_left = 6");
  const std::string pdf = PdfPath("long.pdf");
  preview_->SetPdfFile(pdf);
  const TQRPrintedPage& page = Print<TPrnDO8>("0", "ใบส่งสินค้า");
  EXPECT_EQ(preview_->Last().paper_width, 215.9);
  EXPECT_EQ(preview_->Last().paper_length, 279.4);
  EXPECT_EQ(Text(page, "QRLabel1"), "ใบส่งสินค้า");
  EXPECT_EQ(Text(page, "QRLabel27"), "DELIVERY ORDER");
  EXPECT_EQ(Text(page, "QRLabel57"), kSale) << "the number as stored";
  EXPECT_EQ(Text(page, "BillDate"), "01/03/2567");
  EXPECT_EQ(Text(page, "QRLabel43"), "C0001");
  EXPECT_EQ(Text(page, "QRLabel42"), "นายสมชาย ใจดี");
  EXPECT_EQ(Text(page, "QRLabel13"), "12 ถนนพระราม 4");
  EXPECT_EQ(Text(page, "QRLabel18"), " กรุงเทพฯ 10500 Tel. 02-111");
  EXPECT_EQ(Texts(page, "QRDBText1"), (std::vector<std::string>{"A01", "D01"}));
  EXPECT_EQ(Texts(page, "QRDBText7"), (std::vector<std::string>{"2,000.00", "650.75"}));
  EXPECT_EQ(Texts(page, "QRLabel40"), (std::vector<std::string>{"SN-7"})) << "only the line with a serial";
  const std::vector<const TQRPrintedBand*> lines = page.BandsOf(rbDetail);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_LT(lines[0]->bounds.height, lines[1]->bounds.height) << "the serial makes its line 69 pixels high";
  EXPECT_EQ(Text(page, "QRLabel56"), "2,650.75");
  EXPECT_EQ(Text(page, "QRLabel53"), "2,650.75");
  EXPECT_EQ(Text(page, "QRLabel23"), "< สองพัน หกร้อยห้าสิบบาท เจ็ดสิบห้าสตางค์ >");
  EXPECT_EQ(Text(page, "QRLabel48"), "** ได้รับสินค้าตามรายการข้างบนนี้แล้ว");
  EXPECT_EQ(page.Find("QRLabel32"), nullptr) << "a delivery note has no payment lines";
  const TQRPrintedBand* header = page.BandsOf(rbPageHeader).at(0);
  const TQRPrintedBand* footer = page.BandsOf(rbPageFooter).at(0);
  EXPECT_DOUBLE_EQ(header->bounds.top, 10) << "margins from sys_sys, not the organisation record";
  EXPECT_DOUBLE_EQ(header->bounds.left, 6);
  EXPECT_NEAR(footer->bounds.Bottom(), 279.4 - 12, 0.01);
  ASSERT_TRUE(std::filesystem::exists(pdf));
  EXPECT_GT(std::filesystem::file_size(pdf), 0u);
}

TEST_F(SaleDocumentsTest, TheLongReceiptPrintsThePaymentLinesAndOnAFormOnlyTheVariableData) {
  myVar.PrintPreview = "1";
  const TQRPrintedPage& page = Print<TPrnDO8>("1", "ใบเสร็จรับเงิน");
  EXPECT_EQ(Text(page, "QRLabel27"), "RECEIPT");
  EXPECT_EQ(Text(page, "QRLabel33"), "(  ) เงินสด");
  for (const char* form_item : {"QRShape10", "QRShape5", "QRLabel2", "QRLabel7", "QRLabel14", "QRLabel19"})
    EXPECT_EQ(page.Find(form_item), nullptr) << form_item << " is on the pre-printed form";
  for (const char* data_item : {"QRLabel1", "QRLabel20", "QRLabel57", "QRLabel42", "QRLabel53", "QRLabel23"})
    EXPECT_NE(page.Find(data_item), nullptr) << data_item;
}

TEST_F(SaleDocumentsTest, AMissingLogoPrintsTheLongLayoutWithTheOrganisationWhereNoLogoGoes) {
  myVar.PrintLogo = "1";
  const TQRPrintedPage& without = Print<TPrnDO8>("0", "ใบส่งสินค้า");
  EXPECT_EQ(without.Find("QRImage1"), nullptr);
  EXPECT_EQ(Text(without, "QRLabel53"), "2,650.75") << "the document prints without its logo";
  const double left_without = without.Find("QRLabel20")->bounds.left;

  ASSERT_TRUE(user::SavePhoto((database_file_.parent_path() / "mylogo.jpg").string()));
  const TQRPrintedPage& with = Print<TPrnDO8>("0", "ใบส่งสินค้า");
  ASSERT_NE(with.Find("QRImage1"), nullptr);
  EXPECT_GT(with.Find("QRLabel20")->bounds.left, left_without);
}

TEST_F(SaleDocumentsTest, TheSaleWindowPrintsTheShownSaleInTheLayoutOfTheSettings) {
  struct Case {
    const char* view6;
    TButton& (*button)(Tedit_fill&);
    const char* title;
    double paper_length;  // 0: nothing printed
  };
  const Case cases[] = {
      {"0", [](Tedit_fill& w) -> TButton& { return w.Button18; }, "ใบส่งสินค้า", 139.7},
      {"1", [](Tedit_fill& w) -> TButton& { return w.Button19; }, "ใบเสร็จรับเงิน", 279.4},
      {"2", [](Tedit_fill& w) -> TButton& { return w.Button18; }, "ใบส่งสินค้า", 279.4},
      {"3", [](Tedit_fill& w) -> TButton& { return w.Button19; }, "", 0},
  };
  Change("update sys_sys set prefix7 = 'AB01'");
  MdiFrame::Open();
  myVar.WorkMode = "1";
  Tedit_fill& window = *FormsApplication().CreateForm<Tedit_fill>();
  window.Show();
  user::ProcessEvents();
  EXPECT_TRUE(seen::Visible(window.Button18));
  EXPECT_TRUE(seen::Visible(window.Button19));
  EXPECT_FALSE(seen::Visible(window.Button4));
  for (const Case& c : cases) {
    Change(std::string("update sys_sys set view6 = '") + c.view6 + "'");
    const std::size_t printed = preview_->Previews().size();
    user::Click(c.button(window));
    user::ProcessEvents();
    if (c.paper_length == 0) {
      EXPECT_EQ(preview_->Previews().size(), printed) << "VIEW6 " << c.view6 << " opens nothing";
      continue;
    }
    ASSERT_EQ(preview_->Previews().size(), printed + 1) << "VIEW6 " << c.view6;
    EXPECT_EQ(preview_->Last().paper_length, c.paper_length) << "VIEW6 " << c.view6;
    const TQRPrintedPage& page = preview_->Last().pages.at(0);
    EXPECT_EQ(Text(page, "QRLabel1"), c.title);
    EXPECT_EQ(myVar.PrintBillNo, kSale);
    EXPECT_EQ(Text(page, "QRLabel53"), "2,650.75");
  }
}

TEST_F(SaleDocumentsTest, APurchaseIsNeverPrinted) {
  MdiFrame::Open();
  myVar.WorkMode = "3";
  Tedit_fill& window = *FormsApplication().CreateForm<Tedit_fill>();
  window.Show();
  user::ProcessEvents();
  for (TButton* button : {&window.Button18, &window.Button19, &window.Button4})
    EXPECT_FALSE(seen::Visible(*button));
  myVar.PrintRequestKind = "0";
  window.PrintGoodsDocument();
  user::ProcessEvents();
  EXPECT_TRUE(preview_->Previews().empty());
  EXPECT_EQ(myVar.PrintDocTitle, "ใบสั่งซื้อ");
}

}  // namespace
