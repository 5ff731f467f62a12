#pragma once
// The search panel of a register window: the user picks number or name,
// types the start of it and presses Enter; the list moves to the first row
// that begins with it (case-sensitive), which the window then shows. A click
// on a grid row copies its number or name into the search box.
#include <string>
#include <utility>
#include <vector>

#include "platform/db/DataSource.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Label.h"
#include "platform/ui/Panel.h"
#include "platform/ui/RadioGroup.h"

// How a window's search panel differs from the template's.
struct SearchPanelVariant {
  std::string caption = "  ค้นหาโดย  ";
  // A prompt that stays whatever is searched by; empty: the prompt names the
  // number or the name.
  std::string fixed_prompt;
  // Opening keeps the last search text and searches by number again.
  bool keeps_text = false;
  // A click on a grid row gives the search box the focus.
  bool click_focuses_box = false;
  // The grid's columns as (column, title); empty: every column of the list.
  std::vector<std::pair<std::string, std::string>> grid_columns;
};

class TRegisterSearchPanel : public TPanel {
 public:
  // `miss_message` answers a search that finds nothing (empty: no answer).
  TRegisterSearchPanel(TWinControl* owner, TDataSource* list, std::string key_column, std::string name_column,
                       std::string miss_message, SearchPanelVariant variant = {});

  TLabel* Label45;
  TRadioGroup* RadioGroup1;
  TEdit* Edit1;
  TDBGrid* DBGrid1;
  TButton* Button1;

  // Empties the search box (unless the variant keeps it) and gives it the focus.
  void Start();
  // Searches by name from now on (the panel starts on the number).
  void SearchByName();

  void RadioGroup1Click(TObject* sender);
  void Edit1KeyPress(TObject* sender, char32_t& key);
  void DBGrid1CellClick(TColumn* column);

  // "กลับ" pressed: the window goes back to its entry page.
  TNotifyEvent OnReturn;

 private:
  // The column the radio group chose.
  const std::string& SearchColumn() const;
  // Chooses number or name as the window does, without the click's focus.
  void SearchBy(int index);
  void ShowPrompt();

  TDataSource* list_;
  std::string key_column_;
  std::string name_column_;
  std::string miss_message_;
  SearchPanelVariant variant_;
};
