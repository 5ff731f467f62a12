#pragma once
// The dataset: records seen one at a time through a window of record buffers,
// with states, events, fields and the links that show them.
//
// A descendant supplies the records: it overrides the operations below marked
// "descendant" (buffers, bookmarks, fetching, positioning, field data, writing),
// and the dataset keeps the buffer window, the state machine, the events and the
// notification of data sources. Everything a descendant overrides is a virtual
// of the same name, and the base ones are neutral.
//
// A descendant closes itself in its own destructor (Close()): the base
// destructor can no longer reach its overrides.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/DBTypes.h"
#include "platform/db/DatabaseError.h"
#include "platform/db/FieldDefs.h"
#include "platform/db/Fields.h"
#include "platform/db/IndexDefs.h"
#include "platform/db/TextCodec.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Stream.h"
#include "platform/rtl/Variant.h"

class TDataSource;
class TDataLink;
class TParams;

class EUpdateError : public EDatabaseError {
 public:
  using EDatabaseError::EDatabaseError;
};

class TDataSet : public TComponent {
 public:
  explicit TDataSet(TComponent* owner);
  ~TDataSet() override;

  // ---- Opening and closing.
  bool Active() const { return state_ != dsInactive; }
  virtual void SetActive(bool active);
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  TDataSetState State() const { return state_; }

  // ---- Navigation.
  void First();
  void Last();
  void Next() { MoveBy(1); }
  void Prior() { MoveBy(-1); }
  // Moves up to `distance` records; returns how far it moved.
  int MoveBy(int distance);
  bool Bof() const { return bof_; }
  bool Eof() const { return eof_; }
  bool IsEmpty() const { return active_record_ >= record_count_; }
  int RecordCount() { return GetRecordCount(); }
  int RecNo() { return GetRecNo(); }
  // Moves to the record of that number (from 1); the base does nothing.
  virtual void SetRecNo(int value) {}

  // ---- Bookmarks: the bytes the descendant identifies a record by.
  TBookmark GetBookmark();
  void GotoBookmark(const TBookmark& bookmark);
  virtual bool BookmarkValid(const TBookmark& bookmark) { return false; }
  // Negative, 0 or positive; an empty bookmark sorts after every other.
  virtual int CompareBookmarks(const TBookmark& a, const TBookmark& b) { return 0; }

  // ---- Editing.
  void Insert();
  void Append();
  void Edit();
  virtual void Post();
  virtual void Cancel();
  void Delete();
  // Browse-mode check, then the records are read again around the current one.
  void Refresh();
  // Posts a modified record and cancels an unmodified one; ends key entry.
  void CheckBrowseMode();
  // Asks the data links to write their pending edits into the record.
  void UpdateRecord();
  bool Modified() const { return modified_; }
  bool CanModify() { return GetCanModify(); }
  void ClearFields();
  // Asks the data links to focus the control of `field`.
  void FocusField(TField* field);

  // ---- Controls.
  void DisableControls();
  // When the last disable ends, links hear one data-set change (and the state
  // change they missed).
  void EnableControls();
  bool ControlsDisabled() const { return disable_count_ > 0; }

  // ---- Fields and definitions.
  TFields& Fields() { return fields_; }
  TFieldDefs& FieldDefs() { return field_defs_; }
  int FieldCount() const { return fields_.Count(); }
  TField* FindField(std::string_view name) const { return fields_.FindField(name); }
  // Raises "Field '%s' not found" (with the dataset's name in front).
  TField* FieldByName(std::string_view name) const;
  // The fields named in a ";"-separated list, in its order.
  std::vector<TField*> GetFieldList(std::string_view field_names) const;
  // True while the fields were made from FieldDefs at open.
  bool DefaultFields() const { return default_fields_; }
  int CalcFieldsSize() const { return calc_fields_size_; }
  bool AutoCalcFields() const { return auto_calc_fields_; }
  void SetAutoCalcFields(bool value) { auto_calc_fields_ = value; }
  // The codec that turns UTF-8 field text into the bytes this dataset stores.
  virtual const TTextCodec& TextCodec() const { return IdentityCodec(); }

  // ---- Filters and searching.
  const std::string& Filter() const { return filter_text_; }
  void SetFilter(const std::string& text) { SetFilterText(text); }
  bool Filtered() const { return filtered_; }
  virtual void SetFiltered(bool value) { filtered_ = value; }
  TFilterOptions FilterOptions() const { return filter_options_; }
  virtual void SetFilterOptions(TFilterOptions options) { filter_options_ = options; }
  const TFilterRecordEvent& OnFilterRecord() const { return on_filter_record_; }
  virtual void SetOnFilterRecord(TFilterRecordEvent handler) { on_filter_record_ = std::move(handler); }
  bool FindFirst() { return FindRecord(true, true); }
  bool FindLast() { return FindRecord(true, false); }
  bool FindNext() { return FindRecord(false, true); }
  bool FindPrior() { return FindRecord(false, false); }
  bool Found() const { return found_; }
  // Key values: one value, or an array variant with one value per key field.
  virtual bool Locate(const std::string& key_fields, const Variant& key_values, TLocateOptions options) {
    return false;
  }
  virtual Variant Lookup(const std::string& key_fields, const Variant& key_values,
                         const std::string& result_fields) {
    return Variant::Null();
  }

  // ---- Data sources and links.
  // The data source this dataset takes its values from (a master), if any.
  virtual TDataSource* GetDataSource() const { return nullptr; }
  // True when `source` leads back to this dataset through masters.
  bool IsLinkedTo(const TDataSource* source) const;
  int BufferCount() const { return buffer_count_; }

  // ---- Record buffers (public for fields and links).
  TRecordBuffer ActiveBuffer() const {
    return active_record_ < static_cast<int>(buffers_.size()) ? buffers_[active_record_] : nullptr;
  }
  TRecordBuffer CalcBuffer() const { return calc_buffer_; }
  // The buffer of the current state's record: active buffer while browsing a
  // non-empty dataset or editing, the calculation buffer in calc states, null
  // otherwise (descendants add their filter and key buffers).
  TRecordBuffer StateRecordBuffer() const;
  // The BLOB stream of `field` on the current record; null when the dataset has
  // none. bmWrite starts from empty content, bmReadWrite keeps it.
  virtual std::unique_ptr<TStream> CreateBlobStream(TField* field, TBlobStreamMode mode) { return nullptr; }
  virtual void CloseBlob(TField* field) {}
  // False when the dataset is empty or its active record is not stored.
  virtual bool GetCurrentRecord(TRecordBuffer buffer) { return false; }

  // ---- Events.
  TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
  TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit, BeforePost, AfterPost;
  TDataSetNotifyEvent BeforeCancel, AfterCancel, BeforeDelete, AfterDelete;
  TDataSetNotifyEvent BeforeRefresh, AfterRefresh, BeforeScroll, AfterScroll;
  TDataSetNotifyEvent OnNewRecord, OnCalcFields;
  TDataSetErrorEvent OnEditError, OnPostError, OnDeleteError;

  // ---- Provider support, neutral until a descendant answers.
  virtual void PSStartTransaction() {}
  virtual void PSEndTransaction(bool commit) {}
  virtual bool PSInTransaction() { return false; }
  virtual int PSExecuteStatement(const std::string& sql, TParams* params) { return 0; }
  virtual void PSGetAttributes(std::vector<std::pair<std::string, Variant>>& attributes) {}
  virtual std::string PSGetQuoteChar() { return "\""; }
  virtual std::unique_ptr<EUpdateError> PSGetUpdateException(const std::exception& error,
                                                             const EUpdateError* previous);
  virtual bool PSIsSQLBased() { return false; }
  virtual bool PSIsSQLSupported() { return false; }
  virtual void PSReset() {}
  // True when the update was applied.
  virtual bool PSUpdateRecord(TUpdateKind kind, TDataSet* delta) { return false; }
  virtual std::string PSGetTableName() { return {}; }
  virtual std::unique_ptr<TIndexDef> PSGetDefaultOrder() { return nullptr; }
  // The fields flagged pfInKey, joined by ";".
  virtual std::string PSGetKeyFields();
  virtual std::unique_ptr<TIndexDefs> PSGetIndexDefs(TIndexOptions types) { return nullptr; }
  virtual void PSSetParams(TParams* params) {}
  virtual void PSSetCommandText(const std::string& text) {}

  // ---- Field data (public because fields and descendants' helpers call them).
  // Descendant: the field's native value of the current state's record; a null
  // buffer only asks whether there is a value. False when null.
  virtual bool GetFieldData(TField* field, void* buffer) { return false; }
  // Descendant: stores a native value (null buffer: null) into the current
  // state's record, validating it and announcing the change.
  virtual void SetFieldData(TField* field, const void* buffer) = 0;
  // Converts between a field's native form and its value form (TDateTime for
  // dates and times, std::u16string for wide strings, TSQLTimeStamp for time
  // stamps); other types copy.
  virtual void DataConvert(TField* field, const void* source, void* dest, bool to_native);
  // Answers whether `field` belongs to the active index.
  virtual bool GetIsIndexField(TField* field) { return false; }

  // Tells data sources and links about an event; `info` is the field of a
  // field change, the distance of a scroll.
  virtual void DataEvent(TDataEvent event, intptr_t info);

 protected:
  // ---- Opening and closing: OpenCursor calls InternalOpen, CloseCursor InternalClose.
  virtual void OpenCursor(bool info_query);
  virtual void CloseCursor();
  virtual void InternalOpen() = 0;   // descendant: opens, reads FieldDefs, creates and binds fields
  virtual void InternalClose() = 0;  // descendant: unbinds and (when default) destroys fields
  virtual bool IsCursorOpen() const = 0;
  virtual void InternalInitFieldDefs() = 0;
  // Fills FieldDefs: from the open cursor, else by opening it for information.
  virtual void InitFieldDefs();
  // Fills the index definitions of descendants that have them.
  virtual void UpdateIndexDefs() {}
  // Tells a descendant that a program changed its field or index definitions.
  virtual void DefChanged(TDefCollection* defs) {}

  // ---- Record buffers and bookmarks (descendant).
  virtual TRecordBuffer AllocRecordBuffer() = 0;
  virtual void FreeRecordBuffer(TRecordBuffer& buffer) = 0;
  virtual int GetRecordSize() = 0;
  virtual void InternalInitRecord(TRecordBuffer buffer) = 0;
  // Initialises a new record: InternalInitRecord, ClearCalcFields, flag inserted.
  virtual void InitRecord(TRecordBuffer buffer);
  virtual void ClearCalcFields(TRecordBuffer buffer) {}
  virtual void GetBookmarkData(TRecordBuffer buffer, TBookmark& data) = 0;
  virtual void SetBookmarkData(TRecordBuffer buffer, const TBookmark& data) = 0;
  virtual TBookmarkFlag GetBookmarkFlag(TRecordBuffer buffer) = 0;
  virtual void SetBookmarkFlag(TRecordBuffer buffer, TBookmarkFlag flag) = 0;
  // Bytes of a bookmark; descendants announce theirs when they open.
  int BookmarkSize() const { return bookmark_size_; }
  void SetBookmarkSize(int size) { bookmark_size_ = size; }

  // ---- Fetching and positioning (descendant).
  // Reads the record at, after or before the cursor into `buffer` and computes
  // its calculated fields (GetCalcFields). With do_check a failure raises.
  virtual TGetResult GetRecord(TRecordBuffer buffer, TGetMode mode, bool do_check) = 0;
  virtual void InternalFirst() = 0;  // cursor before the first record
  virtual void InternalLast() = 0;   // cursor after the last record
  virtual void InternalGotoBookmark(const TBookmark& bookmark) = 0;
  virtual void InternalSetToRecord(TRecordBuffer buffer) = 0;
  virtual int GetRecordCount() { return -1; }
  virtual int GetRecNo() { return -1; }

  // ---- Writing (descendant); the base refuses nothing.
  virtual bool GetCanModify() { return true; }
  virtual void InternalInsert() {}
  virtual void InternalEdit() {}
  virtual void InternalCancel() {}
  // The base checks that required fields have values ("Field '%s' must have a
  // value"); descendants that call it get the check.
  virtual void InternalPost();
  virtual void InternalAddRecord(TRecordBuffer buffer, bool append) = 0;
  virtual void InternalDelete() = 0;
  virtual void InternalRefresh() {}
  // Shows the exception being handled through the application object.
  virtual void InternalHandleException();
  virtual void DoOnNewRecord();

  // ---- Searching (descendant).
  virtual void SetFilterText(const std::string& text) { filter_text_ = text; }
  virtual bool FindRecord(bool restart, bool go_forward) { return false; }
  void SetFound(bool found) { found_ = found; }

  // ---- Services for descendants.
  void SetState(TDataSetState state);
  // Enters a temporary state (calculating, filtering...) and returns the one to restore.
  TDataSetState SetTempState(TDataSetState state);
  void RestoreState(TDataSetState state);
  int ActiveRecord() const { return active_record_; }
  // A spare buffer beside the window for a descendant's scratch reads.
  TRecordBuffer TempBuffer() const { return buffers_.empty() ? nullptr : buffers_[record_count_]; }
  // Reads the records again around the cursor's record (exact: it must still
  // exist; centre: it comes to the middle of the window).
  void Resync(TResyncMode mode);
  // Brings the cursor to the active record.
  void UpdateCursorPos();
  // Forgets which buffer the cursor stands on.
  void CursorPosChanged() { current_record_ = -1; }
  // Computes the calculated fields of `buffer` (OnCalcFields) in calc state.
  void GetCalcFields(TRecordBuffer buffer);
  void CreateFields();
  void DestroyFields();
  // Binds fields to FieldDefs by name (type and size must agree) and lays out
  // the calculated area; false unbinds.
  void BindFields(bool binding);
  // The calculated-area slot of `field` in `calc_area`: a presence byte, then the value.
  bool GetCalcFieldData(const TField* field, const uint8_t* calc_area, void* buffer) const;
  void SetCalcFieldData(const TField* field, uint8_t* calc_area, const void* buffer) const;
  void CheckActive() const;
  void CheckInactive() const;
  void SetModified(bool modified) { modified_ = modified; }
  // For a value written past SetData (through a BLOB stream): the field
  // counts as modified, as SetData in edit and insert state makes it.
  void SetFieldModified(TField* field);
  // Opens a dataset whose Active was set while it was being loaded.
  void Loaded() override;

 private:
  friend class TField;
  friend class TFields;
  friend class TDefCollection;
  friend class TFieldDefs;
  friend class TIndexDefs;
  friend class TDataSource;
  friend class TDataLink;

  // The record window (DataSetNavigation.cpp).
  void SetCurrentRecord(int index);
  bool GetNextRecord();
  bool GetPriorRecord();
  int GetNextRecords();
  int GetPriorRecords();
  void ClearBuffers();
  void ActivateBuffers();
  void MoveBuffer(int from, int to);
  void SetBufferCount(int count);
  void UpdateBufferCount();
  void FreeBuffers();

  void DoInternalOpen();
  void BeginInsertAppend();
  void EndInsertAppend();
  void CheckOperation(void (TDataSet::*operation)(), const TDataSetErrorEvent& on_error);
  void CheckRequiredFields();
  void FreeFieldBuffers();
  void UpdateCalcFields();
  void NotifyDataSources(TDataEvent event, intptr_t info);
  void AddDataSource(TDataSource* source);
  void RemoveDataSource(TDataSource* source);
  int MaxLinkBufferCount() const;
  static void Fire(const TDataSetNotifyEvent& event, TDataSet* dataset);

  bool GetFieldDataAs(TField* field, void* buffer, bool native);
  void SetFieldDataAs(TField* field, const void* buffer, bool native);

  TDataSetState state_ = dsInactive;
  TDataSetState disable_state_ = dsInactive;
  int disable_count_ = 0;
  bool bof_ = true;
  bool eof_ = true;
  bool modified_ = false;
  bool found_ = false;
  bool default_fields_ = false;
  bool auto_calc_fields_ = true;
  bool filtered_ = false;
  bool streamed_active_ = false;
  std::string filter_text_;
  TFilterOptions filter_options_;
  TFilterRecordEvent on_filter_record_;
  int bookmark_size_ = 0;
  int calc_fields_size_ = 0;

  // The window: buffer_count_ + 1 buffers; the last is the spare.
  std::vector<TRecordBuffer> buffers_;
  int buffer_count_ = 0;
  int record_count_ = 0;
  int active_record_ = 0;
  int current_record_ = -1;
  TRecordBuffer calc_buffer_ = nullptr;

  TFields fields_;
  TFieldDefs field_defs_;
  std::vector<TDataSource*> data_sources_;
};
