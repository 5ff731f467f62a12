#pragma once
// TVTRDiskTableData: the table object of a table stored in a database file.
// One exists per open table and process; all cursors of the process that
// open the table share it. It keeps the table's three internal files (the
// metadata file, the counters file and the lock area; layouts in
// DiskTableFiles.cpp and TableLocksFile.h), creates, opens, closes, empties,
// renames and drops the table, and writes records by the table layer's
// contract with its BLOB values and counters. In multi-user mode every read
// is bracketed by a shared table lock and refreshes the counters.
//
// Table locks: 0 while a cursor has the table open (6 when it asked for
// exclusive use), 1 around one read, and the write types the local cursor
// takes through LockTable. Each open remembers the lock it took and its
// close gives back exactly that one.
//
// Every operation that changes the table or reads it in multi-user mode
// holds the database's critical section itself; the lock wrappers, the
// position conversions and the single-user reads rely on their callers.
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/storage/table/TableData.h"
#include "engine/storage/base/TableLockType.h"
#include "engine/storage/blob/DiskBlobManager.h"
#include "engine/storage/locks/TableLocksFile.h"
#include "engine/storage/system/TransactedFile.h"

class TVTRDiskDatabaseData;
class TVTRDiskRecordManager;

// Waits of the table locks the table object takes itself.
inline constexpr int32_t kOpenLockTries = 50;
inline constexpr int32_t kOpenLockDelayMs = 100;
inline constexpr int32_t kReadLockTries = 2250;
inline constexpr int32_t kReadLockDelayMs = 40;

class TVTRDiskTableData : public TVTRTableData {
 public:
  explicit TVTRDiskTableData(TVTRDiskDatabaseData& database);
  ~TVTRDiskTableData() override;

  // ---- The internal files ----

  // Creates the lock area for the database's connection slots and the
  // metadata and counters files, all in the system session.
  void CreateInternalFiles();
  void OpenInternalFiles(int32_t metadata_start, int32_t most_updated_start, int32_t locks_start);
  // Deletes the pages of all three files in the system session.
  void DeleteInternalFiles();
  void FreeInternalFiles();
  // The definitions and storage roots, in the session's view of the file.
  void LoadMetadata(int32_t session_id);
  void SaveMetadata(int32_t session_id);
  // The autoincrement and record counters; 20176 without a counters file.
  void LoadMostUpdated(int32_t session_id);
  void SaveMostUpdated(int32_t session_id);
  // Bytes of a stored record; 20142 for a table without fields.
  int32_t GetDiskRecordSize() const;
  void CreateBlobManager();

  // ---- Locks: in multi-user mode through the database's lock manager, else granted ----

  // Without an open table they raise the lock area's "Nil pointer occured" codes.
  bool LockTable(int32_t session_id, TVTRTableLockType type, int32_t tries, int32_t delay_ms);
  // only_if_held: a lock the session does not hold is no error.
  bool UnlockTable(int32_t session_id, TVTRTableLockType type, bool only_if_held = false);
  bool LockRecord(int32_t session_id, const TVTRRecordID& id, int32_t tries, int32_t delay_ms);
  bool UnlockRecord(int32_t session_id, const TVTRRecordID& id);
  // Whether a cursor holds the table open exclusively.
  bool ExclusiveOpen() const;

  // Frees this object through its database when no cursor has it open; the
  // caller must not touch it afterwards then.
  void FreeIfUnused();
  // Drops the cached BLOB values of a record, written or not (an edit is cancelled).
  void FreeRecordBlobs(uint8_t* record);

  // ---- The table layer's operations ----

  void CreateRecordManager() override;
  void CreateFields(TVTRFieldDefs& field_defs) override;
  void CreateIndexes(TVTRIndexDefs& index_defs) override;
  // Constraint kinds other than primary key, unique, not null and check raise 30040.
  void CreateConstraints(TVTRConstraintDefs& constraint_defs) override;
  // Outside a transaction as the base does; the temporary index pages of
  // the session in every case.
  void AutoCommit(int32_t session_id, bool in_transaction) override;
  void AutoRollback(int32_t session_id, bool in_transaction) override;
  // Creates the table in the file under the table directory lock and
  // commits it; a failure leaves nothing behind. 20128 without fields.
  void CreateTable(TVTRCursor& cursor, TVTRFieldDefs& field_defs, TVTRIndexDefs& index_defs,
                   TVTRConstraintDefs& constraint_defs) override;
  // The three need a cursor, which opens the table exclusively meanwhile.
  void DeleteTable(TVTRCursor* cursor, bool force) override;
  void EmptyTable(TVTRCursor* cursor) override;
  void RenameTable(std::string_view new_name, TVTRCursor* cursor) override;
  // The first open reads the table from the file. Then the cursor takes
  // the open lock of its request: 20242 for an exclusive request while other
  // cursors of the process have the table open, 20208 or 20209 when the lock
  // cannot be had (the cursor is then not open).
  void OpenTable(TVTRCursor& cursor) override;
  // The last close frees the managers and the file objects.
  void CloseTable(TVTRCursor& cursor) override;
  void RenameField(std::string_view old_name, std::string_view new_name) override;
  void AddIndex(TVTRIndexDef& index_def, TVTRCursor& cursor) override;
  void DeleteIndex(int32_t index_id, TVTRCursor* cursor) override;
  // With N slots per record page, record (page P, slot S) is at P × N + S.
  int64_t GetPositionCount() override;
  int64_t RecordIDToPosition(const TVTRRecordID& id) override;
  TVTRRecordID PositionToRecordID(int64_t position) override;
  void FreeRecordBuffer(uint8_t* record) override { ReleaseRecordBlobs(record); }
  // Multi-user: the read bracket; GetRecord answers grError when the read
  // lock cannot be had, the others raise "Table is locked".
  TVTRGetRecordResult GetRecord(TVTRCursor& cursor, TVTRFetchMode direction) override;
  bool Locate(TVTRCursor& cursor, TVTRExpression* expression) override;
  bool GotoKey(TVTRCursor& cursor, TVTRScanComparison comparison) override;
  // `blob` is a stream this table's OpenBlob gave.
  void SaveBlob(TVTRCursor& cursor, int32_t field_no, TVTRStream& blob) override;
  void ReleaseBlob(uint8_t* record, int32_t field_no) override;
  // A stream over the field's value in the cursor's record: empty for
  // writing, for a record without buffer or a null field. 20149 for a block
  // size of 0, 20248 for a stored negative size.
  std::unique_ptr<TVTRStream> OpenBlob(TVTRCursor& cursor, bool is_insert, int32_t field_no,
                                       TVTRBlobOpenMode mode) override;
  // The table layer's record operations, with the stored values of the
  // record's BLOB fields settled by the outcome: a write that does not stand
  // leaves the record buffer naming its old values and its new ones still
  // waiting in the cache, so that it can be posted again.
  bool InsertRecord(TVTRCursor& cursor) override;
  bool DeleteRecord(TVTRCursor& cursor) override;
  bool UpdateRecord(TVTRCursor& cursor) override;
  void SetRecNo(TVTRCursor& cursor, int64_t rec_no) override;
  int64_t GetRecNo(TVTRCursor& cursor) override;
  void SetNaturalRecNo(TVTRCursor& cursor, int64_t rec_no) override;
  int64_t GetNaturalRecNo(TVTRCursor& cursor) override;
  int64_t GetTableRecordCount(TVTRCursor& cursor) override;
  int32_t UnlistedRecordPageCount(TVTRCursor& cursor) override;
  int64_t GetLastAutoincValue(int32_t session_id, int32_t field_no) override;
  // Reloads the counters the rollback may have taken back.
  void AfterRollback(int32_t session_id) override;
  void RollbackToMark(int32_t session_id) override { AfterRollback(session_id); }

  TVTRDiskRecordManager& DiskRecords() const;

  int32_t TableID = -1;
  std::unique_ptr<TVTRTableLocksFile> LocksFile;
  std::unique_ptr<TVTRInternalDBTransactedAccessFile> MetadataFile;
  std::unique_ptr<TVTRInternalDBTransactedAccessFile> MostUpdatedFile;
  std::unique_ptr<TVTRDiskBlobManager> BlobManager;
  // The pages of the table's temporary indexes, kept out of the file.
  std::unique_ptr<TVTRPageManager> TemporaryPageManager;
  // Set while a drop or rename holds the table directory lock, so that the
  // open inside it does not take it again.
  bool DirectoryLocked = false;

 protected:
  TVTRRecordOperationCodes RecordOperationCodes() const override;
  void BeforeRecordWrite(TVTRCursor& cursor, TVTRRecordOperation operation) override;
  void SaveRecordBlobs(TVTRCursor& cursor) override;
  // Drops the record's cached values; the stored ones go after the record
  // (AfterRecordWrite), so that a refused delete leaves them in place.
  void DeleteRecordBlobs(TVTRCursor& cursor) override { FreeRecordBlobs(cursor.CurrentRecord); }
  void AfterRecordWrite(TVTRCursor& cursor) override;
  bool DefersCommit(const TVTRCursor& cursor) const override { return cursor.InAutoTransaction; }

 private:
  class ReadBracket;
  class DirectoryLock;

  TVTRDiskDatabaseData& DiskDatabase() const { return disk_database_; }
  // The lock area; "Nil pointer occured" with native_error while the table is not open.
  TVTRTableLocksFile& Locks(int32_t native_error) const;
  // Reads the table from the file for its first cursor.
  void LoadTable(TVTRCursor& cursor);
  // Frees the managers and the file objects.
  void UnloadTable();
  void CreateManagers();
  // Gives back the open lock the cursor took, if it took one.
  void ReleaseOpenLock(const TVTRCursor& cursor);
  // Runs an open, close and change of the table for a cursor that asks for
  // exclusive use meanwhile.
  template <typename Change>
  void WithExclusiveOpen(TVTRCursor& cursor, Change&& change);
  // Runs a read under the read bracket; native_error "Table is locked" when
  // the bracket cannot be had.
  template <typename Read>
  auto Bracketed(TVTRCursor& cursor, int32_t native_error, Read&& read);
  // Runs a record write and settles its BLOB values by the outcome.
  template <typename Write>
  bool WriteWithBlobs(TVTRCursor& cursor, Write&& write);
  void SettleBlobs(TVTRCursor& cursor, bool written);

  TVTRDiskDatabaseData& disk_database_;
  // The open lock each cursor took.
  std::vector<std::pair<const TVTRCursor*, TVTRTableLockType>> open_locks_;
  TVTRRecordOperation operation_ = TVTRRecordOperation::kInsert;
  // The BLOB values of the record write under way, and the record store's
  // change count before its record was written.
  std::optional<TVTRRecordBlobWrite> pending_blobs_;
  int32_t change_count_before_ = 0;
};
