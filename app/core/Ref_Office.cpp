#include "app/core/Ref_Office.h"

#include <memory>

#include "app/core/SqlRegisterRows.h"
#include "app/core/WorkingFolder.h"

namespace {

constexpr const char* kAlias = "d_office";
constexpr const char* kTable = "tresksys";
constexpr const char* kCaption = " ข้อมูลอ้างอิง ศาสนสถาน";
constexpr const char* kLogoHint = "ใส่แฟ้มภาพ mylogo.jpg ที่ต้องการไว้ในโฟลเดอร์ของโปรแกรม";
constexpr int kBoxLeft = 150;
constexpr int kRowHeight = 28;

// The one row is edited only: no insert or delete is offered.
RegisterSql OfficeSql() {
  RegisterSql sql;
  sql.table = kTable;
  sql.key_column = "of_id";
  sql.key_kind = ParamKind::kInteger;
  sql.update = {{" update tresksys ", " set ", " of_name=:pof_name, of_taxid=:pof_taxid, ",
                 " of_add1=:pof_add1, of_add2=:pof_add2, ", " of_add4=:pof_add4,of_zip=:pof_zip,of_tel=:pof_tel, ",
                 " of_fax=:pof_fax,of_email=:pof_email ", " where of_id =:pof_id "},
                "pof_id"};
  sql.params = {{"pof_name", "of_name"}, {"pof_taxid", "of_taxid"}, {"pof_add1", "of_add1"},
                {"pof_add2", "of_add2"}, {"pof_add4", "of_add4"},   {"pof_zip", "of_zip"},
                {"pof_tel", "of_tel"},   {"pof_fax", "of_fax"},     {"pof_email", "of_email"}};
  return sql;
}

}  // namespace

TRef_Office::TRef_Office(TComponent* owner)
    : RegisterWindow(owner, kAlias),
      Edit1(LabelledBox("ชื่อศาสนสถาน", 0)),
      Edit2(LabelledBox("เลขประจำตัวผู้เสียภาษี", 1)),
      Edit3(LabelledBox("ที่อยู่", 2)),
      Edit4(LabelledBox("", 3)),
      Edit5(LabelledBox("จังหวัด", 4)),
      Edit6(LabelledBox("รหัสไปรษณีย์", 5)),
      Edit7(LabelledBox("โทร.", 6)),
      Edit8(LabelledBox("แฟกซ์", 7)),
      Edit9(LabelledBox("E-Mail", 8)),
      Image1(new TImage(Customer)) {
  SetClientWidth(560);
  SetClientHeight(330);
  // The tax number is kept, not edited, here.
  Edit2->Hide();
  Edit2->SetEnabled(false);
  Image1->SetBounds(440, 8, 100, 100);
  Image1->SetStretch(true);
  Image1->SetHint(kLogoHint);
  SpeedButton1->Hide();
  SpeedButton4->Hide();
  DBNavigator1->Hide();
  DBNavigator1->SetVisibleButtons({nbPrior, nbNext});

  TVTRTable* query1 = WindowTable(kTable, true);

  RegisterDefinition definition;
  definition.caption = kCaption;
  definition.top = 2;
  definition.left = 2;
  definition.list = query1;
  definition.rows = std::make_unique<SqlRegisterRows>(this, kAlias, OfficeSql());
  definition.columns = {{"of_name", Edit1}, {"of_taxid", Edit2}, {"of_add1", Edit3},
                        {"of_add2", Edit4}, {"of_add4", Edit5},  {"of_zip", Edit6},
                        {"of_tel", Edit7},  {"of_fax", Edit8},   {"of_email", Edit9}};
  definition.key_column = "of_id";
  definition.name_box = Edit1;
  definition.enter_order = {Edit1, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9};
  definition.guard_box = Edit1;
  definition.guard_message = kOfficeNoName;
  definition.guard_focus = Edit3;
  definition.cancel_reloads = false;
  Define(std::move(definition));
  OnActivate = Bind(this, &TRef_Office::FormActivate);
}

TEdit* TRef_Office::LabelledBox(const char* caption, int row) {
  return EntryBox(caption, 8, 8 + row * kRowHeight, kBoxLeft, 280);
}

void TRef_Office::FormActivate(TObject* sender) {
  const bool first = SetupPending == 1;
  RegisterWindow::FormActivate(sender);
  if (first) LoadLogo();
}

void TRef_Office::LoadLogo() {
  try {
    Image1->LoadFromFile(WorkingPath(kLogoFileName));
  } catch (const EInvalidGraphic&) {
    // A missing or unreadable logo leaves the picture empty: the row matters more.
    Image1->Clear();
  }
}
