// Building a join: its columns and key pairs.
#include "engine/sql/operators/AOJoin.h"

#include "engine/access/Table.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/sql/operators/ConvertedColumn.h"
#include "platform/rtl/TextCase.h"

namespace {

constexpr const char* kInvalidJoinField =
    "Invalid field for join operation. Table name = '%s', FieldName = '%s', i = %d, FieldExists = %d";
constexpr const char* kDifferentLengths = "Error - different lists length. L1 = %d, L2 = %d";

}  // namespace

TVTRAOJoin::TVTRAOJoin(TVTRAOPtr left, std::unique_ptr<TVTRSQLExpression> on_condition,
                       const TVTRFields* right_fields, const TVTRFields* left_fields, bool natural,
                       TVTRJoinType join_type, TVTRAOPtr right)
    : TVTRAO(std::move(left), std::move(right), "", ""),
      IsCross(join_type == jtCross),
      IsOuter(join_type == jtLeft || join_type == jtRight || join_type == jtFull),
      IsInner(join_type == jtInner),
      JoinType(join_type),
      OnCondition(std::move(on_condition)) {
  IsMaterialized = false;
  const int32_t left_count = left_fields ? left_fields->Count() : 0;
  const int32_t right_count = right_fields ? right_fields->Count() : 0;
  if (!IsCross && !natural && left_count != right_count)
    throw EVTRException::CreateFmt(10330, kDifferentLengths, left_count, right_count);
  AddColumnsOf(*Left);
  AddColumnsOf(*Right);
  if (natural) {
    PairNaturally();
  } else if (!IsCross && left_fields && right_fields) {
    FindKeys(*left_fields, *right_fields);
  }
  if (!IsCross) OrderKeyPairs();
  MakeFieldNames();
}

void TVTRAOJoin::AddColumnsOf(TVTRAO& child) {
  for (int32_t i = 0; i < child.ColumnCount(); ++i) {
    const TVTRFieldLink& source = child.Column(i);
    TVTRFieldLink& column = Columns.emplace_back();
    column.Name = source.Name;
    column.CopyShape(source);
    column.Hidden = source.Hidden;
    column.SourceNode = &child;
    column.SourceFieldNo = i;
  }
}

void TVTRAOJoin::PairNaturally() {
  for (int32_t r = 0; r < ColumnCount(); ++r) {
    if (Columns[r].SourceNode != Right.get()) continue;
    for (int32_t l = 0; l < ColumnCount(); ++l) {
      if (Columns[l].SourceNode != Left.get() || !SameText(Columns[l].Name, Columns[r].Name)) continue;
      LeftKeys.push_back(l);
      RightKeys.push_back(r);
      Columns[l].Hidden = Columns[r].Hidden = false;
      Left->FindFields(Columns[l].Name, "", false, nullptr, true);
      Right->FindFields(Columns[r].Name, "", false, nullptr, true);
    }
  }
}

void TVTRAOJoin::FindKeys(const TVTRFields& left_fields, const TVTRFields& right_fields) {
  const auto find = [this](const TVTRFields& fields, std::vector<int32_t>& keys, int32_t code) {
    for (int32_t i = 0; i < fields.Count(); ++i) {
      const TVTRSelectListItem& entry = fields.Item(i);
      std::vector<int32_t> found;
      const int32_t n = FindFields(entry.FieldName, entry.TableName, false, &found, true);
      if (n != 1) throw EVTRException::CreateFmt(code, kInvalidJoinField, entry.TableName, entry.FieldName, i, n);
      keys.push_back(found.front());
    }
  };
  find(left_fields, LeftKeys, 10331);
  find(right_fields, RightKeys, 10332);
}

void TVTRAOJoin::OrderKeyPairs() {
  if (LeftKeys.size() != RightKeys.size())
    throw EVTRException::CreateFmt(10332, kDifferentLengths, static_cast<int32_t>(LeftKeys.size()),
                                   static_cast<int32_t>(RightKeys.size()));
  if (LeftKeys.empty()) throw EVTRException::CreateFmt(10333, "Empty field list, item count = %d", 0);
  std::string left_names, right_names;
  for (size_t i = 0; i < LeftKeys.size(); ++i) {
    const TVTRFieldLink& first = Columns[LeftKeys[i]];
    const TVTRFieldLink& second = Columns[RightKeys[i]];
    if (first.SourceNode == second.SourceNode)
      throw EVTRException::CreateFmt(
          10334, "Both join fields are from the same table. Field1 = '%s', Field2 = '%s', No1 = %d, No2 = %d.",
          first.Name, second.Name, LeftKeys[i], RightKeys[i]);
    if (first.SourceNode == Right.get()) std::swap(LeftKeys[i], RightKeys[i]);
    ConvertKeyTypes(i);
    const auto append = [](std::string& names, const TVTRFieldLink& key) {
      if (!names.empty()) names += ';';
      names += key.SourceNode->Column(key.SourceFieldNo).Name;
    };
    append(left_names, Columns[LeftKeys[i]]);
    append(right_names, Columns[RightKeys[i]]);
  }
  Left->Sort(left_names, "", "");
  Right->Sort(right_names, "", "");
}

void TVTRAOJoin::ConvertKeyTypes(size_t pair) {
  const TVTRAdvancedDataType left_type = Columns[LeftKeys[pair]].DataType;
  const TVTRAdvancedDataType right_type = Columns[RightKeys[pair]].DataType;
  const TVTRAdvancedDataType common = CommonKeyType(left_type, right_type);
  if (common == adtUnknown) return;
  const TVTRBaseDataType common_base = AdvancedTypeToBaseType(common);
  if (AdvancedTypeToBaseType(left_type) != common_base)
    LeftKeys[pair] = AddConvertedKey(Left, LeftKeys[pair], common);
  if (AdvancedTypeToBaseType(right_type) != common_base)
    RightKeys[pair] = AddConvertedKey(Right, RightKeys[pair], common);
}

int32_t TVTRAOJoin::AddConvertedKey(TVTRAOPtr& input, int32_t key, TVTRAdvancedDataType type) {
  TVTRAO* child = input.get();
  const int32_t converted = AddConvertedColumn(input, Columns[key].SourceFieldNo, type);
  for (TVTRFieldLink& column : Columns) {
    if (column.SourceNode != child) continue;
    column.SourceNode = input.get();
    column.SourceFieldNo = ProjectedColumn(*input, column.SourceFieldNo);
  }
  TVTRFieldLink& link = Columns.emplace_back();
  link.Name = input->Column(converted).Name;
  link.CopyShape(input->Column(converted));
  link.Hidden = true;
  link.SourceNode = input.get();
  link.SourceFieldNo = converted;
  return ColumnCount() - 1;
}

void TVTRAOJoin::Execute(bool is_root, TVTRAO* outer_ao, TVTRCursor* outer_cursor) {
  if (OnCondition) OnCondition->AssignAO(this, outer_ao, outer_cursor);
  TVTRAO::Execute(is_root, outer_ao, outer_cursor);
}

void TVTRAOJoin::PrepareInputs() {
  if (JoinType != jtInner && JoinType != jtFull) return;
  if (Left->Result().Handle()->HasFilter() || Right->Result().Handle()->HasFilter()) return;
  if (Right->GetResultRecordCount() >= Left->GetResultRecordCount()) return;
  std::swap(Left, Right);
  std::swap(LeftKeys, RightKeys);
}

void TVTRAOJoin::PassDistinctOn() {
  for (TVTRAO* child : {Left.get(), Right.get()}) {
    if (!child || child->IsBaseTable) continue;
    std::string names;
    for (const TVTRFieldLink& column : Columns) {
      if (column.Hidden || !LinksTo(column, child)) continue;
      if (!names.empty()) names += ';';
      names += child->Column(column.SourceFieldNo).Name;
    }
    child->SetDistinct(names);
  }
}

int64_t TVTRAOJoin::GetRecordCount() {
  if (IsMaterialized) return ResultTable->RecordCount();
  if (IsCross) return Left->GetResultRecordCount() * Right->GetResultRecordCount();
  return 0;
}
