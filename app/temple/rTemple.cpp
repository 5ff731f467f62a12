#include "app/temple/rTemple.h"

#include <cmath>

#include "app/core/BahtText.h"
#include "app/core/ColumnSum.h"
#include "app/core/DocumentAddress.h"
#include "app/core/DocumentItems.h"
#include "app/core/DocumentPage.h"
#include "app/core/SqlWindowQuery.h"
#include "app/core/WindowParts.h"
#include "app/core/myVar.h"
#include "engine/access/Database.h"
#include "platform/db/DB.h"
#include "platform/rtl/FormatFloat.h"
#include "platform/rtl/NumberText.h"
#include "platform/rtl/TextCase.h"
#include "platform/ui/FormsApplication.h"

namespace {

constexpr const char* kGrandTotalMask = "##,###,##0.00";
constexpr const char* kLineAmountMask = "###,###,##0.00";
constexpr int kTempleLeftWithLogo = 123;
constexpr int kTempleLeftWithoutLogo = 39;
constexpr int kLogoSize = 80;
constexpr int kMeteredLineHeight = 48;
constexpr int kSingleLineHeight = 23;

const VoucherPaper kLetterVoucher{"rWork_hotel_0", TQRPaperSize::Letter, 215.9, 279.4, 269, 113, true};
const VoucherPaper kHalfLetterVoucher{"rWork_H_1", TQRPaperSize::Custom, 215.9, 139.7, 245, 103, false};

const std::vector<std::string> kHeaderStatement{"select * from g_temple_2 where work_no = :mmwork_no "};
const std::vector<std::string> kLinesStatement{" select * from  h_temple ", " where work_no =:q_work_no ",
                                               " order by work_no "};
const std::vector<std::string> kTempleStatement{"select * from tresksys"};

// The member's contact line: "Tel. " and the phone when the phone is not
// blank, then " Fax. " and " Email " with the values as stored, each when not
// blank.
std::string MemberContactLine(const std::string& tel, const std::string& fax, const std::string& email) {
  std::string line;
  if (!Trim(tel).empty()) line = "Tel. " + tel;
  if (!Trim(fax).empty()) line += " Fax. " + fax;
  if (!Trim(email).empty()) line += " Email " + email;
  return line;
}

// The amount as printed in the price and amount columns: without its sign.
std::string UnsignedAmount(TDataSet& lines, const char* column) {
  return FormatFloat(kLineAmountMask, std::fabs(lines.FieldByName(column)->AsFloat()));
}

TQRDBText* DataText(TQRBand* band, TDataSet& rows, const char* name, const char* field, int left, int top) {
  auto* text = new TQRDBText(band);
  text->SetName(name);
  text->SetDataSet(&rows);
  text->SetDataField(field);
  text->SetLeft(left);
  text->SetTop(top);
  return text;
}

TQRLabel* AmountLabel(TQRBand* band, const char* name, int left, int top) {
  TQRLabel* label = MakeDocumentLabel(band, name, "", left, top);
  label->SetAutoSize(false);
  label->SetWidth(100);
  label->SetAlignment(taRightJustify);
  return label;
}

}  // namespace

TrTemple::TrTemple(TComponent* owner, const WindowQueryFactory& make_query, const VoucherPaper& paper,
                   std::string_view member_table)
    : TForm(owner),
      header_query_(make_query(*this, paper.alias)),
      lines_query_(make_query(*this, paper.alias)),
      office_query_(make_query(*this, paper.alias)),
      member_query_(make_query(*this, paper.alias)),
      Database1(MakeWindowDatabase(*this, "Database1", paper.alias)),
      Query1(*header_query_),
      Query2(*lines_query_),
      Query3(*office_query_),
      q_cust(*member_query_),
      QuickRep1(new TQuickRep(this)),
      paper_(paper),
      member_table_(member_table) {
  SetCaption(kUsageVoucherCaption);
  QuickRep1->SetName("QuickRep1");
  QuickRep1->SetPrintIfEmpty(true);
  TQRPage& page = QuickRep1->Page();
  page.SetPaperSize(paper.size);
  page.SetWidth(paper.width);
  page.SetLength(paper.length);
  QuickRep1->SetOptions({FirstPageHeader, LastPageFooter});
  QuickRep1->SetDataSet(&Query2.Rows());
  QuickRep1->BeforePrint = Bind(this, &TrTemple::QrTemple_0BeforePrint);
  QuickRep1->AfterPreview = Bind(this, &TrTemple::QuickRepAfterPreview);
  BuildPageHeader();
  BuildDetail();
  BuildPageFooter();
}

TrTemple::~TrTemple() = default;

void TrTemple::Preview() {
  QuickRep1->Preview();
}

void TrTemple::BuildPageHeader() {
  DetailBand1 = MakeDocumentBand(*QuickRep1, "DetailBand1", rbPageHeader, paper_.header_height);
  DetailBand1->BeforePrint = Bind(this, &TrTemple::DetailBand1BeforePrint);
  TDataSet& header = Query1.Rows();
  QRImage1 = new TQRImage(DetailBand1);
  QRImage1->SetName("QRImage1");
  QRImage1->SetBounds(16, 4, kLogoSize, kLogoSize);
  QRLabel11 = MakeDocumentLabel(DetailBand1, "QRLabel11", "", kTempleLeftWithLogo, 4);
  QRLabel12 = MakeDocumentLabel(DetailBand1, "QRLabel12", "", kTempleLeftWithLogo, 28);
  QRLabel18 = MakeDocumentLabel(DetailBand1, "QRLabel18", "", kTempleLeftWithLogo, 48);
  QRLabel33 = MakeDocumentLabel(DetailBand1, "QRLabel33", "", kTempleLeftWithLogo, 68);
  QRLabel35 = MakeDocumentLabel(DetailBand1, "QRLabel35", "", 0, 92);
  QRLabel35->SetAlignment(taCenter);
  QRLabel35->SetAlignToBand(true);
  QRLabel9 = MakeDocumentLabel(DetailBand1, "QRLabel9", "เลขที่", 560, 4);
  QRDBText1 = DataText(DetailBand1, header, "QRDBText1", "work_no", 610, 4);
  QRLabel8 = MakeDocumentLabel(DetailBand1, "QRLabel8", "วันที่", 560, 24);
  QRDBText4 = DataText(DetailBand1, header, "QRDBText4", "work_date", 610, 24);
  QRLabel37 = MakeDocumentLabel(DetailBand1, "QRLabel37", "รหัสพนักงาน", 560, 44);
  QRDBText14 = DataText(DetailBand1, header, "QRDBText14", "staff_no", 640, 44);
  QRShape1 = MakeDocumentRule(DetailBand1, "QRShape1", 0, 124, 720);
  QRLabel13 = MakeDocumentLabel(DetailBand1, "QRLabel13", "ชื่อลูกค้า", 8, 132);
  QRLabel30 = MakeDocumentLabel(DetailBand1, "QRLabel30", "", 90, 132);
  QRLabel29 = MakeDocumentLabel(DetailBand1, "QRLabel29", "รหัสลูกค้า", 480, 132);
  QRLabel38 = MakeDocumentLabel(DetailBand1, "QRLabel38", "", 560, 132);
  QRLabel4 = MakeDocumentLabel(DetailBand1, "QRLabel4", "ที่อยู่", 8, 154);
  QRLabel15 = MakeDocumentLabel(DetailBand1, "QRLabel15", "", 90, 154);
  QRLabel28 = MakeDocumentLabel(DetailBand1, "QRLabel28", "", 90, 176);
  const int titles_top = paper_.header_height - 26;
  QRLabel1 = MakeDocumentLabel(DetailBand1, "QRLabel1", "ที่", 8, titles_top);
  QRLabel5 = MakeDocumentLabel(DetailBand1, "QRLabel5", "รายการ", 50, titles_top);
  QRLabel6 = MakeDocumentLabel(DetailBand1, "QRLabel6", "จำนวน", 330, titles_top);
  QRLabel2 = MakeDocumentLabel(DetailBand1, "QRLabel2", "หน่วยนับ", 400, titles_top);
  QRLabel7 = MakeDocumentLabel(DetailBand1, "QRLabel7", "ราคา/หน่วย", 470, titles_top);
  QRLabel32 = MakeDocumentLabel(DetailBand1, "QRLabel32", "ส่วนลด%", 570, titles_top);
  QRLabel14 = MakeDocumentLabel(DetailBand1, "QRLabel14", "รวม", 660, titles_top);
  for (TQRLabel* title : {QRLabel1, QRLabel5, QRLabel6, QRLabel2, QRLabel7, QRLabel32, QRLabel14}) {
    TFont font = title->Font();
    font.SetStyle({fsBold, fsUnderline});
    title->SetFont(font);
  }
}

void TrTemple::BuildDetail() {
  DetailBand2 = MakeDocumentBand(*QuickRep1, "DetailBand2", rbDetail, kSingleLineHeight);
  DetailBand2->BeforePrint = Bind(this, &TrTemple::DetailBand2BeforePrint);
  TDataSet& lines = Query2.Rows();
  QRSysData1 = new TQRSysData(DetailBand2);
  QRSysData1->SetName("QRSysData1");
  QRSysData1->SetData(qrsDetailNo);
  QRSysData1->SetBounds(8, 2, 30, 17);
  QRDBText2 = DataText(DetailBand2, lines, "QRDBText2", "accessory_name", 50, 2);
  QRDBText3 = DataText(DetailBand2, lines, "QRDBText3", "qty", 330, 2);
  QRDBText9 = DataText(DetailBand2, lines, "QRDBText9", "unit", 400, 2);
  QRDBText5 = AmountLabel(DetailBand2, "QRDBText5", 460, 2);
  QRDBText12 = DataText(DetailBand2, lines, "QRDBText12", "disc_rate", 580, 2);
  QRDBText6 = AmountLabel(DetailBand2, "QRDBText6", 615, 2);
  QRLabel10 = MakeDocumentLabel(DetailBand2, "QRLabel10", "", 50, 24);
}

void TrTemple::BuildPageFooter() {
  PageFooterBand1 = MakeDocumentBand(*QuickRep1, "PageFooterBand1", rbPageFooter, paper_.footer_height);
  PageFooterBand1->BeforePrint = Bind(this, &TrTemple::PageFooterBand1BeforePrint);
  QRShape2 = MakeDocumentRule(PageFooterBand1, "QRShape2", 0, 2, 720);
  QRLabel27 = MakeDocumentLabel(PageFooterBand1, "QRLabel27", "รวม", 8, 8);
  QRLabel21 = MakeDocumentLabel(PageFooterBand1, "QRLabel21", "รวมทั้งสิ้น", 540, 8);
  QRLabel21->SetEnabled(paper_.grand_total_caption);
  QRLabel22 = AmountLabel(PageFooterBand1, "QRLabel22", 615, 8);
  QRShape8 = MakeDocumentRule(PageFooterBand1, "QRShape8", 0, 30, 720);
  QRShape4 = MakeDocumentRule(PageFooterBand1, "QRShape4", 60, 70, 160);
  QRLabel23 = MakeDocumentLabel(PageFooterBand1, "QRLabel23", "ผู้รับเงิน", 110, 76);
  QRShape5 = MakeDocumentRule(PageFooterBand1, "QRShape5", 470, 70, 180);
  QRLabel3 = MakeDocumentLabel(PageFooterBand1, "QRLabel3", "ได้รับสินค้า / บริการแล้ว", 490, 76);
}

void TrTemple::QrTemple_0BeforePrint(TQuickRep*, bool&) {
  Query1.Open({kHeaderStatement, {{"mmwork_no", Variant(myVar.PrintBillNo)}}});
  myVar.ReportTotals.fill(0);
  Query2.Open({kLinesStatement, {{"q_work_no", Variant(Column(Query1, "work_no"))}}});
  const Currency sum = SumColumn(Query2.Rows(), "total");
  Query2.Rows().First();
  const Currency vat = myVar.VatRate > 0 ? Currency::FromDouble(sum.ToDouble() * myVar.VatRate / 100) : Currency();
  grand_total_ = sum + vat;
  myVar.ReportTotals[0] = myVar.ReportTotals[3] = sum.ToDouble();
  myVar.ReportTotals[4] = vat.ToDouble();
  myVar.ReportTotals[5] = myVar.ReportTotals[6] = grand_total_.ToDouble();
  SetUpDocumentPage(QuickRep1->Page(), myVar.PrintTop, myVar.PrintLeft);
  ShowTemple();
  ShowMember();
  QRLabel35->SetCaption(myVar.PrintDocTitle);
  ApplyPaperMode(myVar.PrintPreview,
                 {QRLabel29, QRLabel9, QRLabel8, QRLabel13, QRLabel2, QRLabel1, QRLabel5, QRLabel6, QRLabel7,
                  QRLabel32, QRLabel14, QRLabel23, QRLabel3, QRLabel4, QRShape1, QRShape2, QRShape8, QRShape4,
                  QRShape5},
                 {QRLabel35});
  QRLabel21->SetEnabled(paper_.grand_total_caption && myVar.PrintPreview == "0");
}

void TrTemple::ShowTemple() {
  Query3.Open({kTempleStatement, {}});
  const auto temple = [this](const char* column) { return Column(Query3, column); };
  PlaceLogo(*QRImage1, myVar.PrintLogo, {QRLabel11, QRLabel12, QRLabel18}, kTempleLeftWithLogo,
            kTempleLeftWithoutLogo);
  QRLabel11->SetCaption(Trim(temple("OF_NAME")));
  const std::string address =
      JoinAddressParts({temple("OF_ADD1"), temple("OF_ADD2"), temple("OF_ADD4"), temple("OF_ZIP")});
  QRLabel12->SetCaption(address.empty() ? address : " " + address);
  QRLabel18->SetCaption(ContactLine(temple("OF_TEL"), temple("OF_FAX"), temple("OF_EMAIL")));
  const std::string tax_id = temple("OF_TAXID");
  QRLabel33->SetCaption(Trim(tax_id).empty() ? std::string() : "เลขประจำตัวผู้เสียภาษี  " + tax_id);
}

void TrTemple::ShowMember() {
  // The member named on the header: the lines keep the member they were
  // entered with, which a later change of the header does not update.
  q_cust.Open({{"select * from " + member_table_ + " where mem_no =:mem_no"},
               {{"mem_no", Variant(Column(Query1, "mem_no"))}}});
  const auto member = [this](const char* column) { return Column(q_cust, column); };
  QRLabel38->SetCaption(member("mem_no"));
  QRLabel30->SetCaption(member("mem_name"));
  QRLabel15->SetCaption(
      JoinAddressParts({member("mem_add1"), member("mem_add2"), member("mem_add4"), member("mem_zip")}));
  QRLabel28->SetCaption(MemberContactLine(member("mem_tel"), member("mem_fax"), member("mem_email")));
  q_cust.Rows().Close();
}

void TrTemple::DetailBand1BeforePrint(TQRBand*, bool&) {
  QRLabel37->SetEnabled(false);
  QRDBText14->SetEnabled(false);
}

void TrTemple::DetailBand2BeforePrint(TQRBand*, bool&) {
  TDataSet& lines = Query2.Rows();
  QRDBText5->SetCaption(UnsignedAmount(lines, "price"));
  QRDBText6->SetCaption(UnsignedAmount(lines, "total"));
  const double first = lines.FieldByName("check_first")->AsFloat();
  const double last = lines.FieldByName("check_last")->AsFloat();
  const bool metered = last - first > 0;
  DetailBand2->SetHeight(metered ? kMeteredLineHeight : kSingleLineHeight);
  QRLabel10->SetCaption(metered ? "ตั้งแต่ " + Trim(FloatToStr(first)) + "  ถึง  " + Trim(FloatToStr(last))
                                : std::string());
}

void TrTemple::PageFooterBand1BeforePrint(TQRBand*, bool&) {
  if (myVar.PrintDocKind != "0") return;
  QRLabel22->SetCaption(grand_total_.Format(kGrandTotalMask));
  QRLabel27->SetCaption("< " + BahtToText(grand_total_.Format("########0.00")) + " >");
}

void TrTemple::QuickRepAfterPreview(TObject*) {
  for (WindowQuery* query : {&Query1, &Query2, &Query3}) query->Rows().Close();
  Database1.Close();
  Release();
}

std::string TrTemple::Column(WindowQuery& query, std::string_view column) {
  TDataSet& rows = query.Rows();
  return rows.Active() && !rows.IsEmpty() ? rows.FieldByName(column)->AsString() : std::string();
}

TrTemple_0::TrTemple_0(TComponent* owner) : TrTemple_0(owner, SqlQueries()) {}
TrTemple_0::TrTemple_0(TComponent* owner, const WindowQueryFactory& make_query)
    : TrTemple(owner, make_query, kLetterVoucher, "g_member") {}

TrTemple_1::TrTemple_1(TComponent* owner) : TrTemple_1(owner, SqlQueries()) {}
TrTemple_1::TrTemple_1(TComponent* owner, const WindowQueryFactory& make_query)
    : TrTemple(owner, make_query, kHalfLetterVoucher, "g_member") {}

TrTemple_land_0::TrTemple_land_0(TComponent* owner) : TrTemple_land_0(owner, SqlQueries()) {}
TrTemple_land_0::TrTemple_land_0(TComponent* owner, const WindowQueryFactory& make_query)
    : TrTemple(owner, make_query, kLetterVoucher, "g_member_land") {}

TrTemple_land_1::TrTemple_land_1(TComponent* owner) : TrTemple_land_1(owner, SqlQueries()) {}
TrTemple_land_1::TrTemple_land_1(TComponent* owner, const WindowQueryFactory& make_query)
    : TrTemple(owner, make_query, kHalfLetterVoucher, "g_member_land") {}

void PreviewUsageVoucher(std::string_view view, bool land) {
  TrTemple* voucher = nullptr;
  if (view == "0") {
    voucher = land ? static_cast<TrTemple*>(FormsApplication().CreateForm<TrTemple_land_0>())
                   : FormsApplication().CreateForm<TrTemple_0>();
  } else if (view == "1") {
    voucher = land ? static_cast<TrTemple*>(FormsApplication().CreateForm<TrTemple_land_1>())
                   : FormsApplication().CreateForm<TrTemple_1>();
  }
  if (voucher != nullptr) voucher->Preview();
}
