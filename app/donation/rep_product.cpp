#include "app/donation/rep_product.h"

#include "app/core/ReportStatement.h"
#include "app/donation/CalculatedFields.h"
#include "app/donation/ReportParts.h"
#include "app/donation/StockOnHand.h"
#include "platform/db/NumericFields.h"
#include "platform/rtl/TextCase.h"

int Trep_product::ProductFilterMode = 0;

namespace {

constexpr double kMarginMillimetres = 9.906;
constexpr int kColumnWidth = 100;
// A name that no item has: with "not like" it lists every item with a name.
constexpr const char* kNoName = "-*98*752acr445x";

ReportLayout ProductLayout() {
  ReportLayout layout;
  layout.shape = ReportShape::Search;
  layout.alias = "d_rep_product";
  layout.caption = " รายงานทะเบียนสินค้า";
  layout.top = 2;
  layout.left = 2;
  layout.sort_caption = "  จัดเรียงโดย  ";
  layout.sort_items = {"รหัส", "ชื่อ"};
  layout.statement = {" select * from product "};
  layout.order_lines = {" order by pro_no ", " order by pro_name "};
  layout.print_buttons = {{"รายงาน 1", "1"}, {"รายงาน 2", "2"}};
  return layout;
}

}  // namespace

Trep_product::Trep_product(TComponent* owner, const WindowQueryFactory& make_query)
    : ReportWindow(owner, ProductLayout(), make_query) {
  RunButton->SetCaption("ประมวลผล");
  RunButton->OnClick = Bind(this, &Trep_product::Button1Click);
  QuitButton.SetCaption("เลิก");
  ShowColumns(*DBGrid1, {{"PRO_NO", "รหัส"},
                         {"PRO_NAME", "ชื่อ"},
                         {"m_qty", "จำนวน"},
                         {"PRO_UNIT", "หน่วยนับ"},
                         {"PRO_BPRICE", "ราคาซื้อ"},
                         {"PRO_SPRICE", "ราคาขาย"},
                         {"CUT_STOCK", "#"}});

  SetLetterPaper(QuickRep1, kMarginMillimetres);
  TDataSet& rows = Query1.Rows();
  int left = 0;
  for (const auto& [caption, field] : {std::pair{"รหัส", "PRO_NO"}, std::pair{"จำนวนคงเหลือ", "m_qty"},
                                       std::pair{"หน่วย", "PRO_UNIT"}, std::pair{"ชื่อ", "PRO_NAME"}}) {
    PrintedCaption(ColumnHeaderBand, std::string("Caption_") + field, caption, left);
    PrintedField(DetailBand, rows, std::string("Line_") + field, field, left);
    left += kColumnWidth;
  }
  for (const auto& [caption, field] : {std::pair{"ราคาซื้อ", "PRO_BPRICE"}, std::pair{"ราคาขาย", "PRO_SPRICE"}}) {
    price_items_.push_back(&PrintedCaption(ColumnHeaderBand, std::string("Caption_") + field, caption, left));
    price_items_.push_back(&PrintedField(DetailBand, rows, std::string("Line_") + field, field, left,
                                         kPrintedMoneyMask));
    left += kColumnWidth;
  }
  number_items_.push_back(&PrintedCaption(ColumnHeaderBand, "Caption_number", "ที่", left));
  number_items_.push_back(&PrintedLineNumber(DetailBand, "Line_number", left));
  PrintedCaption(SummaryBand, "SumCaption", "รวม", 0);
  PrintedSum(SummaryBand, "StockSum", "m_qty", kColumnWidth);
  QuickRep1.BeforePrint = Bind(this, &Trep_product::PrintLayout);
}

void Trep_product::Button1Click(TObject*) {
  ProductFilterMode = 1;
  Run();
}

void Trep_product::AddConditions(std::vector<std::string>& lines, std::vector<QueryParameter>& parameters) {
  stock_.clear();
  if (ProductFilterMode == 1) {
    lines.push_back(" where pro_name not like:mspr_name ");
    parameters.push_back({"mspr_name", Variant(kNoName)});
  } else {
    // The form's name box is hidden and empty, so this too lists every item.
    lines.push_back(" where pro_name like:mspr_name ");
    parameters.push_back({"mspr_name", Variant(NameFilterPattern({}))});
  }
}

void Trep_product::RunDone() {
  AddCalculatedFieldsAtFirstRun(*this, [this](TDataSet& rows) {
    pro_no_ = rows.FieldByName("PRO_NO");
    pro_total_ = rows.FieldByName("PRO_TOTAL");
    cut_stock_ = rows.FieldByName("CUT_STOCK");
    m_qty_ = &AddCalculatedField(rows, *this, "m_qty");
    rows.OnCalcFields = Bind(this, &Trep_product::Query1CalcFields);
  });
}

void Trep_product::Query1CalcFields(TDataSet*) {
  const std::string counted = cut_stock_->AsString();
  if (counted == "0") {
    m_qty_->SetAsFloat(0);
  } else if (counted == "1") {
    const std::string number = pro_no_->AsString();
    auto known = stock_.find(number);
    if (known == stock_.end()) {
      known = stock_.emplace(number, StockOnHand(Layout().alias, number, pro_total_->AsFloat())).first;
    }
    m_qty_->SetAsFloat(known->second);
  }
}

void Trep_product::PrintLayout(TQuickRep* report, bool& print_report) {
  QuickRep1BeforePrint(report, print_report);
  // Both layouts print lines.
  DetailBand.SetEnabled(true);
  ColumnHeaderBand.SetEnabled(true);
  const bool amulets = ReportKind() == "1";
  TitleLabel.SetCaption(amulets ? "รายงานทะเบียนวัตถุมงคล" : "รายงานทะเบียนสินค้า");
  for (TQRPrintable* item : price_items_) item->SetEnabled(amulets);
  for (TQRPrintable* item : number_items_) item->SetEnabled(!amulets);
}
