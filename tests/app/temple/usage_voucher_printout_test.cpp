// The usage voucher printout, read from the report engine's list of printed
// items: the sum, VAT and grand total with the total in words, the lines with
// their meter readings and unsigned amounts, the paper mode, the margins, the
// logo that prints only when it is there, the member of the header, and the
// layout that the voucher window's settings choose.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/temple/rTemple.h"
#include "tests/app/temple/support/UsageVoucherTest.h"

namespace {

class UsageVoucherPrintout : public UsageVoucher {
 protected:
  void SetUp() override {
    UsageVoucher::SetUp();
    Store({{"h_temple", {{"work_no", "HALL1000001"}, {"mem_no", "0000002"}, {"accessory_name", "ศาลาการเปรียญ"},
                         {"qty", "1"}, {"unit", "ครั้ง"}, {"price", "405"}, {"total", "405"}}},
           {"h_temple", {{"work_no", "HALL1000001"}, {"mem_no", "0000002"}, {"accessory_name", "ค่าน้ำ"},
                         {"qty", "150"}, {"price", "0.6666"}, {"total", "100"}, {"check_first", "1200"},
                         {"check_last", "1350"}}},
           {"h_temple", {{"work_no", "HALL1000001"}, {"mem_no", "0000002"}, {"accessory_name", "เครื่องเสียง"},
                         {"qty", "1"}, {"price", "50"}, {"total", "50"}}},
           {"h_temple", {{"work_no", "HALL1000003"}, {"accessory_name", "คืนมัดจำ"}, {"qty", "1"},
                         {"price", "-50"}, {"total", "-50"}}}});
    TVTRTable& temple = OtherUser("tresksys");
    temple.Open();
    temple.Edit();
    for (const auto& [column, value] : {std::pair{"of_name", " วัดป่า "}, std::pair{"of_add1", "1 ถนนวัด"},
                                        std::pair{"of_zip", "50000"}, std::pair{"of_taxid", "0994000123456"}})
      temple.FieldByName(column)->SetAsString(value);
    temple.Post();
    temple.Close();
    myVar.PrintBillNo = "HALL1000001";
    myVar.PrintDocKind = "0";
    myVar.PrintDocTitle = "ใบใช้บริการ / ใบกำกับภาษี";
    myVar.PrintLogo = "0";
    myVar.PrintPreview = "0";
    myVar.VatRate = 7;
  }

  // Previews the voucher on the form T and returns its first page.
  template <typename T>
  const TQRPrintedPage& Print() {
    T* voucher = FormsApplication().CreateForm<T>();
    voucher->Preview();
    user::ProcessEvents();
    const std::vector<TForm*>& forms = FormsApplication().Forms();
    EXPECT_EQ(std::find(forms.begin(), forms.end(), voucher), forms.end()) << "freed when the preview closed";
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
};

TEST_F(UsageVoucherPrintout, TheGrandTotalAddsTheVatOnceAndPrintsItInWords) {
  struct Case {
    double vat_rate;
    const char* grand_total;
    const char* words;
  };
  for (const Case& c : {Case{7, "593.85", "<  ห้าร้อยเก้าสิบสามบาท แปดสิบห้าสตางค์  >"},
                        Case{0, "555.00", "<  ห้าร้อยห้าสิบห้าบาทถ้วน >"}}) {
    SCOPED_TRACE(c.vat_rate);
    myVar.VatRate = c.vat_rate;
    const TQRPrintedPage& page = Print<TrTemple_0>();
    EXPECT_EQ(Text(page, "QRLabel22"), c.grand_total);
    EXPECT_EQ(Text(page, "QRLabel27"), c.words);
    EXPECT_EQ(myVar.ReportTotals[0], 555);
    EXPECT_EQ(myVar.ReportTotals[3], 555);
    EXPECT_DOUBLE_EQ(myVar.ReportTotals[6], std::stod(c.grand_total));
  }
}

TEST_F(UsageVoucherPrintout, TheLetterLayoutPrintsTheHeaderTheTempleAndTheLines) {
  const std::string pdf = (database_file_.parent_path() / "voucher.pdf").string();
  preview_->SetPdfFile(pdf);
  const TQRPrintedPage& page = Print<TrTemple_0>();
  EXPECT_EQ(preview_->Last().paper_width, 215.9);
  EXPECT_EQ(preview_->Last().paper_length, 279.4);
  EXPECT_EQ(Text(page, "QRLabel35"), "ใบใช้บริการ / ใบกำกับภาษี");
  EXPECT_EQ(Text(page, "QRDBText1"), "HALL1000001");
  EXPECT_EQ(Text(page, "QRDBText4"), "05/03/2567");
  EXPECT_EQ(Text(page, "QRLabel11"), "วัดป่า");
  EXPECT_EQ(Text(page, "QRLabel12"), " 1 ถนนวัด 50000");
  EXPECT_EQ(Text(page, "QRLabel33"), "เลขประจำตัวผู้เสียภาษี  0994000123456");
  EXPECT_EQ(Text(page, "QRLabel21"), "รวมทั้งสิ้น");
  EXPECT_EQ(page.Find("QRLabel37"), nullptr) << "the staff number never prints";
  EXPECT_EQ(page.Find("QRDBText14"), nullptr);
  EXPECT_EQ(Texts(page, "QRSysData1"), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(Texts(page, "QRDBText2"), (std::vector<std::string>{"ศาลาการเปรียญ", "ค่าน้ำ", "เครื่องเสียง"}));
  EXPECT_EQ(Texts(page, "QRDBText6"), (std::vector<std::string>{"405.00", "100.00", "50.00"}));
  EXPECT_EQ(Texts(page, "QRLabel10"), (std::vector<std::string>{"", "ตั้งแต่ 1200  ถึง  1350", ""}));
  std::vector<double> heights;
  for (const TQRPrintedBand* band : page.BandsOf(rbDetail)) heights.push_back(band->bounds.height);
  ASSERT_EQ(heights.size(), 3u);
  EXPECT_GT(heights[1], heights[0]) << "the metered line takes a second row";
  EXPECT_DOUBLE_EQ(heights[0], heights[2]);
  ASSERT_TRUE(std::filesystem::exists(pdf));
  EXPECT_GT(std::filesystem::file_size(pdf), 0u);
}

TEST_F(UsageVoucherPrintout, ANegativeLinePrintsItsAmountWithoutTheSignAndTheTotalWithIt) {
  myVar.PrintBillNo = "HALL1000003";
  myVar.VatRate = 0;
  const TQRPrintedPage& page = Print<TrTemple_1>();
  EXPECT_EQ(preview_->Last().paper_length, 139.7);
  EXPECT_EQ(Texts(page, "QRDBText5"), (std::vector<std::string>{"50.00"}));
  EXPECT_EQ(Texts(page, "QRDBText6"), (std::vector<std::string>{"50.00"}));
  EXPECT_EQ(Text(page, "QRLabel22"), "-50.00");
  EXPECT_EQ(page.Find("QRLabel21"), nullptr) << "half-letter paper has no grand total caption";
}

TEST_F(UsageVoucherPrintout, APrePrintedFormPrintsOnlyTheDataAndTheTitle) {
  myVar.PrintPreview = "1";
  const TQRPrintedPage& page = Print<TrTemple_0>();
  for (const char* gone : {"QRLabel29", "QRLabel9", "QRLabel8", "QRLabel13", "QRLabel2", "QRLabel1", "QRLabel5",
                           "QRLabel6", "QRLabel7", "QRLabel32", "QRLabel14", "QRLabel21", "QRLabel23", "QRLabel3",
                           "QRLabel4", "QRShape1", "QRShape2", "QRShape8", "QRShape4", "QRShape5"})
    EXPECT_EQ(page.Find(gone), nullptr) << gone;
  for (const char* kept : {"QRLabel35", "QRDBText1", "QRLabel30", "QRLabel22", "QRLabel27"})
    EXPECT_NE(page.Find(kept), nullptr) << kept;
}

TEST_F(UsageVoucherPrintout, MarginsComeFromThePrintOffsetsAndTheBottomOneIsNeverNegative) {
  struct Case {
    double top;
    double bottom;
  };
  myVar.PrintBillNo = "HALL1000003";
  myVar.PrintLeft = 5;
  for (const Case& c : {Case{10, 12}, Case{30, 0}}) {
    myVar.PrintTop = c.top;
    const TQRPrintedPage& page = Print<TrTemple_1>();
    const TQRPrintedBand* header = page.BandsOf(rbPageHeader).at(0);
    const TQRPrintedBand* footer = page.BandsOf(rbPageFooter).at(0);
    EXPECT_DOUBLE_EQ(header->bounds.top, c.top);
    EXPECT_DOUBLE_EQ(header->bounds.left, 5);
    EXPECT_NEAR(footer->bounds.Bottom(), 139.7 - c.bottom, 0.01) << "top " << c.top;
  }
}

TEST_F(UsageVoucherPrintout, AMissingLogoPrintsTheVoucherWithoutIt) {
  myVar.PrintLogo = "1";
  ASSERT_FALSE(std::filesystem::exists(database_file_.parent_path() / "mylogo.jpg"));
  const TQRPrintedPage& page = Print<TrTemple_0>();
  EXPECT_EQ(page.Find("QRImage1"), nullptr);
  EXPECT_EQ(Text(page, "QRLabel11"), "วัดป่า");
  EXPECT_EQ(Text(page, "QRLabel22"), "593.85");
}

TEST_F(UsageVoucherPrintout, TheHeadersMemberPrintsAndThePickedMemberStays) {
  // The lines were entered for member 0000002; the header names 0000001.
  myVar.PickedMemberNo = "0000003";
  myVar.PickedMemberName = "นายสอง";
  const TQRPrintedPage& page = Print<TrTemple_0>();
  EXPECT_EQ(Text(page, "QRLabel38"), "0000001");
  EXPECT_EQ(Text(page, "QRLabel30"), "นายหนึ่ง");
  EXPECT_EQ(Text(page, "QRLabel15"), "1 ถนนหนึ่ง");
  EXPECT_EQ(myVar.PickedMemberNo, "0000003");
  EXPECT_EQ(myVar.PickedMemberName, "นายสอง");
}

TEST_F(UsageVoucherPrintout, TheHallWindowPrintsTheLayoutOfView3) {
  struct Case {
    const char* view3;
    double paper_length;  // 0: nothing printed
  };
  for (const Case& c : {Case{"0", 279.4}, Case{"1", 139.7}, Case{"2", 0}}) {
    SCOPED_TRACE(c.view3);
    SetSetting("view3", c.view3);
    const size_t printed = preview_->Previews().size();
    Tadd_edit& w = Open();
    PickSite(w, "H01");
    user::ClickButton(*w.DBNavigator1, nbPrior);
    user::Click(*w.Button13);
    user::ProcessEvents();
    if (c.paper_length == 0) {
      EXPECT_EQ(preview_->Previews().size(), printed);
    } else {
      ASSERT_EQ(preview_->Previews().size(), printed + 1);
      EXPECT_EQ(preview_->Last().paper_length, c.paper_length);
      EXPECT_EQ(Text(preview_->Last().pages.at(0), "QRDBText1"), "HALL1000001");
    }
    user::Click(*w.Button3);
    user::ProcessEvents();
  }
}

}  // namespace
