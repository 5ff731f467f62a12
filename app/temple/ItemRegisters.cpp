#include "app/temple/ItemRegisters.h"

#include <memory>
#include <vector>

#include "app/core/SqlRegisterRows.h"
#include "engine/access/Query.h"
#include "platform/ui/Label.h"
#include "platform/rtl/NumberText.h"

namespace {

constexpr int kRowHeight = 30;
constexpr int kLabelLeft = 16;
constexpr int kBoxLeft = 150;
constexpr int kBoxWidth = 260;
constexpr int kCodeLength = 5;

// The statements of one catalogue; only halls and land name live. An edit
// keeps the code (its box is read-only), so the update's key is the code the
// row had when the edit began. The price levels 2 to 5 are not kept here:
// every save empties them.
RegisterSql ItemSql(const ItemRegisterKind& kind) {
  const std::string table = kind.table;
  RegisterSql sql;
  sql.table = table;
  sql.key_column = "accessory_no";
  sql.insert = {" insert into " + table + " ",
                " (accessory_no,accessory_name, ",
                " accessory_type,unit,zone, ",
                " qty,b_price,price_1,price_2,price_3, ",
                kind.writes_live ? " price_4,price_5,cut_stock,live, " : " price_4,price_5,cut_stock, ",
                " fg_vat ) ",
                " values ",
                " (:paccessory_no,:paccessory_name, ",
                " :paccessory_type,:punit,:pzone, ",
                " :pqty,:pb_price,:pprice_1,:pprice_2,:pprice_3, ",
                kind.writes_live ? " :pprice_4,:pprice_5,:pcut_stock,:plive, " : " :pprice_4,:pprice_5,:pcut_stock, ",
                " :pfg_vat )"};
  sql.update = {{" update " + table + " ",
                 " set ",
                 " accessory_no=:paccessory_no,accessory_name=:paccessory_name, ",
                 " accessory_type=:paccessory_type,unit=:punit,zone=:pzone, ",
                 " qty=:pqty,b_price=:pb_price,price_1=:pprice_1,price_2=:pprice_2,price_3=:pprice_3, ",
                 " price_4=:pprice_4,price_5=:pprice_5, ",
                 kind.writes_live ? " cut_stock=:pcut_stock,live=:plive,fg_vat=:pfg_vat "
                                  : " cut_stock=:pcut_stock,fg_vat=:pfg_vat ",
                 " where accessory_no =:paccessory_no "},
                "paccessory_no"};
  sql.remove = {{" delete from " + table + " ", " where accessory_no =:paccessory_no "}, "paccessory_no"};
  // fg_vat is a one-character text column: the flag is written as its number's text.
  sql.params = {{"paccessory_no", "accessory_no"},
                {"paccessory_name", "accessory_name"},
                {"paccessory_type", "accessory_type"},
                {"punit", "unit"},
                {"pzone", kind.zone_box ? "zone" : ""},
                {"pqty", "qty", ParamKind::kNumber},
                {"pb_price", "b_price", ParamKind::kNumber},
                {"pprice_1", "price_1", ParamKind::kNumber},
                {"pprice_2", {}},
                {"pprice_3", {}},
                {"pprice_4", {}},
                {"pprice_5", {}},
                {"pcut_stock", "cut_stock"},
                {"plive", "live"},
                {"pfg_vat", "fg_vat"}};
  return sql;
}

TEdit* Hidden(TEdit* box) {
  box->Hide();
  box->SetEnabled(false);
  return box;
}

}  // namespace

const ItemRegisterKind kRoomRegister{" ทะเบียนศาลา - อาคาร", "g_room", "d_room_ref", "0", "ชื่ออาคาร - ที่ดิน",
                                     "ราคา", true, true, false, true};
const ItemRegisterKind kLandRegister{" ทะเบียนทีดิน (ที่ธรณีสงฆ์)", "g_land", "d_room_ref", "0",
                                     "ชื่ออาคาร - ที่ดิน", "ราคา", true, true, false, true};
const ItemRegisterKind kAccessoryRegister{" ทะเบียนเครื่องประกอบพิธี - บริการ (3)", "g_accessory", "d_accessory_ref",
                                          "2", "ชื่อสินค้า - บริการ / อื่น ๆ ", "ราคา", true, true, true, false};
const ItemRegisterKind kPublicRegister{" ทะเบียนค่าสาธารณูปโภค", "g_public", "d_public", "1", "ชื่อ", "ราคาต่อหน่วย",
                                       false, false, false, false};

TRef_Item::TRef_Item(TComponent* owner, const ItemRegisterKind& kind)
    : RegisterWindow(owner, kind.alias),
      Edit2(EntryBox("รหัส", kLabelLeft, 8, kBoxLeft, 80, kCodeLength)),
      Edit3(EntryBox(kind.name_label, kLabelLeft, 8 + kRowHeight, kBoxLeft, kBoxWidth)),
      Edit4(EntryBox("หน่วยนับ", kLabelLeft, 8 + 2 * kRowHeight, kBoxLeft, 120)),
      Edit5(kind.zone_box ? EntryBox("โซน", kLabelLeft, 8 + 3 * kRowHeight, kBoxLeft, 80) : nullptr),
      Edit6(EntryBox(kind.price_label, kLabelLeft, 8 + 4 * kRowHeight, kBoxLeft, 120)),
      Edit1(kind.quantity_box ? EntryBox("จำนวนที่มี", kLabelLeft, 8 + 5 * kRowHeight, kBoxLeft, 120) : nullptr),
      Edit11(Hidden(EntryBox("", kLabelLeft, 8 + 6 * kRowHeight, kBoxLeft, 40))),
      kind_(kind) {
  SetClientWidth(560);
  SetClientHeight(300);
  auto* code_note = new TLabel(Customer);
  code_note->SetBounds(kBoxLeft + 88, 11, 120, 16);
  code_note->SetCaption("( ไม่เกิน 5 หลัก ) ");
  if (Edit1 != nullptr) {
    Edit1->SetColor(clYellow);
    Edit1->SetHint("แสดงผลอย่างเดียว แก้ไขที่นำเข้าห้องพัก / สินค้า-บริการ");
  }

  Query1 = new TVTRQuery(this);
  Query1->SetDatabaseName(Database1->DatabaseName());
  Query1->SetReadOnly(true);
  Query1->SQL().Add(std::string("select  *  from  ") + kind.table + (kind.ordered ? " order by accessory_no " : " "));

  RegisterDefinition definition;
  definition.caption = kind.caption;
  definition.top = 5;
  definition.left = 25;
  definition.list = Query1;
  definition.rows = std::make_unique<SqlRegisterRows>(this, kind.alias, ItemSql(kind));
  definition.columns = {{"accessory_no", Edit2}, {"accessory_name", Edit3}, {"unit", Edit4}};
  if (Edit5 != nullptr) definition.columns.push_back({"zone", Edit5});
  definition.columns.push_back({"price_1", Edit6});
  if (Edit1 != nullptr) definition.columns.push_back({"qty", Edit1});
  definition.columns.push_back({"fg_vat", Edit11});
  definition.key_column = "accessory_no";
  definition.key_box = Edit2;
  definition.name_box = Edit3;
  definition.enter_order = {Edit2, Edit3, Edit4};
  if (Edit5 != nullptr) definition.enter_order.push_back(Edit5);
  definition.enter_order.push_back(Edit6);
  if (Edit1 != nullptr) definition.enter_order.push_back(Edit1);
  definition.guard_box = Edit2;
  definition.guard_message = kItemIncomplete;
  definition.guard_focus = Edit2;
  Define(std::move(definition));
  // The hall and land boxes end at the price: Enter there leads nowhere.
  if (kind.zone_box && Edit1 == nullptr)
    Edit6->OnKeyPress = [](TObject*, char32_t& key) {
      if (key == U'\r') key = 0;
    };
  SearchPanelVariant search;
  search.caption = "ค้นหาโดย";
  search.fixed_prompt = "พิมพ์รายการที่ค้นหา";
  search.keeps_text = true;
  search.click_focuses_box = true;
  search.grid_columns = {{"accessory_no", "รหัส"}, {"accessory_name", "ชื่อ"}};
  AddSearch("accessory_no", "accessory_name", kSearchMiss, std::move(search));
  SpeedButton5 = BitBtn1;
  SpeedButton5->SetBounds(kBoxLeft + 210, 8, 24, 24);
  Panel7 = Panel3;
  Label10 = Panel7->Label45;
  Edit14 = Panel7->Edit1;
  DBGrid4 = Panel7->DBGrid1;
  Button2 = Panel7->Button1;
}

void TRef_Item::AddDefaults() {
  Edit6->SetText("0");
  Edit11->SetText("0");
  if (Edit1 != nullptr) Edit1->SetText("0");
}

void TRef_Item::LoadRow() {
  RegisterWindow::LoadRow();
  // fg_vat is a text column: a row whose flag is no number shows 0.
  double vat = 0;
  Edit11->SetText(TryStrToFloat(Edit11->Text(), vat) ? FloatToStr(vat) : "0");
}

bool TRef_Item::EntryAccepted() {
  // The class library's conversion message, before anything is written.
  StrToFloat(Edit6->Text());
  StrToFloat(Edit11->Text());
  if (Edit1 != nullptr) StrToFloat(Edit1->Text());
  return true;
}

RowValues TRef_Item::BoxValues() const {
  RowValues values = RegisterWindow::BoxValues();
  for (ColumnValue& value : values)
    if (value.column == "fg_vat") value.text = FloatToStr(StrToFloat(value.text));
  values.push_back({"accessory_type", kind_.item_type});
  if (Edit1 == nullptr) values.push_back({"qty", "0"});
  values.push_back({"b_price", "0"});
  values.push_back({"cut_stock", "N"});
  if (kind_.writes_live) values.push_back({"live", "0"});
  return values;
}
