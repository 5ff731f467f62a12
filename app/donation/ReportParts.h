#pragma once
// Pieces that the donation program's windows share: the grid's columns
// with their captions, the items they put on the bands of their report forms,
// and the net total that their label under the grid shows.
#include <string>
#include <vector>

#include "platform/report/QuickRpt.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/Label.h"

class ReportWindow;
class TDataSet;

// The mask of the amounts on the printed lines.
inline constexpr const char* kPrintedMoneyMask = "##,###,##0.00";

struct GridColumn {
  std::string field;
  std::string title;
};

// The grid shows these columns, in order, and no others.
void ShowColumns(TDBGrid& grid, const std::vector<GridColumn>& columns);

// The report's paper: Letter, with the same margin on every side.
void SetLetterPaper(TQuickRep& report, double margin_millimetres);

// A band added to the report (the template makes the page header, column
// header, detail and summary bands).
TQRBand& AddBand(TQuickRep& report, TQRBandType type);
// A group over `expression` whose header prints nothing; returns its footer.
TQRBand& AddGroupFooter(TQuickRep& report, const std::string& expression);

// Items placed on a band at `left` pixels, one line high.
TQRLabel& PrintedCaption(TQRBand& band, const std::string& name, const std::string& caption, int left);
TQRDBText& PrintedField(TQRBand& band, TDataSet& rows, const std::string& name, const std::string& field, int left,
                        const std::string& mask = {});
// The running number of the printed row.
TQRSysData& PrintedLineNumber(TQRBand& band, const std::string& name, int left);
// The sum of `field` since the item last printed.
TQRExpr& PrintedSum(TQRBand& band, const std::string& name, const std::string& field, int left);

// The caption "รวม" (or `caption`) beside the window's first total label,
// which it names "Label8" and returns.
TLabel& NetTotalLabel(ReportWindow& window, const std::string& caption);

// Derives the running totals from the total (element 0) and the VAT (3): after
// discount (2, the total: these reports give no discount), total and VAT (4)
// and the net (5), which it returns.
double DeriveNetTotal();
