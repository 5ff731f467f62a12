#include "app/donation/PrnCertificate3.h"

#include "app/core/DocumentAddress.h"
#include "app/core/DocumentNumber.h"
#include "app/core/DocumentPage.h"
#include "app/core/SqlWindowQuery.h"
#include "app/core/ThaiDateText.h"
#include "app/core/myVar.h"
#include "platform/db/DB.h"
#include "platform/rtl/NumberText.h"
#include "platform/ui/ThaiDate.h"

namespace {

const std::vector<std::string> kStaffStatement{" select per_name from h_person ", " where per_no = :qper_no "};
constexpr int kMonths = 12;

// The Thai name of a two-digit month text; empty for any other text.
std::string MonthName(const std::string& digits) {
  int32_t month = 0;
  if (digits.size() != 2 || !TryStrToInt(digits, month) || month < 1 || month > kMonths) return {};
  return ThaiMonthName(month);
}

}  // namespace

TPrnCertificate3::TPrnCertificate3(TComponent* owner) : TPrnCertificate3(owner, SqlQueries()) {}

TPrnCertificate3::TPrnCertificate3(TComponent* owner, const WindowQueryFactory& make_query)
    : TDonationDocument(owner, make_query),
      staff_query_(make_query(*this, std::string(kDonationDocumentAlias))),
      query_temp(*staff_query_) {
  TQRPage& page = QuickRep1->Page();
  page.SetPaperSize(TQRPaperSize::Custom);
  page.SetWidth(kHalfLetterWidth);
  page.SetLength(kHalfLetterLength);
  QuickRep1->SetOptions({FirstPageHeader});
  QuickRep1->SetDataSet(&Query2.Rows());
  QuickRep1->BeforePrint = Bind(this, &TPrnCertificate3::PrnDOBeforePrint);
  TitleBand1 = MakeBand("TitleBand1", rbTitle, 0);
  PageHeaderBand1 = MakeBand("PageHeaderBand1", rbPageHeader, 440);
  QRLabel9 = MakeLabel(PageHeaderBand1, "QRLabel9", "", 560, 20);
  QRLabel57 = MakeLabel(PageHeaderBand1, "QRLabel57", "", 630, 20);
  QRLabel20 = MakeLabel(PageHeaderBand1, "QRLabel20", "", 160, 150);
  QRLabel21 = MakeLabel(PageHeaderBand1, "QRLabel21", "", 160, 180);
  QRLabel4 = MakeLabel(PageHeaderBand1, "QRLabel4", "", 160, 210);
  QRLabel2 = MakeLabel(PageHeaderBand1, "QRLabel2", "", 160, 240);
  QRLabel1 = MakeLabel(PageHeaderBand1, "QRLabel1", "", 360, 240);
  QRLabel8 = MakeLabel(PageHeaderBand1, "QRLabel8", "", 220, 280);
  QRLabel3 = MakeLabel(PageHeaderBand1, "QRLabel3", "", 300, 280);
  QRLabel5 = MakeLabel(PageHeaderBand1, "QRLabel5", "", 460, 280);
  QRLabel7 = MakeLabel(PageHeaderBand1, "QRLabel7", "", 420, 360);
  QRLabel6 = MakeLabel(PageHeaderBand1, "QRLabel6", std::string(kCertificate3Caption), 20, 410);
  QRLabel6->Font().SetSize(7);
}

TPrnCertificate3::~TPrnCertificate3() = default;

std::string TPrnCertificate3::mbill_date() const {
  TDataSet& header = Query1.Rows();
  if (!header.Active() || header.IsEmpty()) return {};
  return DateToThaiText(header.FieldByName("bill_date")->AsDateTime());
}

void TPrnCertificate3::PrnDOBeforePrint(TQuickRep*, bool&) {
  ReadDonation();
  const std::string number = Column(Query1, "bill_no");
  QRLabel9->SetCaption(SeriesHeadOf(number));
  QRLabel57->SetCaption(RunningNumberOf(number));
  ApplyPaperMode(myVar.PrintPreview, {QRLabel2}, {QRLabel1, QRLabel20, QRLabel21});
  const auto donor = [this](const char* column) { return Column(Query1, column); };
  QRLabel20->SetCaption(donor("cust_name"));
  QRLabel21->SetCaption(
      JoinAddressParts({donor("cust_add1"), donor("cust_add2"), donor("cust_add4"), donor("cust_zip")}));
  QRLabel4->SetCaption(donor("app_for"));
  QRLabel2->SetCaption(AmountFigures());
  QRLabel1->SetCaption(AmountWords());
  const std::string staff_no = donor("sale_no");
  QRLabel7->SetCaption(staff_no + "   " + StaffName(staff_no));
  const std::string date = mbill_date();
  QRLabel8->SetCaption(date.substr(0, std::min<size_t>(2, date.size())));
  QRLabel3->SetCaption(date.size() >= 5 ? MonthName(date.substr(3, 2)) : std::string());
  QRLabel5->SetCaption(date.size() >= 10 ? date.substr(6, 4) : std::string());
}

std::string TPrnCertificate3::StaffName(const std::string& staff_no) {
  query_temp.Open({kStaffStatement, {{"qper_no", Variant(staff_no)}}});
  std::string name = Column(query_temp, "per_name");
  query_temp.Rows().Close();
  return name;
}
