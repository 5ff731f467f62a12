#pragma once
// The usage reports: the lines of the usage vouchers (h_temple) of a period,
// of hall and building vouchers (mode 1) or of land vouchers (mode 2), the
// kind being the fifth character of the voucher number; any other mode lists
// both kinds. Trep_use_all lists every line, Trep_use_land only the use of the
// site itself (item kind "0"). A name box narrows the list to the lines whose
// item name contains the typed text; a date change lists the period again
// without it. The printout sums the listed totals.
//
// The mode comes from myVar.UseAllReportMode or UseLandReportMode, which the
// main window sets before it creates the window, and is kept in Tag.
#include "app/core/ReportWindow.h"

class Trep_use_all : public ReportWindow {
 public:
  explicit Trep_use_all(TComponent* owner);
  Trep_use_all(TComponent* owner, const WindowQueryFactory& make_query);

 protected:
  Trep_use_all(TComponent* owner, const WindowQueryFactory& make_query, bool sites_only);
  void AddConditions(std::vector<std::string>& lines, std::vector<QueryParameter>& parameters) override;

 private:
  void BuildReportItems();

  bool sites_only_;
};

class Trep_use_land : public Trep_use_all {
 public:
  explicit Trep_use_land(TComponent* owner);
  Trep_use_land(TComponent* owner, const WindowQueryFactory& make_query);
};
