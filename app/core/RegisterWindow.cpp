#include "app/core/RegisterWindow.h"

#include <algorithm>
#include <utility>

#include "app/core/RegisterErrorHandlers.h"
#include "app/core/RegisterSearchPanel.h"
#include "app/core/WindowDatabase.h"
#include "platform/rtl/TextCase.h"
#include "platform/ui/Label.h"
#include "platform/ui/Dialogs.h"

namespace {

constexpr int kButtonWidth = 64;
constexpr int kBarHeight = 36;

}  // namespace

RegisterWindow::RegisterWindow(TComponent* owner, const std::string& alias, TFormStyle style)
    : TForm(owner),
      Database1(new TVTRDatabase(this)),
      DataSource1(new TDataSource(this)),
      Panel1(new TPanel(this)),
      RefSheet(new TPageControl(this)),
      Customer(new TTabSheet(this)) {
  SetFormStyle(style);
  SetBorderStyle(bsSingle);
  SetBorderIcons({biSystemMenu, biMinimize});
  SetPosition(poDefault);
  SetUpWindowDatabase(*Database1, alias, /*keep_connection=*/true);
  DataSource1->SetAutoEdit(false);
  DataSource1->OnDataChange = Bind(this, &RegisterWindow::DataSource1DataChange);

  Panel1->SetAlign(alTop);
  Panel1->SetHeight(kBarHeight);
  BuildButtonBar();
  RefSheet->SetAlign(alClient);
  Customer->SetPageControl(RefSheet);
  Customer->SetTabVisible(false);

  OnCreate = Bind(this, &RegisterWindow::FormCreate);
  OnActivate = Bind(this, &RegisterWindow::FormActivate);
  OnClose = Bind(this, &RegisterWindow::FormClose);
}

RegisterWindow::~RegisterWindow() = default;

TSpeedButton* RegisterWindow::BarButton(const char* caption, const char* hint, TNotifyEvent on_click) {
  auto* button = new TSpeedButton(Panel1);
  button->SetBounds(4 + static_cast<int>(Panel1->ControlCount() - 1) * kButtonWidth, 4, kButtonWidth, 28);
  button->SetCaption(caption);
  button->SetHint(hint);
  button->SetFlat(true);
  button->OnClick = std::move(on_click);
  return button;
}

void RegisterWindow::BuildButtonBar() {
  SpeedButton1 = BarButton("เ&พิ่ม", "เพิ่มข้อมูล", Bind(this, &RegisterWindow::SpeedButton1Click));
  SpeedButton3 = BarButton("แ&ก้ไข", "แก้ไข", Bind(this, &RegisterWindow::SpeedButton3Click));
  SpeedButton4 = BarButton("&ลบ", "ลบ", Bind(this, &RegisterWindow::SpeedButton4Click));
  SpeedButton11 = BarButton("Refresh", "Refresh", Bind(this, &RegisterWindow::SpeedButton11Click));
  SpeedButton6 = BarButton("&ยกเลิก", "ยกเลิก", Bind(this, &RegisterWindow::SpeedButton6Click));
  SpeedButton8 = BarButton("&บันทึก", "บันทึก", Bind(this, &RegisterWindow::SpeedButton8Click));
  SpeedButton2 = BarButton("เ&ลิก", "เลิกการทำงาน", Bind(this, &RegisterWindow::SpeedButton2Click));
  DBNavigator1 = new TDBNavigator(Panel1);
  DBNavigator1->SetBounds(8 + 7 * kButtonWidth, 4, 120, 28);
  DBNavigator1->SetVisibleButtons({nbFirst, nbPrior, nbNext, nbLast});
}

TVTRTable* RegisterWindow::WindowTable(const std::string& table_name, bool read_only) {
  auto* table = new TVTRTable(this);
  table->SetDatabaseName(Database1->DatabaseName());
  table->SetTableName(table_name);
  table->SetReadOnly(read_only);
  return table;
}

void RegisterWindow::Define(RegisterDefinition definition) {
  definition_ = std::move(definition);
  Table1 = definition_.list;
  BindRegisterErrorHandlers(*Table1);
  DataSource1->SetDataSet(Table1);
  BindEnterOrder();
}

void RegisterWindow::AddSearch(const std::string& key_column, const std::string& name_column,
                               const std::string& miss_message, SearchPanelVariant variant) {
  search_page_ = new TTabSheet(this);
  search_page_->SetPageControl(RefSheet);
  search_page_->SetTabVisible(false);
  Panel3 = new TRegisterSearchPanel(search_page_, DataSource1, key_column, name_column, miss_message,
                                    std::move(variant));
  Panel3->OnReturn = [this](TObject*) { ReturnFromSearch(); };
  BitBtn1 = new TBitBtn(Customer);
  BitBtn1->SetCaption("?");
  BitBtn1->SetTabStop(false);
  BitBtn1->OnClick = Bind(this, &RegisterWindow::BitBtn1Click);
}

TEdit* RegisterWindow::EntryBox(const std::string& caption, int left, int top, int box_left, int box_width,
                                int max_length) {
  auto* label = new TLabel(Customer);
  label->SetBounds(left, top + 3, box_left - left - 8, 16);
  label->SetCaption(caption);
  auto* box = new TEdit(Customer);
  box->SetBounds(box_left, top, box_width, 22);
  box->SetMaxLength(max_length);
  return box;
}

void RegisterWindow::AddOwnButtons(std::vector<TControl*> entry_only, std::vector<TControl*> normal_only) {
  entry_only_ = std::move(entry_only);
  normal_only_ = std::move(normal_only);
}

void RegisterWindow::BindEnterOrder() {
  for (TWinControl* box : definition_.enter_order)
    box->OnKeyPress = [this, box](TObject*, char32_t& key) { BoxEnter(box, key); };
}

void RegisterWindow::BoxEnter(TWinControl* box, char32_t& key) {
  if (key != U'\r') return;
  key = 0;
  TEdit* key_box = definition_.key_box;
  if (box == key_box && EditState == kStateAdd && !key_box->Text().empty() &&
      definition_.rows->HasKey(key_box->Text(), true)) {
    ShowDuplicate();
    return;
  }
  const auto& order = definition_.enter_order;
  const auto at = std::find(order.begin(), order.end(), box);
  (std::next(at) == order.end() ? order.front() : *std::next(at))->SetFocus();
}

void RegisterWindow::ShowButtonSet(bool entry) {
  for (TControl* button : {SpeedButton1, SpeedButton3, SpeedButton4, SpeedButton11, SpeedButton2})
    button->SetEnabled(!entry);
  if (BitBtn1 != nullptr) BitBtn1->SetEnabled(!entry);
  SpeedButton6->SetEnabled(entry);
  SpeedButton8->SetEnabled(entry);
  for (TControl* control : entry_only_) control->SetEnabled(entry);
  for (TControl* control : normal_only_) control->SetEnabled(!entry);
  DBNavigator1->SetEnabled(!entry);
}

void RegisterWindow::SetBoxesReadOnly(bool read_only) {
  for (const RegisterColumnBox& column : definition_.columns) column.box->SetReadOnly(read_only);
  // A key that edits and deletes are keyed by is typed for new rows only,
  // unless an edit may rename the row.
  if (definition_.key_box != nullptr && EditState != kStateAdd && !(definition_.key_editable && !read_only))
    definition_.key_box->SetReadOnly(true);
}

void RegisterWindow::LoadRow() {
  const bool empty = Table1->IsEmpty();
  for (const RegisterColumnBox& column : definition_.columns)
    column.box->SetText(empty ? std::string() : Table1->FieldByName(column.column)->AsString());
}

RowValues RegisterWindow::BoxValues() const {
  RowValues values;
  values.reserve(definition_.columns.size());
  for (const RegisterColumnBox& column : definition_.columns)
    values.push_back({column.column, column.box->Text()});
  return values;
}

void RegisterWindow::FormCreate(TObject*) {
  SetTop(definition_.top);
  SetLeft(definition_.left);
  SetupPending = 1;
}

void RegisterWindow::FormActivate(TObject*) {
  if (SetupPending != 1) return;
  ShowButtonSet(false);
  EditState = kStateNormal;
  SetBoxesReadOnly(true);
  RefSheet->SetActivePage(Customer);
  SetCaption(definition_.caption);
  FillLookups();
  Table1->Open();
  Table1->Last();
  DBNavigator1->SetDataSource(DataSource1);
  SetupPending = 0;
}

void RegisterWindow::FormClose(TObject*, TCloseAction& action) {
  SetupPending = 0;
  Database1->Close();
  action = caFree;
}

void RegisterWindow::DataSource1DataChange(TObject*, TField* field) {
  if (field != nullptr || !Table1->Active()) return;
  CurrentRowKey = Table1->IsEmpty() ? std::string() : Table1->FieldByName(definition_.key_column)->AsString();
  if (EditState == kStateNormal) LoadRow();
}

void RegisterWindow::SpeedButton1Click(TObject*) {
  ShowButtonSet(true);
  EditState = kStateAdd;
  for (const RegisterColumnBox& column : definition_.columns) column.box->Clear();
  AddDefaults();
  SetBoxesReadOnly(false);
  definition_.enter_order.front()->SetFocus();
}

void RegisterWindow::SpeedButton3Click(TObject*) {
  if (Table1->IsEmpty()) return;
  ShowButtonSet(true);
  EditState = kStateEdit;
  SavedBookmark = Table1->GetBookmark();
  edited_key_ = CurrentRowKey;
  SetBoxesReadOnly(false);
  definition_.name_box->SetFocus();
}

void RegisterWindow::SpeedButton4Click(TObject*) {
  if (Table1->IsEmpty()) return;
  if (MessageDlg(kConfirmDelete, mtConfirmation, mbYesNo) != mrYes) {
    if (!definition_.delete_declined_message.empty()) ShowMessage(definition_.delete_declined_message);
    return;
  }
  if (definition_.rows->Delete(CurrentRowKey) == 0) ShowMessage(kRowNotFound);
  RefreshList();
  Table1->Last();
}

void RegisterWindow::SpeedButton11Click(TObject*) {
  RefreshList();
}

void RegisterWindow::SpeedButton6Click(TObject*) {
  EditState = kStateNormal;
  if (definition_.cancel_reloads) LoadRow();
  SetBoxesReadOnly(true);
  ShowButtonSet(false);
}

void RegisterWindow::SpeedButton8Click(TObject*) {
  if (Trim(definition_.guard_box->Text()).empty()) {
    ShowMessage(definition_.guard_message);
    definition_.guard_focus->SetFocus();
    return;
  }
  if (!EntryAccepted()) return;
  if (EditState == kStateAdd && !SaveNewRow()) return;
  if (EditState == kStateEdit && !SaveEditedRow()) return;
  EndEntry();
  // The list moved to the saved row while the entry still held the boxes.
  LoadRow();
}

void RegisterWindow::SpeedButton2Click(TObject*) {
  Close();
}

void RegisterWindow::EndEntry() {
  EditState = kStateNormal;
  ShowButtonSet(false);
  SetBoxesReadOnly(true);
}

void RegisterWindow::ShowDuplicate() {
  ShowMessage(kDuplicateNumber);
  definition_.key_box->SetFocus();
}

bool RegisterWindow::SaveNewRow() {
  TEdit* key_box = definition_.key_box;
  const std::string key = key_box != nullptr ? key_box->Text() : std::string();
  if (key_box != nullptr && definition_.rows->HasKey(key, false)) {
    ShowDuplicate();
    return false;
  }
  std::string stored_key;
  try {
    stored_key = InsertRow();
  } catch (const std::exception&) {
    // Stored by another user between the check and the insert.
    if (key_box == nullptr || !definition_.rows->HasKey(key, false)) throw;
    ShowDuplicate();
    return false;
  }
  RefreshList();
  if (!LocateKey(stored_key)) Table1->Last();
  return true;
}

std::string RegisterWindow::InsertRow() {
  definition_.rows->Insert(BoxValues());
  return definition_.key_box != nullptr ? definition_.key_box->Text() : std::string();
}

bool RegisterWindow::SaveEditedRow() {
  TEdit* key_box = definition_.key_box;
  if (definition_.key_editable && key_box->Text() != edited_key_ && definition_.rows->HasKey(key_box->Text(), false)) {
    ShowDuplicate();
    return false;
  }
  if (definition_.rows->Update(edited_key_, BoxValues()) == 0) {
    ShowMessage(kRowNotFound);
    RefreshList();
    return false;
  }
  RefreshList();
  const std::string key = definition_.key_editable ? key_box->Text() : edited_key_;
  if (!LocateKey(key) && Table1->BookmarkValid(SavedBookmark)) Table1->GotoBookmark(SavedBookmark);
  return true;
}

void RegisterWindow::RefreshList() {
  Table1->Close();
  Table1->Open();
}

bool RegisterWindow::LocateKey(const std::string& key) {
  return !key.empty() && Table1->Locate(definition_.key_column, Variant(key), TLocateOptions{});
}

void RegisterWindow::BitBtn1Click(TObject*) {
  RefSheet->SetActivePage(search_page_);
  Panel3->Start();
}

void RegisterWindow::ReturnFromSearch() {
  RefSheet->SetActivePage(Customer);
  ShowButtonSet(false);
}
