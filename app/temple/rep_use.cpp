#include "app/temple/rep_use.h"

#include <string>

#include "app/core/Currency.h"
#include "app/core/SqlWindowQuery.h"
#include "app/core/myVar.h"
#include "app/temple/ReportColumns.h"
#include "platform/report/GraphicItems.h"
#include "platform/report/TextItems.h"

namespace {

struct UsageReportTexts {
  const char* caption;
  const char* title;
};

// By mode 1, 2 and any other, for all lines and for the sites only.
constexpr UsageReportTexts kAllLinesTexts[] = {
    {"รายงานการใช้ศาลา - อาคาร และอื่น ๆ", "รายงานการใช้ศาลา - อาคาร และอื่น ๆ"},
    {"รายงานการใช้ที่ดิน (ที่ธรณีสงฆ์) และอื่น ๆ", "รายงานการใช้ที่ดิน (ที่ธรณีสงฆ์) และอื่น ๆ"},
    {" รายงานการใช้งานศาลา - อาคาร และอื่น ๆ", "รายงานทะเบียนที่ดิน (ที่ธรณีสงฆ์) และอื่น ๆ"}};
constexpr UsageReportTexts kSiteLinesTexts[] = {
    {"รายงานการใช้ศาลา - อาคาร", "รายงานการใช้ศาลา - อาคาร"},
    {"รายงานการใช้ที่ดิน (ที่ธรณีสงฆ์)", "รายงานการใช้ที่ดิน (ที่ธรณีสงฆ์)"},
    {" รายงานการใช้งานที่ดิน (ที่ธรณีสงฆ์)", "รายงานทะเบียนที่ดิน (ที่ธรณีสงฆ์)"}};

int TextIndex(int mode) {
  return mode == 1 || mode == 2 ? mode - 1 : 2;
}

ReportLayout UsageLayout(int mode, bool sites_only) {
  const UsageReportTexts& texts = (sites_only ? kSiteLinesTexts : kAllLinesTexts)[TextIndex(mode)];
  ReportLayout layout;
  layout.shape = ReportShape::BrowseAndPrint;
  layout.browse_period = true;
  layout.period_start = ReportPeriodStart::CurrentMonth;
  layout.alias = "d_rep_use_land";
  layout.caption = texts.caption;
  layout.title = texts.title;
  layout.top = 1;
  layout.left = 1;
  layout.statement = {" select * from h_temple ", " where ((work_date >=:mBegin) and (work_date <=:mEnd)) "};
  layout.order_lines = {" order by work_no "};
  layout.name_field = "accessory_name";
  layout.name_condition = " and accessory_name like:mspr_name ";
  layout.name_parameter = "mspr_name";
  layout.print_buttons = {{"พิมพ์", "1"}};
  layout.run_at_setup = true;
  return layout;
}

struct Column {
  const char* caption;
  const char* field;
  int left;
  bool money;
};

constexpr Column kColumns[] = {{"วันที่", "work_date", 0, false},          {"รหัส", "accessory_no", 90, false},
                               {"รายการ", "accessory_name", 170, false},   {"จำนวน", "qty", 400, false},
                               {"หน่วยนับ", "unit", 460, false},          {"ราคา/หน่วย", "price", 530, true},
                               {"รวมเงิน", "total", 630, true}};

}  // namespace

Trep_use_all::Trep_use_all(TComponent* owner) : Trep_use_all(owner, SqlQueries()) {}

Trep_use_all::Trep_use_all(TComponent* owner, const WindowQueryFactory& make_query)
    : Trep_use_all(owner, make_query, false) {}

Trep_use_all::Trep_use_all(TComponent* owner, const WindowQueryFactory& make_query, bool sites_only)
    : ReportWindow(owner, UsageLayout(sites_only ? myVar.UseLandReportMode : myVar.UseAllReportMode, sites_only),
                   make_query),
      sites_only_(sites_only) {
  SetTag(sites_only ? myVar.UseLandReportMode : myVar.UseAllReportMode);
  BuildReportItems();
}

void Trep_use_all::AddConditions(std::vector<std::string>& lines, std::vector<QueryParameter>&) {
  if (Tag() == 1 || Tag() == 2) {
    lines.push_back(" and substring(work_no from 5 for 1) = \"" + std::to_string(Tag()) + "\" ");
  }
  if (sites_only_) lines.push_back(" and accessory_type = \"0\" ");
}

void Trep_use_all::BuildReportItems() {
  for (const Column& column : kColumns) {
    TQRDBText& value = PrintedColumn(*this, column.caption, column.field, column.left);
    if (column.money) value.SetMask(std::string(kMoneyMask));
  }
  auto& caption = *new TQRLabel(&SummaryBand);
  caption.SetName("QRLabel14");
  caption.SetCaption("รวม");
  caption.SetLeft(kColumns[5].left);
  caption.SetTop(6);
  auto& sum = *new TQRExpr(&SummaryBand);
  sum.SetName("QRExpr1");
  sum.SetExpression("SUM(Query1.total)");
  sum.SetMask(std::string(kMoneyMask));
  sum.SetLeft(kColumns[6].left);
  sum.SetTop(6);
  for (int top : {2, 28}) {
    auto& rule = *new TQRShape(&SummaryBand);
    rule.SetShape(qrsHorLine);
    rule.SetBounds(kColumns[5].left, top, 200, 3);
  }
}

Trep_use_land::Trep_use_land(TComponent* owner) : Trep_use_land(owner, SqlQueries()) {}

Trep_use_land::Trep_use_land(TComponent* owner, const WindowQueryFactory& make_query)
    : Trep_use_all(owner, make_query, true) {}
