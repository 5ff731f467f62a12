#pragma once
// The search page of the donor register: the user picks the column (number,
// name or telephone) and how to match, types the text and presses Enter.
// By part of the data, the list is run again with only the rows whose column
// contains the text (bound as a parameter, so any typed character is
// searched for as it is); by the whole value, the full list moves to the
// first row whose column equals the text, letter case ignored.
#include <string>

#include "app/core/SqlWindowQuery.h"
#include "platform/db/DataSource.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Label.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/RadioGroup.h"

// The register's full list, as set-up and "กลับ" run it.
inline const QueryStatement kDonorList{{"select * from customer order by cust_no"}, {}};

class TDonorSearchPage : public TTabSheet {
 public:
  // `list` is the register's list query, shown through `source`.
  TDonorSearchPage(TComponent* owner, SqlWindowQuery& list, TDataSource* source);

  TLabel* Label45;
  TEdit* Edit1;
  TRadioGroup* RadioGroup1;  // the column searched
  TRadioGroup* RadioGroup2;  // part of the data or the whole value
  TDBGrid* DBGrid1;
  TButton* Button1;  // "กลับ"
  TButton* Button2;  // "กลับเพิ่มข้อมูล"

  void Edit1KeyPress(TObject* sender, char32_t& key);
  void RadioGroup1Click(TObject* sender);
  void DBGrid1CellClick(TColumn* column);
  void Button1Click(TObject* sender);

  // Called after "กลับ" put the full list back.
  TNotifyEvent OnReturn;

 private:
  const char* SearchColumn() const;
  bool SearchByPart() const;

  SqlWindowQuery& list_;
};
