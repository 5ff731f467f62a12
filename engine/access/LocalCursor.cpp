#include "engine/access/LocalCursor.h"

#include <cstring>

#include "engine/access/LocalSession.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/storage/constraints/ConstraintManager.h"
#include "engine/storage/disk/DiskTableData.h"
#include "engine/storage/disk/DiskDatabaseData.h"
#include "engine/storage/fields/FieldManager.h"
#include "engine/storage/index/IndexManager.h"
#include "engine/storage/index/IndexPositionCache.h"
#include "engine/storage/temp/TemporaryTableData.h"
#include "platform/rtl/TextCase.h"

TVTRLocalCursor::TVTRLocalCursor() : position_cache_(std::make_unique<TVTRIndexPositionCache>()) {
  PositionCache = position_cache_.get();
}

TVTRLocalCursor::~TVTRLocalCursor() {
  try {
    CloseTable();
  } catch (...) {
    // The table object lets go of the cursor all the same.
  }
}

TVTRDatabaseData& TVTRLocalCursor::SessionDatabase() {
  // Every session of the local engine is a local session.
  DatabaseData = Session ? static_cast<TVTRLocalSession*>(Session)->DatabaseData : nullptr;
  if (!DatabaseData) throw EVTRException(20151, "Pointer is nil");
  return *DatabaseData;
}

void TVTRLocalCursor::SetTableData(TVTRTableData* table_data) {
  TableData = table_data;
  disk_table_ = dynamic_cast<TVTRDiskTableData*>(table_data);
  temporary_table_ = dynamic_cast<TVTRTemporaryTableData*>(table_data) != nullptr;
}

TVTRTableData& TVTRLocalCursor::OpenedTable(int32_t native_error, const char* message) const {
  if (!TableData) throw EVTRException(native_error, message);
  return *TableData;
}

void TVTRLocalCursor::CreateTable(const TVTRFieldDefs& field_defs, const TVTRIndexDefs& index_defs,
                                  const TVTRConstraintDefs& constraint_defs) {
  TVTRDatabaseData& database = SessionDatabase();
  TVTRDatabaseDataGuard guard(database);
  CloseTable();
  if (database.TableExists(TableName)) DeleteTable();
  SetTableData(database.GetTableData(*this));
  try {
    TVTRFieldDefs fields;
    fields.Assign(field_defs);
    TVTRIndexDefs indexes;
    indexes.Assign(index_defs);
    TVTRConstraintDefs constraints;
    constraints.Assign(constraint_defs);
    TableData->CreateTable(*this, fields, indexes, constraints);
  } catch (...) {
    CloseTable();
    throw;
  }
  CloseTable();
}

template <typename Change>
void TVTRLocalCursor::ChangeTable(int32_t missing_code, Change&& change) {
  TVTRDatabaseData& database = SessionDatabase();
  TVTRDatabaseDataGuard guard(database);
  CloseTable();
  if (!database.TableExists(TableName))
    throw EVTRException::CreateFmt(missing_code, "Table '%s' not found", TableName);
  SetTableData(database.GetTableData(*this));
  try {
    change(*TableData);
  } catch (...) {
    CloseTable();
    throw;
  }
  CloseTable();
}

void TVTRLocalCursor::DeleteTable() {
  ChangeTable(20132, [this](TVTRTableData& table) {
    table.DeleteTable(this, false);
    // The memory and temporary engines free their table object with the table.
    if (!disk_table_) SetTableData(nullptr);
  });
}

void TVTRLocalCursor::EmptyTable() {
  ChangeTable(20133, [this](TVTRTableData& table) { table.EmptyTable(this); });
}

void TVTRLocalCursor::RenameTable(std::string_view new_name) {
  ChangeTable(20134, [this, new_name](TVTRTableData& table) {
    // Checked first: the table itself holds its name in other letters.
    if (SameText(new_name, TableName))
      throw EVTRException::CreateFmt(30452, "Cannot rename table '%s' into itself", TableName);
    if (table.Database.TableExists(new_name))
      throw EVTRException::CreateFmt(30451, "Table %s already exists", std::string(new_name));
    table.RenameTable(new_name, this);
  });
  TableName = new_name;
}

void TVTRLocalCursor::InitFieldDefs() {
  TVTRTableData& table = OpenedTable(20151, "Pointer is nil");
  TVTRDatabaseDataGuard guard(table.Database);
  TableFieldDefs.Assign(table.FieldManager->FieldDefs);
  TableFieldDefs.CalcOffsets();
  CalcSizeFields();
  if (!ProjectionSet) {
    FieldDefs.Assign(TableFieldDefs);
    for (int32_t i = 0; i < FieldDefs.GetCount(); ++i) FieldDefs.GetFieldDef(i).FieldNo = i;
  }
  ReloadConstraintDefs();
  saved_record_.assign(static_cast<size_t>(RecordBufferSize), 0);
}

void TVTRLocalCursor::OpenTable(const TVTRFieldDefs* field_defs, const TVTRIndexDefs* index_defs,
                                const TVTRConstraintDefs* constraint_defs) {
  if (TableOpened) return;
  TVTRDatabaseData& database = SessionDatabase();
  TVTRDatabaseDataGuard guard(database);
  TVTRTableData* table = database.FindTableData(*this);
  if (!table) {
    if (!dynamic_cast<TVTRDiskDatabaseData*>(&database)) {
      if (!DesignMode) throw EVTRException::CreateFmt(10028, "Table not found, table name = %s", TableName);
      table = database.CreateTableData(*this);
      TVTRFieldDefs fields;
      if (field_defs) fields.Assign(*field_defs);
      TVTRIndexDefs indexes;
      if (index_defs) indexes.Assign(*index_defs);
      TVTRConstraintDefs constraints;
      if (constraint_defs) constraints.Assign(*constraint_defs);
      table->CreateTable(*this, fields, indexes, constraints);
    } else {
      table = database.CreateTableData(*this);
    }
  }
  try {
    table->OpenTable(*this);
  } catch (...) {
    if (auto* disk = dynamic_cast<TVTRDiskTableData*>(table)) disk->FreeIfUnused();
    throw;
  }
  AttachTable(*table);
}

void TVTRLocalCursor::OpenOnTableData(TVTRTableData& table_data) {
  DatabaseData = &table_data.Database;
  TVTRDatabaseDataGuard guard(table_data.Database);
  table_data.OpenTable(*this);
  AttachTable(table_data);
  InitFieldDefs();
}

void TVTRLocalCursor::AttachTable(TVTRTableData& table_data) {
  SetTableData(&table_data);
  Bof = true;
  Eof = false;
  ReloadIndexDefs();
  BlobStreams.clear();
  RecordBitmap = std::make_unique<TVTRRecordBitmap>(&table_data);
  TableOpened = true;
}

void TVTRLocalCursor::CloseTable() {
  if (TableData) {
    TVTRDatabaseDataGuard guard(TableData->Database);
    // The streams store what was written while the table is still there.
    FreeBlobStreams(false);
    TVTRTableData* table = TableData;
    TVTRDiskTableData* disk = disk_table_;
    SetTableData(nullptr);
    table->CloseTable(*this);
    if (DesignMode && (InMemory || Temporary))
      table->DeleteTable(this, true);
    else if (disk)
      disk->FreeIfUnused();
  }
  RecordBitmap.reset();
  FilterExpression.reset();
  TableFieldDefs.Clear();
  if (!ProjectionSet) FieldDefs.Clear();
  IndexDefs.Clear();
  BlobStreams.clear();
  ConstraintDefs.Clear();
  TableOpened = false;
}

void TVTRLocalCursor::LockDatabaseData() {
  OpenedTable(10260, "Nil pointer occured").Lock();
}

void TVTRLocalCursor::UnlockDatabaseData() {
  OpenedTable(10261, "Nil pointer occured").Unlock();
}

bool TVTRLocalCursor::LockTable(TVTRTableLockType lock_type, int32_t retries, int32_t retry_delay_ms) {
  OpenedTable(20221, "Pointer is nil");
  return !disk_table_ || disk_table_->LockTable(Session->SessionID, lock_type, retries, retry_delay_ms);
}

bool TVTRLocalCursor::UnlockTable(TVTRTableLockType lock_type, bool only_if_held) {
  OpenedTable(20222, "Pointer is nil");
  return !disk_table_ || disk_table_->UnlockTable(Session->SessionID, lock_type, only_if_held);
}

void TVTRLocalCursor::RenameField(std::string_view old_name, std::string_view new_name) {
  TVTRTableData& table = OpenedTable(20151, "Pointer is nil");
  TVTRDatabaseDataGuard guard(table.Database);
  table.RenameField(old_name, new_name);
}

void TVTRLocalCursor::ReloadIndexDefs() {
  IndexDefs.Assign(TableData->IndexManager->IndexDefs);
}

void TVTRLocalCursor::ReloadConstraintDefs() {
  if (TableData->ConstraintManager)
    ConstraintDefs.Assign(TableData->ConstraintManager->ConstraintDefs);
  else
    ConstraintDefs.Clear();
}

TVTRIndexDefs& TVTRLocalCursor::GetIndexDefs() {
  TVTRTableData& table = OpenedTable(20151, "Pointer is nil");
  TVTRDatabaseDataGuard guard(table.Database);
  ReloadIndexDefs();
  return IndexDefs;
}

void TVTRLocalCursor::AddIndex(const TVTRIndexDef& index_def) {
  TVTRTableData& table = OpenedTable(20151, "Pointer is nil");
  TVTRDatabaseDataGuard guard(table.Database);
  if (IndexDefs.GetIndexDefByName(index_def.Name))
    throw EVTRException::CreateFmt(20022, "Cannot create index '%s'. Index already exists", index_def.Name);
  TVTRIndexDef added;
  added.Assign(index_def);
  table.AddIndex(added, *this);
  ReloadIndexDefs();
  ReloadConstraintDefs();
}

void TVTRLocalCursor::DeleteIndex(std::string_view index_name) {
  TVTRTableData& table = OpenedTable(20151, "Pointer is nil");
  TVTRDatabaseDataGuard guard(table.Database);
  const TVTRIndexDef* index = IndexDefs.GetIndexDefByName(index_name);
  if (!index)
    throw EVTRException::CreateFmt(20021, "Cannot delete index '%s'. Index not found",
                                   std::string(index_name));
  table.DeleteIndex(index->ObjectID, this);
  ReloadIndexDefs();
  ReloadConstraintDefs();
}

void TVTRLocalCursor::DeleteAllIndexes() {
  TVTRTableData& table = OpenedTable(20151, "Pointer is nil");
  TVTRDatabaseDataGuard guard(table.Database);
  table.DropAllIndexes(this);
  ReloadIndexDefs();
  ReloadConstraintDefs();
}

void TVTRLocalCursor::CreateTemporaryIndex(const TStringList& field_names, const TStringList& directions,
                                           const TStringList& case_options, std::string& index_name) {
  TVTRTableData& table = OpenedTable(20151, "Pointer is nil");
  TVTRDatabaseDataGuard guard(table.Database);
  TStringList table_names;
  for (int32_t i = 0; i < field_names.Count(); ++i) {
    const std::string& name = field_names[i];
    const TVTRFieldDef* shown =
        TableFieldDefs.GetFieldDefByName(name) ? nullptr : FieldDefs.GetFieldDefByName(name);
    table_names.Add(shown ? TableFieldDefs.GetFieldDef(shown->FieldNo).Name : name);
  }
  index_name = table.CreateTemporaryIndex(*this, table_names, directions, case_options);
  ReloadIndexDefs();
}

void TVTRLocalCursor::ActivateTemporaryIndex(const TStringList& field_names, const TStringList& directions,
                                             const TStringList& case_options) {
  TVTRTableData& table = OpenedTable(20151, "Pointer is nil");
  TVTRDatabaseDataGuard guard(table.Database);
  std::string index_name;
  CreateTemporaryIndex(field_names, directions, case_options, index_name);
  SetIndexName(index_name);
  TemporaryIndexFieldCount = field_names.Count();
  ClearRecordBitmap();
}

void TVTRLocalCursor::InitRecord(uint8_t* record, bool apply_defaults) {
  const int32_t null_flags = TableFieldDefs.GetNullFlagsSize();
  std::memset(record, 0xFF, static_cast<size_t>(null_flags));
  std::memset(record + null_flags, 0, static_cast<size_t>(RecordSize - null_flags));
  if (apply_defaults && !Temporary && TableData) TableData->FieldManager->ApplyDefaults(record);
}

void TVTRLocalCursor::FreeRecordBuffer(uint8_t*& record) {
  if (record && TableData) {
    TVTRDatabaseDataGuard guard(TableData->Database);
    TableData->FreeRecordBuffer(record);
  }
  TVTRCursor::FreeRecordBuffer(record);
}

int64_t TVTRLocalCursor::GetRecordCount() {
  TVTRTableData& table = OpenedTable(20151, "Pointer is nil");
  TVTRDatabaseDataGuard guard(table.Database);
  return table.GetRecordCount(*this);
}

TVTRGetRecordResult TVTRLocalCursor::GetRecord(TVTRFetchMode mode) {
  TVTRTableData& table = OpenedTable(20151, "Pointer is nil");
  TVTRDatabaseDataGuard guard(table.Database);
  const TVTRGetRecordResult result = table.GetRecord(*this, mode);
  if (result == grOK) StoreRecordID(CurrentRecord + RecordSize, CurrentRecordID);
  return result;
}

void TVTRLocalCursor::SetRecNo(int64_t rec_no) {
  TVTRTableData& table = OpenedTable(20151, "Pointer is nil");
  TVTRDatabaseDataGuard guard(table.Database);
  table.SetRecNo(*this, rec_no);
}

int64_t TVTRLocalCursor::GetRecNo() {
  TVTRTableData& table = OpenedTable(20151, "Pointer is nil");
  TVTRDatabaseDataGuard guard(table.Database);
  return table.GetRecNo(*this);
}

void TVTRLocalCursor::First() {
  Bof = true;
  Eof = false;
}

void TVTRLocalCursor::Last() {
  Bof = false;
  Eof = true;
}

void TVTRLocalCursor::SetFilterText(std::string_view text, bool case_insensitive, bool partial_compare) {
  FilterExpression.reset();
  std::unique_ptr<TVTRExpression> filter = CreateExpression();
  filter->ParseFilter(*this, text, partial_compare, case_insensitive);
  FilterExpression = std::move(filter);
  ClearRecordBitmap();
}

void TVTRLocalCursor::ClearFilter() {
  FilterExpression.reset();
  ClearRecordBitmap();
}

bool TVTRLocalCursor::Locate(std::string_view field_names, const Variant& key_values, bool case_insensitive,
                             bool partial_key) {
  TVTRTableData& table = OpenedTable(20151, "Pointer is nil");
  TVTRDatabaseDataGuard guard(table.Database);
  std::unique_ptr<TVTRExpression> condition = CreateExpression();
  condition->BuildLocateCondition(*this, field_names, key_values, case_insensitive, partial_key);
  return table.Locate(*this, condition.get());
}

bool TVTRLocalCursor::GotoKey(bool search_mode) {
  TVTRTableData& table = OpenedTable(20151, "Pointer is nil");
  TVTRDatabaseDataGuard guard(table.Database);
  // The flag is the comparison: the table component passes 1, equal.
  return table.GotoKey(*this, search_mode ? scEqual : scNone);
}

bool TVTRLocalCursor::SearchByFieldValue(std::string_view field_name, uint8_t comparison_operator,
                                         const TVTRVariant& value) {
  TVTRTableData& table = OpenedTable(20151, "Pointer is nil");
  TVTRDatabaseDataGuard guard(table.Database);
  std::unique_ptr<TVTRExpression> condition = CreateExpression();
  condition->BuildFieldComparison(this, field_name, value, comparison_operator);
  return table.Locate(*this, condition.get());
}

int64_t TVTRLocalCursor::GetLastAutoincValue(int32_t field_no) {
  TVTRTableData& table = OpenedTable(20151, "Pointer is nil");
  TVTRDatabaseDataGuard guard(table.Database);
  return table.GetLastAutoincValue(Session->SessionID, field_no);
}

bool TVTRLocalCursor::ValidateConstraints(bool is_insert) {
  TVTRTableData& table = OpenedTable(20151, "Pointer is nil");
  TVTRDatabaseDataGuard guard(table.Database);
  return !table.ConstraintManager ||
         table.ConstraintManager->CheckRecord(Session->SessionID, CurrentRecord, false, CurrentRecordID,
                                              is_insert, OldRecord);
}
