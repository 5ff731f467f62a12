#include "app/donation/Rep_Donate.h"

namespace {

ReportLayout DonationLayout() {
  ReportLayout layout;
  layout.shape = ReportShape::Period;
  layout.alias = "d_profit";
  layout.caption = "รายงานการบริจาค";
  layout.title = "รายงานการบริจาค";
  layout.top = 5;
  layout.left = 3;
  layout.sort_caption = "  จัดเรียงโดย  ";
  layout.sort_items = {"วันที่", "ใบสำคัญ", "ชื่อบริจาค"};
  layout.statement = {" select donate.* , customer.cust_name, customer.cust_birth  ", " from donate, customer ",
                      " where donate.cust_no = customer.cust_no ",
                      " and (donate.bill_date between :mBegin and :mEnd) "};
  layout.order_lines = {" order by bill_date ", " order by bill_no ", " order by accessory_name "};
  layout.money_fields = {"TOTAL"};
  layout.print_buttons = {{"รายงาน 1", "1"}, {"รายงาน 2", "2"}};
  layout.csv_name = "รายการบริจาค";
  return layout;
}

constexpr int kGroupColumnWidth = 120;

}  // namespace

TRep_Donate::TRep_Donate(TComponent* owner, const WindowQueryFactory& make_query)
    : DonationLinesReport(owner, DonationLayout(), make_query,
                          {{"BILL_NO", "เลขใบสำคัญ"},
                           {"BILL_DATE", "วันที่"},
                           {"cust_name", "ชื่อผู้บริจาค"},
                           {"ACCESSORY_NAME", "รายการ"},
                           {"QTY", "จำนวน"},
                           {"UNIT_NAME", "หน่วยนับ"},
                           {"PRICE", "ราคา/หน่วย"},
                           {"TOTAL", "เป็นเงิน"}},
                          {{"เลขใบสำคัญ", "bill_no", ""},
                           {"วันที่", "bill_date", ""},
                           {"ชื่อผู้บริจาค", "cust_name", ""},
                           {"รายการ", "accessory_name", ""},
                           {"จำนวน", "qty", ""},
                           {"หน่วยนับ", "UNIT_NAME", ""},
                           {"ราคาต่อหน่วย", "PRICE", kPrintedMoneyMask},
                           {"เป็นเงินทั้งสิ้น", "TOTAL", kPrintedMoneyMask}}),
      GroupFooterBand(AddGroupFooter(QuickRep1, "Query1.accessory_no")) {
  TDataSet& rows = Query1.Rows();
  int left = 0;
  for (const auto& [caption, field] : {std::pair{"เลขใบสำคัญ", "bill_no"}, std::pair{"วันที่", "bill_date"},
                                       std::pair{"รายการ", "ACCESSORY_NAME"}}) {
    PrintedCaption(GroupFooterBand, std::string("GroupCaption_") + field, caption, left);
    PrintedField(GroupFooterBand, rows, std::string("Group_") + field, field, left + kGroupColumnWidth / 2);
    left += kGroupColumnWidth + kGroupColumnWidth / 2;
  }
  PrintedCaption(GroupFooterBand, "GroupSumCaption", "รวม ", left);
  PrintedSum(GroupFooterBand, "GroupSum", "total", left + kGroupColumnWidth / 2);
}

void TRep_Donate::PrintLayout(TQuickRep* report, bool& print_report) {
  DonationLinesReport::PrintLayout(report, print_report);
  GroupFooterBand.SetEnabled(ReportKind() == "2");
}
