#include "app/donation/PrnDO.h"

#include "app/core/DocumentAddress.h"
#include "app/core/DocumentNumber.h"
#include "app/core/DocumentPage.h"
#include "app/core/SqlWindowQuery.h"
#include "app/core/ThaiDateText.h"
#include "app/core/myVar.h"
#include "app/donation/ReportParts.h"
#include "platform/db/DB.h"
#include "platform/rtl/TextCase.h"

namespace {

constexpr int kLogoSize = 50;
constexpr int kShortOrganisationLeftWithLogo = 65;
constexpr int kShortOrganisationLeftWithoutLogo = 11;
constexpr DocumentSource kShortSaleSource{kDonationDocumentAlias, "g_sale_2", "outstock"};
const std::vector<std::string> kCustomerStatement{"select * from customer where cust_No = :mcust_no "};

}  // namespace

TPrnSaleDocument::TPrnSaleDocument(TComponent* owner, const WindowQueryFactory& make_query,
                                   const DocumentSource& source)
    : TDonationDocument(owner, make_query, source),
      customer_query_(make_query(*this, std::string(source.alias))),
      Query3(*customer_query_) {}

void TPrnSaleDocument::ReadSale() {
  ReadDonation();
  Query3.Open({kCustomerStatement, {{"mcust_no", Variant(Column(Query1, "cust_no"))}}});
}

std::string TPrnSaleDocument::SaleDate(const char* column) {
  TDataSet& header = Query1.Rows();
  if (!header.Active() || header.IsEmpty()) return {};
  TField* date = header.FieldByName(column);
  return date->IsNull() ? std::string() : DateToThaiText(date->AsDateTime());
}

TPrnDO4s::TPrnDO4s(TComponent* owner) : TPrnDO4s(owner, SqlQueries()) {}

TPrnDO4s::TPrnDO4s(TComponent* owner, const WindowQueryFactory& make_query)
    : TPrnSaleDocument(owner, make_query, kShortSaleSource) {
  TQRPage& page = QuickRep1->Page();
  page.SetPaperSize(TQRPaperSize::Custom);
  page.SetWidth(kHalfLetterWidth);
  page.SetLength(kHalfLetterLength);
  QuickRep1->SetOptions({FirstPageHeader, LastPageFooter});
  QuickRep1->SetDataSet(&Query2.Rows());
  QuickRep1->BeforePrint = Bind(this, &TPrnDO4s::PrnDOBeforePrint);

  PageHeaderBand1 = MakeBand("PageHeaderBand1", rbPageHeader, 220);
  QRImage1 = new TQRImage(PageHeaderBand1);
  QRImage1->SetName("QRImage1");
  QRImage1->SetBounds(8, 4, kLogoSize, kLogoSize);
  QRLabel20 = MakeLabel(PageHeaderBand1, "QRLabel20", "", kShortOrganisationLeftWithLogo, 4);
  QRLabel21 = MakeLabel(PageHeaderBand1, "QRLabel21", "", kShortOrganisationLeftWithLogo, 22);
  QRLabel18 = MakeLabel(PageHeaderBand1, "QRLabel18", "", kShortOrganisationLeftWithLogo, 38);
  QRLabel30 = MakeLabel(PageHeaderBand1, "QRLabel30", "", 480, 38);
  QRShape10 = MakeRule(PageHeaderBand1, "QRShape10", 0, 58, 720);
  QRLabel1 = MakeLabel(PageHeaderBand1, "QRLabel1", "", 0, 64);
  QRLabel1->SetAlignment(taRightJustify);
  QRLabel1->SetAlignToBand(true);
  QRLabel4 = MakeLabel(PageHeaderBand1, "QRLabel4", "ชื่อลูกค้า", 8, 92);
  QRLabel22 = MakeLabel(PageHeaderBand1, "QRLabel22", "", 100, 92);
  QRLabel5 = MakeLabel(PageHeaderBand1, "QRLabel5", "ที่อยู่", 8, 112);
  QRLabel13 = MakeLabel(PageHeaderBand1, "QRLabel13", "", 100, 112);
  QRLabel2 = MakeLabel(PageHeaderBand1, "QRLabel2", "เลขที่", 480, 92);
  QRLabel57 = MakeLabel(PageHeaderBand1, "QRLabel57", "", 580, 92);
  QRLabel3 = MakeLabel(PageHeaderBand1, "QRLabel3", "วันที่", 480, 112);
  BillDate = MakeLabel(PageHeaderBand1, "BillDate", "", 580, 112);
  QRLabel15 = MakeLabel(PageHeaderBand1, "QRLabel15", "กำหนดชำระเงิน", 480, 132);
  CreditRate = &PrintedField(*PageHeaderBand1, Query1.Rows(), "CreditRate", "credit_rate", 580);
  CreditRate->SetTop(132);
  QRLabel16 = MakeLabel(PageHeaderBand1, "QRLabel16", "วันครบกำหนด", 480, 152);
  DueDate = MakeLabel(PageHeaderBand1, "DueDate", "", 580, 152);
  QRShape1 = MakeRule(PageHeaderBand1, "QRShape1", 0, 176, 720);
  QRLabel7 = MakeLabel(PageHeaderBand1, "QRLabel7", "ลำดับ", 8, 184);
  QRLabel8 = MakeLabel(PageHeaderBand1, "QRLabel8", "จำนวน", 60, 184);
  QRLabel6 = MakeLabel(PageHeaderBand1, "QRLabel6", "หน่วย", 160, 184);
  QRLabel9 = MakeLabel(PageHeaderBand1, "QRLabel9", "รายการ", 240, 184);
  QRLabel10 = MakeLabel(PageHeaderBand1, "QRLabel10", "ราคา/หน่วย", 460, 184);
  QRLabel11 = MakeLabel(PageHeaderBand1, "QRLabel11", "ลด %", 560, 184);
  QRLabel12 = MakeLabel(PageHeaderBand1, "QRLabel12", "จำนวนเงิน", 630, 184);
  QRShape3 = MakeRule(PageHeaderBand1, "QRShape3", 0, 206, 720);

  QRBand2 = MakeBand("QRBand2", rbDetail, 22);
  QRBand2->BeforePrint = Bind(this, &TPrnDO4s::QRBand2BeforePrint);
  QRSysData1 = new TQRSysData(QRBand2);
  QRSysData1->SetName("QRSysData1");
  QRSysData1->SetData(qrsDetailNo);
  QRSysData1->SetBounds(8, 2, 40, 17);
  LineField(QRBand2, "QRDBText5", "QTY", kLineQuantityMask, 40, 90);
  LineField(QRBand2, "QRDBText1", "UNIT_NAME", "", 160, 0);
  QRLabel17 = MakeLabel(QRBand2, "QRLabel17", "", 240, 2);
  LineField(QRBand2, "QRDBText4", "PRICE", kLinePriceMask, 440, 100);
  LineField(QRBand2, "QRDBText6", "DISC_RATE", "", 560, 0);
  LineField(QRBand2, "QRDBText7", "TOTAL", kLineAmountMask, 600, 110);

  PageFooterBand1 = MakeBand("PageFooterBand1", rbPageFooter, 100);
  QRShape8 = MakeRule(PageFooterBand1, "QRShape8", 0, 2, 720);
  QRLabel19 = MakeLabel(PageFooterBand1, "QRLabel19", "รวมทั้งสิ้น", 480, 8);
  QRLabel53 = MakeLabel(PageFooterBand1, "QRLabel53", "", 600, 8);
  QRLabel53->SetAutoSize(false);
  QRLabel53->SetWidth(110);
  QRLabel53->SetAlignment(taRightJustify);
  QRShape9 = MakeRule(PageFooterBand1, "QRShape9", 0, 30, 720);
  QRShape6 = MakeRule(PageFooterBand1, "QRShape6", 0, 32, 720);
  QRShape15 = MakeRule(PageFooterBand1, "QRShape15", 100, 66, 150);
  QRShape5 = MakeRule(PageFooterBand1, "QRShape5", 480, 66, 150);
  QRLabel24 = MakeLabel(PageFooterBand1, "QRLabel24", "ผู้รับเงิน", 150, 74);
  QRLabel25 = MakeLabel(PageFooterBand1, "QRLabel25", "ผู้รับของ", 530, 74);
}

void TPrnDO4s::PrnDOBeforePrint(TQuickRep*, bool&) {
  ReadSale();
  QRLabel57->SetCaption(SplitDocumentNumber(myVar.PrintBillNo));
  QRLabel1->SetCaption(myVar.PrintDocTitle);
  ApplyPaperMode(myVar.PrintPreview,
                 {QRShape10, QRShape1, QRShape3, QRShape8, QRShape9, QRShape6, QRShape15, QRShape5, QRLabel2,
                  QRLabel3, QRLabel4, QRLabel5, QRLabel15, QRLabel16, QRLabel6, QRLabel7, QRLabel8, QRLabel9,
                  QRLabel10, QRLabel11, QRLabel12, QRLabel19},
                 {QRLabel1, QRLabel20, QRLabel21, QRLabel18, QRLabel30, QRLabel24, QRLabel25});
  const std::string tax_id = Trim(Office("OF_TAXID"));
  QRLabel30->SetCaption(tax_id.empty() ? std::string() : "เลขประจำตัวผู้เสียภาษี  " + Office("OF_TAXID"));
  QRLabel20->SetCaption(Office("OF_NAME"));
  QRLabel21->SetCaption(
      OrganisationAddressLine({Office("OF_ADD1"), Office("OF_ADD2"), Office("OF_ADD4"), Office("OF_ZIP")}));
  QRLabel18->SetCaption(ContactLine(Office("OF_TEL"), Office("OF_FAX"), Office("OF_EMAIL")));
  QRLabel22->SetCaption(Customer("CUST_NAME"));
  QRLabel13->SetCaption(JoinAddressParts(
      {Customer("CUST_ADD1"), Customer("CUST_ADD2"), Customer("CUST_ADD4"), Customer("CUST_ZIP")}));
  Query3.Rows().Close();
  BillDate->SetCaption(SaleDate("bill_date"));
  DueDate->SetCaption(SaleDate("due_date"));
  PlaceLogo(*QRImage1, myVar.PrintLogo, {QRLabel20, QRLabel21, QRLabel18}, kShortOrganisationLeftWithLogo,
            kShortOrganisationLeftWithoutLogo);
  QRLabel53->SetCaption(AmountFigures());
}

void TPrnDO4s::QRBand2BeforePrint(TQRBand*, bool&) {
  QRLabel17->SetCaption(Column(Query2, "ACCESSORY_NAME") + " " + Column(Query2, "ACCESSORY_SN"));
}
