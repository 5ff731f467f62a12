#pragma once
// Trep_product: the goods register with each item's stock on hand, in a
// grid and printed as the amulet register (layout "1", with prices) or the
// goods register (layout "2", numbered lines), by number or by name.
#include <map>
#include <string>
#include <vector>

#include "app/core/ReportWindow.h"
#include "app/core/SqlWindowQuery.h"

class Trep_product : public ReportWindow {
 public:
  explicit Trep_product(TComponent* owner, const WindowQueryFactory& make_query = SqlQueries());

  // 0 until a window of this class runs from "ประมวลผล" (1); every window of
  // the class shares it for the rest of the program's run.
  static int ProductFilterMode;

 protected:
  void AddConditions(std::vector<std::string>& lines, std::vector<QueryParameter>& parameters) override;
  void RunDone() override;

 private:
  void Button1Click(TObject* sender);
  void Query1CalcFields(TDataSet* rows);
  void PrintLayout(TQuickRep* report, bool& print_report);

  std::vector<TQRPrintable*> price_items_;   // layout "1"
  std::vector<TQRPrintable*> number_items_;  // layout "2"
  TField* pro_no_ = nullptr;
  TField* pro_total_ = nullptr;
  TField* cut_stock_ = nullptr;
  TField* m_qty_ = nullptr;
  // The stock of each item counted in the current run.
  std::map<std::string, double, std::less<>> stock_;
};
