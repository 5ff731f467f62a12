#include "app/donation/ReportParts.h"

#include "app/core/ReportWindow.h"
#include "app/core/WindowParts.h"
#include "app/core/myVar.h"

namespace {

constexpr int kItemTop = 4;
constexpr int kItemWidth = 90;

}  // namespace

void ShowColumns(TDBGrid& grid, const std::vector<GridColumn>& columns) {
  grid.Columns().Clear();
  for (const GridColumn& shown : columns) {
    TColumn* column = grid.Columns().Add();
    column->SetFieldName(shown.field);
    column->SetTitle(shown.title);
  }
}

void SetLetterPaper(TQuickRep& report, double margin_millimetres) {
  TQRPage& page = report.Page();
  page.SetPaperSize(TQRPaperSize::Letter);
  page.SetTopMargin(margin_millimetres);
  page.SetBottomMargin(margin_millimetres);
  page.SetLeftMargin(margin_millimetres);
  page.SetRightMargin(margin_millimetres);
}

TQRBand& AddBand(TQuickRep& report, TQRBandType type) {
  return *new TQRBand(&report, type);
}

TQRBand& AddGroupFooter(TQuickRep& report, const std::string& expression) {
  auto* group = new TQRGroup(&report);
  group->SetExpression(expression);
  group->SetEnabled(false);
  TQRBand& footer = AddBand(report, rbGroupFooter);
  group->SetFooterBand(&footer);
  return footer;
}

TQRLabel& PrintedCaption(TQRBand& band, const std::string& name, const std::string& caption, int left) {
  auto& label = *new TQRLabel(&band);
  label.SetName(name);
  label.SetCaption(caption);
  label.SetBounds(left, kItemTop, kItemWidth, 17);
  return label;
}

TQRDBText& PrintedField(TQRBand& band, TDataSet& rows, const std::string& name, const std::string& field, int left,
                        const std::string& mask) {
  auto& text = *new TQRDBText(&band);
  text.SetName(name);
  text.SetDataSet(&rows);
  text.SetDataField(field);
  text.SetMask(mask);
  text.SetBounds(left, kItemTop, kItemWidth, 17);
  if (!mask.empty()) text.SetAlignment(taRightJustify);
  return text;
}

TQRSysData& PrintedLineNumber(TQRBand& band, const std::string& name, int left) {
  auto& number = *new TQRSysData(&band);
  number.SetName(name);
  number.SetData(qrsDetailNo);
  number.SetBounds(left, kItemTop, kItemWidth / 2, 17);
  return number;
}

TQRExpr& PrintedSum(TQRBand& band, const std::string& name, const std::string& field, int left) {
  auto& sum = *new TQRExpr(&band);
  sum.SetName(name);
  sum.SetExpression("SUM(" + field + ")");
  sum.SetMask(kPrintedMoneyMask);
  sum.SetAlignment(taRightJustify);
  sum.SetBounds(left, kItemTop, kItemWidth, 17);
  return sum;
}

TLabel& NetTotalLabel(ReportWindow& window, const std::string& caption) {
  TLabel& total = *window.TotalLabels.at(0);
  total.SetName("Label8");
  MakeLabel(window, "Label7", caption, total.Left(), total.Top(), 60, total.Parent());
  total.SetLeft(total.Left() + 60);
  return total;
}

double DeriveNetTotal() {
  auto& totals = myVar.ReportTotals;
  totals[2] = totals[0];
  totals[4] = totals[2] + totals[3];
  totals[5] = totals[4];
  return totals[5];
}
