#include "app/core/LoginWindow.h"

#include <string>

#include "app/core/WindowDatabase.h"
#include "app/core/myVar.h"
#include "platform/db/Field.h"
#include "platform/ui/Dialogs.h"

namespace {

constexpr const char* kAlias = "pass";
constexpr const char* kUsersTable = "password";
constexpr const char* kCaption = " รหัสผ่าน ...  Login Name = admin        Password = 8052";
constexpr const char* kMaintenanceTitle = " เพิ่ม - แก้ไข ข้อมูลผู้ใช้งาน ";
constexpr const char* kLevelLegend = "1  Admin    2 หัวหน้างาน ..3...4.... 5 พนักงานหน้า Counter ";
constexpr int kTop = 100;
constexpr int kLeft = 150;
constexpr char32_t kEnter = 13;

}  // namespace

TLoginWindow::TLoginWindow(TComponent* owner, TMdiFrame& main, LoginSettings settings)
    : TForm(owner),
      Database1(new TVTRDatabase(this)),
      Table1(new TVTRTable(this)),
      DataSource1(new TDataSource(this)),
      Panel1(new TPanel(this)),
      Edit1(LabelledEdit(Panel1, "Login Name", 100, 12, 160)),
      Edit2(LabelledEdit(Panel1, "Password", 100, 40, 160)),
      Label9(new TLabel(Panel1)),
      Button1(PanelButton(Panel1, "Login", 280, 10, Bind(this, &TLoginWindow::Button1Click))),
      Button2(PanelButton(Panel1, "เข้าที่ทำงาน", 280, 40, Bind(this, &TLoginWindow::Button2Click))),
      Button3(PanelButton(Panel1, "Logout", 370, 10, Bind(this, &TLoginWindow::Button3Click))),
      Panel2(new TPanel(this)),
      Edit3(LabelledEdit(Panel2, "ชื่อตำแหน่ง", 130, 30, 250)),
      Edit7(LabelledEdit(Panel2, "รหัสพนักงาน", 130, 58, 120)),
      Edit4(LabelledEdit(Panel2, "User Name", 130, 86, 160)),
      Edit5(LabelledEdit(Panel2, "Password", 130, 114, 160)),
      Edit6(LabelledEdit(Panel2, "Password (อีกครั้ง)", 130, 142, 160)),
      DBRadioGroup1(new TDBRadioGroup(Panel2)),
      Button4(PanelButton(Panel2, "เพิ่ม", 10, 250, Bind(this, &TLoginWindow::Button4Click))),
      Button5(PanelButton(Panel2, "แก้ไข", 95, 250, Bind(this, &TLoginWindow::Button5Click))),
      Button6(PanelButton(Panel2, "บันทึก", 180, 250, Bind(this, &TLoginWindow::Button6Click))),
      Button7(PanelButton(Panel2, "ยกเลิก", 265, 250, Bind(this, &TLoginWindow::Button7Click))),
      DBNavigator1(new TDBNavigator(Panel2)),
      main_(main),
      settings_(std::move(settings)) {
  SetFormStyle(fsMDIChild);
  SetBorderStyle(bsSingle);
  SetCaption(kCaption);
  SetBounds(kLeft, kTop, 480, 420);

  SetUpWindowDatabase(*Database1, kAlias, settings_.keep_connection);
  Table1->SetDatabaseName(kAlias);
  Table1->SetTableName(kUsersTable);
  Table1->SetIndexFieldNames("USRNAME");
  DataSource1->SetDataSet(Table1);
  DataSource1->SetAutoEdit(false);
  DataSource1->OnDataChange = Bind(this, &TLoginWindow::DataSource1DataChange);

  Panel1->SetBounds(0, 0, 480, 100);
  Edit2->SetPasswordChar(U'x');
  Label9->SetBounds(100, 70, 260, 20);
  TFont greeting = Label9->Font();
  greeting.SetColor(clRed);
  Label9->SetFont(greeting);
  Button1->SetEnabled(false);
  Button3->SetEnabled(false);
  Edit1->OnKeyPress = Bind(this, &TLoginWindow::Edit1KeyPress);
  Edit2->OnKeyPress = Bind(this, &TLoginWindow::Edit2KeyPress);

  Panel2->SetBounds(0, 100, 480, 290);
  auto* title = new TLabel(Panel2);
  title->SetBounds(10, 6, 300, 18);
  title->SetCaption(kMaintenanceTitle);
  DBRadioGroup1->SetBounds(130, 170, 250, 44);
  DBRadioGroup1->SetCaption("ระดับ");
  DBRadioGroup1->SetColumns(5);
  DBRadioGroup1->SetItems({"1", "2", "3", "4", "5"});
  DBRadioGroup1->SetDataSource(DataSource1);
  DBRadioGroup1->SetDataField("AC1");
  auto* legend = new TLabel(Panel2);
  legend->SetBounds(10, 222, 460, 18);
  legend->SetCaption(kLevelLegend);
  DBNavigator1->SetBounds(360, 250, 100, 25);
  DBNavigator1->SetVisibleButtons({nbPrior, nbNext});
  DBNavigator1->SetDataSource(DataSource1);
  for (TEdit* box : {Edit3, Edit7, Edit4, Edit5, Edit6})
    box->OnKeyPress = Bind(this, &TLoginWindow::MaintenanceKeyPress);
  SetEditing(false);

  OnActivate = Bind(this, &TLoginWindow::FormActivate);
  OnClose = Bind(this, &TLoginWindow::FormClose);
}

TEdit* TLoginWindow::LabelledEdit(TPanel* panel, const char* caption, int left, int top, int width) {
  auto* label = new TLabel(panel);
  label->SetBounds(10, top + 3, left - 16, 18);
  label->SetCaption(caption);
  auto* box = new TEdit(panel);
  box->SetBounds(left, top, width, 22);
  return box;
}

TButton* TLoginWindow::PanelButton(TPanel* panel, const char* caption, int left, int top,
                                   TNotifyEvent on_click) {
  auto* button = new TButton(panel);
  button->SetBounds(left, top, 80, 25);
  button->SetCaption(caption);
  button->OnClick = std::move(on_click);
  return button;
}

std::string TLoginWindow::Column(const char* name) const {
  return Table1->FieldByName(name)->AsString();
}

int TLoginWindow::LevelOfRow() const {
  const std::string ac1 = Column("AC1");
  const bool valid = ac1.size() == 1 && ac1[0] >= '1' && ac1[0] <= '0' + LevelMenuTable::kLevels;
  return valid ? ac1[0] - '0' : 0;
}

void TLoginWindow::SetEditing(bool editing) {
  Button4->SetEnabled(!editing);
  Button5->SetEnabled(!editing);
  Button6->SetEnabled(editing);
  Button7->SetEnabled(editing);
  DBNavigator1->SetEnabled(!editing);
}

void TLoginWindow::FormActivate(TObject*) {
  if (!first_activation_) return;
  first_activation_ = false;
  Table1->Open();
  Button1->SetEnabled(true);
  Panel2->Hide();
  Label9->SetCaption("");
  Button2->Hide();
  Edit1->SetFocus();
}

void TLoginWindow::FormClose(TObject*, TCloseAction& action) {
  Table1->Close();
  action = caFree;
}

void TLoginWindow::Edit1KeyPress(TObject*, char32_t& key) {
  if (key != kEnter) return;
  key = 0;
  Edit2->SetFocus();
}

void TLoginWindow::Edit2KeyPress(TObject*, char32_t& key) {
  if (key != kEnter) return;
  key = 0;
  myVar.CurrentStaffNo = Column("PER_NO");
  Button1->SetFocus();
}

void TLoginWindow::MaintenanceKeyPress(TObject* sender, char32_t& key) {
  if (key != kEnter) return;
  key = 0;
  if (sender == Edit3) Edit7->SetFocus();
  if (sender == Edit7) Edit4->SetFocus();
  if (sender == Edit4) Edit5->SetFocus();
  if (sender == Edit5) Edit6->SetFocus();
  if (sender == Edit6) DBRadioGroup1->SetFocus();
}

void TLoginWindow::Button1Click(TObject*) {
  // An unknown name changes nothing: the frame gets the menus of the level it had.
  if (Table1->FindKey({Variant(Edit1->Text())})) {
    if (Column("PASSWD") != Edit2->Text()) {
      Label9->SetCaption("");
      Edit1->SetFocus();
      main_.UserLevel = 0;
    } else {
      main_.LoginUserName = Edit1->Text();
      myVar.CurrentStaffNo = Column("PER_NO");
      main_.UserLevel = LevelOfRow();
      Button3->SetEnabled(true);
      Button2->Show();
      Label9->SetCaption(kGreeting + Column("NAME"));
      Panel2->SetVisible(main_.UserLevel == 1);
      Button2->SetFocus();
    }
  }
  main_.ShowLevel(main_.UserLevel, settings_.levels);
}

void TLoginWindow::Button2Click(TObject*) {
  myVar.CurrentStaffNo = Column("PER_NO");
  myVar.WorkplaceUserName = Edit1->Text();
  Close();
}

void TLoginWindow::Button3Click(TObject*) {
  main_.ShowLoggedOut();
  myVar.CurrentStaffNo.clear();
  main_.UserLevel = 0;
  Close();
}

void TLoginWindow::ShowUser() {
  Edit3->SetText(Column("NAME"));
  Edit4->SetText(Column("USRNAME"));
  Edit5->SetText(Column("PASSWD"));
  Edit7->SetText(Column("PER_NO"));
}

void TLoginWindow::DataSource1DataChange(TObject*, TField*) {
  if (Table1->State() != dsBrowse) return;
  ShowUser();
  Edit6->Clear();
}

void TLoginWindow::Button4Click(TObject*) {
  SetEditing(true);
  Table1->Insert();
  for (TEdit* box : {Edit3, Edit4, Edit5, Edit6, Edit7}) box->Clear();
  Edit3->SetFocus();
}

void TLoginWindow::Button5Click(TObject*) {
  SetEditing(true);
  Table1->Edit();
  ShowUser();
}

void TLoginWindow::Button6Click(TObject*) {
  if (Edit5->Text() != Edit6->Text()) {
    ShowMessage(kPasswordsDiffer);
    Edit5->SetFocus();
    return;
  }
  Table1->FieldByName("NAME")->SetAsString(Edit3->Text());
  Table1->FieldByName("USRNAME")->SetAsString(Edit4->Text());
  Table1->FieldByName("PASSWD")->SetAsString(Edit5->Text());
  Table1->FieldByName("PER_NO")->SetAsString(Edit7->Text());
  Table1->Post();
  SetEditing(false);
}

void TLoginWindow::Button7Click(TObject*) {
  Table1->Cancel();
  SetEditing(false);
}
