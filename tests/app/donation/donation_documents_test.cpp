// The printed documents of a donation, read from the report engine's list of
// printed items: the receipt on its two papers, the certificates of the three
// layouts, the paper mode, the margins from the organisation record, the logo
// that prints only when it is there, and the report window freed once its
// preview closes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/core/myVar.h"
#include "app/donation/PrnCertificate.h"
#include "app/donation/PrnCertificate3.h"
#include "app/donation/PrnDonate.h"
#include "platform/report/PreviewService.h"
#include "tests/app/core/support/TempleDatabaseTest.h"
#include "tests/app/donation/support/ServedTables.h"
#include "tests/platform/ui/support/User.h"

namespace {

std::vector<TableRow> DocumentTables() {
  return {
      {"g_donate_2", {{"bill_no", "DN671000001"}, {"bill_date", "05/11/2024"}, {"cust_name", "นายสมชาย ใจดี"},
                      {"cust_add1", " 12 ถนนพระราม 4 "}, {"cust_zip", "10500"}, {"sale_no", "A'1"},
                      {"app_for", "บิดามารดา"}}},
      {"donate", {{"bill_id", "1"}, {"bill_no", "DN671000001"}, {"accessory_name", "บำรุงวัด"},
                  {"qty", "1"}, {"unit_name", "บาท"}, {"price", "1000"}, {"total", "1000"}}},
      {"donate", {{"bill_id", "2"}, {"bill_no", "DN671000001"}, {"accessory_name", "ดอกไม้ธูปเทียน"},
                  {"accessory_sn", "S1"}, {"qty", "1"}, {"unit_name", "ชุด"}, {"price", "250.5"},
                  {"total", "250.5"}}},
      {"tresksys", {{"of_name", "วัดตัวอย่าง"}, {"of_add1", "1 ถนนวัด "}, {"of_zip", "50000"}, {"of_tel", " "},
                    {"of_fax", "053-222"}, {"prn_top", "10"}, {"prn_left", "5"}}},
      {"h_person", {{"per_no", "ST1"}, {"per_name", "พระมหาสมปอง"}}},
  };
}

class DonationDocumentsTest : public TempleDatabaseTest {
 protected:
  void SetUp() override {
    TempleDatabaseTest::SetUp();
    auto preview = std::make_unique<THeadlessPreview>();
    preview_ = preview.get();
    previous_ = SetPreviewService(std::move(preview));
    myVar.PrintBillNo = "DN671000001";
    myVar.PrintLogo = "0";
    myVar.PrintPreview = "0";
  }
  void TearDown() override {
    // The windows close before the engine runtime ends.
    Application().DestroyComponents();
    user::ProcessEvents();
    SetPreviewService(std::move(previous_));
    TempleDatabaseTest::TearDown();
  }

  // Previews the document T and returns its first page.
  template <typename T>
  const TQRPrintedPage& Print(const char* kind, const char* title) {
    myVar.PrintDocKind = kind;
    myVar.PrintDocTitle = title;
    T* document = FormsApplication().CreateForm<T>(ServeTables(tables_, runs_));
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

  void SetOffice(const char* column, const char* value) {
    for (TableRow& row : tables_) {
      if (row.Table != "tresksys") continue;
      for (TableColumnValue& cell : row.Values)
        if (cell.Column == column) cell.Value = value;
    }
  }

  std::vector<TableRow> tables_ = DocumentTables();
  std::vector<QueryStatement> runs_;
  THeadlessPreview* preview_ = nullptr;
  std::unique_ptr<TQRPreviewService> previous_;
};

TEST_F(DonationDocumentsTest, TheReceiptListsTheLinesWithTheirMasksAndTheTotalOnHalfLetterPaper) {
  const std::string pdf = (database_file_.parent_path() / "receipt.pdf").string();
  preview_->SetPdfFile(pdf);
  const TQRPrintedPage& page = Print<TPrnDonate4s>("0", "ใบรับบริจาค");
  EXPECT_EQ(preview_->Last().paper_width, 215.9);
  EXPECT_EQ(preview_->Last().paper_length, 139.7);
  EXPECT_EQ(Text(page, "QRLabel1"), "ใบรับบริจาค");
  EXPECT_EQ(Text(page, "QRLabel57"), "DN67-1-000001");
  EXPECT_EQ(Text(page, "QRLabel16"), "05/11/2567");
  EXPECT_EQ(Text(page, "QRLabel14"), "นายสมชาย ใจดี");
  EXPECT_EQ(Text(page, "QRLabel13"), "12 ถนนพระราม 4 10500");
  EXPECT_EQ(Texts(page, "QRSysData1"), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(Texts(page, "QRDBText5"), (std::vector<std::string>{"1.00", "1.00"}));
  EXPECT_EQ(Texts(page, "QRLabel17"), (std::vector<std::string>{"บำรุงวัด ", "ดอกไม้ธูปเทียน S1"}));
  EXPECT_EQ(Texts(page, "QRDBText4"), (std::vector<std::string>{"1,000.00", "250.50"}));
  EXPECT_EQ(Texts(page, "QRDBText7"), (std::vector<std::string>{"1,000.00", "250.50"}));
  EXPECT_EQ(Text(page, "QRLabel53"), "1,250.50");
  EXPECT_EQ(Text(page, "QRLabel20"), "วัดตัวอย่าง");
  EXPECT_EQ(Text(page, "QRLabel21"), "1 ถนนวัด   50000 ");
  EXPECT_EQ(Text(page, "QRLabel18"), " Fax. 053-222") << "a blank phone leaves the contact line to the fax";
  EXPECT_EQ(Text(page, "QRLabel11"), "บริจาคเป็นเงินสด");
  ASSERT_TRUE(std::filesystem::exists(pdf));
  EXPECT_GT(std::filesystem::file_size(pdf), 0u);
}

TEST_F(DonationDocumentsTest, PrintingFromThePreviewReadsTheDonationAgain) {
  const std::string pdf = (database_file_.parent_path() / "printed.pdf").string();
  TQRPrinterSettings printer;
  printer.output_file = pdf;
  preview_->SetPrintFromPreview(printer);
  const TQRPrintedPage& page = Print<TPrnCertificate1>("1", "ใบอนุโมทนาบัตร");
  EXPECT_EQ(page.Find("QRLabel4")->text, "เป็นจำนวนเงิน 1,250.50");
  const auto header_reads = std::count_if(runs_.begin(), runs_.end(), [](const QueryStatement& run) {
    return run.lines.at(0).find("from g_donate_2") != std::string::npos;
  });
  EXPECT_EQ(header_reads, 2) << "once for the preview, once for the print";
  EXPECT_TRUE(std::filesystem::exists(pdf));
}

TEST_F(DonationDocumentsTest, MarginsComeFromTheOrganisationRecordAndTheBottomOneIsNeverNegative) {
  struct Case {
    const char* top;
    double bottom;
  };
  for (const Case& c : {Case{"10", 12}, Case{"30", 0}}) {
    SetOffice("prn_top", c.top);
    const TQRPrintedPage& page = Print<TPrnDonate4s>("0", "ใบรับบริจาค");
    const TQRPrintedBand* header = page.BandsOf(rbPageHeader).at(0);
    const TQRPrintedBand* footer = page.BandsOf(rbPageFooter).at(0);
    EXPECT_DOUBLE_EQ(header->bounds.top, std::stod(c.top));
    EXPECT_DOUBLE_EQ(header->bounds.left, 5);
    EXPECT_NEAR(footer->bounds.Bottom(), 139.7 - c.bottom, 0.01) << "top " << c.top;
  }
}

TEST_F(DonationDocumentsTest, APrePrintedFormLeavesOutTheRulesCaptionsAndHeadings) {
  myVar.PrintPreview = "1";
  const TQRPrintedPage& page = Print<TPrnDonate8>("0", "ใบรับบริจาค");
  EXPECT_EQ(preview_->Last().paper_width, 210);
  for (const char* gone : {"QRShape10", "QRShape1", "QRShape8", "QRShape9", "QRShape6", "QRShape15", "QRShape5",
                           "QRLabel2", "QRLabel3", "QRLabel4", "QRLabel5", "QRLabel6", "QRLabel7", "QRLabel8",
                           "QRLabel9", "QRLabel10", "QRLabel12", "QRLabel19"})
    EXPECT_EQ(page.Find(gone), nullptr) << gone;
  for (const char* kept : {"QRLabel1", "QRLabel20", "QRLabel21", "QRLabel18", "QRLabel24", "QRLabel25", "QRShape11"})
    EXPECT_NE(page.Find(kept), nullptr) << kept;
  EXPECT_EQ(Text(page, "QRLabel11"), "05/11/2567") << "the full-page receipt's date";
}

TEST_F(DonationDocumentsTest, AMissingLogoPrintsTheReceiptWithTheOrganisationWhereNoLogoGoes) {
  myVar.PrintLogo = "1";
  const TQRPrintedPage& without = Print<TPrnDonate4s>("0", "ใบรับบริจาค");
  EXPECT_EQ(without.Find("QRImage1"), nullptr);
  const double left_without = without.Find("QRLabel20")->bounds.left;

  ASSERT_TRUE(user::SavePhoto((database_file_.parent_path() / "mylogo.jpg").string()));
  const TQRPrintedPage& with = Print<TPrnDonate4s>("0", "ใบรับบริจาค");
  ASSERT_NE(with.Find("QRImage1"), nullptr);
  EXPECT_GT(with.Find("QRLabel20")->bounds.left, left_without);

  myVar.PrintLogo = "0";
  const TQRPrintedPage& off = Print<TPrnDonate4s>("0", "ใบรับบริจาค");
  EXPECT_EQ(off.Find("QRImage1"), nullptr);
  EXPECT_DOUBLE_EQ(off.Find("QRLabel20")->bounds.left, left_without);
}

TEST_F(DonationDocumentsTest, TheCertificateNamesTheFirstPurposeAndTheAmountInFiguresAndWords) {
  const TQRPrintedPage& page = Print<TPrnCertificate1>("1", "ใบอนุโมทนาบัตร");
  EXPECT_EQ(preview_->Last().paper_length, 139.7);
  EXPECT_EQ(Text(page, "QRLabel1"), "ใบอนุโมทนาบัตร");
  EXPECT_EQ(Text(page, "QRLabel57"), "DN67-1-000001");
  EXPECT_EQ(Text(page, "QRLabel2"), "เลขที่");
  EXPECT_EQ(Text(page, "QRLabel3"), "วันที่ 05/11/2567");
  EXPECT_EQ(Text(page, "QRLabel20"), "ให้กับ  วัดตัวอย่าง");
  EXPECT_EQ(Text(page, "QRLabel16"), "แด่ นายสมชาย ใจดี");
  EXPECT_EQ(Text(page, "QRLabel18"), "ผู้บริจาคทรัพย์ในการ บำรุงวัด");
  EXPECT_EQ(Text(page, "QRLabel4"), "เป็นจำนวนเงิน 1,250.50");
  EXPECT_EQ(Text(page, "QRLabel10"), "<  หนึ่งพัน สองร้อยห้าสิบบาท ห้าสิบสตางค์  >");

  const TQRPrintedPage& a4 = Print<TPrnCertificate2>("1", "ใบอนุโมทนาบัตร");
  EXPECT_EQ(preview_->Last().paper_length, 297);
  EXPECT_EQ(Text(a4, "QRLabel57"), "เลขที่  DN67-1-000001");
  EXPECT_EQ(Text(a4, "QRLabel2"), "จงดลบันดาลให้ท่านและครอบครัว ");
  EXPECT_EQ(Text(a4, "QRLabel10"), "<  หนึ่งพัน สองร้อยห้าสิบบาท ห้าสิบสตางค์  >");
}

TEST_F(DonationDocumentsTest, LayoutThreeSplitsNumberAndDateAndBindsTheStaffNumber) {
  const TQRPrintedPage& page = Print<TPrnCertificate3>("1", "ใบอนุโมทนาบัตร");
  EXPECT_EQ(Text(page, "QRLabel9"), "DN671");
  EXPECT_EQ(Text(page, "QRLabel57"), "000001");
  EXPECT_EQ(Text(page, "QRLabel8"), "05");
  EXPECT_EQ(Text(page, "QRLabel3"), "พฤศจิกายน");
  EXPECT_EQ(Text(page, "QRLabel5"), "2567");
  EXPECT_EQ(Text(page, "QRLabel7"), "A'1   ") << "a staff number with a quote and no h_person row";
  EXPECT_EQ(Text(page, "QRLabel4"), "บิดามารดา");
  EXPECT_EQ(Text(page, "QRLabel2"), "1,250.50");
  ASSERT_FALSE(runs_.empty());
  const QueryStatement& staff = runs_.back();
  EXPECT_EQ(staff.lines.back(), " where per_no = :qper_no ");
  EXPECT_EQ(staff.parameters.at(0).value.AsString(), "A'1");

  myVar.PrintPreview = "1";
  const TQRPrintedPage& form = Print<TPrnCertificate3>("1", "ใบอนุโมทนาบัตร");
  EXPECT_EQ(form.Find("QRLabel2"), nullptr) << "no figures on the pre-printed form";
  EXPECT_EQ(Text(form, "QRLabel1"), "<  หนึ่งพัน สองร้อยห้าสิบบาท ห้าสิบสตางค์  >");
}

}  // namespace
