#include "app/donation/PrnCertificate.h"

#include "app/core/DocumentAddress.h"
#include "app/core/DocumentNumber.h"
#include "app/core/DocumentPage.h"
#include "app/core/SqlWindowQuery.h"
#include "app/core/ThaiDateText.h"
#include "app/core/myVar.h"
#include "platform/db/DB.h"

namespace {

const CertificateLayout kHalfLetterCertificate{
    TQRPaperSize::Custom,
    kHalfLetterWidth,
    kHalfLetterLength,
    12,
    "",
    true,
    {{"QRLabel5",
      "ขออำนาจคุณพระศรีรัตนตรัย และบุญกุศลที่บำเพ็ญนี้ จงดลบันดาลให้ท่านและครอบครัว  เจริญด้วยอายุ"},
     {"QRLabel6", "วรรณะ สุขะ พละ และปฏิภาณ  และประสพสิ่งอันพึงปราถนา ทุกทิพาราตรีกาล เทอญ ฯ"}},
    false};
const CertificateLayout kA4Certificate{TQRPaperSize::A4,
                                       210,
                                       297,
                                       16,
                                       "เลขที่  ",
                                       false,
                                       {{"QRLabel5", "ขออำนาจคุณพระศรีรัตนตรัย และบุญกุศลที่บำเพ็ญนี้"},
                                        {"QRLabel2", "จงดลบันดาลให้ท่านและครอบครัว "},
                                        {"QRLabel6", "เจริญด้วยอายุ วรรณะ สุขะ พละ และปฏิภาณ"},
                                        {"QRLabel9", "และประสพสิ่งอันพึงปราถนา ทุกทิพาราตรีกาล เทอญ ฯ"}},
                                       true};

constexpr int kLineHeight = 28;
constexpr int kLogoSize = 60;

}  // namespace

TPrnCertificate::TPrnCertificate(TComponent* owner, const WindowQueryFactory& make_query,
                                 const CertificateLayout& layout)
    : TDonationDocument(owner, make_query), layout_(layout) {
  TQRPage& page = QuickRep1->Page();
  page.SetPaperSize(layout.size);
  if (layout.size == TQRPaperSize::Custom) {
    page.SetWidth(layout.width);
    page.SetLength(layout.length);
  }
  QuickRep1->Font().SetSize(layout.font_size);
  QuickRep1->SetOptions({FirstPageHeader});
  QuickRep1->SetDataSet(&Query2.Rows());
  QuickRep1->BeforePrint = Bind(this, &TPrnCertificate::PrnDOBeforePrint);

  TitleBand1 = MakeBand("TitleBand1", rbTitle, 0);
  PageHeaderBand1 = MakeBand("PageHeaderBand1", rbPageHeader, 16 * kLineHeight);
  QRImage1 = new TQRImage(PageHeaderBand1);
  QRImage1->SetName("QRImage1");
  QRImage1->SetBounds(8, 4, kLogoSize, kLogoSize);
  QRLabel1 = MakeLabel(PageHeaderBand1, "QRLabel1", "", 0, 8);
  QRLabel1->SetAlignment(taCenter);
  QRLabel1->SetAlignToBand(true);
  NumberCaption = layout.number_caption ? MakeLabel(PageHeaderBand1, "QRLabel2", "เลขที่", 500, 8) : nullptr;
  QRLabel57 = MakeLabel(PageHeaderBand1, "QRLabel57", "", 560, 8);
  QRLabel3 = MakeLabel(PageHeaderBand1, "QRLabel3", "", 560, 8 + kLineHeight);
  QRShape10 = MakeRule(PageHeaderBand1, "QRShape10", 0, 2 * kLineHeight + 10, 720);
  QRLabel15 = MakeLabel(PageHeaderBand1, "QRLabel15", "ขออนุโมทนา", 100, 3 * kLineHeight);
  QRLabel20 = MakeLabel(PageHeaderBand1, "QRLabel20", "", 100, 4 * kLineHeight);
  QRLabel21 = MakeLabel(PageHeaderBand1, "QRLabel21", "", 100, 5 * kLineHeight);
  QRLabel16 = MakeLabel(PageHeaderBand1, "QRLabel16", "", 100, 6 * kLineHeight);
  QRLabel18 = MakeLabel(PageHeaderBand1, "QRLabel18", "", 100, 7 * kLineHeight);
  QRLabel4 = MakeLabel(PageHeaderBand1, "QRLabel4", "", 100, 8 * kLineHeight);
  QRLabel10 = MakeLabel(PageHeaderBand1, "QRLabel10", "", 100, 9 * kLineHeight);
  int top = 10 * kLineHeight;
  for (const auto& [name, text] : layout.blessing) {
    MakeLabel(PageHeaderBand1, name, text, 60, top);
    top += kLineHeight;
  }
  QRShape1 = MakeRule(PageHeaderBand1, "QRShape1", 80, top + kLineHeight, 200);
  if (layout.second_signature_rule) MakeRule(PageHeaderBand1, "QRShape2", 440, top + kLineHeight, 200);
  QRLabel7 = MakeLabel(PageHeaderBand1, "QRLabel7", "ผู้รับเงิน", 140, top + 2 * kLineHeight);
  QRLabel8 = MakeLabel(PageHeaderBand1, "QRLabel8", "เจ้าอาวาส", 500, top + 2 * kLineHeight);
}

void TPrnCertificate::PrnDOBeforePrint(TQuickRep*, bool&) {
  ReadDonation();
  QRLabel57->SetCaption(layout_.number_prefix + SplitDocumentNumber(Column(Query1, "bill_no")));
  QRLabel1->SetCaption(myVar.PrintDocTitle);
  TDataSet& header = Query1.Rows();
  QRLabel3->SetCaption("วันที่ " + (header.IsEmpty() ? std::string()
                                                    : DateToThaiText(header.FieldByName("bill_date")->AsDateTime())));
  if (NumberCaption != nullptr) {
    ApplyPaperMode(myVar.PrintPreview, {QRShape10, QRShape1, NumberCaption}, {QRLabel1, QRLabel20, QRLabel21, QRLabel18});
  } else {
    ApplyPaperMode(myVar.PrintPreview, {QRShape10, QRShape1}, {QRLabel1, QRLabel20, QRLabel21, QRLabel18});
  }
  const auto office = [this](const char* column) { return Column(QueryOf, column); };
  QRLabel20->SetCaption("ให้กับ  " + office("OF_NAME"));
  QRLabel21->SetCaption(
      OrganisationAddressLine({office("OF_ADD1"), office("OF_ADD2"), office("OF_ADD4"), office("OF_ZIP")}));
  QRLabel16->SetCaption("แด่ " + Column(Query1, "cust_name"));
  QRLabel18->SetCaption("ผู้บริจาคทรัพย์ในการ " + Column(Query2, "ACCESSORY_NAME"));
  // The organisation's lines keep their place whether the logo prints or not.
  PlaceLogo(*QRImage1, myVar.PrintLogo, {}, 0, 0);
  QRLabel4->SetCaption("เป็นจำนวนเงิน " + AmountFigures());
  QRLabel10->SetCaption(AmountWords());
}

TPrnCertificate1::TPrnCertificate1(TComponent* owner) : TPrnCertificate1(owner, SqlQueries()) {}
TPrnCertificate1::TPrnCertificate1(TComponent* owner, const WindowQueryFactory& make_query)
    : TPrnCertificate(owner, make_query, kHalfLetterCertificate) {}

TPrnCertificate2::TPrnCertificate2(TComponent* owner) : TPrnCertificate2(owner, SqlQueries()) {}
TPrnCertificate2::TPrnCertificate2(TComponent* owner, const WindowQueryFactory& make_query)
    : TPrnCertificate(owner, make_query, kA4Certificate) {}
