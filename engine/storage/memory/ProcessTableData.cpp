#include "engine/storage/memory/ProcessTableData.h"

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/database/DatabaseData.h"
#include "engine/storage/constraints/ConstraintManager.h"
#include "engine/storage/fields/FieldManager.h"
#include "engine/storage/index/IndexManager.h"

TVTRProcessTableData::TVTRProcessTableData(TVTRDatabaseData& database,
                                           std::unique_ptr<TVTRPageManager> page_manager)
    : TVTRTableData(database) {
  ReplacePageManager(std::move(page_manager));
}

TVTRProcessTableData::~TVTRProcessTableData() {
  // The indexes refer to the page manager, which goes before the base's members.
  ConstraintManager.reset();
  IndexManager.reset();
}

void TVTRProcessTableData::ReplacePageManager(std::unique_ptr<TVTRPageManager> page_manager) {
  page_manager_ = std::move(page_manager);
  PageManager = page_manager_.get();
}

std::vector<int32_t> TVTRProcessTableData::BlobFieldNumbers() const {
  std::vector<int32_t> numbers;
  const TVTRFieldDefs& fields = FieldManager->FieldDefs;
  for (int32_t i = 0; i < fields.GetCount(); ++i)
    if (IsBlobBaseType(fields.GetFieldDef(i).BaseType)) numbers.push_back(i);
  return numbers;
}

void TVTRProcessTableData::CreateTable(TVTRCursor& cursor, TVTRFieldDefs& field_defs,
                                       TVTRIndexDefs& index_defs, TVTRConstraintDefs& constraint_defs) {
  if (field_defs.GetCount() == 0)
    throw EVTRException(NoFieldsError(), "Error creating table - no fields were specified");
  TableName = cursor.TableName;
  ConstraintManager.reset();
  IndexManager.reset();
  FieldManager.reset();
  RecordManager.reset();
  PrepareCreate(cursor);
  CreateFields(field_defs);
  CreateIndexes(index_defs);
  CreateConstraints(constraint_defs);
  CreateRecordManager();
  InitCursorSizes(cursor);
  FinishCreate();
  IndexManager->CreateAllIndexes(&cursor);
  AutoCommit(SessionOf(&cursor), SessionInTransaction(cursor));
}

void TVTRProcessTableData::DeleteTable(TVTRCursor* cursor, bool force) {
  TVTRTableData::DeleteTable(cursor, force);
  if (force && !Cursors.empty()) return;
  Database.FreeTableData(this);
}

void TVTRProcessTableData::EmptyTable(TVTRCursor* cursor) {
  TVTRDatabaseDataGuard guard(Database);
  TVTRTableData::EmptyTable(cursor);
  EmptyStorage();
  CommitSession(SessionOf(cursor));
}

void TVTRProcessTableData::AddIndex(TVTRIndexDef& index_def, TVTRCursor& cursor) {
  TVTRDatabaseDataGuard guard(Database);
  TVTRTableData::AddIndex(index_def, cursor);
  AutoCommit(SessionOf(&cursor), SessionInTransaction(cursor));
}

void TVTRProcessTableData::DeleteIndex(int32_t index_id, TVTRCursor* cursor) {
  TVTRDatabaseDataGuard guard(Database);
  TVTRTableData::DeleteIndex(index_id, cursor);
  AutoCommit(SessionOf(cursor), cursor != nullptr && SessionInTransaction(*cursor));
}

void TVTRProcessTableData::AutoCommit(int32_t session_id, bool in_transaction) {
  if (!in_transaction) CommitSession(session_id);
}

void TVTRProcessTableData::CommitSession(int32_t session_id) {
  if (PageManager) PageManager->Commit(session_id);
}

void TVTRProcessTableData::AfterRollback(int32_t session_id) {
  if (PageManager) PageManager->Rollback(session_id);
}

void TVTRProcessTableData::MarkSession(int32_t session_id) {
  if (PageManager) PageManager->MarkSession(session_id);
}

void TVTRProcessTableData::RollbackToMark(int32_t session_id) {
  if (PageManager) PageManager->RollbackToMark(session_id);
}

void TVTRProcessTableData::ReleaseMark(int32_t session_id) {
  if (PageManager) PageManager->ReleaseMark(session_id);
}
