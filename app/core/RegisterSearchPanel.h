#pragma once
// The search panel of a register window: the user picks number or name,
// types the start of it and presses Enter; the list moves to the first row
// that begins with it (case-sensitive), which the window then shows. A click
// on a grid row copies its number or name into the search box.
#include <string>

#include "platform/db/DataSource.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Label.h"
#include "platform/ui/Panel.h"
#include "platform/ui/RadioGroup.h"

class TRegisterSearchPanel : public TPanel {
 public:
  // `miss_message` answers a search that finds nothing (empty: no answer).
  TRegisterSearchPanel(TWinControl* owner, TDataSource* list, std::string key_column, std::string name_column,
                       std::string miss_message);

  TLabel* Label45;
  TRadioGroup* RadioGroup1;
  TEdit* Edit1;
  TDBGrid* DBGrid1;
  TButton* Button1;

  // Empties the search box and gives it the focus.
  void Start();

  void RadioGroup1Click(TObject* sender);
  void Edit1KeyPress(TObject* sender, char32_t& key);
  void DBGrid1CellClick(TColumn* column);

  // "กลับ" pressed: the window goes back to its entry page.
  TNotifyEvent OnReturn;

 private:
  // The column the radio group chose.
  const std::string& SearchColumn() const;

  TDataSource* list_;
  std::string key_column_;
  std::string name_column_;
  std::string miss_message_;
};
