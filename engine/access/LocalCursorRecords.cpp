// The record changes of the local cursor and the multi-user protocol around
// them (LocalCursor.h): table and record locks, the re-read that detects a
// change by another process, and automatic transactions.
#include <cstring>
#include <exception>

#include "engine/access/LocalCursor.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/storage/base/ResultCodes.h"
#include "engine/storage/constraints/ConstraintManager.h"
#include "engine/storage/disk/DiskTableData.h"
#include "engine/storage/fields/FieldManager.h"

bool TVTRLocalCursor::MultiUserDisk() const {
  return disk_table_ && Session->MultiUser;
}

TVTRTableLockType TVTRLocalCursor::WriteLockType(TVTRTableLockType outside) const {
  // An automatic transaction keeps its changes uncommitted as a session
  // transaction does, so it keeps its table locks until its commit too.
  return InAnyTransaction() ? tltTransactionWrite : outside;
}

bool TVTRLocalCursor::InAnyTransaction() const {
  return Session->InTransaction || InAutoTransaction;
}

bool TVTRLocalCursor::RereadCurrent() {
  std::memcpy(saved_record_.data(), CurrentRecord, saved_record_.size());
  return GetRecord(fmCurrent) == grOK;
}

void TVTRLocalCursor::RestoreSaved() {
  std::memcpy(CurrentRecord, saved_record_.data(), saved_record_.size());
}

bool TVTRLocalCursor::StoredEquals(const uint8_t* record) const {
  return !record || TableData->FieldManager->RecordsEqual(record, CurrentRecord);
}

void TVTRLocalCursor::Edit() {
  LastResult = kResultOK;
  TVTRTableData& table = OpenedTable(20151, "Pointer is nil");
  TVTRDatabaseDataGuard guard(table.Database);
  if (temporary_table_) {
    LastResult = kResultTemporaryUpdate;
    return;
  }
  if (!MultiUserDisk()) return;
  const TVTRTableLockType lock = WriteLockType(tltEdit);
  if (!LockTable(lock, kEditTableLockRetry.tries, kEditTableLockRetry.delay_ms)) {
    LastResult = kResultTableLocked;
    return;
  }
  const TVTRRecordID locked = CurrentRecordID;
  try {
    if (!disk_table_->LockRecord(Session->SessionID, locked, kRecordLockRetry.tries,
                                 kRecordLockRetry.delay_ms)) {
      UnlockTable(lock, false);
      LastResult = kResultRecordLocked;
      return;
    }
    if (!RereadCurrent()) {
      LastResult = kResultUpdateDeleted;
    } else if (!StoredEquals(saved_record_.data())) {
      LastResult = kResultUpdateModified;
    }
  } catch (...) {
    disk_table_->UnlockRecord(Session->SessionID, locked);
    UnlockTable(lock, false);
    throw;
  }
  if (LastResult == kResultOK) return;
  RestoreSaved();
  disk_table_->UnlockRecord(Session->SessionID, locked);
  UnlockTable(lock, false);
}

void TVTRLocalCursor::Post(bool is_insert) {
  LastResult = kResultOK;
  TVTRTableData& table = OpenedTable(20151, "Pointer is nil");
  TVTRDatabaseDataGuard guard(table.Database);
  const bool multi_user = MultiUserDisk();
  const bool in_transaction = InAnyTransaction();
  if (multi_user &&
      !LockTable(WriteLockType(tltWrite), kPostTableLockRetry.tries, kPostTableLockRetry.delay_ms)) {
    LastResult = kResultTableLocked;
    return;
  }
  std::exception_ptr failure;
  try {
    WriteRecord(is_insert);
  } catch (...) {
    failure = std::current_exception();
  }
  if (multi_user) {
    // A failed update keeps its record lock, so that a corrected record can
    // be posted; the cancel gives it back. The edit lock goes only where it
    // is held: an Edit inside a transaction took type 3 instead.
    if (!is_insert && !failure && LastResult != kResultFailure) {
      disk_table_->UnlockRecord(Session->SessionID, CurrentRecordID);
      UnlockTable(tltEdit, true);
    }
    if (!in_transaction) UnlockTable(tltWrite, false);
  }
  if (failure) std::rethrow_exception(failure);
}

void TVTRLocalCursor::WriteRecord(bool is_insert) {
  TVTRTableData& table = *TableData;
  try {
    if (is_insert) {
      if (disk_table_) disk_table_->LoadMostUpdated(Session->SessionID);
      table.FieldManager->ApplyAutoincs(*Session, CurrentRecord);
    }
    if (!temporary_table_ && table.ConstraintManager)
      table.ConstraintManager->CheckRecord(Session->SessionID, CurrentRecord, true, CurrentRecordID,
                                           is_insert, OldRecord);
  } catch (const EVTRException& e) {
    LastResult = kResultFailure;
    LastErrorText = e.Message();
    return;
  } catch (const std::exception& e) {
    LastResult = kResultFailure;
    LastErrorText = e.what();
    return;
  }
  FreeBlobStreams(true);
  if (is_insert) {
    if (!table.InsertRecord(*this)) {
      LastResult = kResultAddFailed;
      return;
    }
    StoreRecordID(CurrentRecord + RecordSize, CurrentRecordID);
    CurrentRecord[RecordSize + kRecordIDSize] = kInsertedBookmarkFlag;
    return;
  }
  CurrentRecordID = LoadRecordID(CurrentRecord + RecordSize);
  if (!RereadCurrent()) {
    LastResult = kResultUpdateDeleted;
  } else if (!StoredEquals(OldRecord)) {
    LastResult = kResultUpdateModified;
  }
  RestoreSaved();
  if (LastResult == kResultOK && !table.UpdateRecord(*this)) LastResult = kResultUpdateFailed;
}

void TVTRLocalCursor::Delete() {
  LastResult = kResultOK;
  TVTRTableData& table = OpenedTable(20151, "Pointer is nil");
  TVTRDatabaseDataGuard guard(table.Database);
  const bool multi_user = MultiUserDisk();
  const bool in_transaction = InAnyTransaction();
  const TVTRTableLockType lock = WriteLockType(tltWrite);
  const TVTRRecordID locked = CurrentRecordID;
  if (multi_user) {
    if (!LockTable(lock, kDeleteTableLockRetry.tries, kDeleteTableLockRetry.delay_ms)) {
      LastResult = kResultTableLocked;
      return;
    }
    if (!disk_table_->LockRecord(Session->SessionID, locked, kRecordLockRetry.tries,
                                 kRecordLockRetry.delay_ms)) {
      UnlockTable(lock, false);
      LastResult = kResultRecordLocked;
      return;
    }
  }
  std::exception_ptr failure;
  try {
    DeleteCurrent();
  } catch (...) {
    failure = std::current_exception();
  }
  if (multi_user) {
    disk_table_->UnlockRecord(Session->SessionID, locked);
    if (!in_transaction) UnlockTable(lock, false);
  }
  if (failure) std::rethrow_exception(failure);
}

void TVTRLocalCursor::DeleteCurrent() {
  if (temporary_table_) {
    LastResult = kResultTemporaryDelete;
    return;
  }
  CurrentRecordID = LoadRecordID(CurrentRecord + RecordSize);
  // Compared by their stored part: the bookkeeping bytes of BLOB fields
  // differ between a buffer that opened a BLOB and a fresh read.
  if (!RereadCurrent()) {
    LastResult = kResultDeleteDeleted;
  } else if (!StoredEquals(saved_record_.data())) {
    LastResult = kResultDeleteModified;
  }
  RestoreSaved();
  if (LastResult == kResultOK && !TableData->DeleteRecord(*this)) LastResult = kResultDeleteFailed;
}

void TVTRLocalCursor::Cancel(bool was_insert) {
  LastResult = kResultOK;
  TVTRTableData& table = OpenedTable(20151, "Pointer is nil");
  TVTRDatabaseDataGuard guard(table.Database);
  FreeBlobStreams(true);
  if (disk_table_) disk_table_->FreeRecordBlobs(CurrentRecord);
  if (was_insert) table.ReleaseRecordBlobs(CurrentRecord);
  if (MultiUserDisk() && !was_insert) {
    disk_table_->UnlockRecord(Session->SessionID, CurrentRecordID);
    // A Post that failed has given the edit lock back already.
    UnlockTable(tltEdit, true);
  }
}

void TVTRLocalCursor::StartAutoTransaction() {
  if (!Session->InTransaction) InAutoTransaction = true;
}

void TVTRLocalCursor::CommitAutoTransaction() {
  if (Session->InTransaction || !InAutoTransaction) return;
  TVTRTableData& table = OpenedTable(20151, "Pointer is nil");
  TVTRDatabaseDataGuard guard(table.Database);
  if (disk_table_) {
    // The database's commit raises the transaction's table locks first and
    // gives them back afterwards; the table commits what it keeps apart.
    table.Database.Commit(Session->SessionID, false);
    table.AutoCommit(Session->SessionID, false);
  }
  InAutoTransaction = false;
}

void TVTRLocalCursor::RollbackAutoTransaction() {
  if (Session->InTransaction || !InAutoTransaction) return;
  TVTRTableData& table = OpenedTable(20151, "Pointer is nil");
  TVTRDatabaseDataGuard guard(table.Database);
  InAutoTransaction = false;
  if (disk_table_) {
    // The database's rollback gives back the locks and lets every table
    // reload its counters.
    table.Database.Rollback(Session->SessionID);
    table.AutoRollback(Session->SessionID, false);
  }
}
