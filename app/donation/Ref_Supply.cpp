#include "app/donation/Ref_Supply.h"

#include <memory>

#include "app/core/RegisterSearchPanel.h"
#include "app/core/SqlRegisterRows.h"
#include "app/core/myVar.h"
#include "app/donation/HighestRunningNumber.h"
#include "platform/ui/Label.h"

namespace {

constexpr const char* kAlias = "d_supply";
constexpr const char* kNumberColumn = "cust_no";
constexpr const char* kNewSupplierGroup = "1";
constexpr const char* kMenuCaller = "1";
constexpr const char* kGoodsCaller = "2";
constexpr RunningNumberShape kSupplierNumber{"", 8};
constexpr int kRowHeight = 28;

RegisterSql SupplierSql() {
  RegisterSql sql;
  sql.table = "supply";
  sql.key_column = kNumberColumn;
  sql.insert = {" insert into supply ",
                " (cust_no,cust_name, ",
                " cust_add1,cust_add2,cust_add4, ",
                " cust_zip,cust_tel,cust_fax, ",
                " cust_Cre,cust_Group ) ",
                " values ",
                " (:pcust_no,:pcust_name, ",
                " :pcust_add1,:pcust_add2,:pcust_add4, ",
                " :pcust_zip,:pcust_tel,:pcust_fax, ",
                " :pcust_cre,:pcust_group )"};
  sql.update = {{" update supply ",
                 " set ",
                 " cust_no=:pcust_no,cust_name=:pcust_name, ",
                 " cust_add1=:pcust_add1,cust_add2=:pcust_add2,cust_add4=:pcust_add4, ",
                 " cust_zip=:pcust_zip,cust_tel=:pcust_tel,cust_fax=:pcust_fax, ",
                 " cust_cre=:pcust_cre,cust_group=:pcust_group ",
                 " where cust_no =:qcust_no "},
                "qcust_no"};
  sql.remove = {{" delete from supply ", " where cust_no =:psup_no "}, "psup_no"};
  sql.params = {{"pcust_no", kNumberColumn}, {"pcust_name", "cust_name"}, {"pcust_add1", "cust_add1"},
                {"pcust_add2", "cust_add2"}, {"pcust_add4", "cust_add4"}, {"pcust_zip", "cust_zip"},
                {"pcust_tel", "cust_tel"},   {"pcust_fax", "cust_fax"},   {"pcust_cre", "cust_cre"},
                {"pcust_group", "cust_group"}};
  return sql;
}
constexpr int kBoxLeft = 120;

}  // namespace

TRef_Supply::TRef_Supply(TComponent* owner, PickTarget* opener)
    : PartyRegister(owner, kAlias, opener, "select * from supply order by cust_no", kNewSupplierGroup),
      Edit2(LabelledBox("รหัสผู้ขาย", 0, 8)),
      Edit3(LabelledBox("ชื่อผู้ขาย", 1, 50)),
      Edit4(LabelledBox("ที่อยู่", 2, 0)),
      Edit5(LabelledBox("", 3, 0)),
      Edit6(LabelledBox("จังหวัด", 4, 0)),
      Edit7(LabelledBox("รหัสไปรษณีย์", 5, 5)),
      Edit8(LabelledBox("โทร.", 6, 0)),
      Edit9(LabelledBox("Fax", 7, 0)) {
  SetPosition(poScreenCenter);
  SetClientWidth(600);
  SetClientHeight(360);
  auto* auto_label = new TLabel(Customer);
  auto_label->SetBounds(kBoxLeft + 130, 11, 60, 16);
  auto_label->SetCaption("( Auto )");
  Edit2->SetWidth(120);
  Edit2->SetTabStop(false);

  RegisterDefinition definition;
  definition.caption = kSupplierRegisterCaption;
  definition.list = &List().Rows();
  definition.rows = std::make_unique<SqlRegisterRows>(this, kAlias, SupplierSql());
  definition.columns = {{kNumberColumn, Edit2}, {"cust_name", Edit3}, {"cust_add1", Edit4}, {"cust_add2", Edit5},
                        {"cust_add4", Edit6},    {"cust_zip", Edit7},  {"cust_tel", Edit8},  {"cust_fax", Edit9}};
  definition.key_column = kNumberColumn;
  definition.name_box = Edit3;
  definition.enter_order = {Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9, Edit2};
  definition.guard_box = Edit2;
  definition.guard_message = kNoSupplierNumber;
  definition.guard_focus = Edit2;
  Define(std::move(definition));
  Edit2->OnKeyPress = Bind(this, &TRef_Supply::Edit2KeyPress);
  SpeedButton3->OnClick = Bind(this, &TRef_Supply::SpeedButton3Click);
  AddSearch(kNumberColumn, "cust_name", "");
  BitBtn1->SetBounds(kBoxLeft + 310, 8, 24, 24);
  Panel3->SearchByName();
  OnActivate = Bind(this, &TRef_Supply::FormActivate);
}

TEdit* TRef_Supply::LabelledBox(const char* caption, int row, int max_length) {
  return EntryBox(caption, 8, 8 + row * kRowHeight, kBoxLeft, 300, max_length);
}

void TRef_Supply::FormActivate(TObject* sender) {
  const bool setting_up = SetupPending == 1;
  RegisterWindow::FormActivate(sender);
  if (setting_up) ShowQuitCaption(myVar.SupplyPickCaller != kMenuCaller);
}

std::string TRef_Supply::PickCaller() const {
  // Only the goods window's pick writes back, as the donor register's goods caller does.
  return myVar.SupplyPickCaller == kGoodsCaller ? kGoodsCaller : std::string();
}

void TRef_Supply::SpeedButton3Click(TObject* sender) {
  myVar.CurrentPartyNo = CurrentRowKey;
  RegisterWindow::SpeedButton3Click(sender);
}

void TRef_Supply::Edit2KeyPress(TObject*, char32_t& key) {
  if (key != U'\r') return;
  key = 0;
  if (!Definition().rows->HasKey(Edit2->Text(), true)) Edit3->SetFocus();
}

std::string TRef_Supply::NextSupplierNo() {
  const std::string highest = HighestRunningNumber(QueryTemp(), "supply", kNumberColumn, kSupplierNumber);
  return RunningNumberAfter(kSupplierNumber, highest, kSupplierNumbersUsedUp);
}

void TRef_Supply::AddDefaults() {
  Edit2->SetText(kNewSupplierNumber);
  PartyRegister::AddDefaults();
}
