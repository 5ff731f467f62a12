#include "app/donation/Rep_Cust.h"

#include "app/donation/ReportParts.h"

namespace {

constexpr double kMarginMillimetres = 5.08;
constexpr int kColumnWidth = 120;

ReportLayout CustomerListLayout() {
  ReportLayout layout;
  layout.shape = ReportShape::List;
  layout.alias = "d_cust";
  layout.caption = " รายงานทะเบียนฆราวาส";
  layout.title = "รายงานทะเบียนฆราวาส";
  layout.top = 15;
  layout.left = 70;
  layout.sort_caption = "  จัดเรียงลำดับโดย  ";
  layout.sort_items = {"รหัส", "ชื่อ"};
  layout.statement = {" Select * from Customer "};
  layout.order_lines = {" order by cust_no ", " order by cust_name "};
  layout.print_buttons = {{"รายงาน", "1"}};
  return layout;
}

}  // namespace

TRep_Cust::TRep_Cust(TComponent* owner, const WindowQueryFactory& make_query)
    : ReportWindow(owner, CustomerListLayout(), make_query) {
  QuitButton.SetCaption("เลิก");
  SetLetterPaper(QuickRep1, kMarginMillimetres);
  PrintedCaption(ColumnHeaderBand, "Caption_number", "ที่", 0);
  PrintedLineNumber(DetailBand, "Line_number", 0);
  TDataSet& rows = Query1.Rows();
  int left = kColumnWidth / 2;
  for (const auto& [caption, field] : {std::pair{"รหัส", "CUST_NO"}, std::pair{"ชื่อ", "CUST_NAME"},
                                       std::pair{"แฟกซ์", "CUST_FAX"}, std::pair{"โทร.", "CUST_TEL"}}) {
    PrintedCaption(ColumnHeaderBand, std::string("Caption_") + field, caption, left);
    PrintedField(DetailBand, rows, std::string("Line_") + field, field, left);
    left += kColumnWidth;
  }
  for (int top : {2, 6}) {
    auto& rule = *new TQRShape(&SummaryBand);
    rule.SetShape(qrsHorLine);
    rule.SetBounds(0, top, left, 2);
  }
}
