#include "app/core/Ref_Person.h"

#include <memory>
#include <utility>

#include "app/core/RegisterSearchPanel.h"
#include "app/core/SqlRegisterRows.h"
#include "app/core/ThaiDateText.h"
#include "app/core/WorkingFolder.h"
#include "platform/rtl/TextCase.h"

namespace {

constexpr const char* kAlias = "d_ref_h_person";
constexpr const char* kTable = "h_person";
constexpr const char* kCaption = "ทะเบียนพระ นักบวช";
constexpr const char* kPictureMask = "*.jpg";
constexpr int kRowHeight = 28;
constexpr int kLabelWidth = 100;
constexpr int kBoxWidth = 220;
constexpr int kColumnWidth = 340;

// The statements keep the number the row had when the edit began as the
// update's key, so a row is never matched by a number typed meanwhile.
RegisterSql PersonSql() {
  RegisterSql sql;
  sql.table = kTable;
  sql.key_column = "per_no";
  sql.insert = {" insert into h_person ",
                " (per_no,per_name,per_pict,per_nick_name, ",
                " per_card,per_birth,per_add1,per_add2,per_add4, ",
                " per_zip,per_tel,per_fax, ",
                " per_edu,per_posi,per_section, ",
                " per_percent,per_count,per_license,per_salary ) ",
                " values ",
                " (:pper_no,:pper_name,:pper_pict,:pper_nick_name, ",
                " :pper_card,:pper_birth,:pper_add1,:pper_add2,:pper_add4, ",
                " :pper_zip,:pper_tel,:pper_fax, ",
                " :pper_edu,:pper_posi,:pper_section, ",
                " :pper_percent,:pper_count,:pper_license,:pper_salary )"};
  sql.update = {{" update h_person ",
                 " set ",
                 " per_no=:pper_no,per_name=:pper_name,per_pict=:pper_pict,per_nick_name=:pper_nick_name, ",
                 " per_card=:pper_card,per_birth=:pper_birth,per_add1=:pper_add1,per_add2=:pper_add2,per_add4=:pper_add4, ",
                 " per_zip=:pper_zip,per_tel=:pper_tel,per_fax=:pper_fax, ",
                 " per_edu=:pper_edu,per_posi=:pper_posi,per_section=:pper_section, ",
                 " per_percent=:pper_percent,per_count=:pper_count,per_license=:pper_license,per_salary=:pper_salary ",
                 " where per_no =:pper_no "},
                "pper_no"};
  sql.remove = {{" delete from h_person ", " where per_no =:pper_no "}, "pper_no"};
  sql.params = {{"pper_no", "per_no"},
                {"pper_name", "per_name"},
                {"pper_pict", "per_pict"},
                {"pper_nick_name", "per_nick_name"},
                {"pper_card", "per_card"},
                {"pper_birth", "per_birth", ParamKind::kDate},
                {"pper_add1", "per_add1"},
                {"pper_add2", "per_add2"},
                {"pper_add4", "per_add4"},
                {"pper_zip", "per_zip"},
                {"pper_tel", "per_tel"},
                {"pper_fax", "per_fax"},
                {"pper_license", "per_license"},
                {"pper_posi", "per_posi"},
                {"pper_salary", "per_salary", ParamKind::kNumber},
                // No box: written empty.
                {"pper_edu", {}},
                {"pper_section", {}},
                {"pper_percent", {}},
                {"pper_count", {}}};
  return sql;
}

std::string PicturePath(const std::string& name) {
  return WorkingPath(std::string(kPersonPictureFolder) + "/" + name);
}

}  // namespace

TRef_Person::TRef_Person(TComponent* owner)
    : RegisterWindow(owner, kAlias),
      Edit2(LabelledBox("รหัส ( ไม่เกิน 10 หลัก )", 0, 0, 10)),
      Edit3(LabelledBox("ชื่อ", 1, 0, 50)),
      Edit16(LabelledBox("ฉายา", 2, 0, 50)),
      Edit20(LabelledBox("เลขประชาชน", 3, 0, 13)),
      Edit19(LabelledBox("ว.ด.ป. เกิด", 4, 0)),
      Edit4(LabelledBox("ที่อยู่", 5, 0)),
      Edit5(LabelledBox("", 6, 0)),
      Edit6(LabelledBox("จังหวัด", 7, 0)),
      Edit7(LabelledBox("รหัส ปณ.", 8, 0, 5)),
      Edit8(LabelledBox("โทร.", 9, 0)),
      Edit9(LabelledBox("Fax", 10, 0)),
      Edit21(LabelledBox("เลขใบสุทธิ", 0, 1, 50)),
      Edit17(LabelledBox("ตำแหน่ง", 1, 1)),
      Edit15(LabelledBox("เงินเดือน", 2, 1)),
      Image1(new TImage(Customer)),
      Label30(new TLabel(Customer)),
      SpeedButton5(new TSpeedButton(Panel1)) {
  SetClientWidth(720);
  SetClientHeight(380);
  Image1->SetBounds(kColumnWidth + kLabelWidth, 4 * kRowHeight, 150, 180);
  Image1->SetStretch(true);
  Label30->SetBounds(kColumnWidth + kLabelWidth, 4 * kRowHeight + 186, 150, 16);
  SpeedButton5->SetBounds(8 + 10 * 64 + 120, 4, 64, 28);
  SpeedButton5->SetCaption("&รูป");
  SpeedButton5->SetFlat(true);
  SpeedButton5->OnClick = Bind(this, &TRef_Person::SpeedButton5Click);
  BuildPicturePage();
  BuildEducationPage();

  TVTRTable* table1 = WindowTable(kTable, true);
  table1->SetIndexFieldNames("per_no");

  RegisterDefinition definition;
  definition.caption = kCaption;
  definition.top = 5;
  definition.left = 5;
  definition.list = table1;
  definition.rows = std::make_unique<SqlRegisterRows>(this, kAlias, PersonSql());
  definition.columns = {{"per_no", Edit2},     {"per_name", Edit3},  {"per_nick_name", Edit16}, {"per_card", Edit20},
                        {"per_birth", Edit19}, {"per_add1", Edit4},  {"per_add2", Edit5},       {"per_add4", Edit6},
                        {"per_zip", Edit7},    {"per_tel", Edit8},   {"per_fax", Edit9},        {"per_license", Edit21},
                        {"per_posi", Edit17},  {"per_salary", Edit15}};
  definition.key_column = "per_no";
  definition.key_box = Edit2;
  definition.name_box = Edit3;
  definition.enter_order = {Edit2, Edit3, Edit16, Edit20, Edit19, Edit4,  Edit5,
                            Edit6, Edit7, Edit8,  Edit9,  Edit21, Edit17, Edit15};
  definition.guard_box = Edit2;
  definition.guard_message = kPersonNoNumber;
  definition.guard_focus = Edit2;
  Define(std::move(definition));
  AddSearch("per_no", "per_name", "");
  BitBtn1->SetBounds(kColumnWidth + kLabelWidth + kBoxWidth - 24, 8 + 10 * kRowHeight, 24, 24);
  Panel3->SearchByName();
  AddOwnButtons({SpeedButton5}, {});
}

TEdit* TRef_Person::LabelledBox(const char* caption, int row, int column, int max_length) {
  const int left = 8 + column * kColumnWidth;
  return EntryBox(caption, left, 8 + row * kRowHeight, left + kLabelWidth, kBoxWidth, max_length);
}

void TRef_Person::BuildPicturePage() {
  find_pict = new TTabSheet(this);
  find_pict->SetPageControl(RefSheet);
  find_pict->SetTabVisible(false);
  FileListBox1 = new TFileListBox(find_pict);
  FileListBox1->SetBounds(8, 8, 220, 300);
  FileListBox1->SetMask(kPictureMask);
  FileListBox1->OnClick = Bind(this, &TRef_Person::FileListBox1Click);
  Image2 = new TImage(find_pict);
  Image2->SetBounds(240, 8, 200, 240);
  Image2->SetStretch(true);
  Button17 = new TButton(find_pict);
  Button17->SetBounds(240, 260, 110, 28);
  Button17->SetCaption("กลับ/ใช้รูปนี้");
  Button17->OnClick = Bind(this, &TRef_Person::Button17Click);
  Button16 = new TButton(find_pict);
  Button16->SetBounds(360, 260, 110, 28);
  Button16->SetCaption("กลับ/ยกเลิก");
  Button16->OnClick = Bind(this, &TRef_Person::Button16Click);
}

void TRef_Person::ShowPicture(const std::string& name) {
  Label30->SetCaption(name);
  if (name.empty()) {
    Image1->Clear();
    return;
  }
  try {
    Image1->LoadFromFile(PicturePath(name));
  } catch (const EInvalidGraphic&) {
    Label30->SetCaption(kPictureMissing);
    try {
      Image1->LoadFromFile(PicturePath(kPlaceholderPicture));
    } catch (const EInvalidGraphic&) {
      // Without the placeholder the picture stays empty; the row matters more.
      Image1->Clear();
    }
  }
}

void TRef_Person::BuildEducationPage() {
  edu_page = new TTabSheet(this);
  edu_page->SetPageControl(RefSheet);
  edu_page->SetTabVisible(false);
  edu_page->SetEnabled(false);
  RadioGroup2 = new TRadioGroup(edu_page);
  RadioGroup2->SetBounds(8, 8, 200, 90);
  RadioGroup2->SetItems({"1. ทางโลก", "2. ทางธรรม", "3. ทั้งหมด"});
  RadioGroup2->SetItemIndex(2);
  q_edu = new TVTRQuery(this);
  q_posi = new TVTRQuery(this);
  DataSource2 = new TDataSource(this);
  DataSource3 = new TDataSource(this);
  for (auto [query, source] : {std::pair{q_edu, DataSource2}, std::pair{q_posi, DataSource3}}) {
    query->SetDatabaseName(kAlias);
    source->SetDataSet(query);
  }
}

void TRef_Person::QueryEducationAndPositions(const std::string& person_no) {
  static const char* const kEducationKinds[] = {" and edu_type = \"0\" ", " and edu_type = \"1\" ",
                                                " and edu_type <> \"c23789\" "};
  const int kind = RadioGroup2->ItemIndex();
  q_edu->Close();
  q_edu->SQL().Clear();
  q_edu->SQL().Add(" select * from education ");
  q_edu->SQL().Add(" where per_no =:q_per_no ");
  q_edu->SQL().Add(kEducationKinds[kind >= 0 && kind < 3 ? kind : 2]);
  q_edu->ParamByName("q_per_no")->SetAsString(person_no);
  q_edu->Open();
  q_posi->Close();
  q_posi->SQL().Clear();
  q_posi->SQL().Add(" select * from position ");
  q_posi->SQL().Add(" where per_no =:q_per_no ");
  q_posi->ParamByName("q_per_no")->SetAsString(person_no);
  q_posi->Open();
}

void TRef_Person::LoadRow() {
  RegisterWindow::LoadRow();
  const bool empty = Table1->IsEmpty();
  TField* birth = Table1->FieldByName("per_birth");
  Edit19->SetText(empty || birth->IsNull() ? std::string(kBlankDateText) : DateToThaiText(birth->AsDateTime()));
  picture_name_ = empty ? std::string() : Table1->FieldByName("per_pict")->AsString();
  ShowPicture(picture_name_);
  if (!empty) QueryEducationAndPositions(Table1->FieldByName("per_no")->AsString());
}

void TRef_Person::AddDefaults() {
  picture_name_.clear();
  ShowPicture(kPlaceholderPicture);
  Label30->SetCaption({});
  Edit19->SetText(DateToThaiText(Date()));
  Edit15->SetText("0");
}

bool TRef_Person::EntryAccepted() {
  if (IsBlankDateText(Edit19->Text()) || ReadThaiDate(Edit19->Text())) return true;
  Edit19->SetFocus();
  return false;
}

RowValues TRef_Person::BoxValues() const {
  RowValues values = RegisterWindow::BoxValues();
  values.push_back({"per_pict", picture_name_});
  return values;
}

void TRef_Person::SpeedButton5Click(TObject*) {
  Panel1->Hide();
  RefSheet->SetActivePage(find_pict);
  FileListBox1->SetDirectory(WorkingPath(kPersonPictureFolder));
  Image2->Clear();
  name_before_picker_ = picture_name_;
  Label30->SetCaption({});
}

void TRef_Person::FileListBox1Click(TObject*) {
  if (FileListBox1->ItemIndex() < 0) return;
  try {
    Image2->LoadFromFile(FileListBox1->FileName());
  } catch (const EInvalidGraphic&) {
    Image2->Clear();
  }
}

void TRef_Person::Button17Click(TObject*) {
  ReturnFromPicker();
  if (FileListBox1->ItemIndex() < 0) {
    ShowPicture(name_before_picker_);
    return;
  }
  picture_name_ = FileListBox1->Items()[FileListBox1->ItemIndex()];
  ShowPicture(picture_name_);
}

void TRef_Person::Button16Click(TObject*) {
  ReturnFromPicker();
  picture_name_ = name_before_picker_;
  ShowPicture(picture_name_);
}

void TRef_Person::ReturnFromPicker() {
  RefSheet->SetActivePage(Customer);
  Panel1->Show();
}
