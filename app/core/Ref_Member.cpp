#include "app/core/Ref_Member.h"

#include <algorithm>
#include <functional>
#include <memory>

#include "app/core/RegisterSearchPanel.h"
#include "app/core/SqlRegisterRows.h"
#include "app/core/WhileOpen.h"
#include "app/core/ZeroPadding.h"
#include "app/core/myVar.h"
#include "platform/rtl/NumberText.h"

namespace {

constexpr const char* kNumberColumn = "mem_no";
constexpr int kNumberWidth = 7;
// Saves that find their number taken by another user take the next one this often.
constexpr int kNumberAttempts = 5;
constexpr int kRowHeight = 28;
constexpr int kBoxLeft = 130;

using CodeRow = std::pair<std::string, std::string>;

// The name of the number, or the number of the name; empty when none matches.
std::string NameOf(const std::vector<CodeRow>& rows, const std::string& number) {
  const auto row = std::ranges::find(rows, number, &CodeRow::first);
  return row == rows.end() ? std::string() : row->second;
}
std::string NumberOf(const std::vector<CodeRow>& rows, const std::string& name) {
  const auto row = std::ranges::find(rows, name, &CodeRow::second);
  return row == rows.end() ? std::string() : row->first;
}

// The member and land-user registers run the same statements on their tables.
RegisterSql MemberSql(const std::string& table) {
  RegisterSql sql;
  sql.table = table;
  sql.key_column = kNumberColumn;
  sql.insert = {" insert into " + table + " ",
                " (mem_no,mem_name,mem_card, ",
                " mem_nation,mem_broker, ",
                " mem_add1,mem_add2,mem_add4, ",
                " mem_zip,mem_tel,mem_fax, ",
                " mem_rem ) ",
                " values ",
                " (:pmem_no,:pmem_name,:pmem_card, ",
                " :pmem_nation,:pmem_broker, ",
                " :pmem_add1,:pmem_add2,:pmem_add4, ",
                " :pmem_zip,:pmem_tel,:pmem_fax, ",
                " :pmem_memo1 )"};
  sql.update = {{" update " + table + " ",
                 " set ",
                 " mem_no=:pmem_no,mem_name=:pmem_name,mem_card=:pmem_card, ",
                 " mem_nation=:pmem_nation,mem_broker=:pmem_broker, ",
                 " mem_add1=:pmem_add1,mem_add2=:pmem_add2,mem_add4=:pmem_add4, ",
                 " mem_zip=:pmem_zip,mem_tel=:pmem_tel,mem_fax=:pmem_fax, ",
                 " mem_rem=:pmem_memo1 ",
                 " where mem_no =:pmem_no "},
                "pmem_no"};
  sql.remove = {{" delete from " + table + " ", " where mem_no =:pmem_no "}, "pmem_no"};
  sql.params = {{"pmem_no", kNumberColumn}, {"pmem_name", "mem_name"},     {"pmem_card", "mem_card"},
                {"pmem_nation", "mem_nation"}, {"pmem_broker", "mem_broker"}, {"pmem_add1", "mem_add1"},
                {"pmem_add2", "mem_add2"},     {"pmem_add4", "mem_add4"},     {"pmem_zip", "mem_zip"},
                {"pmem_tel", "mem_tel"},       {"pmem_fax", "mem_fax"},       {"pmem_memo1", "mem_rem"}};
  return sql;
}

std::vector<std::string> Names(const std::vector<CodeRow>& rows) {
  std::vector<std::string> names;
  names.reserve(rows.size());
  for (const CodeRow& row : rows) names.push_back(row.second);
  return names;
}

}  // namespace

TRef_Member::TRef_Member(TComponent* owner, const MemberRegisterSettings& settings)
    : RegisterWindow(owner, settings.alias),
      Edit2(LabelledBox("รหัส (รหัส AUTO Running)", 0)),
      Edit3(LabelledBox("ชื่อฆราวาส", 1)),
      Edit4(LabelledBox("เลขบัตรประชาชน", 2, 13)),
      Edit5(LabelledBox("ที่อยู่", 3)),
      Edit6(LabelledBox("", 4)),
      Edit7(LabelledBox("จังหวัด", 5)),
      Edit8(LabelledBox("รหัสไปรษณีย์", 6, 5)),
      Edit9(LabelledBox("โทร.", 7)),
      Edit10(LabelledBox("FAX", 8)),
      Memo1(new TMemo(Customer)),
      query_temp(new TVTRTable(this)),
      SpeedButton9(new TSpeedButton(Panel1)),
      settings_(settings) {
  SetClientWidth(560);
  SetClientHeight(400);
  Memo1->SetBounds(kBoxLeft, 8 + 9 * kRowHeight, 300, 60);
  if (settings_.nation_and_agent) {
    ComboBox2 = new TComboBox(Customer);
    ComboBox1 = new TComboBox(Customer);
    for (TComboBox* combo : {ComboBox2, ComboBox1}) {
      combo->Hide();
      combo->SetEnabled(false);
    }
  }

  TVTRTable* table1 = WindowTable(settings_.table, true);
  table1->SetIndexFieldNames(kNumberColumn);
  query_temp->SetDatabaseName(settings_.alias);
  query_temp->SetReadOnly(true);

  RegisterDefinition definition;
  definition.caption = settings_.caption;
  definition.top = 50;
  definition.left = settings_.left;
  definition.list = table1;
  definition.rows = std::make_unique<SqlRegisterRows>(this, settings_.alias, MemberSql(settings_.table));
  definition.columns = {{kNumberColumn, Edit2}, {"mem_name", Edit3}, {"mem_card", Edit4},
                        {"mem_add1", Edit5},    {"mem_add2", Edit6}, {"mem_add4", Edit7},
                        {"mem_zip", Edit8},     {"mem_tel", Edit9},  {"mem_fax", Edit10}};
  definition.key_column = kNumberColumn;
  definition.name_box = Edit3;
  definition.enter_order = {Edit3, Edit5, Edit6, Edit7, Edit8, Edit9, Edit10, Memo1, Edit2};
  definition.guard_box = Edit3;
  definition.guard_message = kMemberIncomplete;
  definition.guard_focus = Edit3;
  definition.delete_declined_message = kMemberDeleteDeclined;
  Define(std::move(definition));
  Edit4->OnKeyPress = [this](TObject*, char32_t& key) {
    if (key != U'\r') return;
    key = 0;
    Edit3->SetFocus();
  };
  Envelope = new TMemberEnvelope(this, *table1, settings_.alias);
  SpeedButton9->SetBounds(8 + 10 * 64 + 120, 4, 64, 28);
  SpeedButton9->SetCaption("ซอง จม.");
  SpeedButton9->SetHint("พิมพ์ซอง");
  SpeedButton9->SetFlat(true);
  SpeedButton9->OnClick = Bind(this, &TRef_Member::SpeedButton9Click);
  AddOwnButtons({}, {SpeedButton9});
  AddSearch(kNumberColumn, "mem_name", kRowNotFound);
  BitBtn1->SetBounds(kBoxLeft + 310, 8, 24, 24);
  Panel3->SearchByName();
  OnActivate = Bind(this, &TRef_Member::FormActivate);
}

TEdit* TRef_Member::LabelledBox(const char* caption, int row, int max_length) {
  return EntryBox(caption, 8, 8 + row * kRowHeight, kBoxLeft, 300, max_length);
}

void TRef_Member::FormActivate(TObject* sender) {
  // Only an opener that asked for the register (mode 1) gets it set up.
  if (settings_.set_up_on_request && SetupPending == 1 && myVar.MemberRegisterMode != 1) {
    SetupPending = 0;
    return;
  }
  RegisterWindow::FormActivate(sender);
}

void TRef_Member::SpeedButton9Click(TObject*) { Envelope->QuickRep1->Preview(); }

std::vector<CodeRow> TRef_Member::CodeRows(const char* table, const char* number_column, const char* name_column) {
  query_temp->SetTableName(table);
  query_temp->SetIndexFieldNames({});
  std::vector<CodeRow> rows = WhileOpen(*query_temp, [&] {
    std::vector<CodeRow> read;
    for (query_temp->First(); !query_temp->Eof(); query_temp->Next())
      read.emplace_back(query_temp->FieldByName(number_column)->AsString(),
                        query_temp->FieldByName(name_column)->AsString());
    return read;
  });
  std::ranges::sort(rows, std::greater<>(), &CodeRow::first);
  return rows;
}

void TRef_Member::FillLookups() {
  if (!settings_.nation_and_agent) return;
  nations_ = CodeRows("h_nation", "nation_no", "nation_desc");
  agents_ = CodeRows("h_broker", "broker_no", "broker_name");
  ComboBox2->SetItems(Names(nations_));
  ComboBox1->SetItems(Names(agents_));
  for (TComboBox* combo : {ComboBox2, ComboBox1})
    if (!combo->Items().empty()) combo->SetItemIndex(0);
}

void TRef_Member::LoadRow() {
  RegisterWindow::LoadRow();
  const bool empty = Table1->IsEmpty();
  Memo1->SetText(empty ? std::string() : Table1->FieldByName("mem_rem")->AsString());
  if (settings_.nation_and_agent && !empty) {
    ComboBox2->SetText(NameOf(nations_, Table1->FieldByName("mem_nation")->AsString()));
    ComboBox1->SetText(NameOf(agents_, Table1->FieldByName("mem_broker")->AsString()));
  }
  myVar.PickedMemberNo = Edit2->Text();
  myVar.PickedMemberName = Edit3->Text();
}

void TRef_Member::AddDefaults() {
  Memo1->Clear();
  Edit2->SetText(kNewMemberNumber);
}

void TRef_Member::SetBoxesReadOnly(bool read_only) {
  RegisterWindow::SetBoxesReadOnly(read_only);
  Memo1->SetReadOnly(read_only);
  Edit2->SetReadOnly(true);
}

RowValues TRef_Member::BoxValues() const {
  RowValues values = RegisterWindow::BoxValues();
  values.push_back({"mem_rem", Memo1->Text()});
  // Without the combo boxes (land users) both are written empty.
  values.push_back({"mem_nation", ComboBox2 != nullptr ? NumberOf(nations_, ComboBox2->Text()) : std::string()});
  values.push_back({"mem_broker", ComboBox1 != nullptr ? NumberOf(agents_, ComboBox1->Text()) : std::string()});
  return values;
}

std::string TRef_Member::NextMemberNumber() {
  query_temp->SetTableName(settings_.table);
  query_temp->SetIndexFieldNames(kNumberColumn);
  const int64_t next = WhileOpen(*query_temp, [&] {
    query_temp->Last();
    return query_temp->IsEmpty() ? int64_t{0}
                                  : int64_t{StrToInt(query_temp->FieldByName(kNumberColumn)->AsString())} + 1;
  });
  return PadLeftZeros(IntToStr(next), kNumberWidth);
}

std::string TRef_Member::InsertRow() {
  for (int attempt = 1;; ++attempt) {
    Edit2->SetText(NextMemberNumber());
    try {
      Definition().rows->Insert(BoxValues());
      return Edit2->Text();
    } catch (const std::exception&) {
      // Refused for another reason than a number another user took meanwhile.
      if (attempt == kNumberAttempts || !Definition().rows->HasKey(Edit2->Text(), false)) throw;
    }
  }
}
