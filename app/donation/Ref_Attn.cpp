#include "app/donation/Ref_Attn.h"

#include <memory>

#include "app/core/SqlRegisterRows.h"
#include "engine/access/Query.h"

namespace {

constexpr const char* kAlias = "d_accessory_ref";
constexpr const char* kKeyColumn = "prefix_id";

// The table numbers new titles itself (prefix_id counts up).
RegisterSql TitleSql() {
  RegisterSql sql;
  sql.table = "cust_prefix";
  sql.key_column = kKeyColumn;
  sql.key_kind = ParamKind::kInteger;
  sql.insert = {" insert into cust_prefix ", " (prefix_name ) ", " values ", " (:pprefix_name )"};
  sql.update = {{" update cust_prefix ", " set ", " prefix_name=:pprefix_name ", " where prefix_id =:pprefix_id "},
                "pprefix_id"};
  sql.remove = {{" delete from cust_prefix ", " where prefix_id =:pprefix_id "}, "pprefix_id"};
  sql.params = {{"pprefix_name", "prefix_name"}};
  return sql;
}

}  // namespace

TRef_Attn::TRef_Attn(TComponent* owner)
    : RegisterWindow(owner, kAlias),
      Edit3(EntryBox("ชื่อคำนำหน้า", 8, 12, 110, 200, 20)),
      DBGrid4(new TDBGrid(Customer)),
      Button8(new TButton(Panel1)),
      query1_(*this, kAlias) {
  SetClientWidth(560);
  SetClientHeight(360);
  query1_.Query().SQL().Add("select  *  from  cust_prefix");

  RegisterDefinition definition;
  definition.caption = kTitleRegisterCaption;
  definition.top = 5;
  definition.left = 25;
  definition.list = &query1_.Rows();
  definition.rows = std::make_unique<SqlRegisterRows>(this, kAlias, TitleSql());
  definition.columns = {{"prefix_name", Edit3}};
  definition.key_column = kKeyColumn;
  definition.name_box = Edit3;
  definition.enter_order = {Edit3};
  definition.guard_box = Edit3;
  definition.guard_message = kTitleMissing;
  definition.guard_focus = Edit3;
  Define(std::move(definition));
  Edit3->OnKeyPress = [this](TObject*, char32_t& key) {
    if (key != U'\r') return;
    key = 0;
    if (EditState != kStateNormal) Button8->SetFocus();
  };

  DBGrid4->SetBounds(8, 44, 320, 240);
  DBGrid4->SetDataSource(DataSource1);
  DBGrid4->SetReadOnly(true);
  TColumn* name_column = DBGrid4->Columns().Add();
  name_column->SetFieldName("PREFIX_NAME");
  name_column->SetTitle("ชื่อ");

  // The save is a push button in place of the bar's save button.
  SpeedButton8->Hide();
  Button8->SetBounds(SpeedButton8->Left(), SpeedButton8->Top() + 2, SpeedButton8->Width(), 24);
  Button8->SetCaption("บัน&ทึก");
  Button8->OnClick = Bind(this, &TRef_Attn::Button8Click);
  AddOwnButtons({Button8}, {});
}

void TRef_Attn::Button8Click(TObject* sender) {
  SpeedButton8Click(sender);
}
