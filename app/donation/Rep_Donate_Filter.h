#pragma once
// TRep_Donate_Filter: the donation lines of a period by purpose, for every
// purpose, for one purpose number or for the purposes whose name contains a
// text; the number or name may be picked from the purpose list. The purpose
// text is a parameter of the statement, so any text (a quote included) is
// looked for as typed. Changing the period or the order takes effect at the
// next run ("&ประมวลผล", Enter in the text box or "กลับ" from the list).
#include <memory>

#include "app/core/SqlWindowQuery.h"
#include "app/donation/DonationLinesReport.h"

class TRep_Donate_Filter : public DonationLinesReport {
  // First, as Q_Project refers to it.
  std::unique_ptr<WindowQuery> purposes_;

 public:
  explicit TRep_Donate_Filter(TComponent* owner, const WindowQueryFactory& make_query = SqlQueries());
  ~TRep_Donate_Filter() override;

  // The purpose list of the pick page.
  WindowQuery& Q_Project;
  TDataSource* DataSource2;
  TRadioGroup* RadioGroup2;  // "รหัส", "ส่วนของชื่อ", "ดูทั้งหมด"
  TButton* Button1;          // "ค้นหา": the pick page
  TTabSheet* find;
  TDBGrid* DBGrid2;
  TButton* Button2;  // "กลับ"

 protected:
  void AddConditions(std::vector<std::string>& lines, std::vector<QueryParameter>& parameters) override;

 private:
  void FormActivate(TObject* sender);
  void FilterClick(TObject* sender);
  void Edit1KeyPress(TObject* sender, char32_t& key);
  void Button1Click(TObject* sender);
  void Button2Click(TObject* sender);
};
