#pragma once
// DonationLinesReport: the base of the reports over donation lines (the
// donation report, the report by purpose and the donor search). Each shows
// its lines in the grid under its own column captions, the net of their
// TOTAL in Label8 and prints layout "1": column captions, one line per row and
// a page footer with the sum of the page's lines.
#include <vector>

#include "app/core/ReportWindow.h"
#include "app/donation/ReportParts.h"

// A column of the printed lines: its caption, the field and the mask of an
// amount (empty: as the field shows itself).
struct PrintedColumn {
  std::string caption;
  std::string field;
  std::string mask;
};

class DonationLinesReport : public ReportWindow {
 public:
  TLabel& Label8;
  TQRBand& PageFooterBand;

 protected:
  DonationLinesReport(TComponent* owner, ReportLayout layout, const WindowQueryFactory& make_query,
                      const std::vector<GridColumn>& grid_columns, const std::vector<PrintedColumn>& printed);

  // Label8 shows the net of the lines.
  void RunDone() override;
  // The template's switch by report kind, and the page sums only in layout "1".
  virtual void PrintLayout(TQuickRep* report, bool& print_report);
};
