#include "app/donation/Ref_Donate.h"

#include <memory>

#include "app/core/SqlRegisterRows.h"
#include "engine/access/Query.h"
#include "platform/rtl/NumberText.h"
#include "platform/ui/Label.h"

namespace {

constexpr const char* kAlias = "d_accessory_ref";
constexpr const char* kNumberColumn = "accessory_no";
constexpr const char* kPurposeType = "2";
constexpr const char* kTicked = "Y";
constexpr const char* kNotTicked = "N";
constexpr int kRowHeight = 28;

// An edit may renumber a purpose: the update finds the row by the number it
// had when the edit began.
RegisterSql PurposeSql() {
  RegisterSql sql;
  sql.table = "m_donate";
  sql.key_column = kNumberColumn;
  sql.insert = {" insert into m_donate ",
                " (accessory_no,accessory_name, ",
                " accessory_type,accessory_unit,zone, ",
                " qty,b_price,price_1,price_2,price_3, ",
                " price_4,price_5,cut_stock, ",
                " fg_vat ) ",
                " values ",
                " (:paccessory_no,:paccessory_name, ",
                " :paccessory_type,:paccessory_unit,:pzone, ",
                " :pqty,:pb_price,:pprice_1,:pprice_2,:pprice_3, ",
                " :pprice_4,:pprice_5,:pcut_stock, ",
                " :pfg_vat )"};
  sql.update = {{" update m_donate ",
                 " set ",
                 " accessory_no=:paccessory_no,accessory_name=:paccessory_name, ",
                 " accessory_type=:paccessory_type,accessory_unit=:paccessory_unit,zone=:pzone, ",
                 " qty=:pqty,b_price=:pb_price,price_1=:pprice_1,price_2=:pprice_2,price_3=:pprice_3, ",
                 " price_4=:pprice_4,price_5=:pprice_5, ",
                 " cut_stock=:pcut_stock,fg_vat=:pfg_vat ",
                 " where accessory_no =:poaccessory_no "},
                "poaccessory_no"};
  sql.remove = {{" delete from m_donate ", " where accessory_no =:paccessory_no "}, "paccessory_no"};
  // fg_vat is a one-character text column: the flag is written as shown.
  sql.params = {{"paccessory_no", kNumberColumn},
                {"paccessory_name", "accessory_name"},
                {"paccessory_type", "accessory_type"},
                {"paccessory_unit", "accessory_unit"},
                {"pzone", "zone"},
                {"pqty", "qty", ParamKind::kNumber},
                {"pb_price", "b_price", ParamKind::kNumber},
                {"pprice_1", "price_1", ParamKind::kNumber},
                {"pprice_2", {}},
                {"pprice_3", {}},
                {"pprice_4", {}},
                {"pprice_5", {}},
                {"pcut_stock", "cut_stock"},
                {"pfg_vat", "fg_vat"}};
  return sql;
}
constexpr int kBoxLeft = 170;

// A stored number as the box shows it; "0" for a text that is no number.
std::string NumberText(const std::string& stored) {
  double value = 0;
  return TryStrToFloat(stored, value) ? FloatToStr(value) : std::string("0");
}

}  // namespace

TRef_Donate::TRef_Donate(TComponent* owner)
    : RegisterWindow(owner, kAlias),
      Edit2(EntryBox("รหัสวัตถุประสงค์", 8, 8, kBoxLeft, 80, 5)),
      Edit3(EntryBox("ชื่อวัตถุประสงค์ / อื่น ๆ ", 8, 8 + kRowHeight, kBoxLeft, 300)),
      Edit4(EntryBox("หน่วยนับ", 8, 8 + 2 * kRowHeight, kBoxLeft, 120)),
      Edit5(EntryBox("โซน", 8, 8 + 3 * kRowHeight, kBoxLeft, 40, 2)),
      Edit6(EntryBox("ราคา", 8, 8 + 4 * kRowHeight, kBoxLeft, 120)),
      CheckBox1(new TCheckBox(Customer)),
      Edit11(new TEdit(Customer)),
      query1_(*this, kAlias) {
  SetClientWidth(600);
  SetClientHeight(300);
  auto* hint = new TLabel(Customer);
  hint->SetBounds(kBoxLeft + 120, 11, 300, 16);
  hint->SetCaption("( ไม่เกิน 5 หลัก xxx หมวดหลัก  xx หมวดย่อย )");
  CheckBox1->SetBounds(kBoxLeft, 8 + 5 * kRowHeight, 300, 22);
  CheckBox1->SetCaption("อนุญาต ให้แก้ไขขณะทำรายการได้");
  CheckBox1->OnClick = [this](TObject*) {
    if (EditState != kStateNormal) Edit2->SetFocus();
  };
  Edit11->Hide();
  query1_.Query().SQL().Add("select  *  from  m_donate order by accessory_no ");

  RegisterDefinition definition;
  definition.caption = kPurposeRegisterCaption;
  definition.top = 5;
  definition.left = 25;
  definition.list = &query1_.Rows();
  definition.rows = std::make_unique<SqlRegisterRows>(this, kAlias, PurposeSql());
  definition.columns = {{kNumberColumn, Edit2}, {"accessory_name", Edit3}, {"accessory_unit", Edit4},
                        {"zone", Edit5},        {"price_1", Edit6},        {"fg_vat", Edit11}};
  definition.key_column = kNumberColumn;
  definition.key_box = Edit2;
  definition.key_editable = true;
  definition.name_box = Edit3;
  definition.enter_order = {Edit2, Edit3, Edit4, Edit5, Edit6, CheckBox1};
  definition.guard_box = Edit2;
  definition.guard_message = kPurposeIncomplete;
  definition.guard_focus = Edit2;
  Define(std::move(definition));
  // Browsing, a key other than Enter in the read-only number leads on to the name.
  TKeyPressEvent enter = Edit2->OnKeyPress;
  Edit2->OnKeyPress = [this, enter](TObject* sender, char32_t& key) {
    if (EditState != kStateNormal) return enter(sender, key);
    if (key != U'\r') Edit3->SetFocus();
    key = 0;
  };
  SpeedButton4->OnClick = Bind(this, &TRef_Donate::SpeedButton4Click);

  AddSearch(kNumberColumn, "accessory_name", kPurposeNotFound);
  BitBtn1->SetBounds(kBoxLeft + 88, 8, 24, 24);
}

void TRef_Donate::SpeedButton4Click(TObject* sender) {
  RegisterWindow::SpeedButton4Click(sender);
  // A declined delete shows the list anew as well.
  SpeedButton11Click(sender);
  Table1->Last();
}

void TRef_Donate::AddDefaults() {
  Edit6->SetText("0");
  Edit11->SetText("0");
  CheckBox1->SetChecked(true);
}

void TRef_Donate::LoadRow() {
  RegisterWindow::LoadRow();
  if (Table1->IsEmpty()) return;
  Edit6->SetText(NumberText(Edit6->Text()));
  Edit11->SetText(NumberText(Edit11->Text()));
  const std::string cut_stock = Table1->FieldByName("cut_stock")->AsString();
  if (cut_stock == kTicked || cut_stock == kNotTicked) CheckBox1->SetChecked(cut_stock == kTicked);
}

RowValues TRef_Donate::BoxValues() const {
  RowValues values = RegisterWindow::BoxValues();
  values.insert(values.end(), {{"accessory_type", kPurposeType},
                               {"qty", "0"},
                               {"b_price", "0"},
                               {"cut_stock", CheckBox1->Checked() ? kTicked : kNotTicked}});
  return values;
}

bool TRef_Donate::EntryAccepted() {
  // The price goes into a number column: a text that is none stops the save.
  StrToFloat(Edit6->Text());
  return true;
}
