#include "engine/storage/temp/TemporaryMemoryBudget.h"
#include "engine/storage/temp/TemporaryPageManager.h"
#include "engine/storage/disk/DiskTableData.h"

#include <algorithm>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/pager/DiskPageManager.h"
#include "engine/storage/constraints/ConstraintManager.h"
#include "engine/storage/disk/DiskDatabaseData.h"
#include "engine/storage/fields/FieldManager.h"
#include "engine/storage/index/IndexManager.h"
#include "engine/storage/locks/TableLockManager.h"
#include "engine/storage/records/DiskRecordManager.h"

TVTRDiskTableData::TVTRDiskTableData(TVTRDiskDatabaseData& database)
    : TVTRTableData(database), disk_database_(database) {
  PageManager = database.DiskPageManager();
}

TVTRDiskTableData::~TVTRDiskTableData() {
  // In the order the managers refer to each other, before the base frees what is left.
  UnloadTable();
}

TVTRDiskRecordManager& TVTRDiskTableData::DiskRecords() const {
  return static_cast<TVTRDiskRecordManager&>(*RecordManager);
}

int32_t TVTRDiskTableData::GetDiskRecordSize() const {
  if (!FieldManager || FieldManager->FieldDefs.GetCount() == 0)
    throw EVTRException(20142, "Error creating table - no fields were specified");
  return FieldManager->FieldDefs.GetDiskRecordSize();
}

void TVTRDiskTableData::CreateManagers() {
  PageManager = DiskDatabase().DiskPageManager();
  FieldManager = std::make_unique<TVTRBaseFieldManager>(this);
  TemporaryPageManager = std::make_unique<TVTRTemporaryPageManager>(KeepInMemory, TemporaryMemoryBudget());
  IndexManager = std::make_unique<TVTRBaseIndexManager>(*this, TemporaryPageManager.get());
  ConstraintManager = std::make_unique<TVTRBaseConstraintManager>(*this, *IndexManager);
}

void TVTRDiskTableData::CreateRecordManager() {
  auto records =
      std::make_unique<TVTRDiskRecordManager>(*DiskDatabase().DiskPageManager(), *FieldManager, TableID);
  records->InitStorage(GetRecordBufferSize(), GetDiskRecordSize());
  RecordManager = std::move(records);
}

void TVTRDiskTableData::CreateBlobManager() {
  BlobManager = std::make_unique<TVTRDiskBlobManager>(*PageManager, *FieldManager, *RecordManager);
}

void TVTRDiskTableData::CreateFields(TVTRFieldDefs& field_defs) {
  FieldManager = std::make_unique<TVTRBaseFieldManager>(this);
  TVTRTableData::CreateFields(field_defs);
}

void TVTRDiskTableData::CreateIndexes(TVTRIndexDefs& index_defs) {
  TemporaryPageManager = std::make_unique<TVTRTemporaryPageManager>(KeepInMemory, TemporaryMemoryBudget());
  IndexManager = std::make_unique<TVTRBaseIndexManager>(*this, TemporaryPageManager.get());
  TVTRTableData::CreateIndexes(index_defs);
}

void TVTRDiskTableData::CreateConstraints(TVTRConstraintDefs& constraint_defs) {
  for (int32_t i = 0; i < constraint_defs.GetCount(); ++i) {
    const TVTRConstraintType type = constraint_defs.GetConstraintDef(i).ConstraintType;
    if (type != ctPrimaryKey && type != ctUnique && type != ctNotNull && type != ctCheck)
      throw EVTRException(30040, "Not implemented yet");
  }
  ConstraintManager.reset();
  TVTRTableData::CreateConstraints(constraint_defs);
}

void TVTRDiskTableData::AutoCommit(int32_t session_id, bool in_transaction) {
  TVTRTableData::AutoCommit(session_id, in_transaction);
  if (TemporaryPageManager) TemporaryPageManager->Commit(session_id);
}

void TVTRDiskTableData::AutoRollback(int32_t session_id, bool in_transaction) {
  TVTRTableData::AutoRollback(session_id, in_transaction);
  if (TemporaryPageManager) TemporaryPageManager->Rollback(session_id);
}

bool TVTRDiskTableData::LockTable(int32_t session_id, TVTRTableLockType type, int32_t tries,
                                  int32_t delay_ms) {
  if (!Database.MultiUser) return true;
  return DiskDatabase().TableLockManager->LockTable(*LocksFile, session_id, type, tries, delay_ms);
}

bool TVTRDiskTableData::UnlockTable(int32_t session_id, TVTRTableLockType type, bool only_if_held) {
  if (!Database.MultiUser) return true;
  return DiskDatabase().TableLockManager->UnlockTable(*LocksFile, session_id, type, false, only_if_held);
}

bool TVTRDiskTableData::LockRecord(int32_t session_id, const TVTRRecordID& id, int32_t tries,
                                   int32_t delay_ms) {
  if (!Database.MultiUser) return true;
  return DiskDatabase().TableLockManager->LockRecord(*LocksFile, session_id, id, tries, delay_ms);
}

bool TVTRDiskTableData::UnlockRecord(int32_t session_id, const TVTRRecordID& id) {
  if (!Database.MultiUser) return true;
  return DiskDatabase().TableLockManager->UnlockRecord(*LocksFile, session_id, id);
}

bool TVTRDiskTableData::ExclusiveOpen() const {
  return std::ranges::any_of(open_locks_, [](const auto& open) { return open.second == tltExclusive; });
}

void TVTRDiskTableData::FreeIfUnused() {
  if (Cursors.empty()) Database.FreeTableData(this);
}

int64_t TVTRDiskTableData::GetPositionCount() {
  // Positions only size a bitmap, which grows for records beyond them.
  const int32_t last_page = DiskRecords().GetLastPageNo(kSystemSessionID);
  return last_page == -1 ? 0 : (int64_t{last_page} + 1) * DiskRecords().RecordsPerPage;
}

int64_t TVTRDiskTableData::RecordIDToPosition(const TVTRRecordID& id) {
  return int64_t{id.PageNo} * DiskRecords().RecordsPerPage + id.SlotNo;
}

TVTRRecordID TVTRDiskTableData::PositionToRecordID(int64_t position) {
  const int32_t slots = DiskRecords().RecordsPerPage;
  return {static_cast<int32_t>(position / slots), static_cast<uint16_t>(position % slots)};
}

int64_t TVTRDiskTableData::GetLastAutoincValue(int32_t session_id, int32_t field_no) {
  TVTRBaseSession* session = nullptr;
  for (TVTRBaseSession* attached : Database.Sessions) {
    if (attached->SessionID == session_id) session = attached;
  }
  if (session == nullptr) return 0;
  return FieldManager->GetLastAutoincValue(*session, field_no);
}

void TVTRDiskTableData::AfterRollback(int32_t session_id) {
  if (MostUpdatedFile && FieldManager && RecordManager) LoadMostUpdated(session_id);
}

TVTRRecordOperationCodes TVTRDiskTableData::RecordOperationCodes() const {
  return {20135, 20136, 20138, 20139, 20137};
}
