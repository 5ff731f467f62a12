#pragma once
// GoodsLinesReport: the base of the period reports over the lines of goods
// documents (purchases, sales, souvenirs). Each line shows its total with VAT
// (`total_vat`) by the line's own TAX_RATE, so the lines, the document sums
// and the net in Label8 always agree. Printed as lines with a sum per
// document (layout "1") or as one line per document with its sum (layout
// "2"). The print buttons show only while a run has found lines.
#include <string>
#include <vector>

#include "app/core/ReportWindow.h"
#include "app/donation/ReportParts.h"

class GoodsLinesReport : public ReportWindow {
 public:
  TLabel& Label8;
  TQRBand& GroupFooterBand;  // per bill_no

 protected:
  // `party_field` names the customer or supplier column; `gift_field` (empty:
  // none) the souvenir state column.
  GoodsLinesReport(TComponent* owner, ReportLayout layout, const WindowQueryFactory& make_query,
                   std::string party_field, std::string gift_field);

  void RunDone() override;
  // The window's own calculated fields, added once beside the line's totals;
  // CalculateRow fills them for the current row.
  virtual void AddOwnCalculatedFields() {}
  virtual void CalculateRow() {}
  void FormActivate(TObject* sender);

 private:
  void Query1CalcFields(TDataSet* rows);
  void PrintLayout(TQuickRep* report, bool& print_report);
  void ShowPrintButtons(bool shown);

  std::vector<TQRPrintable*> summary_items_;  // shown in layout "2" only
  TField* total_1_ = nullptr;  // the line's total
  TField* tax_rate_ = nullptr;
  TField* total_vat_ = nullptr;
  TField* total_rate_vat_ = nullptr;
};
