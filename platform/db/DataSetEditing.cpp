// Insert, edit, post, cancel and delete, and the guard around the writing operations.
#include "platform/db/DBConsts.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/rtl/Format.h"

void TDataSet::CheckOperation(void (TDataSet::*operation)(), const TDataSetErrorEvent& on_error) {
  for (;;) {
    try {
      UpdateCursorPos();
      (this->*operation)();
      return;
    } catch (EDatabaseError& error) {
      TDataAction action = daFail;
      if (on_error) on_error(this, error, action);
      if (action == daFail) throw;
      if (action == daAbort) throw EAbort();
    }
  }
}

void TDataSet::BeginInsertAppend() {
  CheckBrowseMode();
  if (!CanModify()) DatabaseError(SDataSetReadOnly, this);
  Fire(BeforeInsert, this);
  Fire(BeforeScroll, this);
}

void TDataSet::EndInsertAppend() {
  SetState(dsInsert);
  try {
    DoOnNewRecord();
  } catch (...) {
    UpdateCursorPos();
    FreeFieldBuffers();
    SetState(dsBrowse);
    Resync({});
    throw;
  }
  modified_ = false;
  DataEvent(deDataSetChange, 0);
  Fire(AfterInsert, this);
  Fire(AfterScroll, this);
}

void TDataSet::Insert() {
  BeginInsertAppend();
  const TBookmark before = GetBookmark();
  MoveBuffer(record_count_, active_record_);
  CursorPosChanged();
  TRecordBuffer buffer = ActiveBuffer();
  InitRecord(buffer);
  // The new record stands before the one that was active.
  if (record_count_ == 0) {
    SetBookmarkFlag(buffer, bfBOF);
  } else {
    SetBookmarkData(buffer, before);
  }
  if (record_count_ < buffer_count_) ++record_count_;
  InternalInsert();
  EndInsertAppend();
}

void TDataSet::Append() {
  BeginInsertAppend();
  ClearBuffers();
  TRecordBuffer buffer = buffers_[0];
  InitRecord(buffer);
  SetBookmarkFlag(buffer, bfEOF);
  record_count_ = 1;
  bof_ = false;
  GetPriorRecords();
  InternalInsert();
  EndInsertAppend();
}

void TDataSet::InitRecord(TRecordBuffer buffer) {
  InternalInitRecord(buffer);
  ClearCalcFields(buffer);
  SetBookmarkFlag(buffer, bfInserted);
}

void TDataSet::Edit() {
  if (IsEditState(state_)) return;
  if (record_count_ == 0) {
    Insert();
    return;
  }
  CheckBrowseMode();
  if (!CanModify()) DatabaseError(SDataSetReadOnly, this);
  Fire(BeforeEdit, this);
  CheckOperation(&TDataSet::InternalEdit, OnEditError);
  GetCalcFields(ActiveBuffer());
  SetState(dsEdit);
  DataEvent(deRecordChange, 0);
  Fire(AfterEdit, this);
}

void TDataSet::UpdateRecord() {
  if (!IsEditState(state_) && state_ != dsSetKey) DatabaseError(SNotEditing, this);
  DataEvent(deUpdateRecord, 0);
}

void TDataSet::Post() {
  UpdateRecord();
  if (!IsEditState(state_)) return;
  DataEvent(deCheckBrowseMode, 0);
  Fire(BeforePost, this);
  CheckOperation(&TDataSet::InternalPost, OnPostError);
  FreeFieldBuffers();
  SetState(dsBrowse);
  Resync({});
  Fire(AfterPost, this);
}

void TDataSet::InternalPost() {
  CheckRequiredFields();
}

void TDataSet::CheckRequiredFields() {
  for (TField* field : fields_) {
    if (field->Required() && !field->ReadOnly() && field->FieldKind() == fkData && field->IsNull()) {
      FocusField(field);
      DatabaseError(Format(SFieldRequired, field->DisplayName()));
    }
  }
}

void TDataSet::Cancel() {
  if (!IsEditState(state_)) return;
  DataEvent(deCheckBrowseMode, 0);
  Fire(BeforeCancel, this);
  const bool was_insert = state_ == dsInsert;
  if (was_insert) Fire(BeforeScroll, this);
  UpdateCursorPos();
  InternalCancel();
  FreeFieldBuffers();
  SetState(dsBrowse);
  Resync({});
  Fire(AfterCancel, this);
  if (was_insert) Fire(AfterScroll, this);
}

void TDataSet::Delete() {
  CheckActive();
  if (state_ == dsInsert) {
    Cancel();
    return;
  }
  if (record_count_ == 0) DatabaseError(SDataSetEmpty, this);
  if (!CanModify()) DatabaseError(SDataSetReadOnly, this);
  DataEvent(deCheckBrowseMode, 0);
  Fire(BeforeDelete, this);
  Fire(BeforeScroll, this);
  CheckOperation(&TDataSet::InternalDelete, OnDeleteError);
  FreeFieldBuffers();
  SetState(dsBrowse);
  Resync({});
  Fire(AfterDelete, this);
  Fire(AfterScroll, this);
}

void TDataSet::Refresh() {
  Fire(BeforeRefresh, this);
  CheckBrowseMode();
  UpdateCursorPos();
  InternalRefresh();
  Resync({});
  Fire(AfterRefresh, this);
}

void TDataSet::CheckBrowseMode() {
  CheckActive();
  DataEvent(deCheckBrowseMode, 0);
  switch (state_) {
    case dsEdit:
    case dsInsert:
      UpdateRecord();
      modified_ ? Post() : Cancel();
      break;
    case dsSetKey:
      Post();
      break;
    default:
      break;
  }
}

void TDataSet::ClearFields() {
  if (!IsEditState(state_)) DatabaseError(SNotEditing, this);
  DataEvent(deCheckBrowseMode, 0);
  FreeFieldBuffers();
  InternalInitRecord(ActiveBuffer());
  GetCalcFields(ActiveBuffer());
  DataEvent(deRecordChange, 0);
}

void TDataSet::FocusField(TField* field) {
  DataEvent(deFocusControl, reinterpret_cast<intptr_t>(&field));
}
