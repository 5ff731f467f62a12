#pragma once
// TFind_Donate: finds donation lines over all dates by one criterion: the
// donation date, the donor's birth date (the stored day/month/Buddhist-era
// text), the donor's whole name, or a part of the name, province or country.
// Every typed text and date is a parameter of the statement, so any text (a
// quote included) is looked for as typed. The lines are shown with the
// donor's name, birth date, province and country, totalled and printed.
#include "app/core/SqlWindowQuery.h"
#include "app/donation/DonationLinesReport.h"

class TFind_Donate : public DonationLinesReport {
 public:
  explicit TFind_Donate(TComponent* owner, const WindowQueryFactory& make_query = SqlQueries());

  TLabel* Label1;
  TLabel* Label2;
  TRadioGroup* RadioGroup2;  // the criterion

 protected:
  void AddConditions(std::vector<std::string>& lines, std::vector<QueryParameter>& parameters) override;

 private:
  void FormCreate(TObject* sender);
  void RadioGroup2Click(TObject* sender);
  void Edit1KeyPress(TObject* sender, char32_t& key);
};
