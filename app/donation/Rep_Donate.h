#pragma once
// TRep_Donate: the donation lines of a period with their donors' names
// (lines whose donor is no longer in the register are left out), sorted by
// date, document or purpose, totalled, printed as lines (layout "1") or as one
// line per run of equal purposes with its sum (layout "2"), and exported.
#include "app/core/SqlWindowQuery.h"
#include "app/donation/DonationLinesReport.h"

class TRep_Donate : public DonationLinesReport {
 public:
  explicit TRep_Donate(TComponent* owner, const WindowQueryFactory& make_query = SqlQueries());

  TQRBand& GroupFooterBand;  // per accessory_no, layout "2" only

 protected:
  void PrintLayout(TQuickRep* report, bool& print_report) override;
};
