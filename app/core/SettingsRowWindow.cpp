#include "app/core/SettingsRowWindow.h"

#include "app/core/RegisterErrorHandlers.h"
#include "app/core/WindowParts.h"
#include "app/core/myVar.h"
#include "platform/rtl/CodePage874.h"
#include "platform/rtl/TextCase.h"
#include "platform/ui/Dialogs.h"

namespace {

constexpr const char* kAlias = "d_h_sys";
constexpr const char* kTable = "sys_sys";
constexpr int kPrefixLength = 4;
constexpr int kButtonWidth = 80;
constexpr int kRowHeight = 25;
constexpr const char* kSampleNumber = "-00001";

}  // namespace

SettingsRowWindow::SettingsRowWindow(TComponent* owner, bool auto_edit)
    : TForm(owner),
      Database1(MakeWindowDatabase(*this, "Database1", kAlias)),
      Table4(new TVTRTable(this)),
      DataSource4(new TDataSource(this)),
      Panel1(&MakeControl<TPanel>(*this, "Panel1", 0, 0, 0, 36)),
      PageControl1(&MakeControl<TPageControl>(*this, "PageControl1", 0, 0, 0, 0)) {
  SetFormStyle(fsMDIChild);
  SetCaption(" ข้อมูลอ้างอิง ระบบการทำงาน");
  SetClientWidth(720);
  SetClientHeight(480);
  Panel1->SetAlign(alTop);
  PageControl1->SetAlign(alClient);
  System = &MakeControl<TTabSheet>(*this, "System", 0, 0, 0, 0, PageControl1);
  System->SetPageControl(PageControl1);
  System->SetCaption("ระบบ");
  System->SetTabVisible(false);

  Table4->SetName("Table4");
  Table4->SetDatabaseName(kAlias);
  Table4->SetTableName(kTable);
  Table4->SetIndexName("of_name");
  BindRegisterErrorHandlers(*Table4);
  DataSource4->SetDataSet(Table4);
  DataSource4->SetAutoEdit(auto_edit);

  SpeedButton1 = BarButton("เ&พิ่ม", nullptr);
  SpeedButton3 = BarButton("แ&ก้ไข", Bind(this, &SettingsRowWindow::SpeedButton3Click));
  SpeedButton4 = BarButton("&ลบ", nullptr);
  SpeedButton11 = BarButton("Refresh", Bind(this, &SettingsRowWindow::SpeedButton11Click));
  SpeedButton6 = BarButton("&ยกเลิก", Bind(this, &SettingsRowWindow::SpeedButton6Click));
  SpeedButton8 = BarButton("&บันทึก", Bind(this, &SettingsRowWindow::SpeedButton8Click));
  SpeedButton2 = BarButton("เลิก", Bind(this, &SettingsRowWindow::SpeedButton2Click));
  SpeedButton1->SetVisible(false);
  SpeedButton4->SetVisible(false);
  DBNavigator1 = &MakeControl<TDBNavigator>(*this, "DBNavigator1", 600, 4, 100, 28, Panel1);
  DBNavigator1->SetDataSource(DataSource4);
  DBNavigator1->SetVisible(false);

  OnCreate = Bind(this, &SettingsRowWindow::FormCreate);
  OnActivate = Bind(this, &SettingsRowWindow::FormActivate);
  OnClose = Bind(this, &SettingsRowWindow::FormClose);
}

TSpeedButton* SettingsRowWindow::BarButton(const char* caption, TNotifyEvent on_click) {
  auto* button = new TSpeedButton(Panel1);
  button->SetBounds(4 + static_cast<int>(Panel1->ControlCount() - 1) * kButtonWidth, 4, kButtonWidth, 28);
  button->SetCaption(caption);
  button->SetFlat(true);
  if (on_click) button->OnClick = std::move(on_click);
  return button;
}

TDBRadioGroup* SettingsRowWindow::SettingGroup(const char* name, const char* caption, const char* column,
                                        const std::vector<std::string>& items, int left, int top, int width,
                                        int height) {
  auto& group = MakeControl<TDBRadioGroup>(*this, name, left, top, width, height, System);
  group.SetCaption(caption);
  group.SetItems(items);
  std::vector<std::string> values;
  for (size_t i = 0; i < items.size(); ++i) values.push_back(std::to_string(i));
  group.SetValues(values);
  group.SetDataSource(DataSource4);
  group.SetDataField(column);
  return &group;
}

TDBEdit* SettingsRowWindow::SettingBox(const char* name, const char* caption, const char* column, int max_length, int left,
                                int top, int label_width) {
  MakeLabel(*this, std::string(name) + "Label", caption, left, top + 4, label_width, System);
  auto& box = MakeControl<TDBEdit>(*this, name, left + label_width, top, 60, kRowHeight - 2, System);
  box.SetDataSource(DataSource4);
  box.SetDataField(column);
  box.SetMaxLength(max_length);
  return &box;
}

TDBEdit* SettingsRowWindow::PrefixBox(TWinControl& group, const char* name, const char* caption, const char* column,
                               int top) {
  MakeLabel(*this, std::string(name) + "Label", caption, 8, top + 4, 200, &group);
  auto& box = MakeControl<TDBEdit>(*this, name, 216, top, 60, kRowHeight - 2, &group);
  box.SetDataSource(DataSource4);
  box.SetDataField(column);
  box.SetMaxLength(kPrefixLength);
  auto& sample = MakeControl<TEdit>(*this, std::string(name) + "Sample", 280, top, 80, kRowHeight - 2, &group);
  sample.SetText(kSampleNumber);
  sample.SetReadOnly(true);
  sample.SetTabStop(false);
  prefix_boxes_.push_back(&box);
  return &box;
}

void SettingsRowWindow::SetOffsetBoxes(TDBEdit* top, TDBEdit* left) {
  DBEdit2 = top;
  DBEdit3 = left;
  DBEdit2->OnKeyPress = Bind(this, &SettingsRowWindow::DBEdit2KeyPress);
}

void SettingsRowWindow::FormCreate(TObject*) {
  SetBounds(0, 0, Width(), Height());
  SetupPending = 1;
}

void SettingsRowWindow::FormActivate(TObject*) {
  if (SetupPending == 0) return;
  ShowButtons(false);
  PageControl1->SetActivePage(System);
  Table4->Open();
  SetupPending = 0;
}

void SettingsRowWindow::FormClose(TObject*, TCloseAction& action) {
  // An unposted change holds the row; it is given up, never stored unseen.
  if (Table4->State() == dsEdit || Table4->State() == dsInsert) Table4->Cancel();
  ShowMessage(kRestartToApply);
  SetupPending = 0;
  Table4->Close();
  Database1.Close();
  action = caFree;
}

void SettingsRowWindow::ShowButtons(bool editing) {
  SpeedButton3->SetEnabled(!editing);
  SpeedButton2->SetEnabled(!editing);
  SpeedButton6->SetEnabled(editing);
  SpeedButton8->SetEnabled(editing);
  DBNavigator1->SetEnabled(!editing);
}

bool SettingsRowWindow::PrefixesComplete() const {
  for (const TDBEdit* box : prefix_boxes_) {
    if (Utf8ToCp874(Trim(box->Text())).size() != kPrefixLength) return false;
  }
  return true;
}

void SettingsRowWindow::SpeedButton3Click(TObject*) {
  Table4->Edit();
  ShowButtons(true);
}

void SettingsRowWindow::SpeedButton8Click(TObject*) {
  if (!PrefixesComplete()) {
    ShowMessage(kShortPrefix);
    return;
  }
  myVar.SkinName = DBRadioGroup8->Value();
  Table4->Post();
  ShowButtons(false);
}

void SettingsRowWindow::SpeedButton6Click(TObject*) {
  Table4->Cancel();
  ShowButtons(false);
}

void SettingsRowWindow::SpeedButton11Click(TObject*) {
  Table4->Refresh();
}

void SettingsRowWindow::SpeedButton2Click(TObject*) {
  Close();
}

void SettingsRowWindow::DBEdit2KeyPress(TObject*, char32_t& key) {
  if (key != U'\r') return;
  key = 0;
  DBEdit3->SetFocus();
}
