#include "app/donation/Ref_Cust.h"

#include <memory>

#include "app/core/CsvExport.h"
#include "app/core/SqlRegisterRows.h"
#include "app/core/myVar.h"
#include "app/donation/HighestRunningNumber.h"
#include "engine/access/Query.h"
#include "platform/rtl/Unicode.h"
#include "platform/ui/Dialogs.h"

namespace {

constexpr const char* kAlias = "d_cust";
constexpr const char* kNumberColumn = "cust_no";
constexpr const char* kMenuCaller = "0";
constexpr const char* kExportFolder = "CSV\\";
constexpr int kPrefixLength = 4;
constexpr int kRunningDigits = 6;
constexpr int kRowHeight = 28;

// An edit keeps the number (the box is read-only), so the update's key is
// the number the row had when the edit began.
RegisterSql DonorSql() {
  RegisterSql sql;
  sql.table = "customer";
  sql.key_column = kNumberColumn;
  sql.insert = {" insert into customer ",
                " (cust_no,cust_name, ",
                " cust_add1,cust_add2,cust_add4, ",
                " cust_zip,country,cust_tel,cust_fax,cust_birth, ",
                " cust_Cre,cust_Group,Cust_Rem) ",
                " values ",
                " (:pcust_no,:pcust_name, ",
                " :pcust_add1,:pcust_add2,:pcust_add4, ",
                " :pcust_zip,:pcountry,:pcust_tel,:pcust_fax,:pcust_birth, ",
                " :pcust_cre,:pcust_group,:pcust_rem) "};
  sql.update = {{" update customer ",
                 " set ",
                 " cust_no=:pcust_no,cust_name=:pcust_name, ",
                 " cust_add1=:pcust_add1,cust_add2=:pcust_add2,cust_add4=:pcust_add4, ",
                 " cust_zip=:pcust_zip,country=:pcountry,cust_tel=:pcust_tel,cust_fax=:pcust_fax,cust_birth=:pcust_birth, ",
                 " cust_cre=:pcust_cre,cust_group=:pcust_group,cust_rem=:pcust_rem ",
                 " where cust_no =:pcust_no "},
                "pcust_no"};
  sql.remove = {{" delete from Customer ", " where cust_no =:psup_no "}, "psup_no"};
  // The birth date is kept as typed (a text column).
  sql.params = {{"pcust_no", kNumberColumn}, {"pcust_name", "cust_name"},   {"pcust_add1", "cust_add1"},
                {"pcust_add2", "cust_add2"}, {"pcust_add4", "cust_add4"},   {"pcust_zip", "cust_zip"},
                {"pcountry", "country"},     {"pcust_tel", "cust_tel"},     {"pcust_fax", "cust_fax"},
                {"pcust_birth", "cust_birth"}, {"pcust_cre", "cust_cre"},   {"pcust_group", "cust_group"},
                {"pcust_rem", "cust_rem"}};
  return sql;
}
constexpr int kBoxLeft = 120;

int CodePoints(std::string_view text) {
  int count = 0;
  for (size_t position = 0; position < text.size(); ++count) NextUtf8CodePoint(text, position);
  return count;
}

}  // namespace

TRef_Cust::TRef_Cust(TComponent* owner, PickTarget* opener)
    : PartyRegister(owner, kAlias, opener, kDonorList.lines.front(), ""),
      Edit2(LabelledBox("รหัส", 0, 10)),
      Label17(new TLabel(Customer)),
      ComboBox2(new TComboBox(Customer)),
      Edit3(LabelledBox("ชื่อ", 1, 100)),
      Edit4(LabelledBox("ที่อยู่", 2, 80)),
      Edit5(LabelledBox("", 3, 80)),
      Edit6(LabelledBox("จังหวัด", 4, 80)),
      Edit7(LabelledBox("รหัสไปรษณีย์", 5, 5)),
      Edit11(LabelledBox("ประเทศ", 6, 50)),
      Edit8(LabelledBox("โทร.", 7, 25)),
      Edit9(LabelledBox("Fax", 8, 25)),
      Edit12(LabelledBox("ว.ด.ป.เกิด", 9, 10)),
      Memo1(new TMemo(Customer)),
      SpeedButton9(new TSpeedButton(Panel1)),
      Button7(new TButton(Panel1)) {
  SetClientWidth(680);
  SetClientHeight(470);
  Customer->SetCaption("ลูกค้า");
  auto* auto_label = new TLabel(Customer);
  auto_label->SetBounds(kBoxLeft + 130, 11, 60, 16);
  auto_label->SetCaption("( Auto )");
  Edit2->SetWidth(120);
  Label17->SetBounds(kBoxLeft + 310, 8 + kRowHeight + 3, 60, 16);
  Label17->SetCaption("คำนำหน้า");
  ComboBox2->SetBounds(kBoxLeft + 370, 8 + kRowHeight, 140, 22);
  ComboBox2->SetStyle(csDropDownList);
  ComboBox2->OnClick = Bind(this, &TRef_Cust::ComboBox2Click);
  ComboBox2->OnCloseUp = Bind(this, &TRef_Cust::ComboBox2Click);
  auto* birth_hint = new TLabel(Customer);
  birth_hint->SetBounds(kBoxLeft + 130, 8 + 9 * kRowHeight + 3, 300, 16);
  birth_hint->SetCaption("รูปแบบ วว/ดด/ปปปป  ( เช่น 31/12/2555 )");
  Edit12->SetWidth(120);
  auto* remark_label = new TLabel(Customer);
  remark_label->SetBounds(8, 8 + 10 * kRowHeight + 3, kBoxLeft - 16, 16);
  remark_label->SetCaption("หมายเหตุ");
  Memo1->SetBounds(kBoxLeft, 8 + 10 * kRowHeight, 300, 60);

  RegisterDefinition definition;
  definition.caption = kDonorRegisterCaption;
  definition.top = 65;
  definition.left = 50;
  definition.list = &List().Rows();
  definition.rows = std::make_unique<SqlRegisterRows>(this, kAlias, DonorSql());
  definition.columns = {{kNumberColumn, Edit2}, {"cust_name", Edit3}, {"cust_add1", Edit4}, {"cust_add2", Edit5},
                        {"cust_add4", Edit6},    {"cust_zip", Edit7},  {"country", Edit11},  {"cust_tel", Edit8},
                        {"cust_fax", Edit9},     {"cust_birth", Edit12}};
  definition.key_column = kNumberColumn;
  definition.name_box = Edit3;
  definition.enter_order = {Edit3, Edit4, Edit5, Edit6, Edit7, Edit11, Edit8, Edit9, Edit12, Memo1};
  definition.guard_box = Edit2;
  definition.guard_message = kNoDonorNumber;
  definition.guard_focus = Edit2;
  Define(std::move(definition));

  Envelope = new TMemberEnvelope(this, *Table1, kAlias, kDonorEnvelope);
  SpeedButton9->SetBounds(8 + 7 * 64 + 124, 4, 64, 28);
  SpeedButton9->SetCaption("ซอง จม.");
  SpeedButton9->SetHint("พิมพ์ซอง");
  SpeedButton9->SetFlat(true);
  SpeedButton9->OnClick = Bind(this, &TRef_Cust::SpeedButton9Click);
  Button7->SetBounds(8 + 8 * 64 + 124, 6, 100, 24);
  Button7->SetCaption("Export รายชื่อ");
  Button7->SetHint("รายงาน");
  Button7->OnClick = Bind(this, &TRef_Cust::Button7Click);
  AddOwnButtons({}, {SpeedButton9});

  BitBtn1 = new TBitBtn(Customer);
  BitBtn1->SetBounds(kBoxLeft + 310, 8, 24, 24);
  BitBtn1->SetCaption("?");
  BitBtn1->SetTabStop(false);
  BitBtn1->OnClick = Bind(this, &TRef_Cust::BitBtn1Click);
  TabSheet2 = new TDonorSearchPage(this, List(), DataSource1);
  TabSheet2->SetPageControl(RefSheet);
  TabSheet2->SetTabVisible(false);
  TabSheet2->OnReturn = Bind(this, &TRef_Cust::Button1Click);
  TabSheet2->Button2->OnClick = Bind(this, &TRef_Cust::Button2Click);

  OnActivate = Bind(this, &TRef_Cust::FormActivate);
}

TEdit* TRef_Cust::LabelledBox(const char* caption, int row, int max_length) {
  return EntryBox(caption, 8, 8 + row * kRowHeight, kBoxLeft, 300, max_length);
}

void TRef_Cust::FormActivate(TObject* sender) {
  const bool setting_up = SetupPending == 1;
  RegisterWindow::FormActivate(sender);
  if (!setting_up) return;
  ShowQuitCaption(myVar.PickCaller != kMenuCaller);
  Button7->SetEnabled(!Table1->IsEmpty());
}

std::string TRef_Cust::PickCaller() const {
  return myVar.PickCaller;
}

void TRef_Cust::FillLookups() {
  QueryTemp().Open({{" select prefix_name from cust_prefix order by prefix_id "}, {}});
  std::vector<std::string> titles;
  for (TDataSet& rows = QueryTemp().Rows(); !rows.Eof(); rows.Next())
    titles.push_back(rows.Fields()[0]->AsString());
  ComboBox2->SetItems(titles);
  if (!titles.empty()) ComboBox2->SetItemIndex(0);
  QueryTemp().Open({{" select prefix_donate from sys_sys "}, {}});
  TDataSet& settings = QueryTemp().Rows();
  DonorNumberPrefix = settings.IsEmpty() ? std::string() : settings.Fields()[0]->AsString();
  settings.Close();
}

void TRef_Cust::LoadRow() {
  PartyRegister::LoadRow();
  const bool empty = Table1->IsEmpty();
  Memo1->SetText(empty ? std::string() : Table1->FieldByName("cust_rem")->AsString());
  if (!empty) myVar.CurrentPartyNo = Edit2->Text();
}

void TRef_Cust::AddDefaults() {
  Edit2->SetText(kNewDonorNumber);
  Edit3->SetText("คุณ");
  Memo1->Clear();
  PartyRegister::AddDefaults();
}

void TRef_Cust::SetBoxesReadOnly(bool read_only) {
  PartyRegister::SetBoxesReadOnly(read_only);
  Memo1->SetReadOnly(read_only);
  // The title list helps typing a new donor's name only.
  const bool adding = !read_only && EditState == kStateAdd;
  Label17->SetVisible(adding);
  ComboBox2->SetVisible(adding);
}

RowValues TRef_Cust::BoxValues() const {
  RowValues values = PartyRegister::BoxValues();
  values.push_back({"cust_rem", Memo1->Text()});
  return values;
}

std::string TRef_Cust::NextCustomerNo() {
  if (CodePoints(DonorNumberPrefix) != kPrefixLength) throw ERunningNumberRefused(kDonorPrefixIncomplete);
  const RunningNumberShape shape{DonorNumberPrefix, kRunningDigits};
  const std::string highest = HighestRunningNumber(QueryTemp(), "customer", kNumberColumn, shape);
  return RunningNumberAfter(shape, highest, kDonorNumbersUsedUp);
}

void TRef_Cust::ComboBox2Click(TObject*) {
  Edit3->SetText(ComboBox2->Text());
  Edit3->SetFocus();
}

void TRef_Cust::SpeedButton9Click(TObject*) {
  Envelope->QuickRep1->Preview();
}

void TRef_Cust::Button7Click(TObject*) {
  const std::string file_name = std::string(kExportFolder) + kDonorExportFile;
  Table1->First();
  if (ExportQueryToCsv(file_name, *Table1))
    ShowMessage("ดำเนินการสร้างแฟ้ม " + myVar.AppPath + file_name + " เรียบร้อยแล้ว...");
}

void TRef_Cust::BitBtn1Click(TObject*) {
  Panel1->Hide();
  RefSheet->SetActivePage(TabSheet2);
  TabSheet2->Edit1->SetFocus();
}

void TRef_Cust::LeaveSearch() {
  RefSheet->SetActivePage(Customer);
  Panel1->Show();
}

void TRef_Cust::Button1Click(TObject*) {
  LeaveSearch();
}

void TRef_Cust::Button2Click(TObject* sender) {
  LeaveSearch();
  SpeedButton1Click(sender);
}
