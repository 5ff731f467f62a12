#include "app/donation/rbuy_sale.h"

#include "app/core/myVar.h"

namespace {

ReportLayout BuySaleLayout() {
  ReportLayout layout;
  layout.shape = ReportShape::Period;
  layout.alias = "d_profit1";
  layout.caption = "  รายงานการซื้อ - ขาย";
  layout.top = 5;
  layout.left = 10;
  layout.money_fields = {"TOTAL_1"};
  layout.print_buttons = {{"รายงาน", "1"}, {"รายงานสรุป", "2"}};
  return layout;
}

}  // namespace

Trbuy_sale::Trbuy_sale(TComponent* owner, const WindowQueryFactory& make_query)
    : GoodsLinesReport(owner, BuySaleLayout(), make_query, "cust_name", "") {
  // No order to choose, and only "&ประมวลผล" runs.
  RadioGroup1->SetVisible(false);
  Picker1->OnCloseUp = nullptr;
  Picker2->OnCloseUp = nullptr;
  OnActivate = Bind(this, &Trbuy_sale::FormActivate);
}

void Trbuy_sale::FormActivate(TObject* sender) {
  const bool first = SetupPending();
  GoodsLinesReport::FormActivate(sender);
  if (!first) return;
  SetBounds(Layout().left, Layout().top, Width(), Height());
  kind_ = myVar.BuySaleReportKind;
  const std::string caption = kind_ == kPurchaseKind ? "รายจ่าย" : "รายรับ";
  SetCaption(caption);
  TitleLabel.SetCaption(caption);
}

// The layout has no fixed lines: the whole statement depends on the kind,
// known from the first activation on.
void Trbuy_sale::AddConditions(std::vector<std::string>& lines, std::vector<QueryParameter>&) {
  if (kind_ == kPurchaseKind) {
    lines = {" select g_buy_2.bill_no, g_buy_2.bill_date, g_buy_2.cust_no, supply.cust_name, instock.*  from  g_buy_2 , "
             "supply, instock ",
             " where g_buy_2.bill_no = instock.bill_no and g_buy_2.cust_no = supply.cust_no ",
             " and (g_buy_2.bill_date between :mBegin and :mEnd) order by instock.bill_no "};
  } else {
    lines = {" select g_sale_2.bill_no, g_sale_2.bill_date, g_sale_2.cust_no, customer.cust_name, outstock.*  from  "
             "g_sale_2 , customer, outstock ",
             " where g_sale_2.bill_no = outstock.bill_no and g_sale_2.cust_no = customer.cust_no ",
             " and (g_sale_2.bill_date between :mBegin and :mEnd) order by outstock.bill_no "};
  }
}
