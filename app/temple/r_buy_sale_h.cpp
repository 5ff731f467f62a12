#include "app/temple/r_buy_sale_h.h"

#include <string_view>

#include "app/core/ColumnSum.h"
#include "app/core/SqlWindowQuery.h"
#include "app/core/WindowParts.h"
#include "app/core/myVar.h"
#include "app/temple/ReportColumns.h"
#include "platform/db/DB.h"
#include "platform/report/TextItems.h"
#include "platform/rtl/NumberText.h"

namespace {

constexpr const char* kAmountMask = "##,###,##0.00";
constexpr const char* kTaxed = "1";
constexpr const char* kUntaxed = "0";

const MoneyReportKind kPurchases{
    "d_r_buy_h",
    "รายงานการซื้อ ",
    "รายงานการซื้อ",
    {"select fill_no , fill_date , mem_no , accessory_name ,  total , fg_clear from h_fill ",
     " where ((fill_date >=:mBegin) and (fill_date <=:mEnd)) ", " and fg_clear = \"0\" "},
    " order by fill_date ",
    "รหัสผู้ขาย",
    "ชื่อสินค้า",
    "fill_no",
    "fill_date",
    true,
    0};

MoneyReportKind IncomeKind(const std::string& type) {
  static const char* const kTitles[] = {"รายได้จากค่าศาลา อาคาร ที่ดิน", " รายได้จากค่าสาธารณูปโภค",
                                        " รายได้จากเครื่องอัฐบริขาร - เครื่องประกอบพิธี"};
  const bool known = type == "0" || type == "1" || type == "2";
  const char* title = known ? kTitles[type[0] - '0'] : "รายงานการขาย";
  return {"d_r_sale_h",
          title,
          title,
          {"select work_no , work_date , mem_no , accessory_name , total , fg_clear from h_temple ",
           " where ((work_date >=:mBegin) and (work_date <=:mEnd)) "},
          " order by work_date ",
          "รหัสฆราวาส",
          "รายการ",
          "work_no",
          "work_date",
          false,
          1};
}

ReportLayout MoneyLayout(const MoneyReportKind& kind) {
  ReportLayout layout;
  layout.shape = ReportShape::Period;
  layout.period_start = ReportPeriodStart::CurrentMonth;
  layout.alias = kind.alias;
  layout.caption = kind.caption;
  layout.title = kind.title;
  layout.top = kind.left;
  layout.left = kind.left;
  layout.statement = kind.statement;
  layout.print_buttons = {{"พิมพ์", "1"}};
  return layout;
}

TLabel* TotalLabel(TForm& form, const char* name, const char* caption, int left, TPanel* panel) {
  TLabel& label = MakeLabel(form, name, caption, left, 8, 110, panel);
  return &label;
}

TQRLabel* SummaryLabel(TQRBand& band, const char* name, const char* caption, int left, int top) {
  auto* label = new TQRLabel(&band);
  label->SetName(name);
  label->SetCaption(caption);
  label->SetLeft(left);
  label->SetTop(top);
  return label;
}

// The column of the first row of the statement; empty without a row.
std::string FirstValue(WindowQuery& query, const char* statement, const char* column) {
  query.Open({{statement}, {}});
  TDataSet& rows = query.Rows();
  const std::string value = rows.IsEmpty() ? std::string() : rows.FieldByName(column)->AsString();
  rows.Close();
  return value;
}

}  // namespace

Tr_Buy_H::Tr_Buy_H(TComponent* owner) : Tr_Buy_H(owner, SqlQueries()) {}
Tr_Buy_H::Tr_Buy_H(TComponent* owner, const WindowQueryFactory& make_query)
    : Tr_Buy_H(owner, make_query, kPurchases) {}

Tr_Buy_H::Tr_Buy_H(TComponent* owner, const WindowQueryFactory& make_query, const MoneyReportKind& kind)
    : ReportWindow(owner, MoneyLayout(kind), make_query), kind_(kind) {
  RadioGroup1->SetVisible(false);
  Picker1->OnCloseUp = Bind(this, &Tr_Buy_H::Picker1CloseUp);
  Picker2->OnCloseUp = Bind(this, &Tr_Buy_H::Picker2CloseUp);
  OnActivate = Bind(this, &Tr_Buy_H::Activate);
  QuickRep1.BeforePrint = Bind(this, &Tr_Buy_H::QrSale1BeforePrint);
  BuildTotals();
  BuildReportItems();
}

void Tr_Buy_H::BuildTotals() {
  Panel3 = &MakeControl<TPanel>(*this, "Panel3", 0, 0, 0, 32, &ResultPage);
  Panel3->SetAlign(alBottom);
  Label7 = TotalLabel(*this, "Label7", "รวมเงิน", 8, Panel3);
  Label8 = TotalLabel(*this, "Label8", "0", 80, Panel3);
  Label5 = TotalLabel(*this, "Label5", "ภาษี", 200, Panel3);
  Label6 = TotalLabel(*this, "Label6", "0", 260, Panel3);
  Label9 = TotalLabel(*this, "Label9", "รวมทั้งสิ้น", 380, Panel3);
  Label10 = TotalLabel(*this, "Label10", "0.00", 470, Panel3);
  // Shown only where the tax status asks for them.
  for (TLabel* label : {Label5, Label6}) label->SetVisible(false);
  if (!kind_.taxed) {
    for (TLabel* label : {Label7, Label8}) label->SetVisible(false);
  }
}

void Tr_Buy_H::BuildReportItems() {
  struct Column {
    const char* title;
    const char* field;
    int left;
  };
  const Column columns[] = {{"เลขใบสำคัญ", kind_.number_field, 0},
                            {"วันที่", kind_.date_field, 110},
                            {kind_.member_title, "mem_no", 200},
                            {kind_.name_title, "accessory_name", 300},
                            {"จำนวนเงิน", "total", 600}};
  for (const Column& column : columns) {
    TQRDBText& value = PrintedColumn(*this, column.title, column.field, column.left);
    if (std::string_view(column.field) == "total") value.SetMask(std::string(kMoneyMask));
  }

  QRLabel8 = SummaryLabel(SummaryBand, "QRLabel8", "รวมเงิน", 480, 4);
  QRLabel10 = SummaryLabel(SummaryBand, "QRLabel10", "", 600, 4);
  QRLabel11 = SummaryLabel(SummaryBand, "QRLabel11", "ภาษี", 480, 24);
  QRLabel12 = SummaryLabel(SummaryBand, "QRLabel12", "", 600, 24);
  QRLabel7 = SummaryLabel(SummaryBand, "QRLabel7", "รวมทั้งสิ้น", 480, 44);
  QRLabel13 = SummaryLabel(SummaryBand, "QRLabel13", "", 600, 44);
  if (!kind_.taxed) {
    for (TQRLabel* label : {QRLabel8, QRLabel10, QRLabel11, QRLabel12}) label->SetEnabled(false);
  }
}

void Tr_Buy_H::Activate(TObject* sender) {
  const bool first = SetupPending();
  FormActivate(sender);
  if (!first) return;
  // Printing needs no run.
  for (TButton* button : PrintButtons) button->SetEnabled(true);
  if (kind_.taxed) {
    tax_status_ = FirstValue(Query1, " select tax_status from hotel_sys ", "tax_status");
    const std::string rate = FirstValue(Query1, " select tax_rate from hotel_sys ", "tax_rate");
    tax_rate_ = rate.empty() ? 0 : StrToFloat(rate);
  }
  for (TLabel* label : {Label8, Label6, Label10}) label->SetCaption("0");
}

void Tr_Buy_H::AddConditions(std::vector<std::string>& lines, std::vector<QueryParameter>&) {
  lines.push_back(kind_.order_line);
}

void Tr_Buy_H::RunDone() {
  has_run_ = true;
  for (TButton* button : PrintButtons) button->SetEnabled(true);
  TDataSet& rows = Query1.Rows();
  sum_ = SumColumn(rows, "total");
  rows.First();
  tax_ = tax_status_ == kTaxed ? Currency::FromDouble(sum_.ToDouble() * tax_rate_ / 100) : Currency();
  grand_total_ = sum_ + tax_;
  Label8->SetCaption(sum_.Format(kAmountMask));
  Label6->SetCaption(tax_.Format(kAmountMask));
  Label10->SetCaption(grand_total_.Format(kAmountMask));
  ShowTaxLabels();
}

void Tr_Buy_H::ShowTaxLabels() {
  if (!kind_.taxed || (tax_status_ != kTaxed && tax_status_ != kUntaxed)) return;
  for (TLabel* label : {Label7, Label8, Label5, Label6}) label->SetVisible(tax_status_ == kTaxed);
}

void Tr_Buy_H::Picker1CloseUp(TObject*) {
  Picker2->SetDate(Picker1->Date());
  if (has_run_) Run();
}

void Tr_Buy_H::Picker2CloseUp(TObject*) {
  if (has_run_) Run();
}

void Tr_Buy_H::QrSale1BeforePrint(TQuickRep* sender, bool& print_report) {
  QuickRep1BeforePrint(sender, print_report);
  QRLabel10->SetCaption(sum_.Format(kAmountMask));
  QRLabel12->SetCaption(tax_.Format(kAmountMask));
  QRLabel13->SetCaption(grand_total_.Format(kAmountMask));
  if (kind_.taxed && (tax_status_ == kTaxed || tax_status_ == kUntaxed)) {
    for (TQRLabel* label : {QRLabel8, QRLabel10, QRLabel11, QRLabel12}) label->SetEnabled(tax_status_ == kTaxed);
  }
}

Tr_Sale_H::Tr_Sale_H(TComponent* owner) : Tr_Sale_H(owner, SqlQueries()) {}
Tr_Sale_H::Tr_Sale_H(TComponent* owner, const WindowQueryFactory& make_query)
    : Tr_Buy_H(owner, make_query, IncomeKind(myVar.SaleReportType)), sale_type_(myVar.SaleReportType) {}

void Tr_Sale_H::AddConditions(std::vector<std::string>& lines, std::vector<QueryParameter>& parameters) {
  if (sale_type_ == "0" || sale_type_ == "1" || sale_type_ == "2") {
    lines.push_back(" and accessory_type = \"" + sale_type_ + "\" ");
  }
  Tr_Buy_H::AddConditions(lines, parameters);
}
