#include "app/donation/DonationLinesReport.h"

#include "app/core/Currency.h"

namespace {

constexpr int kColumnWidth = 90;
constexpr double kMarginMillimetres = 10;

}  // namespace

DonationLinesReport::DonationLinesReport(TComponent* owner, ReportLayout layout, const WindowQueryFactory& make_query,
                                         const std::vector<GridColumn>& grid_columns,
                                         const std::vector<PrintedColumn>& printed)
    : ReportWindow(owner, std::move(layout), make_query),
      Label8(NetTotalLabel(*this, "รวม")),
      PageFooterBand(AddBand(QuickRep1, rbPageFooter)) {
  ShowColumns(*DBGrid1, grid_columns);
  SetLetterPaper(QuickRep1, kMarginMillimetres);
  TitleLabel.Font().SetSize(18);
  TDataSet& rows = Query1.Rows();
  int left = 0;
  for (const PrintedColumn& column : printed) {
    PrintedCaption(ColumnHeaderBand, "Caption_" + column.field, column.caption, left);
    PrintedField(DetailBand, rows, "Line_" + column.field, column.field, left, column.mask);
    left += kColumnWidth;
  }
  PrintedCaption(PageFooterBand, "PageSumCaption", "รวม ", left - 2 * kColumnWidth);
  PrintedSum(PageFooterBand, "PageSum", "total", left - kColumnWidth);
  QuickRep1.BeforePrint = Bind(this, &DonationLinesReport::PrintLayout);
}

void DonationLinesReport::RunDone() {
  Label8.SetCaption(Currency::FromDouble(DeriveNetTotal()).Format());
}

void DonationLinesReport::PrintLayout(TQuickRep* report, bool& print_report) {
  QuickRep1BeforePrint(report, print_report);
  PageFooterBand.SetEnabled(ReportKind() != "2");
}
