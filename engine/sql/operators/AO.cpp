// Construction and destruction of a node, reading its columns, and the table
// locks of a tree.
#include "engine/sql/operators/AO.h"

#include "engine/access/Table.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/sql/nodes/ExprNodeBoolean.h"
#include "engine/storage/base/Cursor.h"
#include "platform/rtl/TextCase.h"

namespace {

constexpr int32_t kQueryLockRetries = 2;
constexpr int32_t kQueryLockDelayMs = 20;

// The children's session; the default one when there is no child.
std::string ChildSession(const TVTRAO* left, const TVTRAO* right) {
  if (left) return left->SessionName;
  return right ? right->SessionName : std::string();
}

}  // namespace

bool LinksTo(const TVTRFieldLink& column, const TVTRAO* child) {
  return child && column.SourceNode == child && !column.OwnsExpression();
}

TVTRAO::TVTRAO(TVTRAOPtr left, TVTRAOPtr right, std::string alias, std::string table_name)
    : TableName(std::move(table_name)),
      Alias(std::move(alias)),
      ResultTable(std::make_unique<TVTRTable>(nullptr)),
      DisableTempFiles((left && left->DisableTempFiles) || (right && right->DisableTempFiles)),
      Left(std::move(left)),
      Right(std::move(right)),
      SessionName(ChildSession(Left.get(), Right.get())) {
  SelectedColumns.reserve(100);
}

TVTRAO::~TVTRAO() {
  // Columns may compute from this node's result: free them first.
  Columns.clear();
  DropResultTable();
}

void TVTRAO::DropResultTable() noexcept {
  if (!ResultTable) return;
  try {
    if (IsBaseTable && TableLocked && ResultTable->Active()) ResultTable->Handle()->UnlockTable(tltRead, true);
    TableLocked = false;
  } catch (...) {
    // A failing unlock must not stop the tree from being freed.
  }
  try {
    ResultTable->Close();
    if (ResultTable->Temporary() && !ResultTable->TableName().empty() && !IsBaseTable)
      ResultTable->DeleteTable();
  } catch (...) {
    // The tree is freed whatever its temporary tables do.
  }
}

int64_t TVTRAO::GetRecordCount() {
  return IsMaterialized ? ResultTable->RecordCount() : 0;
}

void TVTRAO::FirstResult() {
  if (IsMaterialized)
    ResultTable->First();
  else
    First();
}

void TVTRAO::NextResult() {
  if (IsMaterialized)
    ResultTable->Next();
  else
    Next();
}

bool TVTRAO::EofResult() {
  return IsMaterialized ? ResultTable->Eof() : Eof();
}

int64_t TVTRAO::GetResultRecordCount() {
  return IsMaterialized ? ResultTable->RecordCount() : GetRecordCount();
}

void TVTRAO::SetFilter(std::unique_ptr<TVTRSQLExpression> expression) {
  if (!Filter) {
    Filter = std::move(expression);
    return;
  }
  if (!AsAnd(*Filter->Root())) {
    auto conjunction = std::make_unique<TVTRExprNodeBoolean>(eoAnd);
    conjunction->AppendOperand(Filter->TakeRoot());
    Filter->AppendConjunct(conjunction.release());
  }
  if (TVTRExprNodePtr added = expression->TakeRoot()) Filter->AppendConjunct(added.release());
  Filter->FlattenConjunction();
}

void TVTRAO::SetInto(bool in_memory, bool immediate, std::string database_name, std::string table_name) {
  IntoInMemory = in_memory;
  IntoImmediate = immediate;
  IntoDatabaseName = std::move(database_name);
  IntoTableName = std::move(table_name);
}

void TVTRAO::SetTopRowCount(int64_t first_row, int64_t count) {
  TopLimit = count;
  TopFirstRow = first_row < 0 ? 1 : first_row;
}

void TVTRAO::CheckColumnNo(int32_t column_no, int32_t code) const {
  if (column_no < 0 || column_no >= ColumnCount())
    throw EVTRException::CreateFmt(code, "Invalid field number - FieldNo = %d, FieldCount = %d", column_no,
                                   ColumnCount());
}

void TVTRAO::GetColumnValue(TVTRVariant& value, int32_t column_no, bool allow_hidden) {
  CheckColumnNo(column_no, 10307);
  value.SetNull();
  TVTRFieldLink& column = Columns[column_no];
  if (!column.SourceDataSet && !column.SourceNode)
    throw EVTRException::CreateFmt(10309, "Invalid field link: table name = %s, FieldNo = %d", TableName,
                                   column_no);
  if (column.Hidden && !allow_hidden)
    throw EVTRException::CreateFmt(
        10310, "Cannot access hidden field: table name = %s, field name = %s, display name = %s, FieldNo = %d",
        TableName, column.Name, column.DisplayName, column_no);
  if (column.Expression) {
    const TVTRVariant* computed = column.Expression->GetValue(true);
    if (computed) value.Assign(*computed, true);
    return;
  }
  if (column.SourceNode) {
    if ((LeftIsNull && column.SourceNode == Left.get()) || (RightIsNull && column.SourceNode == Right.get()))
      return;
    column.SourceNode->GetColumnValue(value, column.SourceFieldNo, true);
    return;
  }
  TVTRTable& table = *column.SourceDataSet;
  if (table.Bof() && table.Eof()) return;
  table.GetFieldVariant(value, column.SourceFieldNo, true);
}

std::string TVTRAO::GetColumnFieldName(int32_t column_no, bool at_this_node) {
  CheckColumnNo(column_no, 10306);
  const TVTRFieldLink& column = Columns[column_no];
  if (column.SourceDataSet) {
    if (column.SourceDataSet == ResultTable.get()) return column.Name;
    return column.SourceDataSet->Handle()->TableFieldDefs.GetFieldDef(column.SourceFieldNo).Name;
  }
  if (at_this_node || !column.SourceNode || column.OwnsExpression()) return column.Name;
  return column.SourceNode->GetColumnFieldName(column.SourceFieldNo, false);
}

const std::string& TVTRAO::GetOrderByColumnName(int32_t position) const {
  if (position < 0 || position >= static_cast<int32_t>(SelectedColumns.size()))
    throw EVTRException::CreateFmt(20243, "Invalid field number in ORDER BY clause: %d", position + 1);
  return Columns[SelectedColumns[position]].DisplayName;
}

TVTRAdvancedDataType TVTRAO::GetColumnDataType(int32_t column_no) const {
  CheckColumnNo(column_no, 10376);
  return Columns[column_no].DataType;
}

int32_t TVTRAO::GetColumnSize(int32_t column_no) const {
  CheckColumnNo(column_no, 10377);
  return Columns[column_no].Size;
}

int32_t TVTRAO::GetColumnPrecision(int32_t column_no) const {
  CheckColumnNo(column_no, 10378);
  return Columns[column_no].Precision;
}

bool TVTRAO::OpenBaseTables() {
  if (Left && !Left->OpenBaseTables()) return false;
  if (Right && !Right->OpenBaseTables()) return false;
  if (!IsBaseTable) return true;
  try {
    ResultTable->Open();
    return true;
  } catch (...) {
    ResultTable->Close();
    return false;
  }
}

bool TVTRAO::LockBaseTables() {
  if (Left && !Left->LockBaseTables()) return false;
  if (Right && !Right->LockBaseTables()) return false;
  if (!IsBaseTable || !ResultTable->Active()) return true;
  TableLocked = ResultTable->Handle()->LockTable(tltRead, kQueryLockRetries, kQueryLockDelayMs);
  return TableLocked;
}

bool TVTRAO::UnlockBaseTables() {
  if (Left && !Left->UnlockBaseTables()) return false;
  if (Right && !Right->UnlockBaseTables()) return false;
  if (!IsBaseTable || !TableLocked || !ResultTable->Active()) return true;
  TableLocked = !ResultTable->Handle()->UnlockTable(tltRead, true);
  return !TableLocked;
}
