#pragma once
// TVTRCursor: one open view of one table (record buffers, position, index,
// range, filter, projection, open BLOB streams), the contract through which
// the datasets, the query component and the SQL engine reach a table. The
// local engine implements the abstract operations; the base keeps the
// cursor's state and the field access that needs nothing of the table.
//
// Record buffer as a cursor exchanges it (RecordBufferSize bytes):
//   0           RecordSize  the record: null flags and fields (FieldManager.h)
//   RecordSize  6           the record's RecordID (RecordID.h)
//   +6          1           bookmark flag (3: an inserted record)
// A key buffer (KeyBufferSize bytes) is the record part and 6 bytes of the
// dataset's key bookkeeping.
//
// Result-code operations (Edit, Cancel, Post, Delete) never raise for lock
// conflicts, lost or changed records or constraint failures: they leave 0 or
// a code -1 to -13 in LastResult (and the message of -8 in LastErrorText;
// the codes are in ResultCodes.h). A read that another process's table lock
// outlasts answers grError with kResultTableLocked in LastResult.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/foundation/VTRVariant.h"
#include "engine/foundation/stream/VTRStream.h"
#include "engine/storage/base/Expression.h"
#include "engine/storage/base/RecordBitmap.h"
#include "engine/storage/base/RecordID.h"
#include "engine/storage/base/Session.h"
#include "engine/storage/base/TableLockType.h"
#include "engine/storage/meta/ConstraintDef.h"
#include "engine/storage/meta/FieldDef.h"
#include "engine/storage/meta/IndexDef.h"
#include "platform/db/DBTypes.h"
#include "platform/rtl/StringList.h"

class TVTRIndexPositionCache;

// Bytes a record buffer holds behind the record, and a key buffer behind its key.
inline constexpr int32_t kRecordTrailerSize = kRecordIDSize + 1;
inline constexpr int32_t kKeyTrailerSize = 6;
inline constexpr uint8_t kInsertedBookmarkFlag = 3;

enum TVTRFetchMode : uint8_t { fmCurrent = 0, fmNext = 1, fmPrior = 2 };
// The dataset layer's fetch result, which the cursor answers the datasets in:
// grOK 0, grBOF 1, grEOF 2, grError 3.
using TVTRGetRecordResult = TGetResult;
enum TVTRBlobOpenMode : uint8_t { bomWrite = 0, bomRead = 1, bomReadWrite = 2 };

// Where a cursor stands.
struct TVTRCursorPosition {
  bool Bof = false;
  bool Eof = false;
  TVTRRecordID CurrentRecordID;
};

class TVTRCursor {
 public:
  // Decides whether the dataset shows the record in the buffer.
  using TFilterRecordEvent = std::function<bool(const uint8_t* record)>;

  virtual ~TVTRCursor() = default;
  TVTRCursor(const TVTRCursor&) = delete;
  TVTRCursor& operator=(const TVTRCursor&) = delete;

  // Creates table TableName, dropping one of that name first.
  virtual void CreateTable(const TVTRFieldDefs& field_defs, const TVTRIndexDefs& index_defs,
                           const TVTRConstraintDefs& constraint_defs) = 0;
  virtual void DeleteTable() = 0;
  // Deletes every record.
  virtual void EmptyTable() = 0;
  // TableName follows the new name.
  virtual void RenameTable(std::string_view new_name) = 0;
  // Reads TableFieldDefs, FieldDefs (unless ProjectionSet), ConstraintDefs
  // and the size fields.
  virtual void InitFieldDefs() = 0;
  // Attaches to the table (creating an in-memory or temporary one from the
  // definitions where that is allowed); Bof 1, Eof 0. A second open does nothing.
  virtual void OpenTable(const TVTRFieldDefs* field_defs, const TVTRIndexDefs* index_defs,
                         const TVTRConstraintDefs* constraint_defs) = 0;
  // Detaches and frees what the open made.
  virtual void CloseTable() = 0;
  // Enter and leave the database object's critical section.
  virtual void LockDatabaseData() = 0;
  virtual void UnlockDatabaseData() = 0;
  virtual bool LockTable(TVTRTableLockType lock_type, int32_t retries, int32_t retry_delay_ms) = 0;
  virtual bool UnlockTable(TVTRTableLockType lock_type, bool only_if_held) = 0;
  // Renames the field in TableFieldDefs: an unknown old name raises 30345, a
  // new name already there 30346.
  virtual void RenameField(std::string_view old_name, std::string_view new_name);
  virtual TVTRIndexDefs& GetIndexDefs() { return IndexDefs; }
  virtual void AddIndex(const TVTRIndexDef& index_def) = 0;
  virtual void DeleteIndex(std::string_view index_name) = 0;
  virtual void DeleteAllIndexes() = 0;
  // The three lists run in parallel: a field name, "ASC" or "DESC", "CASE"
  // or "NO_CASE". The new index's name is left in index_name.
  virtual void CreateTemporaryIndex(const TStringList& field_names, const TStringList& directions,
                                    const TStringList& case_options, std::string& index_name) = 0;
  // All fields null, data zero; the defaults applied when asked.
  virtual void InitRecord(uint8_t* record, bool apply_defaults) = 0;
  // Gives a record buffer back to the engine memory manager; the variable becomes nil.
  virtual void FreeRecordBuffer(uint8_t*& record);
  // Records visible through the cursor.
  virtual int64_t GetRecordCount() = 0;
  // Reads into CurrentRecord and moves CurrentRecordID.
  virtual TVTRGetRecordResult GetRecord(TVTRFetchMode mode) = 0;
  virtual void SetRecNo(int64_t rec_no) = 0;
  virtual int64_t GetRecNo() = 0;
  // The next fetch reads the first record.
  virtual void First() = 0;
  // The next prior fetch reads the last record.
  virtual void Last() = 0;
  virtual void Insert() = 0;
  // Locks the current record for editing. Result code.
  virtual void Edit() = 0;
  // Abandons the insert or edit. Result code.
  virtual void Cancel(bool was_insert) = 0;
  // Writes CurrentRecord. Result code.
  virtual void Post(bool is_insert) = 0;
  // Deletes the current record. Result code.
  virtual void Delete() = 0;
  // Makes a temporary index on the fields the active index and shows only
  // the first record of each run of records equal in them (distinct rows).
  virtual void ActivateTemporaryIndex(const TStringList& field_names, const TStringList& directions,
                                      const TStringList& case_options) = 0;
  // Parses the text into FilterExpression.
  virtual void SetFilterText(std::string_view text, bool case_insensitive, bool partial_compare) = 0;
  virtual void ClearFilter() = 0;
  // Goes to the first record whose fields (names separated by ";") equal
  // the key value, or the values of an array.
  virtual bool Locate(std::string_view field_names, const Variant& key_values, bool case_insensitive,
                      bool partial_key) = 0;
  // Searches the active index for SearchKey over SearchKeyFieldCount fields.
  virtual bool GotoKey(bool search_mode) = 0;
  // Goes to the first record whose field compares so with the value.
  virtual bool SearchByFieldValue(std::string_view field_name, uint8_t comparison_operator,
                                  const TVTRVariant& value) = 0;
  // A stream over a BLOB field of CurrentRecord, kept in BlobStreams.
  virtual TVTRStream* OpenBlob(bool is_insert, bool is_edit, int32_t field_no, TVTRBlobOpenMode mode) = 0;
  virtual void CloseBlob(int32_t field_no) = 0;
  virtual void FreeBlobStreams(bool write_modes_only) = 0;
  virtual int64_t GetLastAutoincValue(int32_t field_no) = 0;
  virtual void StartAutoTransaction() = 0;
  virtual void CommitAutoTransaction() = 0;
  virtual void RollbackAutoTransaction() = 0;
  // Checks CurrentRecord against the constraints without writing.
  virtual bool ValidateConstraints(bool is_insert) = 0;

  // IndexName, and IndexID of the index of that name in IndexDefs (-1: none).
  // Another index empties RecordBitmap.
  void SetIndexName(std::string_view index_name);

  // Field numbers count FieldDefs; each entry shows the table field its
  // FieldNo names. A number outside FieldDefs raises 10005 (get) or 10006 (set).
  bool GetFieldData(int32_t field_no, void* destination, const uint8_t* record) const;
  void SetFieldData(int32_t field_no, const void* source, uint8_t* record) const;
  // The field of CurrentRecord as a value of its base type; numbers count
  // TableFieldDefs with by_table_field (else 20191 / 10317 out of range).
  void GetFieldValue(TVTRVariant& value, int32_t field_no, bool by_table_field) const;
  // Converts the value in place to the field's base type and writes it into
  // `record` (nil: CurrentRecord). A value longer than the field raises
  // 20056; numbers out of range 20192 (table fields) or 20193.
  void SetFieldValue(TVTRVariant& value, int32_t field_no, bool by_table_field, uint8_t* record) const;

  // A zero-filled record buffer of the engine memory manager.
  uint8_t* AllocRecordBuffer() const;
  // A key buffer, not cleared.
  uint8_t* AllocKeyBuffer() const;
  // Zero-fills a key buffer's bytes, then InitRecord without defaults.
  void InitRecordBuffer(uint8_t* buffer);
  // The size fields from TableFieldDefs: the record ends behind its last field.
  void CalcSizeFields();

  TVTRCursorPosition SavePosition() const { return {Bof, Eof, CurrentRecordID}; }
  void RestorePosition(const TVTRCursorPosition& position);

  // Empties RecordBitmap, so the next count or fetch rebuilds it.
  void ClearRecordBitmap();
  // FieldDefs become the named table fields in order, renamed where an output
  // name is given (made unique with "_1", "_2", ...). Lists of unequal length
  // raise 10321, no names 10322, an unknown field 10323, each leaving
  // FieldDefs as they were. The caller then sets ProjectionSet.
  void SetProjection(const TStringList& field_names, const TStringList& output_names);
  // The keys belong to the caller.
  void SetRange(uint8_t* low_key, uint8_t* high_key, int32_t low_field_count, int32_t high_field_count,
                bool low_exclusive, bool high_exclusive);
  void CancelRange();
  // The SQL engine's search condition (not owned), bound to this cursor;
  // the record bitmap is emptied, as for a filter.
  void SetFilterExpression(TVTRExpression* expression, TVTRAO* outer_ao, TVTRCursor* outer_cursor);

  bool HasIndex() const { return IndexID != -1; }
  bool HasTemporaryIndex() const { return TemporaryIndexFieldCount > 0; }
  bool HasFilter() const { return FilterExpression || OnFilterRecord || SearchExpression; }
  bool HasRange() const { return RangeLowKey || RangeHighKey; }
  bool UsesRecordBitmap() const { return HasFilter() || HasRange() || HasTemporaryIndex(); }

  bool ProjectionSet = false;
  std::string TableName;
  std::string IndexName;
  int32_t IndexID = -1;
  // Open options: in-memory tables live in "MEMORY", temporary ones in "TEMP".
  bool ReadOnly = false;
  bool Exclusive = false;
  bool InMemory = false;
  bool Temporary = false;
  TVTRBaseSession* Session = nullptr;
  bool TableOpened = false;
  uint8_t* CurrentRecord = nullptr;  // set by the dataset before each call
  uint8_t* WorkRecord = nullptr;     // scratch buffer of the table while fetching
  uint8_t* OldRecord = nullptr;      // the record as read before editing
  TVTRConstraintDefs ConstraintDefs;
  TVTRFieldDefs TableFieldDefs;  // all stored fields; defines the record layout
  TVTRFieldDefs FieldDefs;       // the fields visible through the cursor
  TVTRIndexDefs IndexDefs;
  std::vector<std::unique_ptr<TVTRStream>> BlobStreams;
  std::unique_ptr<TVTRRecordBitmap> RecordBitmap;
  // The index position the table's navigation reuses; made and freed by the
  // implementing cursor.
  TVTRIndexPositionCache* PositionCache = nullptr;
  bool InAutoTransaction = false;
  bool KeepTempInMemory = false;
  int32_t LastResult = 0;
  std::string LastErrorText;
  bool DesignMode = false;
  int32_t RecordBufferSize = 0;
  int32_t RecordCompareSize = 0;
  int32_t KeyBufferSize = 0;
  int32_t SearchKeyFieldCount = 0;
  int32_t NullFlagsSize = 0;
  int32_t CalcFieldsOffset = 0;
  int32_t RecordSize = 0;
  std::unique_ptr<TVTRExpression> FilterExpression;
  TVTRExpression* SearchExpression = nullptr;
  uint8_t* SearchKey = nullptr;
  uint8_t* RangeLowKey = nullptr;
  uint8_t* RangeHighKey = nullptr;
  bool RangeLowExclusive = false;
  bool RangeHighExclusive = false;
  int32_t RangeLowFieldCount = 0;
  int32_t RangeHighFieldCount = 0;
  // Fields of the active temporary index the cursor is distinct on; 0: none.
  int32_t TemporaryIndexFieldCount = 0;
  TVTRRecordID CurrentRecordID;
  bool Bof = false;
  bool Eof = false;
  TFilterRecordEvent OnFilterRecord;

 protected:
  TVTRCursor() = default;

 private:
  // The table field a field number names.
  const TVTRFieldDef& ResolveField(int32_t field_no, bool by_table_field, int32_t table_code,
                                   int32_t cursor_code, int32_t& table_field_no) const;
};
