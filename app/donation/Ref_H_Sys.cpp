#include "app/donation/Ref_H_Sys.h"

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

const std::vector<std::string> kDocumentLayouts{"แบบที่ 1 ( กระดาษสั้น 8.5 * 5.5 นิ้ว)",
                                                "แบบที่ 2 ( กระดาษยาว 8.8 * 11 นิ้ว)", "แบบที่ 3 ( ลูกค้าสั่งทำ)"};
const std::vector<std::string> kReceiptLayouts{"แบบที่ 1 ( กระดาษสั้น 8.5 * 5.5 นิ้ว)",
                                               "แบบที่ 2 \r( กระดาษยาว 8.5 * 11 นิ้ว)", "แบบที่ 3 ( ลูกค้าสั่งทำ)\r"};

}  // namespace

TRef_H_Sys::TRef_H_Sys(TComponent* owner)
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
  DataSource4->SetAutoEdit(true);

  SpeedButton1 = BarButton("เ&พิ่ม", nullptr);
  SpeedButton3 = BarButton("แ&ก้ไข", Bind(this, &TRef_H_Sys::SpeedButton3Click));
  SpeedButton4 = BarButton("&ลบ", nullptr);
  SpeedButton11 = BarButton("Refresh", Bind(this, &TRef_H_Sys::SpeedButton11Click));
  SpeedButton6 = BarButton("&ยกเลิก", Bind(this, &TRef_H_Sys::SpeedButton6Click));
  SpeedButton8 = BarButton("&บันทึก", Bind(this, &TRef_H_Sys::SpeedButton8Click));
  SpeedButton2 = BarButton("เลิก", Bind(this, &TRef_H_Sys::SpeedButton2Click));
  SpeedButton1->SetVisible(false);
  SpeedButton4->SetVisible(false);
  DBNavigator1 = &MakeControl<TDBNavigator>(*this, "DBNavigator1", 600, 4, 100, 28, Panel1);
  DBNavigator1->SetDataSource(DataSource4);
  DBNavigator1->SetVisible(false);

  DBRadioGroup1 = SettingGroup("DBRadioGroup1", "การพิมพ์ใบสำคัญ", "PRN_PREVIEW", {"บนกระดาษเปล่า", "บนแบบฟอร์ม"},
                               8, 8, 220, 70);
  DBRadioGroup5 = SettingGroup("DBRadioGroup5", "การพิมพ์โลโก้", "PRN_LOGO", {"ไม่พิมพ์", "พิมพ์"}, 8, 86, 220, 70);
  DBRadioGroup4 =
      SettingGroup("DBRadioGroup4", "  รูปแบบใบสำคัญจำหน่าย  ", "VIEW6", kDocumentLayouts, 240, 8, 300, 90);
  DBRadioGroup6 =
      SettingGroup("DBRadioGroup6", "  รูปแบบใบบริจาค / ใบอนุโมทนา  ", "VIEW7", kReceiptLayouts, 240, 106, 300, 110);
  DBRadioGroup8 = SettingGroup("DBRadioGroup8", "  การเลือก Interface  (Skin) ", "SKIN", {"ปกติ", "โทนสีเหลือง"}, 240,
                               224, 300, 50);
  DBRadioGroup8->SetColumns(2);

  DBEdit2 = SettingBox("DBEdit2", "ระยะพิมพ์กั้นบน ( 0 - 50 )", "PRN_TOP", 5, 8, 170, 160);
  DBEdit3 = SettingBox("DBEdit3", "ระยะพิมพ์กั้นซ้าย ( 0 - 30 )", "PRN_LEFT", 5, 8, 200, 160);
  DBEdit4 = SettingBox("DBEdit4", "PORT ลิ้นชักเก็บเงิน (1 หรือ 2)", "COM_PORT", 1, 8, 230, 160);
  DBEdit2->OnKeyPress = Bind(this, &TRef_H_Sys::DBEdit2KeyPress);

  auto& prefixes = MakeControl<TPanel>(*this, "GroupBox1", 8, 284, 532, 150, System);
  prefixes.SetCaption("  หมวดนำหน้าใบสำคัญ  ");
  DBEdit9 = PrefixBox(prefixes, "DBEdit9", "การบริจาค", "PREFIX5", 20);
  DBEdit10 = PrefixBox(prefixes, "DBEdit10", "นำเข้าวัตถุมงคล - สินค้า", "PREFIX6", 50);
  DBEdit1 = PrefixBox(prefixes, "DBEdit1", "จำหน่ายวัตถุมงคล - สินค้า", "PREFIX7", 80);
  DBEdit5 = PrefixBox(prefixes, "DBEdit5", "ทะเบียนผู้บริจาค", "PREFIX_DONATE", 110);

  OnCreate = Bind(this, &TRef_H_Sys::FormCreate);
  OnActivate = Bind(this, &TRef_H_Sys::FormActivate);
  OnClose = Bind(this, &TRef_H_Sys::FormClose);
}

TSpeedButton* TRef_H_Sys::BarButton(const char* caption, TNotifyEvent on_click) {
  auto* button = new TSpeedButton(Panel1);
  button->SetBounds(4 + static_cast<int>(Panel1->ControlCount() - 1) * kButtonWidth, 4, kButtonWidth, 28);
  button->SetCaption(caption);
  button->SetFlat(true);
  if (on_click) button->OnClick = std::move(on_click);
  return button;
}

TDBRadioGroup* TRef_H_Sys::SettingGroup(const char* name, const char* caption, const char* column,
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

TDBEdit* TRef_H_Sys::SettingBox(const char* name, const char* caption, const char* column, int max_length, int left,
                                int top, int label_width) {
  MakeLabel(*this, std::string(name) + "Label", caption, left, top + 4, label_width, System);
  auto& box = MakeControl<TDBEdit>(*this, name, left + label_width, top, 60, kRowHeight - 2, System);
  box.SetDataSource(DataSource4);
  box.SetDataField(column);
  box.SetMaxLength(max_length);
  return &box;
}

TDBEdit* TRef_H_Sys::PrefixBox(TWinControl& group, const char* name, const char* caption, const char* column,
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
  return &box;
}

void TRef_H_Sys::FormCreate(TObject*) {
  SetBounds(0, 0, Width(), Height());
  SetupPending = 1;
}

void TRef_H_Sys::FormActivate(TObject*) {
  if (SetupPending == 0) return;
  ShowButtons(false);
  PageControl1->SetActivePage(System);
  Table4->Open();
  SetupPending = 0;
}

void TRef_H_Sys::FormClose(TObject*, TCloseAction& action) {
  // An unposted change holds the row; it is given up, never stored unseen.
  if (Table4->State() == dsEdit || Table4->State() == dsInsert) Table4->Cancel();
  ShowMessage(kRestartToApply);
  SetupPending = 0;
  Table4->Close();
  Database1.Close();
  action = caFree;
}

void TRef_H_Sys::ShowButtons(bool editing) {
  SpeedButton3->SetEnabled(!editing);
  SpeedButton2->SetEnabled(!editing);
  SpeedButton6->SetEnabled(editing);
  SpeedButton8->SetEnabled(editing);
  DBNavigator1->SetEnabled(!editing);
}

bool TRef_H_Sys::PrefixesComplete() const {
  for (const TDBEdit* box : {DBEdit9, DBEdit10, DBEdit1, DBEdit5}) {
    if (Utf8ToCp874(Trim(box->Text())).size() != kPrefixLength) return false;
  }
  return true;
}

void TRef_H_Sys::SpeedButton3Click(TObject*) {
  Table4->Edit();
  ShowButtons(true);
}

void TRef_H_Sys::SpeedButton8Click(TObject*) {
  if (!PrefixesComplete()) {
    ShowMessage(kShortPrefix);
    return;
  }
  myVar.SkinName = DBRadioGroup8->Value();
  Table4->Post();
  ShowButtons(false);
}

void TRef_H_Sys::SpeedButton6Click(TObject*) {
  Table4->Cancel();
  ShowButtons(false);
}

void TRef_H_Sys::SpeedButton11Click(TObject*) {
  Table4->Refresh();
}

void TRef_H_Sys::SpeedButton2Click(TObject*) {
  Close();
}

void TRef_H_Sys::DBEdit2KeyPress(TObject*, char32_t& key) {
  if (key != U'\r') return;
  key = 0;
  DBEdit3->SetFocus();
}
