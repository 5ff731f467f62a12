#pragma once
// TVTRTableData: the one object of a process that stands for an open table
// inside a database object; every cursor on the table works through it. It
// owns the table's field, index, constraint and record managers, keeps the
// cursors that have the table open, defines and maintains the table, writes
// records by one contract for every engine, and fetches, counts, numbers and
// searches records for a cursor. The disk, temporary and memory engines
// derive from it.
//
// Every operation runs under the database's critical section (Lock), which
// is re-entrant, so operations call each other while holding it.
//
// Record numbers are 1-based; -1 means no record number.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/foundation/stream/VTRStream.h"
#include "engine/storage/pager/PageManager.h"
#include "engine/storage/base/Cursor.h"
#include "engine/storage/base/NavigationRequest.h"
#include "engine/storage/base/RecordID.h"
#include "engine/storage/base/ScanSearchCondition.h"
#include "engine/storage/index/IndexTable.h"
#include "engine/storage/meta/ConstraintDef.h"
#include "engine/storage/meta/FieldDef.h"
#include "engine/storage/meta/IndexDef.h"
#include "engine/storage/table/SearchTrace.h"
#include "engine/storage/table/RecordManager.h"
#include "platform/rtl/StringList.h"

class TVTRBaseConstraintManager;
class TVTRBaseFieldManager;
class TVTRBaseIndexManager;
class TVTRDatabaseData;
class TVTRIndex;
class TVTRIndexPositionCache;
class TVTRKeyPath;
struct TVTRRecordSearch;

enum class TVTRRecordOperation : uint8_t { kInsert, kUpdate, kDelete };

// The "Nil pointer occured" codes an engine's record operations raise when
// the table has no record manager or the cursor no record buffer.
struct TVTRRecordOperationCodes {
  int32_t InsertWithoutManager;
  int32_t InsertWithoutRecord;
  int32_t UpdateWithoutManager;
  int32_t UpdateWithoutRecord;
  int32_t DeleteWithoutManager;
};

// Whether the cursor's session is inside a transaction.
inline bool SessionInTransaction(const TVTRCursor& cursor) {
  return cursor.Session != nullptr && cursor.Session->InTransaction;
}

// Outcome of merging two index conditions on one index (table/search/).
enum class TVTRConditionMerge : uint8_t;

class TVTRTableData : public TVTRIndexTable {
 public:
  explicit TVTRTableData(TVTRDatabaseData& database);
  // Frees the managers. The database object frees its table objects
  // (TVTRDatabaseData::FreeTableData).
  ~TVTRTableData() override;
  TVTRTableData(const TVTRTableData&) = delete;
  TVTRTableData& operator=(const TVTRTableData&) = delete;

  // Enter and leave the owning database's critical section.
  void Lock();
  void Unlock();

  // ---- Definition and maintenance (in slot order) ----

  virtual void CreateRecordManager() = 0;
  // Each gives the definitions new object IDs (in the caller's list too)
  // and hands them to its manager, made here when the engine made none.
  // Index storage is created separately (TVTRBaseIndexManager::CreateAllIndexes).
  virtual void CreateFields(TVTRFieldDefs& field_defs);
  virtual void CreateIndexes(TVTRIndexDefs& index_defs);
  // The constraints take the table's name and are resolved and named.
  virtual void CreateConstraints(TVTRConstraintDefs& constraint_defs);
  // The cursor's NullFlagsSize and RecordCompareSize for this table.
  virtual void InitCursorSizes(TVTRCursor& cursor);
  // Outside a transaction, commit or roll back the session's pages.
  virtual void AutoCommit(int32_t session_id, bool in_transaction);
  virtual void AutoRollback(int32_t session_id, bool in_transaction);
  virtual void CreateTable(TVTRCursor& cursor, TVTRFieldDefs& field_defs, TVTRIndexDefs& index_defs,
                           TVTRConstraintDefs& constraint_defs) = 0;
  // The base refuses a drop while cursors have the table open and force is
  // clear (20017); the engines then drop their storage.
  virtual void DeleteTable(TVTRCursor* cursor, bool force);
  // The base restarts the autoincrement counters and empties every index,
  // for the cursor's session or the system session; the engines then empty
  // the record store.
  virtual void EmptyTable(TVTRCursor* cursor);
  // Refused while cursors have the table open (10150).
  virtual void RenameTable(std::string_view new_name, TVTRCursor* cursor);
  virtual void OpenTable(TVTRCursor& cursor);
  virtual void CloseTable(TVTRCursor& cursor);
  // A missing field raises 30343, a name already taken 30344; index columns follow.
  virtual void RenameField(std::string_view old_name, std::string_view new_name);
  // Adds and fills the index, with the constraint of a unique or primary
  // index; the cursor's position is kept.
  virtual void AddIndex(TVTRIndexDef& index_def, TVTRCursor& cursor);
  // Without a cursor the index is dropped in the system session and its
  // constraint stays.
  virtual void DeleteIndex(int32_t index_id, TVTRCursor* cursor);
  // A temporary index of the cursor's session on the fields (an existing
  // index that serves them is taken instead); returns its name. A failure
  // rolls the session's pages back.
  virtual std::string CreateTemporaryIndex(TVTRCursor& cursor, const TStringList& field_names,
                                           const TStringList& directions, const TStringList& case_flags);
  // Record-bitmap positions of the records in storage order.
  virtual int64_t GetPositionCount() = 0;
  virtual int64_t RecordIDToPosition(const TVTRRecordID& id) = 0;
  virtual TVTRRecordID PositionToRecordID(int64_t position) = 0;
  // Called before a cursor frees a record buffer.
  virtual void FreeRecordBuffer(uint8_t* record) {}
  // Reads the current, next or prior record the cursor sees into its
  // CurrentRecord and moves it there.
  virtual TVTRGetRecordResult GetRecord(TVTRCursor& cursor, TVTRFetchMode direction);
  // Moves to the first record, in the cursor's order, that the expression
  // (nil: 10272) and the cursor's own conditions pass, and reads it. A
  // cursor that finds nothing stays where it was.
  virtual bool Locate(TVTRCursor& cursor, TVTRExpression* expression);
  // Moves to the first record whose key in the cursor's index (none: 20258)
  // compares so with SearchKey over SearchKeyFieldCount fields; does not
  // read it. A cursor that finds nothing stays where it was.
  virtual bool GotoKey(TVTRCursor& cursor, TVTRScanComparison comparison);
  // Stores a changed BLOB value into the cursor's record buffer.
  virtual void SaveBlob(TVTRCursor& cursor, int32_t field_no, TVTRStream& blob) = 0;
  virtual void ReleaseBlob(uint8_t* record, int32_t field_no) {}
  // ReleaseBlob for every BLOB field, in field order.
  virtual void ReleaseRecordBlobs(uint8_t* record);
  virtual std::unique_ptr<TVTRStream> OpenBlob(TVTRCursor& cursor, bool is_insert, int32_t field_no,
                                               TVTRBlobOpenMode mode) = 0;
  // The record operations: false when the record store refuses the change.
  // A failure, refused or raised, of a write that would have been committed
  // at once leaves nothing behind: the session's pages are rolled back and
  // AfterRollback reloads what the engine keeps outside them.
  virtual bool InsertRecord(TVTRCursor& cursor);
  virtual bool DeleteRecord(TVTRCursor& cursor);
  virtual bool UpdateRecord(TVTRCursor& cursor);
  // Numbers beyond the count go to the last record; nothing happens without records.
  virtual void SetRecNo(TVTRCursor& cursor, int64_t rec_no);
  virtual int64_t GetRecNo(TVTRCursor& cursor);
  virtual void SetNaturalRecNo(TVTRCursor& cursor, int64_t rec_no) = 0;
  virtual int64_t GetNaturalRecNo(TVTRCursor& cursor) = 0;
  virtual int64_t GetTableRecordCount(TVTRCursor& cursor) = 0;
  // The record pages that a walk in storage order reaches only because the
  // database is in repair mode: pages its record-page map lost. 0 elsewhere.
  virtual int32_t UnlistedRecordPageCount(TVTRCursor& cursor) { return 0; }
  virtual int64_t GetLastAutoincValue(int32_t session_id, int32_t field_no) { return 0; }
  // Called for every table of the database after a session rolled back.
  virtual void AfterRollback(int32_t session_id) {}
  // The session's statement savepoint (TVTRDatabaseData::MarkSession) over
  // what the table keeps apart from the database's pages. RollbackToMark
  // runs after the database's pages went back to the mark.
  virtual void MarkSession(int32_t session_id) {}
  virtual void RollbackToMark(int32_t session_id) {}
  virtual void ReleaseMark(int32_t session_id) {}

  // ---- Definitions ----

  // A new object ID for every definition, in list order.
  void AssignObjectIDs(TVTRMetaObjectDefs& defs);
  // Bytes of a record buffer; 10131 for a table without fields.
  int32_t GetRecordBufferSize() const;
  // Deletes index definitions from the first until none is left.
  void DropAllIndexes(TVTRCursor* cursor);
  void EmptyIndexes(int32_t session_id);
  // For the constraint manager: whether a unique or primary index already
  // holds the key the record gets.
  bool IsDuplicateKey(int32_t session_id, int32_t index_id, const TVTRRecordID& id, bool is_insert,
                      const uint8_t* old_record, const uint8_t* new_record);

  // ---- Navigation ----

  // Records the cursor sees.
  int64_t GetRecordCount(TVTRCursor& cursor);
  // Whether CurrentRecord lies within the cursor's range, and whether it
  // also passes the cursor's filters.
  bool IsInRange(TVTRCursor& cursor);
  bool IsRecordVisible(TVTRCursor& cursor);
  TVTRGetRecordResult NavigateRecord(TVTRCursor& cursor, TVTRFetchMode direction, bool collect);
  // Executes a request in the order of its index, or in storage order. The
  // request's result reads "not available" unless a record was found.
  void ReadRecord(int32_t session_id, NavigationRequest& request, int32_t change_count,
                  TVTRIndexPositionCache* cache);
  // Empties the bitmap for a new fill, stamped with the change count; true
  // when it holds index positions.
  bool ResetRecordBitmap(TVTRRecordBitmap& bitmap, int32_t index_id);
  // Fills the cursor's bitmap again when it is stale or incomplete.
  void RefreshRecordBitmap(TVTRCursor& cursor);
  void RebuildRecordBitmap(TVTRCursor& cursor);
  // The first or next marked record of a complete bitmap from `current`.
  bool FindInRecordBitmap(int32_t session_id, bool from_start, int32_t index_id, TVTRRecordBitmap& bitmap,
                          TVTRRecordID& found, const TVTRRecordID& current, bool forward);
  // The key path of a stored record in an index: 20252 when the record
  // cannot be read, 20253 when the index does not hold it.
  void FindRecordPath(int32_t session_id, int32_t index_id, TVTRKeyPath& path, const TVTRRecordID& id);
  void GetRecordIDAtPath(int32_t session_id, int32_t index_id, TVTRRecordID& id, const TVTRKeyPath& path);
  // Key paths of an index as bitmap positions, by the index's fan-out.
  virtual int64_t PathToPosition(int32_t index_id, const TVTRKeyPath& path);
  virtual void PositionToPath(int32_t index_id, int64_t position, TVTRKeyPath& path);

  // ---- Search ----

  // Finds, from the cursor's position or from an end of its order, the
  // next record that passes the expression, the key condition and all the
  // cursor's own conditions (range, filters, distinct rule). With `collect`
  // it marks every such record in the bitmap, makes it complete and answers
  // false. Without, a given bitmap that is complete answers instead of a search.
  bool FindRecord(TVTRCursor& cursor, TVTRExpression* expression, bool collect, TVTRRecordBitmap* bitmap,
                  TVTRRecordID* found, bool forward, bool from_start,
                  const TVTRScanSearchCondition* key_condition);

  // ---- The table as its index and constraint managers see it ----

  const TVTRFieldDefs* GetFieldDefs() override;
  TVTRPageManager& GetPageManager() override;
  int64_t GetRecordCount() override;
  int32_t GetChangeCount() override;
  int32_t GetNextObjectID() override;
  void GetRecord(int32_t session_id, NavigationRequest& request) override;
  // Visits the stored records in storage order on the cursor itself, whose
  // position and record buffer are given back afterwards.
  void ScanRecords(TVTRCursor& cursor, const std::function<void(TVTRCursor&)>& visit) override;
  using TVTRIndexTable::ReadRecord;

  // The page store of the table's pages: the database's for a disk table,
  // the table's own for temporary and memory tables. Set by the engine.
  TVTRPageManager* PageManager = nullptr;
  TVTRDatabaseData& Database;
  std::string TableName;
  std::unique_ptr<TVTRBaseFieldManager> FieldManager;
  std::unique_ptr<TVTRBaseConstraintManager> ConstraintManager;
  std::unique_ptr<TVTRBaseIndexManager> IndexManager;
  std::unique_ptr<TVTRBaseRecordManager> RecordManager;
  std::vector<TVTRCursor*> Cursors;  // open on the table; not owned
  bool KeepInMemory = false;
  // When set, every FindRecord describes itself here.
  TVTRSearchTrace* SearchTrace = nullptr;

 protected:
  virtual TVTRRecordOperationCodes RecordOperationCodes() const = 0;
  // The engine's own steps of the write road, at their places in the
  // contract; the defaults do nothing but release the BLOBs of a deleted record.
  virtual void BeforeRecordWrite(TVTRCursor& cursor, TVTRRecordOperation operation) {}
  virtual void SaveRecordBlobs(TVTRCursor& cursor) {}
  virtual void DeleteRecordBlobs(TVTRCursor& cursor) { ReleaseRecordBlobs(cursor.CurrentRecord); }
  virtual void AfterRecordWrite(TVTRCursor& cursor) {}
  // Whether the cursor's writes wait for a commit of its own (an automatic
  // transaction of the SQL engine) rather than being committed at once.
  virtual bool DefersCommit(const TVTRCursor& cursor) const { return false; }

  TVTRIndex& CursorIndex(const TVTRCursor& cursor);

 private:
  // Runs one record write; a failure outside a transaction rolls back.
  bool RunRecordWrite(TVTRCursor& cursor, const std::function<bool()>& write);
  void CommitRecordWrite(TVTRCursor& cursor);
  // Keeps a complete bitmap of the cursor in step with the record just
  // written; the bitmap stays current when it was current before.
  void UpdateBitmapAfterWrite(TVTRCursor& cursor, int32_t change_count_before, bool removed);
  // The record a cursor lands on after its record is deleted: the next in
  // its order, else the prior one.
  std::optional<TVTRRecordID> FindRecordAfterDelete(TVTRCursor& cursor);

  // The search (table/search/).
  void CollectConditions(TVTRRecordSearch& search, TVTRExpression* expression,
                         const TVTRScanSearchCondition* key_condition);
  // False when the conditions cannot all hold.
  bool SimplifyConditions(TVTRRecordSearch& search);
  TVTRConditionMerge MergeConditions(TVTRScanSearchCondition& kept, const TVTRScanSearchCondition& next);
  bool ConditionsEqual(const TVTRScanSearchCondition& a, const TVTRScanSearchCondition& b);
  void RemoveDuplicateConditions(std::vector<std::unique_ptr<TVTRScanSearchCondition>>& kept);
  void ChoosePlan(TVTRRecordSearch& search);
  bool ChooseQuickPlan(TVTRRecordSearch& search);
  bool IsUniqueIndex(int32_t index_id);
  void ChooseCheapestPlan(TVTRRecordSearch& search);
  double PlanCost(TVTRRecordSearch& search, int32_t first, int32_t last);
  double PlainWalkCost(TVTRRecordSearch& search);
  bool ExecutePlan(TVTRRecordSearch& search);
  bool ScanTable(TVTRRecordSearch& search);
  bool ScanCursorIndex(TVTRRecordSearch& search);
  bool ScanIndexForStorageOrder(TVTRRecordSearch& search);
  bool ScanIndexForOtherIndex(TVTRRecordSearch& search);
  bool NeedsRecordCheck(const TVTRRecordSearch& search, int32_t start, int32_t end);
  bool CheckConditions(TVTRRecordSearch& search, const uint8_t* record, int32_t start, int32_t end);
  bool KeyMatchesCondition(const uint8_t* record, const TVTRScanSearchCondition& condition);
  // Reads a stored record into the search's work record.
  bool ReadSearchRecord(TVTRRecordSearch& search, const TVTRRecordID& id);

  std::vector<uint8_t> path_record_;  // FindRecordPath's record buffer
};
