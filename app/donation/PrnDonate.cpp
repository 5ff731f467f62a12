#include "app/donation/PrnDonate.h"

#include "app/core/DocumentAddress.h"
#include "app/core/DocumentNumber.h"
#include "app/core/DocumentPage.h"
#include "app/core/SqlWindowQuery.h"
#include "app/core/ThaiDateText.h"
#include "app/core/myVar.h"
#include "platform/db/DB.h"

namespace {

constexpr int kLogoSize = 50;

const ReceiptPaper kHalfLetterReceipt{TQRPaperSize::Custom,
                                      kHalfLetterWidth,
                                      kHalfLetterLength,
                                      "QRLabel16",
                                      {"QRShape2", "QRShape3", "QRLabel11", "QRLabel15", "QRShape4", "QRShape7"},
                                      65,
                                      11,
                                      taRightJustify};
const ReceiptPaper kA4Receipt{TQRPaperSize::A4,
                              210,
                              297,
                              "QRLabel11",
                              {"QRShape11", "QRShape12", "QRLabel16", "QRLabel22", "QRShape13", "QRShape14"},
                              114,
                              12,
                              taCenter};

}  // namespace

TPrnDonate::TPrnDonate(TComponent* owner, const WindowQueryFactory& make_query, const ReceiptPaper& paper)
    : TDonationDocument(owner, make_query), paper_(paper) {
  TQRPage& page = QuickRep1->Page();
  page.SetPaperSize(paper.size);
  if (paper.size == TQRPaperSize::Custom) {
    page.SetWidth(paper.width);
    page.SetLength(paper.length);
  }
  QuickRep1->SetOptions({FirstPageHeader, LastPageFooter});
  QuickRep1->SetDataSet(&Query2.Rows());
  QuickRep1->BeforePrint = Bind(this, &TPrnDonate::PrnDOBeforePrint);
  BuildPageHeader();
  BuildDetail();
  BuildPageFooter();
}

void TPrnDonate::BuildPageHeader() {
  PageHeaderBand1 = MakeBand("PageHeaderBand1", rbPageHeader, 200);
  QRImage1 = new TQRImage(PageHeaderBand1);
  QRImage1->SetName("QRImage1");
  QRImage1->SetBounds(8, 4, kLogoSize, kLogoSize);
  QRLabel20 = MakeLabel(PageHeaderBand1, "QRLabel20", "", paper_.organisation_left_with_logo, 4);
  QRLabel21 = MakeLabel(PageHeaderBand1, "QRLabel21", "", paper_.organisation_left_with_logo, 24);
  QRLabel18 = MakeLabel(PageHeaderBand1, "QRLabel18", "", paper_.organisation_left_with_logo, 42);
  QRLabel1 = MakeLabel(PageHeaderBand1, "QRLabel1", "", 0, 66);
  QRLabel1->SetAlignment(paper_.title_alignment);
  QRLabel1->SetAlignToBand(true);
  QRLabel2 = MakeLabel(PageHeaderBand1, "QRLabel2", "เลขที่", 480, 96);
  QRLabel57 = MakeLabel(PageHeaderBand1, "QRLabel57", "", 540, 96);
  QRLabel3 = MakeLabel(PageHeaderBand1, "QRLabel3", "วันที่", 480, 116);
  DateLabel = MakeLabel(PageHeaderBand1, paper_.date_label, "", 540, 116);
  QRLabel4 = MakeLabel(PageHeaderBand1, "QRLabel4", "ชื่อผู้บริจาค", 8, 96);
  QRLabel14 = MakeLabel(PageHeaderBand1, "QRLabel14", "", 100, 96);
  QRLabel5 = MakeLabel(PageHeaderBand1, "QRLabel5", "ที่อยู่", 8, 116);
  QRLabel13 = MakeLabel(PageHeaderBand1, "QRLabel13", "", 100, 116);
  QRShape1 = MakeRule(PageHeaderBand1, "QRShape1", 0, 140, 720);
  QRLabel7 = MakeLabel(PageHeaderBand1, "QRLabel7", "ลำดับ", 8, 150);
  QRLabel8 = MakeLabel(PageHeaderBand1, "QRLabel8", "จำนวน", 60, 150);
  QRLabel6 = MakeLabel(PageHeaderBand1, "QRLabel6", "หน่วย", 160, 150);
  QRLabel9 = MakeLabel(PageHeaderBand1, "QRLabel9", "รายการ", 240, 150);
  QRLabel10 = MakeLabel(PageHeaderBand1, "QRLabel10", "ราคา/หน่วย", 500, 150);
  QRLabel12 = MakeLabel(PageHeaderBand1, "QRLabel12", "จำนวนเงิน", 620, 150);
  QRShape9 = MakeRule(PageHeaderBand1, "QRShape9", 0, 172, 720);
  QRShape10 = MakeRule(PageHeaderBand1, "QRShape10", 0, 60, 720);
}

void TPrnDonate::BuildDetail() {
  QRBand2 = MakeBand("QRBand2", rbDetail, 22);
  QRBand2->BeforePrint = Bind(this, &TPrnDonate::QRBand2BeforePrint);
  QRSysData1 = new TQRSysData(QRBand2);
  QRSysData1->SetName("QRSysData1");
  QRSysData1->SetData(qrsDetailNo);
  QRSysData1->SetBounds(8, 2, 40, 17);
  QRDBText5 = LineField(QRBand2, "QRDBText5", "QTY", kLineQuantityMask, 40, 90);
  QRDBText1 = LineField(QRBand2, "QRDBText1", "UNIT_NAME", "", 160, 0);
  QRLabel17 = MakeLabel(QRBand2, "QRLabel17", "", 240, 2);
  QRDBText4 = LineField(QRBand2, "QRDBText4", "PRICE", kLinePriceMask, 480, 100);
  QRDBText7 = LineField(QRBand2, "QRDBText7", "TOTAL", kLineAmountMask, 600, 110);
}

void TPrnDonate::BuildPageFooter() {
  PageFooterBand1 = MakeBand("PageFooterBand1", rbPageFooter, 110);
  QRShape8 = MakeRule(PageFooterBand1, "QRShape8", 0, 2, 720);
  QRLabel19 = MakeLabel(PageFooterBand1, "QRLabel19", "รวมทั้งสิ้น", 480, 8);
  QRLabel53 = MakeLabel(PageFooterBand1, "QRLabel53", "", 600, 8);
  QRLabel53->SetAutoSize(false);
  QRLabel53->SetWidth(110);
  QRLabel53->SetAlignment(taRightJustify);
  QRShape6 = MakeRule(PageFooterBand1, "QRShape6", 0, 30, 720);
  // The tick boxes for cash or cheque always print.
  const char* const* tick = paper_.tick_items;
  auto* cash_box = new TQRShape(PageFooterBand1);
  cash_box->SetName(tick[0]);
  cash_box->SetBounds(8, 40, 14, 14);
  auto* cheque_box = new TQRShape(PageFooterBand1);
  cheque_box->SetName(tick[1]);
  cheque_box->SetBounds(8, 62, 14, 14);
  MakeLabel(PageFooterBand1, tick[2], "บริจาคเป็นเงินสด", 28, 40);
  MakeLabel(PageFooterBand1, tick[3], "บริจาคเป็นเช็ค", 28, 62);
  MakeRule(PageFooterBand1, tick[4], 140, 52, 120);
  MakeRule(PageFooterBand1, tick[5], 140, 74, 120);
  QRShape15 = MakeRule(PageFooterBand1, "QRShape15", 320, 70, 150);
  QRShape5 = MakeRule(PageFooterBand1, "QRShape5", 540, 70, 150);
  QRLabel24 = MakeLabel(PageFooterBand1, "QRLabel24", "ผู้บริจาค", 370, 78);
  QRLabel25 = MakeLabel(PageFooterBand1, "QRLabel25", "ผู้รับบริจาค", 585, 78);
}

void TPrnDonate::PrnDOBeforePrint(TQuickRep*, bool&) {
  ReadDonation();
  const std::string number = Column(Query1, "bill_no");
  QRLabel57->SetCaption(SplitDocumentNumber(number));
  QRLabel1->SetCaption(myVar.PrintDocTitle);
  TDataSet& header = Query1.Rows();
  DateLabel->SetCaption(header.IsEmpty() ? std::string()
                                         : DateToThaiText(header.FieldByName("bill_date")->AsDateTime()));
  ApplyPaperMode(myVar.PrintPreview,
                 {QRShape10, QRShape1, QRShape8, QRShape9, QRShape6, QRShape15, QRShape5, QRLabel2, QRLabel3,
                  QRLabel4, QRLabel5, QRLabel6, QRLabel7, QRLabel8, QRLabel9, QRLabel10, QRLabel12, QRLabel19},
                 {QRLabel1, QRLabel20, QRLabel21, QRLabel18, QRLabel24, QRLabel25});
  const auto office = [this](const char* column) { return Column(QueryOf, column); };
  QRLabel20->SetCaption(office("OF_NAME"));
  QRLabel21->SetCaption(
      OrganisationAddressLine({office("OF_ADD1"), office("OF_ADD2"), office("OF_ADD4"), office("OF_ZIP")}));
  QRLabel18->SetCaption(ContactLine(office("OF_TEL"), office("OF_FAX"), office("OF_EMAIL")));
  const auto donor = [this](const char* column) { return Column(Query1, column); };
  QRLabel14->SetCaption(donor("cust_name"));
  QRLabel13->SetCaption(
      JoinAddressParts({donor("cust_add1"), donor("cust_add2"), donor("cust_add4"), donor("cust_zip")}));
  PlaceLogo(*QRImage1, myVar.PrintLogo, {QRLabel20, QRLabel21, QRLabel18}, paper_.organisation_left_with_logo,
            paper_.organisation_left_without_logo);
  QRLabel53->SetCaption(AmountFigures());
}

void TPrnDonate::QRBand2BeforePrint(TQRBand*, bool&) {
  QRLabel17->SetCaption(Column(Query2, "ACCESSORY_NAME") + " " + Column(Query2, "ACCESSORY_SN"));
}

TPrnDonate4s::TPrnDonate4s(TComponent* owner) : TPrnDonate4s(owner, SqlQueries()) {}
TPrnDonate4s::TPrnDonate4s(TComponent* owner, const WindowQueryFactory& make_query)
    : TPrnDonate(owner, make_query, kHalfLetterReceipt) {}

TPrnDonate8::TPrnDonate8(TComponent* owner) : TPrnDonate8(owner, SqlQueries()) {}
TPrnDonate8::TPrnDonate8(TComponent* owner, const WindowQueryFactory& make_query)
    : TPrnDonate(owner, make_query, kA4Receipt) {}
