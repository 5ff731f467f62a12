#include "app/core/BahtText.h"
#include "app/core/DocumentPage.h"
#include "app/core/SqlWindowQuery.h"
#include "app/core/myVar.h"
#include "app/donation/PrnDO.h"
#include "app/donation/ReportParts.h"
#include "platform/db/DB.h"
#include "platform/rtl/TextCase.h"

namespace {

constexpr int kLogoSize = 60;
constexpr int kOrganisationLeftWithLogo = 84;
constexpr int kOrganisationLeftWithoutLogo = 10;
// The detail band with the serial number under the item, and without.
constexpr int kLineWithSerialHeight = 69;
constexpr int kLineHeight = 25;
constexpr std::string_view kLongSaleAlias = "rFill_0";
constexpr DocumentSource kLongSaleSource{kLongSaleAlias, "g_sale_2", "outstock"};
const std::vector<std::string> kSettingsStatement{"select * from sys_sys"};

// The pieces that are not blank, each trimmed and after its lead-in.
std::string LeadInParts(std::initializer_list<std::pair<const char*, std::string>> parts) {
  std::string line;
  for (const auto& [lead_in, value] : parts) {
    const std::string trimmed = Trim(value);
    if (!trimmed.empty()) line += lead_in + trimmed;
  }
  return line;
}

}  // namespace

TPrnDO8::TPrnDO8(TComponent* owner) : TPrnDO8(owner, SqlQueries()) {}

TPrnDO8::TPrnDO8(TComponent* owner, const WindowQueryFactory& make_query)
    : TPrnSaleDocument(owner, make_query, kLongSaleSource),
      settings_query_(make_query(*this, std::string(kLongSaleAlias))),
      Farmsys(*settings_query_) {
  QuickRep1->Page().SetPaperSize(TQRPaperSize::Letter);
  QuickRep1->SetOptions({FirstPageHeader, LastPageFooter});
  QuickRep1->SetDataSet(&Query2.Rows());
  QuickRep1->BeforePrint = Bind(this, &TPrnDO8::PrnDOBeforePrint);
  BuildPageHeader();
  BuildDetail();
  BuildPageFooter();
}

void TPrnDO8::BuildPageHeader() {
  PageHeaderBand1 = MakeBand("PageHeaderBand1", rbPageHeader, 300);
  QRImage1 = new TQRImage(PageHeaderBand1);
  QRImage1->SetName("QRImage1");
  QRImage1->SetBounds(8, 4, kLogoSize, kLogoSize);
  QRLabel20 = MakeLabel(PageHeaderBand1, "QRLabel20", "", kOrganisationLeftWithLogo, 4);
  QRLabel21 = MakeLabel(PageHeaderBand1, "QRLabel21", "", kOrganisationLeftWithLogo, 26);
  QRLabel22 = MakeLabel(PageHeaderBand1, "QRLabel22", "", kOrganisationLeftWithLogo, 46);
  QRLabel30 = MakeLabel(PageHeaderBand1, "QRLabel30", "", kOrganisationLeftWithLogo, 66);
  QRLabel1 = MakeLabel(PageHeaderBand1, "QRLabel1", "", 560, 4);
  QRLabel27 = MakeLabel(PageHeaderBand1, "QRLabel27", "", 560, 26);
  QRShape10 = MakeRule(PageHeaderBand1, "QRShape10", 0, 90, 720);
  QRLabel6 = MakeLabel(PageHeaderBand1, "QRLabel6", "รหัสลูกค้า", 8, 100);
  QRLabel43 = MakeLabel(PageHeaderBand1, "QRLabel43", "", 100, 100);
  QRLabel4 = MakeLabel(PageHeaderBand1, "QRLabel4", "ชื่อลูกค้า", 8, 122);
  QRLabel42 = MakeLabel(PageHeaderBand1, "QRLabel42", "", 100, 122);
  QRLabel5 = MakeLabel(PageHeaderBand1, "QRLabel5", "ที่อยู่", 8, 144);
  QRLabel13 = MakeLabel(PageHeaderBand1, "QRLabel13", "", 100, 144);
  QRLabel18 = MakeLabel(PageHeaderBand1, "QRLabel18", "", 100, 166);
  QRLabel2 = MakeLabel(PageHeaderBand1, "QRLabel2", "เลขที่ใบกำกับ", 480, 100);
  QRLabel57 = MakeLabel(PageHeaderBand1, "QRLabel57", "", 590, 100);
  QRLabel3 = MakeLabel(PageHeaderBand1, "QRLabel3", "วันที่", 480, 122);
  BillDate = MakeLabel(PageHeaderBand1, "BillDate", "", 590, 122);
  QRLabel15 = MakeLabel(PageHeaderBand1, "QRLabel15", "กำหนดชำระเงิน", 480, 144);
  PrintedField(*PageHeaderBand1, Query1.Rows(), "CreditRate", "credit_rate", 590).SetTop(144);
  QRLabel16 = MakeLabel(PageHeaderBand1, "QRLabel16", "วันครบกำหนด", 480, 166);
  DueDate = MakeLabel(PageHeaderBand1, "DueDate", "", 590, 166);
  QRLabel17 = MakeLabel(PageHeaderBand1, "QRLabel17", "พนักงาน", 480, 188);
  PrintedField(*PageHeaderBand1, Query1.Rows(), "SaleNo", "sale_no", 590).SetTop(188);
  QRLabel14 = MakeLabel(PageHeaderBand1, "QRLabel14", "", 480, 210);
  QRShape3 = MakeRule(PageHeaderBand1, "QRShape3", 0, 240, 720);
  QRLabel7 = MakeLabel(PageHeaderBand1, "QRLabel7", "รหัสสินค้า", 8, 250);
  QRLabel8 = MakeLabel(PageHeaderBand1, "QRLabel8", "จำนวน", 90, 250);
  QRLabel37 = MakeLabel(PageHeaderBand1, "QRLabel37", "หน่วย", 170, 250);
  QRLabel9 = MakeLabel(PageHeaderBand1, "QRLabel9", "รายการ", 230, 250);
  QRLabel10 = MakeLabel(PageHeaderBand1, "QRLabel10", "ราคา/หน่วย", 460, 250);
  QRLabel11 = MakeLabel(PageHeaderBand1, "QRLabel11", "ลด%", 560, 250);
  QRLabel12 = MakeLabel(PageHeaderBand1, "QRLabel12", "จำนวนเงิน", 630, 250);
  QRShape4 = MakeRule(PageHeaderBand1, "QRShape4", 0, 272, 720);
  QRShape7 = MakeRule(PageHeaderBand1, "QRShape7", 0, 296, 720);
}

void TPrnDO8::BuildDetail() {
  QRBand2 = MakeBand("QRBand2", rbDetail, kLineHeight);
  QRBand2->BeforePrint = Bind(this, &TPrnDO8::QRBand2BeforePrint);
  LineField(QRBand2, "QRDBText1", "ACCESSORY_NO", "", 8, 0);
  LineField(QRBand2, "QRDBText5", "QTY", kLineQuantityMask, 60, 90);
  LineField(QRBand2, "QRDBText2", "UNIT_NAME", "", 170, 0);
  LineField(QRBand2, "QRDBText3", "ACCESSORY_NAME", "", 230, 0);
  QRLabel40 = MakeLabel(QRBand2, "QRLabel40", "", 230, 24);
  LineField(QRBand2, "QRDBText4", "PRICE", kLinePriceMask, 440, 100);
  LineField(QRBand2, "QRDBText6", "DISC_RATE", "", 560, 0);
  LineField(QRBand2, "QRDBText7", "TOTAL", kLineAmountMask, 600, 110);
}

void TPrnDO8::BuildPageFooter() {
  PageFooterBand1 = MakeBand("PageFooterBand1", rbPageFooter, 220);
  QRShape6 = MakeRule(PageFooterBand1, "QRShape6", 0, 2, 720);
  QRLabel28 = MakeLabel(PageFooterBand1, "QRLabel28", "รวมเงิน ", 480, 8);
  QRLabel56 = MakeLabel(PageFooterBand1, "QRLabel56", "", 600, 8);
  QRLabel19 = MakeLabel(PageFooterBand1, "QRLabel19", "รวมเงินทั้งสิ้น", 480, 30);
  QRLabel53 = MakeLabel(PageFooterBand1, "QRLabel53", "", 600, 30);
  for (TQRLabel* total : {QRLabel56, QRLabel53}) {
    total->SetAutoSize(false);
    total->SetWidth(110);
    total->SetAlignment(taRightJustify);
  }
  QRLabel23 = MakeLabel(PageFooterBand1, "QRLabel23", "", 8, 30);
  QRLabel48 = MakeLabel(PageFooterBand1, "QRLabel48", "", 8, 56);
  QRLabel32 = MakeLabel(PageFooterBand1, "QRLabel32", "ชำระเงินโดย", 8, 80);
  QRLabel33 = MakeLabel(PageFooterBand1, "QRLabel33", "(  ) เงินสด", 100, 80);
  QRLabel39 = MakeLabel(PageFooterBand1, "QRLabel39", "(  ) บัตรเครดิต ........................", 100, 100);
  QRLabel34 = MakeLabel(PageFooterBand1, "QRLabel34", "(  ) เช็คธนาคาร ........................", 100, 120);
  QRLabel35 = MakeLabel(PageFooterBand1, "QRLabel35",
                        "( ในกรณีชำระด้วยเช็ค โปรดสั่งจ่ายและขีดคร่อมในนาม บริษัทฯ เท่านั้น )", 8, 142);
  QRShape15 = MakeRule(PageFooterBand1, "QRShape15", 100, 190, 150);
  QRShape5 = MakeRule(PageFooterBand1, "QRShape5", 480, 190, 150);
  QRLabel25 = MakeLabel(PageFooterBand1, "QRLabel25", "ผู้รับของ", 150, 196);
  QRLabel24 = MakeLabel(PageFooterBand1, "QRLabel24", "", 530, 196);
}

void TPrnDO8::PrnDOBeforePrint(TQuickRep*, bool&) {
  ReadSale();
  Farmsys.Open({kSettingsStatement, {}});
  TDataSet& settings = Farmsys.Rows();
  if (!settings.IsEmpty())
    SetUpDocumentPage(QuickRep1->Page(), settings.FieldByName("PRN_TOP")->AsFloat(),
                      settings.FieldByName("PRN_LEFT")->AsFloat());
  settings.Close();
  PlaceLogo(*QRImage1, myVar.PrintLogo, {QRLabel20}, kOrganisationLeftWithLogo, kOrganisationLeftWithoutLogo);

  QRLabel20->SetCaption(Office("OF_NAME"));
  QRLabel21->SetCaption(LeadInParts(
      {{" ", Office("Of_Add1")}, {" ", Office("Of_Add2")}, {" ", Office("Of_Add4")}, {" ", Office("Of_Zip")}}));
  QRLabel22->SetCaption(
      LeadInParts({{" Tel. ", Office("Of_Tel")}, {" Fax. ", Office("Of_Fax")}, {" Email : ", Office("Of_Email")}}));
  QRLabel13->SetCaption(Trim(Customer("CUST_ADD1")) + LeadInParts({{" ", Customer("CUST_ADD2")}}));
  QRLabel18->SetCaption(LeadInParts(
      {{" ", Customer("CUST_ADD4")}, {" ", Customer("CUST_ZIP")}, {" Tel. ", Customer("CUST_TEL")}}));
  QRLabel43->SetCaption(Customer("CUST_NO"));
  QRLabel42->SetCaption(Customer("CUST_NAME"));
  Query3.Rows().Close();
  QRLabel57->SetCaption(Column(Query1, "bill_no"));
  BillDate->SetCaption(SaleDate("bill_date"));
  DueDate->SetCaption(SaleDate("due_date"));

  const bool receipt = myVar.PrintDocKind == "1";
  QRLabel1->SetCaption(myVar.PrintDocTitle);
  QRLabel27->SetCaption(receipt ? "RECEIPT" : "DELIVERY ORDER");
  QRLabel14->SetCaption("อ้างถึง");
  QRLabel48->SetCaption("** ได้รับสินค้าตามรายการข้างบนนี้แล้ว");
  QRLabel24->SetCaption("ผู้รับเงิน");
  for (TQRPrintable* signature : std::initializer_list<TQRPrintable*>{QRLabel48, QRLabel25, QRShape5, QRLabel24,
                                                                       QRShape15})
    signature->SetEnabled(true);
  for (TQRLabel* payment : {QRLabel32, QRLabel33, QRLabel39, QRLabel34, QRLabel35}) payment->SetEnabled(receipt);

  ApplyPaperMode(myVar.PrintPreview,
                 {QRShape10, QRShape3, QRShape4, QRShape7, QRShape6, QRLabel2, QRLabel3, QRLabel4, QRLabel5,
                  QRLabel6, QRLabel14, QRLabel15, QRLabel16, QRLabel17, QRLabel7, QRLabel8, QRLabel37, QRLabel9,
                  QRLabel10, QRLabel11, QRLabel12, QRLabel28, QRLabel19, QRShape5, QRShape15},
                 {QRLabel1, QRLabel27, QRLabel20, QRLabel21, QRLabel22, QRLabel30, QRLabel18});
  // The program never gives the layout a taxpayer number.
  QRLabel30->SetCaption("");
  QRLabel56->SetCaption(AmountFigures());
  QRLabel53->SetCaption(AmountFigures());
  QRLabel23->SetCaption("<" + BahtToText(Total().Format("#######0.00")) + ">");
}

void TPrnDO8::QRBand2BeforePrint(TQRBand*, bool&) {
  const std::string serial = Column(Query2, "ACCESSORY_SN");
  QRBand2->SetHeight(serial.empty() ? kLineHeight : kLineWithSerialHeight);
  QRLabel40->SetCaption(serial);
  QRLabel40->SetEnabled(!serial.empty());
}
