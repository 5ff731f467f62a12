#pragma once
// TVTRDataSet: the dataset layer's TDataSet over one engine cursor, the base
// of the table and query components. While any of its usage flags is set it
// is attached to a database component of its session (the one its own owner
// owns, else any of that alias, else a temporary one the session makes); the
// cursor it gets from its descendant (CreateHandle) reads and writes the
// records, and record-level refusals of the cursor become EVTREngineError.
//
// Record buffer (the cursor's RecordBufferSize, enlarged at open by the
// dataset layer's CalcFieldsSize):
//   0                 RecordSize      the record: null flags and fields
//   RecordSize        6               RecordID, the bookmark
//   RecordSize + 6    1               bookmark flag (TBookmarkFlag)
//   CalcFieldsOffset  CalcFieldsSize  calculated fields: per field a presence
//                                     byte, then the value
// Bookmarks are announced as 7 bytes and carry the 6-byte RecordID.
//
// Text: field values speak UTF-8 above and code page 874 in the record (the
// dataset's TextCodec); messages of engine errors stay code page 874
// (ErrorMessage.h shows them).
//
// The parts: DataSetOpen.cpp (attaching, opening, closing, record buffers
// and bookmarks), DataSetNavigation.cpp (fetching and positioning),
// DataSetEditing.cpp (the write side), DataSetFields.cpp (field access),
// DataSetKeys.cpp (the active index's fields and the key buffers),
// DataSetFilter.cpp (the filter handed to the cursor and FindFirst and its
// kin), DataSetLocate.cpp (Locate and Lookup), DataSetProjection.cpp (the
// SQL engine's projection), BlobStream.cpp, DataSetBatchCopy.cpp.
#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/access/AdvFieldDefs.h"
#include "engine/access/AdvIndexDefs.h"
#include "engine/access/KeyBuffer.h"
#include "engine/access/ProgressEvents.h"
#include "engine/access/SessionDataSet.h"
#include "engine/storage/base/Cursor.h"
#include "engine/storage/meta/ConstraintDef.h"
#include "engine/storage/meta/FieldDef.h"
#include "engine/storage/meta/IndexDef.h"
#include "platform/db/DataSet.h"
#include "platform/db/IndexDefs.h"
#include "platform/rtl/StringList.h"

class TVTRBLOBStream;
class TVTRDatabase;

// The usage flags: the first one set attaches the dataset, the last one
// cleared detaches it.
enum TVTRDBFlag : uint8_t {
  dbfOpen = 0,          // from the start of opening to the end of closing
  dbfPrepared = 1,      // a query is prepared
  dbfExecuting = 2,     // a query runs a statement without a result set
  dbfStructure = 3,     // a table is created, deleted, emptied or renamed
  dbfFieldDefs = 4,     // a closed table reads its field definitions
  dbfIndexDefs = 5,     // a table reads or changes its index definitions
  dbfProjection = 6,    // a projection reopens the dataset on its cursor
  dbfHandedOver = 7,    // the dataset's cursor was handed to another owner (HandOverCursor)
  dbfProvider = 10,     // a provider call runs
};

class TVTRDataSet : public TDataSet, public TVTRSessionDataSet {
 public:
  // Takes the name of its owner's automatically named session, if any.
  explicit TVTRDataSet(TComponent* owner);
  // Closes (failures go to the application object) and detaches.
  ~TVTRDataSet() override;

  // "4.81 ".
  static std::string CurrentVersion();
  const std::string& DatabaseName() const { return database_name_; }
  // Inactive and detached only; "MEMORY" in any letter case sets InMemory,
  // any other alias clears it.
  void SetDatabaseName(const std::string& name);
  const std::string& SessionName() const override { return session_name_; }
  // Inactive only; empty means the default session.
  void SetSessionName(const std::string& name) override;
  bool InMemory() const { return in_memory_; }
  // Inactive only; true also sets DatabaseName to "MEMORY".
  void SetInMemory(bool value);
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool value) { read_only_ = value; }

  // The attached database component; nullptr while no flag is set.
  TVTRDatabase* Database() const { return database_; }
  bool DBFlag(TVTRDBFlag flag) const { return db_flags_.test(flag); }
  // Setting the first flag attaches (an unknown session raises 20002; a
  // failed attach leaves neither flag nor database); clearing the last
  // detaches, releasing the database (which may disconnect it).
  virtual void SetDBFlag(TVTRDBFlag flag, bool value);

  bool IsQuery() const override { return false; }
  // Closes the dataset; its database calls it before disconnecting.
  void Disconnect() override { Close(); }

  // The engine cursor while open.
  TVTRCursor* Handle() const { return cursor_.get(); }
  // Closes the open dataset and hands its cursor, with its index, filter and
  // projection, to the caller (the SQL engine gives a result table's cursor
  // to the query component). The dataset stays attached to its database, so
  // that the cursor's database stays connected, until EndHandOver; the
  // cursor must be freed before that.
  std::unique_ptr<TVTRCursor> HandOverCursor();
  // Detaches what HandOverCursor kept attached; nothing when it did not run.
  void EndHandOver() { SetDBFlag(dbfHandedOver, false); }
  TIndexDefs& IndexDefs() { return index_defs_; }
  // The structure read at each open (the SQL engine fills them to create a
  // table) and the one a restructure makes (a copy taken at each open).
  TVTRAdvFieldDefs& AdvFieldDefs() { return adv_field_defs_; }
  TVTRAdvIndexDefs& AdvIndexDefs() { return adv_index_defs_; }
  TVTRAdvFieldDefs& RestructureAdvFieldDefs() { return restructure_adv_field_defs_; }
  TVTRAdvIndexDefs& RestructureAdvIndexDefs() { return restructure_adv_index_defs_; }
  // What a table hands the cursor to create a table.
  TVTRFieldDefs& EngineFieldDefs() { return engine_field_defs_; }
  TVTRIndexDefs& EngineIndexDefs() { return engine_index_defs_; }
  TVTRConstraintDefs& ConstraintDefs() { return constraint_defs_; }

  // The active index's fields: 1-based positions in the table's fields.
  const std::vector<int16_t>& IndexFieldNumbers() const { return index_fields_; }
  // Prepared at every open, freed at close; nullptr while closed.
  uint8_t* KeyBuffer(TVTRKeyIndex index) const { return key_buffers_[index]; }

  // One field of the current record as an engine value (BLOBs read whole
  // through a BLOB stream; an empty one is a null of the field's type); the
  // field numbers count the table's fields with by_table_field, else the
  // visible ones. For the SQL engine.
  void GetFieldVariant(TVTRVariant& value, int32_t field_index, bool by_table_field);
  // Writes the value into the current record (a non-null BLOB through a
  // BLOB stream).
  void SetFieldVariant(TVTRVariant& value, int32_t field_index, bool by_table_field);

  // Copies every record of `source` into `dest`, field by field: a field
  // of `dest` is found through the object IDs of a restructure with
  // `match_by_id` (both tables), else by name; a GRAPHIC value loses a
  // picture-field header in front. Each field or record that fails adds a
  // line to `log` (UTF-8, each ending "\r\n") and, without `ignore_errors`,
  // passes out after it. `on_progress` (may be empty) hears about
  // max - min times a percent from `min_percent` to `max_percent`; a
  // `continue_` found false there stops the copy after "Terminated by
  // User.". True when nothing was logged. `source` ends on its record.
  static bool BatchCopy(TDataSet& source, TVTRDataSet& dest, std::string& log, bool& continue_,
                        bool ignore_errors, bool match_by_id, const TVTRProgressEvent& on_progress,
                        int32_t min_percent, int32_t max_percent);

  // ---- Overrides of the dataset layer.
  // Closing in edit or insert state cancels through the cursor first,
  // without the cancel events.
  void SetActive(bool active) override;
  void SetRecNo(int value) override;
  bool BookmarkValid(const TBookmark& bookmark) override;
  // A missing bookmark sorts after every record; a record that cannot be
  // read any more before every record.
  int CompareBookmarks(const TBookmark& a, const TBookmark& b) override;
  bool GetCurrentRecord(TRecordBuffer buffer) override;
  // Write modes need a dataset that is not ReadOnly (10107). When the
  // cursor can open no engine stream (the record cannot be read now): in
  // browse state the dataset is refreshed once and the stream reads nothing;
  // in edit or insert state a write mode raises, so the pending record is
  // left as it is and the assignment fails visibly.
  std::unique_ptr<TStream> CreateBlobStream(TField* field, TBlobStreamMode mode) override;
  void CloseBlob(TField* field) override;
  bool GetFieldData(TField* field, void* buffer) override;
  void SetFieldData(TField* field, const void* buffer) override;
  // Time stamps: the native form is the engine's 8-byte date-time.
  void DataConvert(TField* field, const void* source, void* dest, bool to_native) override;
  bool GetIsIndexField(TField* field) override;
  const TTextCodec& TextCodec() const override;

  // ---- Filters and searching. The Filter text and Locate's names and
  // values are UTF-8 and reach the engine in code page 874: a character the
  // code page lacks raises EConvertError and nothing is searched.
  // While open, each of these setters hands the filter to the cursor anew
  // when Filtered and goes to the first record.
  void SetFiltered(bool value) override;
  void SetFilterOptions(TFilterOptions options) override;
  void SetOnFilterRecord(TFilterRecordEvent handler) override;
  // Found: the record becomes current (scroll events); not found: the
  // dataset stays where it was.
  bool Locate(const std::string& key_fields, const Variant& key_values, TLocateOptions options) override;
  // The value of the result field (an array for several) of the record with
  // the key, null when there is none; the dataset does not move.
  Variant Lookup(const std::string& key_fields, const Variant& key_values,
                 const std::string& result_fields) override;
  // The SQL engine's search condition for the cursor, beside the filter:
  // not owned, nil removes it; the outer references reach the expression
  // unchanged (10300 without a cursor).
  void SetFilterExpression(TVTRExpression* expression, TVTRAO* outer_ao, TVTRCursor* outer_cursor);
  // For the SQL engine: the open dataset is reopened on its own cursor with
  // only the named table fields (engine text), under the aliases where they
  // are not empty. A refused projection leaves the dataset open on all its
  // fields and raises (10320 without a cursor; the cursor's 10321 to 10323).
  void SetProjection(const TStringList& field_names, const TStringList& aliases);

  // ---- Provider operations (DataSetProvider.cpp). No program uses them.
  // A transaction of the dataset's database, which stays attached until it
  // ends (commit with flush, or rollback).
  void PSStartTransaction() override;
  void PSEndTransaction(bool commit) override;
  // Runs the statement through a query component on the dataset's alias,
  // session and memory setting; answers the rows it affected.
  int PSExecuteStatement(const std::string& sql, TParams* params) override;
  // The cursor's session is in a transaction; false while closed.
  bool PSInTransaction() override;
  bool PSIsSQLBased() override { return true; }
  bool PSIsSQLSupported() override { return true; }
  std::string PSGetQuoteChar() override { return "`"; }
  // An open dataset is closed and opened again.
  void PSReset() override;
  // Whether OnUpdateRecord answered uaApplied; false without a handler.
  bool PSUpdateRecord(TUpdateKind kind, TDataSet* delta) override;
  // Called with the delta, the kind and an action that starts as uaFail.
  TUpdateRecordEvent OnUpdateRecord;

 protected:
  // Installs a new engine cursor on the dataset's data through SetHandle;
  // the base installs none. Not called while a projection keeps a cursor.
  virtual void CreateHandle() {}
  // Frees the cursor, unless a projection keeps it for the next open.
  virtual void DestroyHandle();
  // Called at the end of every open.
  virtual void PrepareCursor() {}
  void SetHandle(std::unique_ptr<TVTRCursor> cursor) {
    cursor_ = std::move(cursor);
    field_defs_read_from_cursor_ = false;
  }

  // Runs `work` with the flag set (attaching as needed) and clears it on
  // every exit; a failure to clear after a failed `work` gives way to the
  // first failure.
  template <typename Work>
  void WithDBFlag(TVTRDBFlag flag, Work&& work) {
    SetDBFlag(flag, true);
    try {
      work();
    } catch (...) {
      ClearDBFlagQuietly(flag);
      throw;
    }
    SetDBFlag(flag, false);
  }
  // Clears the flag, dropping a failure to detach: the caller is raising
  // another failure.
  void ClearDBFlagQuietly(TVTRDBFlag flag);
  // Whether a usage flag other than `flag` is set.
  bool OtherDBFlagSet(TVTRDBFlag flag) const { return (db_flags_ & ~std::bitset<16>().set(flag)).any(); }
  // The database component the session gives the dataset's owner for
  // DatabaseName, connected and with its reference count raised.
  TVTRDatabase* OpenSessionDatabase();
  // Reads the cursor's field definitions into FieldDefs, the engine field
  // definitions and both extended field definition lists.
  void ReadFieldDefs(TVTRCursor& cursor);
  // The buffer of the current state's record (nullptr: none), which the
  // cursor is given before each record operation.
  TRecordBuffer CurrentRecordBuffer() const;
  // Re-reads the active index's fields from the cursor (10325 for an index
  // name the cursor does not know).
  void ReadIndexFieldList();
  // Zero-fills a key buffer and marks every field null.
  void InitKeyBuffer(uint8_t* key);
  // Clears the cursor's range; true when one was set.
  bool ResetCursorRange();
  // The key buffer that set-key state shows the fields of.
  void SetEditedKeyBuffer(uint8_t* key) { key_buffer_ = key; }
  // The cursor; without one EVTRException `native_error` "Nil pointer occured".
  TVTRCursor& CheckedCursor(int32_t native_error) const;
  // Raises EVTREngineError for a non-zero LastResult of the cursor.
  void CheckCursorResult() const;

  // ---- Opening and closing.
  void OpenCursor(bool info_query) override;
  void CloseCursor() override;
  void InternalOpen() override;
  void InternalClose() override;
  bool IsCursorOpen() const override { return cursor_ != nullptr; }
  void InternalInitFieldDefs() override;

  // ---- Record buffers and bookmarks.
  TRecordBuffer AllocRecordBuffer() override;
  void FreeRecordBuffer(TRecordBuffer& buffer) override;
  int GetRecordSize() override;
  void InternalInitRecord(TRecordBuffer buffer) override;
  void InitRecord(TRecordBuffer buffer) override;
  void ClearCalcFields(TRecordBuffer buffer) override;
  void GetBookmarkData(TRecordBuffer buffer, TBookmark& data) override;
  void SetBookmarkData(TRecordBuffer buffer, const TBookmark& data) override;
  TBookmarkFlag GetBookmarkFlag(TRecordBuffer buffer) override;
  void SetBookmarkFlag(TRecordBuffer buffer, TBookmarkFlag flag) override;

  // ---- Fetching and positioning.
  // A fetch the cursor cannot answer raises with do_check: its result code,
  // or 10026 naming the table and the index in use (a damaged index or a
  // lock that did not come), never ending the walk as if the table ended.
  TGetResult GetRecord(TRecordBuffer buffer, TGetMode mode, bool do_check) override;
  void InternalFirst() override;
  void InternalLast() override;
  void InternalGotoBookmark(const TBookmark& bookmark) override;
  void InternalSetToRecord(TRecordBuffer buffer) override;
  int GetRecordCount() override;
  int GetRecNo() override;

  // ---- Writing.
  bool GetCanModify() override;
  void InternalInsert() override;
  void InternalEdit() override;
  void InternalCancel() override;
  void InternalPost() override;
  void InternalAddRecord(TRecordBuffer buffer, bool append) override;
  void InternalDelete() override;
  void InternalRefresh() override;
  void InternalHandleException() override;

  // ---- Searching.
  void SetFilterText(const std::string& text) override;
  // The Filter text acts also while Filtered is False; OnFilterRecord only
  // while it is True.
  bool FindRecord(bool restart, bool go_forward) override;

 private:
  friend class TVTRBLOBStream;

  void Attach();
  void Detach();
  // The record size part of a buffer: where its bookmark starts.
  int32_t RecordSize() const { return cursor_->RecordSize; }
  void FreeKeyBuffers();
  // Runs `read` with the cursor on the bookmark's record and a scratch
  // buffer as its current record; position and buffer are restored after.
  template <typename Read>
  auto WithScratchRecord(const TBookmark& bookmark, Read&& read);

  // The filter (DataSetFilter.cpp): at open the cursor gets it when
  // Filtered and loses it otherwise.
  void ApplyCursorFilter();
  void HandFilterToCursor();
  void ClearCursorFilter();
  void SetFilterData(const std::string& text, TFilterOptions options);
  bool AcceptRecord(const uint8_t* record);
  // Locate's search, in filter state on the temporary buffer; `read_found`
  // runs there when a record was found (DataSetLocate.cpp).
  bool LocateRecord(const std::string& key_fields, const Variant& key_values, TLocateOptions options,
                    const std::function<void()>& read_found = {});

  // The engine stream of a field of the current record, or nullptr when the
  // cursor cannot open one (BlobStream.cpp).
  TVTRStream* OpenEngineBlob(TField* field, TBlobStreamMode mode);
  // A BLOB stream changed the field's value.
  void BlobFieldChanged(TField* field);
  // The dataset field showing the field number of GetFieldVariant.
  TField* VariantField(int32_t field_index, bool by_table_field);

  std::unique_ptr<TVTRCursor> cursor_;
  // While SetProjection reopens the dataset: its cursor, and the owner of
  // that cursor while the dataset is closed.
  TVTRCursor* projection_cursor_ = nullptr;
  std::unique_ptr<TVTRCursor> kept_cursor_;
  // FieldDefs were read from cursor_ since it was installed (a table reads
  // them while it opens, for its index definitions): the open's own read of
  // them would read the same again.
  bool field_defs_read_from_cursor_ = false;
  // The record that the filter state shows.
  TRecordBuffer filter_buffer_ = nullptr;
  std::vector<int16_t> index_fields_;
  std::bitset<16> db_flags_;
  TVTRDatabase* database_ = nullptr;
  // The active record as it was when editing started; empty otherwise.
  std::vector<uint8_t> old_record_;
  TVTRConstraintDefs constraint_defs_;
  TVTRFieldDefs engine_field_defs_;
  TVTRIndexDefs engine_index_defs_;
  TIndexDefs index_defs_;
  TVTRAdvFieldDefs adv_field_defs_;
  TVTRAdvIndexDefs adv_index_defs_;
  TVTRAdvFieldDefs restructure_adv_field_defs_;
  TVTRAdvIndexDefs restructure_adv_index_defs_;
  std::array<uint8_t*, kKeyBufferCount> key_buffers_{};
  // The key buffer that set-key state edits.
  uint8_t* key_buffer_ = nullptr;
  bool refreshing_for_blob_ = false;

  std::string database_name_;
  std::string session_name_;
  bool in_memory_ = false;
  bool read_only_ = false;
};
