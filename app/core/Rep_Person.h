#pragma once
// TRep_Person: the printed list of the monks, novices and staff of h_person,
// by number or by name, with the salaries added up at its end.
#include "app/core/ReportWindow.h"

class TRep_Person : public ReportWindow {
 public:
  TRep_Person(TComponent* owner, const WindowQueryFactory& make_query);
  // The programs' window, on the SQL engine.
  explicit TRep_Person(TComponent* owner);

 private:
  void BuildReportItems();
};
