#include "engine/sql/operators/AOUnion.h"

#include <algorithm>

#include "engine/access/Table.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/sql/operators/ConvertedColumn.h"
#include "platform/rtl/TextCase.h"

namespace {

constexpr const char* kEmptyFieldList = "Empty field list, item count = %d";

// The columns a query operand gives: its select list, else its visible columns.
std::vector<int32_t> OutputColumns(const TVTRAO& input) {
  if (!input.SelectedColumns.empty()) return input.SelectedColumns;
  std::vector<int32_t> visible;
  for (int32_t i = 0; i < input.ColumnCount(); ++i)
    if (!input.Column(i).Hidden) visible.push_back(i);
  return visible;
}

const std::string& OutputName(const TVTRFieldLink& column) {
  return column.DisplayName.empty() ? column.Name : column.DisplayName;
}

// The first output column of that name; -1 when none.
int32_t FindOutput(const TVTRAO& input, const std::vector<int32_t>& outputs, std::string_view name) {
  const auto found = std::ranges::find_if(
      outputs, [&](int32_t column) { return SameText(OutputName(input.Column(column)), name); });
  return found == outputs.end() ? -1 : *found;
}

// Where `input` became a projection over the node the columns were numbered in.
void Renumber(std::vector<int32_t>& columns, const TVTRAO& input, const TVTRAO* before) {
  if (input.LeftNode() != before) return;
  for (int32_t& column : columns) column = ProjectedColumn(input, column);
}

}  // namespace

TVTRAOUnion::TVTRAOUnion(TVTRAOPtr left, const TVTRFields* fields, bool distinct, bool corresponding,
                         TVTRUnionType union_type, TVTRAOPtr right)
    : TVTRAO(std::move(left), std::move(right), "", ""), UnionType(union_type) {
  IsMaterialized = false;
  Distinct = distinct;
  PairColumns(fields, corresponding);
  for (size_t pair = 0; pair < LeftKeys.size(); ++pair) ConvertPair(pair);
  AddColumns();
  if (Compares()) SortInputs();
  if (!distinct) return;
  std::string names;
  for (const TVTRFieldLink& column : Columns) {
    if (!names.empty()) names += ';';
    names += column.Name;
  }
  SetDistinct(names);
}

void TVTRAOUnion::PairColumns(const TVTRFields* fields, bool corresponding) {
  const std::vector<int32_t> left = OutputColumns(*Left);
  const std::vector<int32_t> right = OutputColumns(*Right);
  const auto pair = [&](int32_t left_column, int32_t right_column) {
    if (left_column < 0 || right_column < 0) return;
    // What cannot be indexed cannot be compared.
    if (Compares() && (!IsIndexableAdvancedType(Left->Column(left_column).DataType) ||
                       !IsIndexableAdvancedType(Right->Column(right_column).DataType)))
      return;
    LeftKeys.push_back(left_column);
    RightKeys.push_back(right_column);
  };
  if (fields) {
    if (fields->Count() == 0) throw EVTRException::CreateFmt(10337, kEmptyFieldList, 0);
    for (const TVTRSelectListItem& item : fields->Items())
      pair(FindOutput(*Left, left, item.FieldName), FindOutput(*Right, right, item.FieldName));
  } else {
    for (size_t i = 0; i < left.size(); ++i) {
      if (corresponding)
        pair(left[i], FindOutput(*Right, right, OutputName(Left->Column(left[i]))));
      else if (i < right.size())
        pair(left[i], right[i]);
    }
  }
  if (LeftKeys.empty()) throw EVTRException::CreateFmt(10339, kEmptyFieldList, 0);
}

void TVTRAOUnion::ConvertPair(size_t pair) {
  const TVTRAdvancedDataType left_type = Left->Column(LeftKeys[pair]).DataType;
  const TVTRAdvancedDataType right_type = Right->Column(RightKeys[pair]).DataType;
  const TVTRAdvancedDataType common = CommonKeyType(left_type, right_type);
  if (common == adtUnknown) return;
  const auto convert = [&](TVTRAOPtr& input, std::vector<int32_t>& keys, TVTRAdvancedDataType type) {
    if (AdvancedTypeToBaseType(type) == AdvancedTypeToBaseType(common)) return;
    const TVTRAO* before = input.get();
    const int32_t converted = AddConvertedColumn(input, keys[pair], common);
    Renumber(keys, *input, before);
    keys[pair] = converted;
  };
  convert(Left, LeftKeys, left_type);
  convert(Right, RightKeys, right_type);
}

void TVTRAOUnion::AddColumns() {
  for (size_t pair = 0; pair < LeftKeys.size(); ++pair) {
    const TVTRFieldLink& first = Left->Column(LeftKeys[pair]);
    const TVTRFieldLink& second = Right->Column(RightKeys[pair]);
    TVTRFieldLink& column = Columns.emplace_back();
    column.Name = OutputName(first);
    column.CopyShape(first);
    column.Size = std::max(first.Size, second.Size);
    column.SourceNode = Left.get();
    column.SourceFieldNo = LeftKeys[pair];
  }
  MakeNamesUnique();
  for (TVTRFieldLink& column : Columns) column.DisplayName = column.Name;
}

void TVTRAOUnion::SortInputs() {
  const auto names = [](const TVTRAO& input, const std::vector<int32_t>& keys) {
    std::string list;
    for (const int32_t key : keys) {
      if (!list.empty()) list += ';';
      list += input.Column(key).Name;
    }
    return list;
  };
  Left->Sort(names(*Left, LeftKeys), "", "");
  Right->Sort(names(*Right, RightKeys), "", "");
}

void TVTRAOUnion::LinkTo(bool left) {
  CurrentIsLeft = left;
  for (size_t pair = 0; pair < Columns.size(); ++pair) {
    Columns[pair].SourceNode = left ? Left.get() : Right.get();
    Columns[pair].SourceFieldNo = left ? LeftKeys[pair] : RightKeys[pair];
  }
}

TVTRCompareResult TVTRAOUnion::CompareRows() {
  for (size_t pair = 0; pair < LeftKeys.size(); ++pair) {
    Left->GetColumnValue(left_value_, LeftKeys[pair], true);
    Right->GetColumnValue(right_value_, RightKeys[pair], true);
    TVTRCompareResult code;
    try {
      code = left_value_.Compare(right_value_, {});
    } catch (const EVTRException& error) {
      throw EVTRException::CreateFmt(10335, "Cannot compare values for fields: %s, %s. Error: %s",
                                     Left->Column(LeftKeys[pair]).Name, Right->Column(RightKeys[pair]).Name,
                                     error.Message());
    }
    if (code != crEqual) return code;
  }
  return crEqual;
}

void TVTRAOUnion::First() {
  AtEnd = false;
  Left->FirstResult();
  Right->FirstResult();
  LinkTo(true);
  // UNION ALL gives the left rows first; the others merge from the start.
  BeforeFirst = Compares() || Left->EofResult();
  if (BeforeFirst) Next();
}

void TVTRAOUnion::Next() {
  if (Eof()) return;
  switch (UnionType) {
    case utIntersect:
      NextIntersect();
      break;
    case utExcept:
      NextExcept();
      break;
    case utUnion:
      if (Distinct)
        NextUnion();
      else
        NextUnionAll();
      break;
    default:
      throw EVTRException::CreateFmt(10336, "Invalid union type = %d", static_cast<int32_t>(UnionType));
  }
  BeforeFirst = false;
}

void TVTRAOUnion::NextIntersect() {
  if (!BeforeFirst) Left->NextResult();
  while (!Eof()) {
    const TVTRCompareResult code = CompareRows();
    if (code == crEqual) return;
    if (code == crLess)
      Left->NextResult();
    else
      Right->NextResult();
  }
}

void TVTRAOUnion::NextExcept() {
  if (!BeforeFirst) Left->NextResult();
  while (!Left->EofResult() && !Right->EofResult()) {
    const TVTRCompareResult code = CompareRows();
    if (code == crLess) return;
    if (code == crEqual)
      Left->NextResult();
    else
      Right->NextResult();
  }
}

void TVTRAOUnion::NextUnion() {
  if (!BeforeFirst) {
    TVTRAO& current = CurrentIsLeft ? *Left : *Right;
    if (!current.EofResult()) current.NextResult();
  }
  if (Left->EofResult() || Right->EofResult()) return LinkTo(!Left->EofResult());
  TVTRCompareResult code = CompareRows();
  // A right row equal to the left one is given once, through the left input.
  while (code == crEqual) {
    Right->NextResult();
    if (Right->EofResult()) break;
    code = CompareRows();
  }
  LinkTo(code != crGreater || Right->EofResult());
}

void TVTRAOUnion::NextUnionAll() {
  if (!BeforeFirst) (CurrentIsLeft ? *Left : *Right).NextResult();
  if (CurrentIsLeft && Left->EofResult() && !Right->EofResult()) LinkTo(false);
}

bool TVTRAOUnion::Eof() {
  if (AtEnd) return true;
  switch (UnionType) {
    case utIntersect:
      return Left->EofResult() || Right->EofResult();
    case utExcept:
      return Left->EofResult();
    default:
      return Left->EofResult() && Right->EofResult();
  }
}

int64_t TVTRAOUnion::GetRecordCount() {
  return IsMaterialized ? ResultTable->RecordCount() : 0;
}
