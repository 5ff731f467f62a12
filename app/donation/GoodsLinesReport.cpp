#include "app/donation/GoodsLinesReport.h"

#include "app/core/ColumnSum.h"
#include "app/core/Currency.h"
#include "app/core/myVar.h"
#include "app/donation/CalculatedFields.h"
#include "platform/db/NumericFields.h"

namespace {

constexpr int kColumnWidth = 90;
constexpr double kMarginMillimetres = 10;

}  // namespace

GoodsLinesReport::GoodsLinesReport(TComponent* owner, ReportLayout layout, const WindowQueryFactory& make_query,
                                   std::string party_field, std::string gift_field)
    : ReportWindow(owner, std::move(layout), make_query),
      Label8(NetTotalLabel(*this, "รวมสุทธิ")),
      GroupFooterBand(AddGroupFooter(QuickRep1, "Query1.bill_no")) {
  std::vector<GridColumn> grid{{"bill_no", "เลขใบสำคัญ"}, {"bill_date", "วันที่"},       {party_field, "ฆราวาส"},
                               {"ACCESSORY_NAME", "รายการสินค้า"}, {"QTY", "จำนวน"}, {"PRICE", "ราคา/หน่วย"},
                               {"DISC_RATE", "ลด%"},          {"total_vat", "รวม"}};
  if (!gift_field.empty()) grid.push_back({gift_field, "ของที่ระลึก"});
  ShowColumns(*DBGrid1, grid);

  SetLetterPaper(QuickRep1, kMarginMillimetres);
  TDataSet& rows = Query1.Rows();
  std::vector<std::pair<std::string, std::string>> printed{
      {"เลขใบสำคัญ", "bill_no"}, {"วันที่", "bill_date"}, {"รายการ", "accessory_name"}, {"จำนวน", "qty"}};
  if (!gift_field.empty()) printed.push_back({"ของที่ระลึก", gift_field});
  printed.push_back({"รวมทั้งสิ้น", "total_vat"});
  printed.push_back({"ฆราวาส", party_field});
  int left = 0;
  for (const auto& [caption, field] : printed) {
    PrintedCaption(ColumnHeaderBand, "Caption_" + field, caption, left);
    PrintedField(DetailBand, rows, "Line_" + field, field, left, field == "total_vat" ? kPrintedMoneyMask : "");
    left += kColumnWidth;
  }

  auto& rule = *new TQRShape(&GroupFooterBand);
  rule.SetShape(qrsHorLine);
  rule.SetBounds(0, 0, left, 2);
  int summary_left = 0;
  for (const auto& [caption, field] : {std::pair{"เลขใบสำคัญ", std::string("bill_no")},
                                       std::pair{"วันที่", std::string("bill_date")},
                                       std::pair{"ฆราวาส", party_field}}) {
    summary_items_.push_back(&PrintedCaption(GroupFooterBand, "DocumentCaption_" + field, caption, summary_left));
    summary_items_.push_back(
        &PrintedField(GroupFooterBand, rows, "Document_" + field, field, summary_left + kColumnWidth));
    summary_left += 2 * kColumnWidth;
  }
  PrintedCaption(GroupFooterBand, "DocumentSumCaption", "รวม ", summary_left);
  PrintedSum(GroupFooterBand, "DocumentSum", "total_vat", summary_left + kColumnWidth);

  QuickRep1.BeforePrint = Bind(this, &GoodsLinesReport::PrintLayout);
  OnActivate = Bind(this, &GoodsLinesReport::FormActivate);
}

void GoodsLinesReport::FormActivate(TObject* sender) {
  const bool first = SetupPending();
  ReportWindow::FormActivate(sender);
  if (first) ShowPrintButtons(false);
}

void GoodsLinesReport::RunDone() {
  const bool ran_again = AddCalculatedFieldsAtFirstRun(*this, [this](TDataSet& rows) {
    total_1_ = rows.FieldByName("TOTAL_1");
    tax_rate_ = rows.FieldByName("TAX_RATE");
    total_vat_ = &AddCalculatedField(rows, *this, "total_vat");
    total_rate_vat_ = &AddCalculatedField(rows, *this, "total_rate_vat");
    for (TField* money : {total_vat_, total_rate_vat_})
      static_cast<TNumericField*>(money)->SetDisplayFormat(kPrintedMoneyMask);
    AddOwnCalculatedFields();
    rows.OnCalcFields = Bind(this, &GoodsLinesReport::Query1CalcFields);
  });
  if (ran_again) return;
  TDataSet& rows = Query1.Rows();
  ShowPrintButtons(!rows.IsEmpty());
  if (rows.IsEmpty()) return;
  myVar.ReportTotals[3] = SumColumn(rows, "total_rate_vat").ToDouble();
  rows.First();
  Label8.SetCaption(Currency::FromDouble(DeriveNetTotal()).Format());
}

void GoodsLinesReport::Query1CalcFields(TDataSet*) {
  const double total = total_1_->AsFloat();
  const double rate = tax_rate_->AsFloat();
  const double vat = rate > 0 ? total * rate / 100 : 0;
  total_vat_->SetAsFloat(total + vat);
  total_rate_vat_->SetAsFloat(vat);
  CalculateRow();
}

void GoodsLinesReport::PrintLayout(TQuickRep* report, bool& print_report) {
  QuickRep1BeforePrint(report, print_report);
  const bool summary = ReportKind() == "2";
  for (TQRPrintable* item : summary_items_) item->SetEnabled(summary);
}

void GoodsLinesReport::ShowPrintButtons(bool shown) {
  for (TButton* button : PrintButtons) button->SetVisible(shown);
}
