#include "app/core/Rep_Person.h"

#include <string>

#include "app/core/Currency.h"
#include "app/core/SqlWindowQuery.h"
#include "platform/report/TextItems.h"

namespace {


ReportLayout PersonListLayout() {
  ReportLayout layout;
  layout.shape = ReportShape::List;
  layout.alias = "d_per";
  layout.caption = " รายงานพนักงาน";
  layout.title = "รายงานเจ้าหน้าที่";
  layout.top = 15;
  layout.left = 70;
  layout.sort_caption = "  จัดเรียงลำดับโดย  ";
  layout.sort_items = {"รหัส", "ชื่อ"};
  layout.statement = {" Select * from h_person "};
  layout.order_lines = {" order by per_no ", " order by per_name "};
  layout.print_buttons = {{"รายงาน", "1"}};
  return layout;
}

struct Column {
  const char* caption;
  const char* field;  // null: the running number
  int left;
};

constexpr Column kColumns[] = {{"ที่", nullptr, 0},           {"รหัส", "per_no", 40},
                               {"ชื่อ", "per_name", 140},      {"เงินเดือน", "per_salary", 360},
                               {"ฉายา", "per_nick_name", 460}, {"ตำแหน่ง", "per_posi", 600}};

}  // namespace

TRep_Person::TRep_Person(TComponent* owner, const WindowQueryFactory& make_query)
    : ReportWindow(owner, PersonListLayout(), make_query) {
  BuildReportItems();
}

TRep_Person::TRep_Person(TComponent* owner) : TRep_Person(owner, SqlQueries()) {}

void TRep_Person::BuildReportItems() {
  int field_number = 0;
  for (const Column& column : kColumns) {
    auto& caption = *new TQRLabel(&ColumnHeaderBand);
    caption.SetCaption(column.caption);
    caption.SetLeft(column.left);
    if (column.field == nullptr) {
      auto& number = *new TQRSysData(&DetailBand);
      number.SetName("QRSysData1");
      number.SetData(qrsDetailNo);
      number.SetLeft(column.left);
      continue;
    }
    auto& value = *new TQRDBText(&DetailBand);
    value.SetName("QRDBText" + std::to_string(++field_number));
    value.SetDataSet(&Query1.Rows());
    value.SetDataField(column.field);
    value.SetLeft(column.left);
  }
  auto& total = *new TQRExpr(&SummaryBand);
  total.SetName("QRExpr1");
  total.SetExpression("SUM(Query1.per_salary)");
  total.SetMask(std::string(kMoneyMask));
  total.SetLeft(kColumns[3].left);
}
