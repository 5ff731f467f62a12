// Creating, opening, closing, dropping, emptying and renaming a disk table,
// and the definition changes that rewrite its metadata.
#include <algorithm>
#include <exception>

#include "engine/foundation/Invariant.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/storage/pager/DiskPageManager.h"
#include "engine/storage/constraints/ConstraintManager.h"
#include "engine/storage/disk/DiskTableData.h"
#include "engine/storage/disk/DiskDatabaseData.h"
#include "engine/storage/fields/FieldManager.h"
#include "engine/storage/index/IndexManager.h"
#include "engine/storage/records/DiskRecordManager.h"

namespace {

bool InTransaction(const TVTRCursor& cursor) {
  return cursor.Session != nullptr && cursor.Session->InTransaction;
}

// Sets a flag for a scope and gives it its old value back.
class ScopedFlag {
 public:
  ScopedFlag(bool& flag, bool value) : flag_(flag), saved_(flag) { flag_ = value; }
  ~ScopedFlag() { flag_ = saved_; }
  ScopedFlag(const ScopedFlag&) = delete;
  ScopedFlag& operator=(const ScopedFlag&) = delete;

 private:
  bool& flag_;
  bool saved_;
};

}  // namespace

// Holds the table directory lock for a scope, when asked to take it.
class TVTRDiskTableData::DirectoryLock {
 public:
  DirectoryLock(TVTRDiskDatabaseData& database, bool take) : database_(take ? &database : nullptr) {
    if (database_ != nullptr) database_->LockTableDirectory();
  }
  ~DirectoryLock() {
    if (database_ == nullptr) return;
    try {
      database_->UnlockTableDirectory();
    } catch (...) {
      // The byte goes with the file's handle at the latest.
    }
  }
  DirectoryLock(const DirectoryLock&) = delete;
  DirectoryLock& operator=(const DirectoryLock&) = delete;

 private:
  TVTRDiskDatabaseData* database_;
};

void TVTRDiskTableData::CreateTable(TVTRCursor& cursor, TVTRFieldDefs& field_defs, TVTRIndexDefs& index_defs,
                                    TVTRConstraintDefs& constraint_defs) {
  TVTRDatabaseDataGuard guard(Database);
  if (field_defs.GetCount() == 0)
    throw EVTRException(20128, "Error creating table - no fields were specified");
  TableName = cursor.TableName;
  KeepInMemory = cursor.KeepTempInMemory;
  PageManager = DiskDatabase().DiskPageManager();
  TableID = Database.GetNextObjectID();
  DirectoryLock directory(DiskDatabase(), true);
  try {
    CreateInternalFiles();
    CreateFields(field_defs);
    CreateIndexes(index_defs);
    CreateConstraints(constraint_defs);
    CreateRecordManager();
    CreateBlobManager();
    SaveMostUpdated(kSystemSessionID);
    DiskRecords().CreateStorage();
    if (FieldManager->HasBlobFields()) BlobManager->CreateStorage();
    IndexManager->CreateAllIndexes(nullptr);
    SaveMetadata(kSystemSessionID);
    DiskDatabase().AddTableEntry(TableID, TableName, LocksFile->StartPage(), MostUpdatedFile->StartPage(),
                                 MetadataFile->StartPage());
    PageManager->Commit(kSystemSessionID);
  } catch (...) {
    PageManager->Rollback(kSystemSessionID);
    UnloadTable();
    throw;
  }
  // The table is made, not open: its first cursor reads it from the file.
  UnloadTable();
}

void TVTRDiskTableData::LoadTable(TVTRCursor& cursor) {
  KeepInMemory = cursor.KeepTempInMemory;
  const TableListEntry entry = DiskDatabase().FindTableEntry(cursor.TableName);
  TableName = entry.Name;
  TableID = entry.TableID;
  const int32_t session_id = SessionOf(&cursor);
  try {
    OpenInternalFiles(entry.MetadataStart, entry.MostUpdatedStart, entry.LocksStart);
    CreateManagers();
    RecordManager =
        std::make_unique<TVTRDiskRecordManager>(*DiskDatabase().DiskPageManager(), *FieldManager, TableID);
    CreateBlobManager();
    LoadMetadata(session_id);
    DiskRecords().InitStorage(GetRecordBufferSize(), GetDiskRecordSize());
    LoadMostUpdated(session_id);
  } catch (...) {
    UnloadTable();
    throw;
  }
}

void TVTRDiskTableData::UnloadTable() {
  // Each manager goes before those it refers to.
  ConstraintManager.reset();
  IndexManager.reset();
  TemporaryPageManager.reset();
  BlobManager.reset();
  RecordManager.reset();
  FieldManager.reset();
  FreeInternalFiles();
}

void TVTRDiskTableData::OpenTable(TVTRCursor& cursor) {
  TVTRDatabaseDataGuard guard(Database);
  DirectoryLock directory(DiskDatabase(), !DirectoryLocked);
  if (!Cursors.empty() && cursor.Exclusive && !ExclusiveOpen()) {
    throw EVTRException::CreateFmt(
        20242, "Cannot access table '%s' in exclusive mode. Probably the table is open by another cursors",
        TableName);
  }
  if (Cursors.empty()) LoadTable(cursor);
  TVTRTableData::OpenTable(cursor);
  const TVTRTableLockType type = cursor.Exclusive ? tltExclusive : tltOpen;
  bool locked = false;
  try {
    locked = LockTable(SessionOf(&cursor), type, kOpenLockTries, kOpenLockDelayMs);
  } catch (...) {
    CloseTable(cursor);
    throw;
  }
  if (!locked) {
    CloseTable(cursor);
    if (type == tltExclusive) {
      throw EVTRException::CreateFmt(
          20208, "Cannot access table '%s' in exclusive mode. Probably the table is open by another user",
          TableName);
    }
    throw EVTRException::CreateFmt(20209, "Cannot open table '%s'. Table is locked", TableName);
  }
  open_locks_.emplace_back(&cursor, type);
}

void TVTRDiskTableData::ReleaseOpenLock(const TVTRCursor& cursor) {
  const auto open = std::ranges::find(open_locks_, &cursor, [](const auto& entry) { return entry.first; });
  if (open == open_locks_.end()) return;
  const TVTRTableLockType type = open->second;
  open_locks_.erase(open);
  UnlockTable(SessionOf(&cursor), type, true);
}

void TVTRDiskTableData::CloseTable(TVTRCursor& cursor) {
  TVTRDatabaseDataGuard guard(Database);
  std::exception_ptr failure;
  try {
    ReleaseOpenLock(cursor);
  } catch (...) {
    // The cursor leaves all the same; the failure is reported after.
    failure = std::current_exception();
  }
  TVTRTableData::CloseTable(cursor);
  if (Cursors.empty()) UnloadTable();
  if (failure) std::rethrow_exception(failure);
}

template <typename Change>
void TVTRDiskTableData::WithExclusiveOpen(TVTRCursor& cursor, Change&& change) {
  ScopedFlag exclusive(cursor.Exclusive, true);
  OpenTable(cursor);
  try {
    change();
  } catch (...) {
    CloseTable(cursor);
    throw;
  }
  CloseTable(cursor);
}

void TVTRDiskTableData::DeleteTable(TVTRCursor* cursor, bool force) {
  VTR_ASSERT(cursor != nullptr);
  TVTRDatabaseDataGuard guard(Database);
  TVTRTableData::DeleteTable(cursor, force);
  DirectoryLock directory(DiskDatabase(), true);
  ScopedFlag directory_locked(DirectoryLocked, true);
  ScopedFlag exclusive(cursor->Exclusive, true);
  OpenTable(*cursor);
  // A table whose storage cannot all be freed is still dropped: what could
  // not be freed stays unused in the file.
  std::exception_ptr failure;
  try {
    DropAllIndexes(nullptr);
    BlobManager->DropStorage(kSystemSessionID);
    DiskRecords().DropStorage(kSystemSessionID);
    // The exclusive lock lives in the lock area, which goes with the files.
    ReleaseOpenLock(*cursor);
    DeleteInternalFiles();
  } catch (...) {
    failure = std::current_exception();
  }
  CloseTable(*cursor);
  try {
    DiskDatabase().DeleteTableEntry(TableName);
    PageManager->Commit(kSystemSessionID);
  } catch (...) {
    PageManager->Rollback(kSystemSessionID);
    throw;
  }
  if (failure) std::rethrow_exception(failure);
}

void TVTRDiskTableData::EmptyTable(TVTRCursor* cursor) {
  VTR_ASSERT(cursor != nullptr);
  TVTRDatabaseDataGuard guard(Database);
  WithExclusiveOpen(*cursor, [&] {
    const int32_t session_id = SessionOf(cursor);
    const bool in_transaction = InTransaction(*cursor);
    try {
      TVTRTableData::EmptyTable(cursor);
      BlobManager->EmptyAll(session_id);
      RecordManager->EmptyTable(session_id);
      SaveMostUpdated(session_id);
      AutoCommit(session_id, in_transaction);
    } catch (...) {
      // Half emptied must not reach the session's next commit.
      if (!in_transaction) {
        AutoRollback(session_id, false);
        AfterRollback(session_id);
      }
      throw;
    }
  });
}

void TVTRDiskTableData::RenameTable(std::string_view new_name, TVTRCursor* cursor) {
  VTR_ASSERT(cursor != nullptr);
  TVTRDatabaseDataGuard guard(Database);
  DirectoryLock directory(DiskDatabase(), true);
  {
    // Only to prove that nobody else has the table open.
    ScopedFlag directory_locked(DirectoryLocked, true);
    WithExclusiveOpen(*cursor, [] {});
  }
  const std::string old_name = TableName;
  TVTRTableData::RenameTable(new_name, cursor);
  TVTRPageManager& pages = *DiskDatabase().DiskPageManager();
  try {
    DiskDatabase().RenameTableEntry(old_name, new_name);
    pages.Commit(kSystemSessionID);
  } catch (...) {
    pages.Rollback(kSystemSessionID);
    TableName = old_name;
    throw;
  }
}

void TVTRDiskTableData::RenameField(std::string_view old_name, std::string_view new_name) {
  TVTRDatabaseDataGuard guard(Database);
  TVTRTableData::RenameField(old_name, new_name);
  try {
    SaveMetadata(kSystemSessionID);
    PageManager->Commit(kSystemSessionID);
  } catch (...) {
    PageManager->Rollback(kSystemSessionID);
    throw;
  }
}

void TVTRDiskTableData::AddIndex(TVTRIndexDef& index_def, TVTRCursor& cursor) {
  TVTRDatabaseDataGuard guard(Database);
  const int32_t session_id = SessionOf(&cursor);
  const bool in_transaction = InTransaction(cursor);
  try {
    TVTRTableData::AddIndex(index_def, cursor);
    SaveMetadata(session_id);
    AutoCommit(session_id, in_transaction);
  } catch (...) {
    if (!in_transaction) AutoRollback(session_id, false);
    throw;
  }
}

void TVTRDiskTableData::DeleteIndex(int32_t index_id, TVTRCursor* cursor) {
  TVTRDatabaseDataGuard guard(Database);
  const auto* def = static_cast<const TVTRIndexDef*>(IndexManager->IndexDefs.GetDefByObjectID(index_id));
  const bool temporary = def != nullptr && def->Temporary;
  TVTRTableData::DeleteIndex(index_id, cursor);
  if (cursor == nullptr) return;
  const int32_t session_id = SessionOf(cursor);
  if (!temporary) SaveMetadata(session_id);
  AutoCommit(session_id, InTransaction(*cursor));
}
