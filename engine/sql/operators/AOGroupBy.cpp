#include "engine/sql/operators/AOGroupBy.h"

#include <algorithm>

#include "engine/access/Table.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/sql/operators/AOTableExpr.h"
#include "platform/rtl/TextCase.h"

namespace {

bool HasGroupList(const TVTRFields* group_fields) {
  return group_fields && group_fields->Count() > 0;
}

// A stored table applies its filter in its own cursor, which a second cursor
// would not share: grouping reads such a table through a materialised copy.
TVTRAOPtr GroupingInput(TVTRAOPtr child, const TVTRFields* group_fields) {
  if (child->IsBaseTable && HasGroupList(group_fields)) return std::make_unique<TVTRAOTableExpr>(std::move(child));
  return child;
}

// The select-list item a GROUP BY entry names by its alias; aggregates do not count.
const TVTRSelectListItem* AliasedItem(std::span<const TVTRSelectListItem> items, const std::string& alias) {
  for (const TVTRSelectListItem& item : items) {
    if (!SameText(item.Alias, alias)) continue;
    const auto* expression = static_cast<const TVTRSQLExpression*>(item.Expression);
    if (item.IsExpression && expression && expression->IsAggregated()) return nullptr;
    return &item;
  }
  return nullptr;
}

}  // namespace

TVTRAOGroupBy::TVTRAOGroupBy(TVTRAOPtr child, std::span<const TVTRSelectListItem> items,
                             const TVTRFields* group_fields)
    : TVTRAO(GroupingInput(std::move(child), group_fields), nullptr, "", "") {
  IsMaterialized = false;
  IsGrouping = true;
  WholeInput = !HasGroupList(group_fields);
  for (int32_t i = 0; i < Left->ColumnCount(); ++i) {
    const TVTRFieldLink& source = Left->Column(i);
    TVTRFieldLink& column = Columns.emplace_back();
    column.Name = source.Name;
    column.CopyShape(source);
    column.Hidden = true;
    column.SourceNode = Left.get();
    column.SourceFieldNo = i;
  }
  if (WholeInput) return;
  std::string group_list;
  for (int32_t i = 0; i < group_fields->Count(); ++i) {
    const TVTRSelectListItem& entry = group_fields->Item(i);
    int32_t found = FindFields(entry.FieldName, entry.TableName, false, &GroupColumns, true);
    const TVTRSelectListItem* aliased = found == 0 ? AliasedItem(items, entry.FieldName) : nullptr;
    if (aliased) found = FindFields(aliased->FieldName, aliased->TableName, false, &GroupColumns, true);
    if (found == 0)
      throw EVTRException::CreateFmt(
          20245, "Invalid field for GROUP BY. Table name = '%s', FieldName = '%s', i = %d, FieldExists = %d",
          entry.TableName, entry.FieldName, i, aliased ? 1 : 0);
    if (!group_list.empty()) group_list += ';';
    group_list += Columns[GroupColumns.back()].Name;
  }
  Left->Sort(group_list, "", "");
}

TVTRAOGroupBy::~TVTRAOGroupBy() = default;

void TVTRAOGroupBy::ApplySelectList(std::span<TVTRSelectListItem> items, bool distinct) {
  TVTRAO::ApplySelectList(items, distinct);
  for (const TVTRSelectListItem& item : items) {
    if (item.IsExpression || item.AllFields) continue;
    std::vector<int32_t> found;
    if (FindFields(item.FieldName, item.TableName, false, &found, false) == 0)
      throw EVTRException::CreateFmt(10341, "Cannot find field %s in table %s", item.FieldName, item.TableName);
    for (const int32_t column_no : found) {
      if (std::ranges::find(GroupColumns, column_no) != GroupColumns.end()) continue;
      throw EVTRException::CreateFmt(
          10342,
          "Field is not included in GROUP BY list. Table name = '%s', Field name = '%s', FieldNo = %d, "
          "Found field name = '%s'",
          item.TableName, item.FieldName, column_no, Columns[column_no].Name);
    }
  }
}

void TVTRAOGroupBy::PrepareInputs() {
  if (WholeInput) return;
  const TVTRTable& input = Left->Result();
  LookAhead = std::make_unique<TVTRTable>(nullptr);
  try {
    LookAhead->SetSessionName(input.SessionName());
    if (input.Temporary())
      LookAhead->SetTemporary(true);
    else
      LookAhead->SetDatabaseName(input.DatabaseName());
    LookAhead->SetInMemory(input.InMemory());
    LookAhead->DisableTempFiles = input.DisableTempFiles;
    LookAhead->SetTableName(input.TableName());
    LookAhead->SetReadOnly(true);
    LookAhead->SetIndexName(input.IndexName());
    LookAhead->Open();
  } catch (const std::exception&) {
    throw EVTRException::CreateFmt(10304, "Cannot open table %s, InMemory = %d", input.TableName(),
                                   input.InMemory() ? 1 : 0);
  }
}

void TVTRAOGroupBy::ReleaseInputs() {
  LookAhead.reset();
}

void TVTRAOGroupBy::ResetAggregates() {
  if (Filter) Filter->ResetAggregates();
  if (!HasExpressionColumns) return;
  for (TVTRFieldLink& column : Columns)
    if (column.IsAggregated && column.Expression) column.Expression->ResetAggregates();
}

void TVTRAOGroupBy::Accumulate() {
  if (Filter) Filter->Accumulate();
  if (!HasExpressionColumns) return;
  for (TVTRFieldLink& column : Columns)
    if (column.IsAggregated && column.Expression) column.Expression->Accumulate();
}

void TVTRAOGroupBy::AdvanceBoth() {
  Left->NextResult();
  LookAhead->Next();
}

bool TVTRAOGroupBy::SameGroupKeys() {
  for (const int32_t column_no : GroupColumns) {
    const TVTRFieldLink& column = Columns[column_no];
    const int32_t child_column = column.SourceFieldNo;
    Left->GetColumnValue(child_key_, child_column, true);
    const int32_t field_no = Left->Column(child_column).SourceFieldNo;
    LookAhead->GetFieldVariant(ahead_key_, field_no, true);
    TVTRCompareResult order;
    try {
      order = child_key_.Compare(ahead_key_, {});
    } catch (const std::exception& error) {
      throw EVTRException::CreateFmt(10340, "Cannot compare values for fields: %s, %s. Error: %s", column.Name,
                                     LookAhead->Handle()->TableFieldDefs.GetFieldDef(field_no).Name, error.what());
    }
    if (order != crEqual) return false;
  }
  return true;
}

void TVTRAOGroupBy::NextGroup(bool is_first) {
  if (!is_first) {
    AdvanceBoth();
    ResetAggregates();
    if (ChildAtEnd()) {
      AtEnd = true;
      return;
    }
  }
  // The look-ahead cursor stays on the last row once past it, so the last
  // group ends with the child past its end, still showing that row.
  bool same = true;
  while (same && !ChildAtEnd()) {
    same = SameGroupKeys();
    Accumulate();
    if (same) AdvanceBoth();
  }
}

void TVTRAOGroupBy::First() {
  AtEnd = false;
  Left->FirstResult();
  if (!WholeInput) {
    LookAhead->First();
    AtEnd = LookAhead->Eof();
  }
  FirstPending = true;
  Next();
}

void TVTRAOGroupBy::Next() {
  if (!FirstPending) {
    if (WholeInput)
      AtEnd = true;
    else
      NextGroup(false);
    return;
  }
  FirstPending = false;
  ResetAggregates();
  if (WholeInput) {
    for (; !ChildAtEnd(); Left->NextResult()) Accumulate();
    Left->FirstResult();
    return;
  }
  if (ChildAtEnd()) {
    // An empty input: one row of NULLs and zero counts when aggregates are selected.
    AtEnd = !HasExpressionColumns;
    return;
  }
  LookAhead->Next();
  if (LookAhead->Eof()) {
    Accumulate();
    return;
  }
  NextGroup(true);
}
