// Execution of a node: its children, materialisation into the result table,
// sorting and DISTINCT.
#include <algorithm>

#include "engine/access/Table.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/sql/expression/FieldList.h"
#include "engine/sql/operators/AO.h"
#include "engine/sql/operators/ResultTableName.h"
#include "engine/sql/operators/ResultWriting.h"
#include "engine/sql/operators/SortSpec.h"
#include "platform/rtl/TextCase.h"

namespace {

// AUTOINC types store as the plain integer type of their width.
TVTRAdvancedDataType StoredType(TVTRAdvancedDataType type) {
  switch (type) {
    case adtAutoInc:
    case adtAutoIncInteger:
      return adtInteger;
    case adtAutoIncShortInt:
      return adtShortInt;
    case adtAutoIncSmallInt:
      return adtSmallInt;
    case adtAutoIncLargeInt:
      return adtLargeInt;
    case adtAutoIncByte:
      return adtByte;
    case adtAutoIncWord:
      return adtWord;
    case adtAutoIncCardinal:
      return adtCardinal;
    default:
      return type;
  }
}

// Whether the cursor's active index orders exactly so.
bool ActiveIndexHasOrder(const TVTRCursor& cursor, const TStringList& fields, const TStringList& orders,
                         const TStringList& cases) {
  if (cursor.IndexName.empty()) return false;
  const TVTRIndexDef* index = cursor.IndexDefs.GetIndexDefByName(cursor.IndexName);
  if (!index || index->GetColumnCount() != fields.Count()) return false;
  for (int i = 0; i < fields.Count(); ++i) {
    const TVTRIndexColumn& column = index->GetColumn(i);
    if (!SameText(column.FieldName, fields[i]) || column.Descending != (orders[i] == "DESC") ||
        column.CaseInsensitive != (cases[i] == "NO_CASE"))
      return false;
  }
  return true;
}

}  // namespace

void TVTRAO::Execute(bool is_root, TVTRAO* outer_ao, TVTRCursor* outer_cursor) {
  IsRoot = is_root;
  // Executed again (a union executes its inputs twice): only a new sort order applies.
  if (IsMaterialized && !IsBaseTable) {
    if (HasSortLists()) ApplySort(true);
    return;
  }
  if (!IsBaseTable && Filter) Filter->AssignAO(this, outer_ao, outer_cursor);
  if (Left) Left->Execute(false, outer_ao, outer_cursor);
  if (Right) Right->Execute(false, outer_ao, outer_cursor);
  PrepareInputs();
  if (TopLimit > 0 && HasSortLists() && Left) {
    std::string index_name;
    Left->Result().CreateTemporaryIndex(*SortFields, *SortOrders, *SortCases, index_name);
    Left->Result().SetIndexName(index_name);
  }
  MaterializeAndSort();
}

void TVTRAO::MaterializeAndSort() {
  if (Left || Right) Materialize();
  if (HasSortLists()) ApplySort(true);
}

void TVTRAO::Materialize() {
  if (IsMaterialized) return;
  const OutputNames output = PrepareResultTable();
  const bool had_top_limit = TopLimit >= 0;
  FillResultTable();
  FinishResultTable(output, had_top_limit);
}

TVTRAO::OutputNames TVTRAO::PrepareResultTable() {
  TVTRTable& table = *ResultTable;
  table.FieldDefs().Clear();
  table.IndexDefs().Clear();
  table.AdvFieldDefs().Clear();
  table.AdvIndexDefs().Clear();
  OutputNames output;
  if (!SelectedColumns.empty()) {
    if (!IsRoot || !IntoImmediate) {
      IntoTableName.clear();
      IntoDatabaseName.clear();
    }
    for (const int32_t column_no : SelectedColumns) {
      const TVTRFieldLink& column = Columns[column_no];
      if (column.Hidden)
        throw EVTRException::CreateFmt(
            10312,
            "Cannot access hidden field: table name = %s, field name = %s, display name = %s, FieldNo = %d",
            TableName, column.Name, column.DisplayName, column_no);
      if (column.DisplayName.empty()) continue;
      output.names.Add(column.Name);
      output.display_names.Add(column.DisplayName);
    }
  } else {
    for (const TVTRFieldLink& column : Columns) {
      if (column.Hidden) continue;
      output.names.Add(column.Name);
      output.display_names.Add("");
    }
  }
  for (const TVTRFieldLink& column : Columns) {
    if (column.Hidden) continue;
    TVTRAdvFieldDef& field = table.AdvFieldDefs().AddFieldDef();
    field.Name = column.Name;
    field.DataType = StoredType(column.DataType);
    field.Size = column.Size;
    field.BlobCompressionAlgorithm = column.BlobCompressionAlgorithm;
    field.BlobCompressionMode = column.BlobCompressionMode;
    field.BlobBlockSize = column.BlobBlockSize;
  }
  std::string active_index;
  if (TopLimit >= 0 && HasSortLists()) {
    const TVTRSortSpec spec = ListsToSortSpec(*SortFields, *SortOrders, *SortCases);
    active_index = NewResultIndexName();
    table.AdvIndexDefs().AppendIndexDef(active_index, spec.Fields, 0, false, spec.DescFields,
                                        spec.NoCaseFields, "");
  }
  table.SetSessionName(SessionName);
  if (!IntoTableName.empty()) {
    table.SetDatabaseName(IntoDatabaseName);
    table.SetTableName(IntoTableName);
    table.SetInMemory(IntoInMemory);
  } else {
    table.SetInMemory(false);
    table.SetTemporary(true);
    table.DisableTempFiles = DisableTempFiles;
    NameResultTable(table);
  }
  if (Distinct) {
    table.AdvIndexDefs().AppendIndexDef(NewResultIndexName(), DistinctFieldList, kIndexUniqueBit, false, "", "", "");
  }
  table.CreateTable();
  table.SetIndexName(active_index);
  table.Open();
  return output;
}

void TVTRAO::FillResultTable() {
  TVTRCursor& cursor = *ResultTable->Handle();
  // One record, one key and one value per column serve every row.
  std::vector<int32_t> visible;
  for (int32_t i = 0; i < ColumnCount(); ++i)
    if (!Columns[i].Hidden) visible.push_back(i);
  std::vector<TVTRVariant> values(visible.size());
  TVTRDistinctNeighbours neighbours(*this);
  const TVTRRecordBuffer record(cursor);
  int64_t row_no = 0, written = 0;
  for (FirstResult(); !EofResult(); NextResult()) {
    ++row_no;
    if (TopLimit >= 0 && written >= TopLimit) break;
    if (TopFirstRow >= 0 && row_no < TopFirstRow) continue;
    if (Filter && Filter->Root() && !Filter->GetBooleanValue()) continue;
    if (Distinct && neighbours.Repeats()) continue;
    cursor.CurrentRecord = record.get();
    cursor.InitRecord(record.get(), true);
    for (size_t k = 0; k < visible.size(); ++k) {
      GetColumnValue(values[k], visible[k], true);
      WriteField(cursor, values[k], static_cast<int32_t>(k));
    }
    // A DISTINCT row equal to an earlier one is refused by the distinct index.
    if (Distinct && !cursor.ValidateConstraints(true)) continue;
    PostNewRecord(cursor);
    ++written;
  }
  cursor.CurrentRecord = nullptr;
  TopLimit = -1;
}

void TVTRAO::FinishResultTable(const OutputNames& output, bool had_top_limit) {
  TVTRTable& table = *ResultTable;
  if (HasSortLists() && !had_top_limit && !Distinct) {
    for (int i = 0; i < SortFields->Count(); ++i) {
      const int position = output.display_names.IndexOf((*SortFields)[i]);
      if (position >= 0) SortFields->Put(i, output.names[position]);
    }
    const TVTRSortSpec spec = ListsToSortSpec(*SortFields, *SortOrders, *SortCases);
    const std::string index_name = NewResultIndexName();
    table.AddIndex(index_name, spec.Fields, TIndexOptions{}, spec.DescFields, spec.NoCaseFields);
    table.SetIndexName(index_name);
  }
  ShowOutputNames(output);
  // Columns now read the result table's fields, which hold the visible columns in order.
  std::vector<int32_t> field_of(Columns.size(), -1);
  int32_t field_no = 0;
  for (size_t i = 0; i < Columns.size(); ++i)
    if (!Columns[i].Hidden) field_of[i] = field_no++;
  for (size_t i = 0; i < Columns.size(); ++i) {
    TVTRFieldLink& column = Columns[i];
    column.Expression.reset();
    column.IsAggregated = false;
    column.SourceNode = nullptr;
    column.SourceDataSet = field_of[i] >= 0 ? &table : nullptr;
    column.SourceFieldNo = field_of[i];
  }
  IsMaterialized = true;
  ReleaseInputs();
  Left.reset();
  Right.reset();
  table.First();
}

void TVTRAO::ShowOutputNames(const OutputNames& output) {
  bool renamed = output.names.Count() != static_cast<int>(ResultTable->Handle()->TableFieldDefs.GetCount());
  for (int i = 0; i < output.display_names.Count() && !renamed; ++i)
    renamed = !output.display_names[i].empty() && output.display_names[i] != output.names[i];
  if (renamed && output.names.Count() > 0) ResultTable->SetProjection(output.names, output.display_names);
}

void TVTRAO::ApplySort(bool free_lists) {
  if (!ResultTable) throw EVTRException(10308, "Nil pointer occured");
  if (HasSortLists() && ResultTable->Active() &&
      !ActiveIndexHasOrder(*ResultTable->Handle(), *SortFields, *SortOrders, *SortCases)) {
    std::string index_name;
    ResultTable->CreateTemporaryIndex(*SortFields, *SortOrders, *SortCases, index_name);
    ResultTable->SetIndexName(index_name);
  }
  if (free_lists) ClearSortLists();
}

void TVTRAO::ApplyDistinctOrder() {
  TStringList fields, orders, cases;
  if (HasSortLists()) {
    fields.AddStrings(*SortFields);
    orders.AddStrings(*SortOrders);
    cases.AddStrings(*SortCases);
  }
  TStringList distinct;
  SplitFieldList(distinct, DistinctFieldList);
  for (int i = 0; i < distinct.Count(); ++i) {
    if (fields.IndexOf(distinct[i]) >= 0) continue;
    fields.Add(distinct[i]);
    orders.Add("ASC");
    cases.Add("CASE");
  }
  ResultTable->ActivateTemporaryIndex(fields, orders, cases);
}

void TVTRAO::ClearSortLists() {
  SortFields.reset();
  SortOrders.reset();
  SortCases.reset();
}

void TVTRAO::Sort(std::string_view fields, std::string_view desc_fields, std::string_view no_case_fields) {
  ClearSortLists();
  SortFields = std::make_unique<TStringList>();
  SortOrders = std::make_unique<TStringList>();
  SortCases = std::make_unique<TStringList>();
  SortSpecToLists(fields, desc_fields, no_case_fields, *SortFields, *SortOrders, *SortCases);
  if (Distinct) SetDistinct(std::string(DistinctFieldList));
}

void TVTRAO::SetDistinct(std::string_view field_list) {
  TStringList names;
  SplitFieldList(names, field_list);
  Distinct = names.Count() > 0;
  if (!Distinct) return;
  DistinctFieldList = field_list;
  DistinctFieldCount = names.Count();
  DistinctColumns.clear();
  for (int i = 0; i < names.Count(); ++i) {
    const auto found = std::ranges::find_if(Columns, [&](const TVTRFieldLink& c) { return SameText(c.Name, names[i]); });
    DistinctColumns.push_back(found == Columns.end() ? -1 : static_cast<int32_t>(found - Columns.begin()));
  }
  PassDistinctOn();
}
