#include "app/core/RegisterSearchPanel.h"

#include <utility>

#include "platform/db/DB.h"
#include "platform/ui/Dialogs.h"

namespace {

constexpr const char* kByNumber = "รหัส";
constexpr const char* kByName = "ชื่อ";
constexpr const char* kNumberPrompt = "รหัสที่ต้องการค้นหา";
constexpr const char* kNamePrompt = "ชื่อที่ต้องการค้นหา";
constexpr const char* kReturnCaption = "กลับ";
constexpr int kByNumberIndex = 0;
constexpr int kByNameIndex = 1;

}  // namespace

TRegisterSearchPanel::TRegisterSearchPanel(TWinControl* owner, TDataSource* list, std::string key_column,
                                           std::string name_column, std::string miss_message,
                                           SearchPanelVariant variant)
    : TPanel(owner),
      Label45(new TLabel(this)),
      RadioGroup1(new TRadioGroup(this)),
      Edit1(new TEdit(this)),
      DBGrid1(new TDBGrid(this)),
      Button1(new TButton(this)),
      list_(list),
      key_column_(std::move(key_column)),
      name_column_(std::move(name_column)),
      miss_message_(std::move(miss_message)),
      variant_(std::move(variant)) {
  SetAlign(alClient);
  RadioGroup1->SetBounds(8, 8, 220, 44);
  RadioGroup1->SetCaption(variant_.caption);
  RadioGroup1->SetColumns(2);
  RadioGroup1->SetItems({kByNumber, kByName});
  RadioGroup1->SetItemIndex(kByNumberIndex);
  RadioGroup1->OnClick = Bind(this, &TRegisterSearchPanel::RadioGroup1Click);
  Label45->SetBounds(240, 12, 160, 16);
  Label45->SetCaption(variant_.fixed_prompt.empty() ? kNumberPrompt : variant_.fixed_prompt);
  Edit1->SetBounds(240, 30, 200, 22);
  Edit1->OnKeyPress = Bind(this, &TRegisterSearchPanel::Edit1KeyPress);
  DBGrid1->SetBounds(8, 60, 520, 260);
  DBGrid1->SetDataSource(list_);
  DBGrid1->SetReadOnly(true);
  DBGrid1->SetRowSelect(true);
  DBGrid1->OnCellClick = Bind(this, &TRegisterSearchPanel::DBGrid1CellClick);
  for (const auto& [column, title] : variant_.grid_columns) {
    TColumn* grid_column = DBGrid1->Columns().Add();
    grid_column->SetFieldName(column);
    grid_column->SetTitle(title);
  }
  Button1->SetBounds(452, 28, 76, 26);
  Button1->SetCaption(kReturnCaption);
  Button1->OnClick = [this](TObject* sender) {
    if (OnReturn) OnReturn(sender);
  };
}

const std::string& TRegisterSearchPanel::SearchColumn() const {
  return RadioGroup1->ItemIndex() == kByNumberIndex ? key_column_ : name_column_;
}

void TRegisterSearchPanel::Start() {
  if (variant_.keeps_text)
    SearchBy(kByNumberIndex);
  else
    Edit1->Clear();
  Edit1->SetFocus();
}

void TRegisterSearchPanel::SearchByName() { SearchBy(kByNameIndex); }

void TRegisterSearchPanel::SearchBy(int index) {
  // A choice made by the window, not a click: the hidden search box keeps no focus.
  TNotifyEvent on_click = std::exchange(RadioGroup1->OnClick, nullptr);
  RadioGroup1->SetItemIndex(index);
  RadioGroup1->OnClick = std::move(on_click);
  ShowPrompt();
}

void TRegisterSearchPanel::ShowPrompt() {
  if (variant_.fixed_prompt.empty())
    Label45->SetCaption(RadioGroup1->ItemIndex() == kByNumberIndex ? kNumberPrompt : kNamePrompt);
}

void TRegisterSearchPanel::RadioGroup1Click(TObject*) {
  ShowPrompt();
  Edit1->SetFocus();
}

void TRegisterSearchPanel::Edit1KeyPress(TObject*, char32_t& key) {
  if (key != U'\r') return;
  key = 0;
  if (list_->DataSet()->Locate(SearchColumn(), Variant(Edit1->Text()), TLocateOptions{loPartialKey})) {
    Button1->SetFocus();
    return;
  }
  // A miss keeps the focus in the search box: the boxes behind the panel
  // cannot be seen while it shows.
  if (!miss_message_.empty()) ShowMessage(miss_message_);
}

void TRegisterSearchPanel::DBGrid1CellClick(TColumn*) {
  TDataSet* list = list_->DataSet();
  if (list->IsEmpty()) return;
  Edit1->SetText(list->FieldByName(SearchColumn())->AsString());
  if (variant_.click_focuses_box) Edit1->SetFocus();
}
