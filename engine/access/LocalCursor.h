#pragma once
// TVTRLocalCursor: the cursor of the local engine. It carries every cursor
// operation into the shared table object of its session's database and runs
// the multi-user record protocol around record changes: which table lock
// each change takes and how long it waits, when the record lock is taken and
// given back, and how a change of another process is detected.
//
//   change                  table lock                         waits          record lock
//   Edit                    2, kept for Post or Cancel         900 × 100 ms   15 × 100 ms, kept
//   Post                    4, for the post                    2250 × 40 ms   released by an update
//   Delete                  4, for the delete                  900 × 100 ms   15 × 100 ms
//   OpenBlob (multi-user)   1, for the open                    2250 × 40 ms   -
//
// Inside a session transaction, or an automatic one, every change takes
// type 3 instead and keeps it until the commit (which raises it to 4) or the
// rollback: the changes are not in the file before then.
//
// Conflicts end as result codes in LastResult (ResultCodes.h), never as
// exceptions; structural failures raise EVTRException. On -4 to -7
// CurrentRecord holds again what the caller had in it. Every operation runs
// under the database object's critical section; the waits sleep while it
// stays held.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/storage/base/Cursor.h"
#include "engine/storage/database/DatabaseData.h"
#include "engine/storage/table/TableData.h"
#include "engine/storage/index/IndexPositionCache.h"
#include "platform/os/RetryPolicy.h"

class TVTRDiskTableData;

inline constexpr RetryPolicy kEditTableLockRetry{900, 100};
inline constexpr RetryPolicy kPostTableLockRetry{2250, 40};
inline constexpr RetryPolicy kDeleteTableLockRetry{900, 100};
inline constexpr RetryPolicy kBlobTableLockRetry{2250, 40};
inline constexpr RetryPolicy kRecordLockRetry{15, 100};

class TVTRLocalCursor : public TVTRCursor {
 public:
  TVTRLocalCursor();
  // Closes the table without reporting errors.
  ~TVTRLocalCursor() override;

  // Drops a table of that name first; the cursor is closed afterwards.
  void CreateTable(const TVTRFieldDefs& field_defs, const TVTRIndexDefs& index_defs,
                   const TVTRConstraintDefs& constraint_defs) override;
  // A missing table raises 20132.
  void DeleteTable() override;
  // A missing table raises 20133.
  void EmptyTable() override;
  // 20134 for a missing table, 30451 when the new name is taken, 30452 for
  // the same name in other letters.
  void RenameTable(std::string_view new_name) override;
  void InitFieldDefs() override;
  // A table of "MEMORY" or "TEMP" that does not exist raises 10028 unless
  // DesignMode, which creates it from the definitions. A failed open leaves
  // the cursor closed.
  void OpenTable(const TVTRFieldDefs* field_defs, const TVTRIndexDefs* index_defs,
                 const TVTRConstraintDefs* constraint_defs) override;
  void CloseTable() override;
  // 10260 / 10261 while closed.
  void LockDatabaseData() override;
  void UnlockDatabaseData() override;
  // Disk tables only; the others are never locked. 20221 / 20222 while closed.
  bool LockTable(TVTRTableLockType lock_type, int32_t retries, int32_t retry_delay_ms) override;
  bool UnlockTable(TVTRTableLockType lock_type, bool only_if_held) override;
  void RenameField(std::string_view old_name, std::string_view new_name) override;
  // Reloaded from the table.
  TVTRIndexDefs& GetIndexDefs() override;
  // 20022 for a name already taken.
  void AddIndex(const TVTRIndexDef& index_def) override;
  // 20021 for an unknown name.
  void DeleteIndex(std::string_view index_name) override;
  void DeleteAllIndexes() override;
  // Output names of the projection stand for their table fields.
  void CreateTemporaryIndex(const TStringList& field_names, const TStringList& directions,
                            const TStringList& case_options, std::string& index_name) override;
  void InitRecord(uint8_t* record, bool apply_defaults) override;
  // The table drops the BLOB values it cached for the record first.
  void FreeRecordBuffer(uint8_t*& record) override;
  int64_t GetRecordCount() override;
  // A record read leaves its RecordID in the buffer's trailer.
  TVTRGetRecordResult GetRecord(TVTRFetchMode mode) override;
  void SetRecNo(int64_t rec_no) override;
  int64_t GetRecNo() override;
  void First() override;
  void Last() override;
  void Insert() override {}
  void Edit() override;
  void Cancel(bool was_insert) override;
  void Post(bool is_insert) override;
  void Delete() override;
  void ActivateTemporaryIndex(const TStringList& field_names, const TStringList& directions,
                              const TStringList& case_options) override;
  void SetFilterText(std::string_view text, bool case_insensitive, bool partial_compare) override;
  void ClearFilter() override;
  bool Locate(std::string_view field_names, const Variant& key_values, bool case_insensitive,
              bool partial_key) override;
  bool GotoKey(bool search_mode) override;
  bool SearchByFieldValue(std::string_view field_name, uint8_t comparison_operator,
                          const TVTRVariant& value) override;
  // Nil when the read lock or, in browse state, the re-read of the record
  // fails. A second writer of one field raises 10115.
  TVTRStream* OpenBlob(bool is_insert, bool is_edit, int32_t field_no, TVTRBlobOpenMode mode) override;
  // Stores what was written into the record buffer and frees the streams of the field.
  void CloseBlob(int32_t field_no) override;
  // Closes the fields of every stream (or of the writing ones) as CloseBlob
  // does. Closing a stream detaches its Owner (which must not use it any
  // more) without freeing it.
  void FreeBlobStreams(bool write_modes_only) override;
  int64_t GetLastAutoincValue(int32_t field_no) override;
  // Outside a session transaction the changes made until the commit or
  // rollback below are committed together.
  void StartAutoTransaction() override;
  void CommitAutoTransaction() override;
  void RollbackAutoTransaction() override;
  bool ValidateConstraints(bool is_insert) override;

  // Opens the cursor on a table object without looking it up (the record
  // index of a B-tree does so).
  void OpenOnTableData(TVTRTableData& table_data);

  TVTRTableData* TableData = nullptr;  // owned by the database object
  TVTRDatabaseData* DatabaseData = nullptr;

 private:
  // The session's database object, kept in DatabaseData; a session that is
  // not connected raises 20151.
  TVTRDatabaseData& SessionDatabase();
  void SetTableData(TVTRTableData* table_data);
  TVTRTableData& OpenedTable(int32_t native_error, const char* message) const;
  // Attaches to the table object and sets the per-open state.
  void AttachTable(TVTRTableData& table_data);
  void ReloadIndexDefs();
  void ReloadConstraintDefs();
  // Runs a change of the table named TableName on a short-lived attachment;
  // a missing table raises missing_code.
  template <typename Change>
  void ChangeTable(int32_t missing_code, Change&& change);

  // The record protocol (LocalCursorRecords.cpp).
  bool MultiUserDisk() const;
  bool InAnyTransaction() const;
  // The lock a change takes: type 3 inside a session or automatic
  // transaction, else `outside`.
  TVTRTableLockType WriteLockType(TVTRTableLockType outside) const;
  // Re-reads the stored record into CurrentRecord, keeping the caller's
  // record in saved_record_; false when the record is gone.
  bool RereadCurrent();
  void RestoreSaved();
  // Whether `record` (nil: nothing to compare) holds what CurrentRecord holds.
  bool StoredEquals(const uint8_t* record) const;
  void WriteRecord(bool is_insert);
  void DeleteCurrent();

  // BLOB streams (LocalCursorBlobs.cpp).
  TVTRStream* OpenBlobStream(bool is_insert, int32_t field_no, TVTRBlobOpenMode mode);
  int32_t TableFieldOf(int32_t field_no, int32_t invalid_code) const;
  void CloseTableFieldBlobs(int32_t table_field);

  std::unique_ptr<TVTRIndexPositionCache> position_cache_;
  TVTRDiskTableData* disk_table_ = nullptr;  // TableData, when it is a disk table
  bool temporary_table_ = false;             // TableData is a table of "TEMP"
  std::vector<uint8_t> saved_record_;        // the caller's record while the stored one is re-read
};
