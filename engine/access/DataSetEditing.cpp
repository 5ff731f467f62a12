// The write side of TVTRDataSet: how the dataset layer's insert, edit, post,
// cancel and delete reach the cursor, the old image of an edited record that
// the cursor's conflict check compares with, and the cursor's result codes
// raised as EVTREngineError.
#include "engine/access/DataSet.h"
#include "engine/access/EngineError.h"
#include "engine/access/ErrorMessage.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/storage/base/ResultCodes.h"

namespace {

constexpr const char* kNilPointer = "Nil pointer occured";
constexpr const char* kNotOpened = "Dataset is not opened";
constexpr const char* kNotEditing = "Dataset is not in insert or edit mode";
constexpr const char* kReadOnly = "Dataset is in read only mode";

}  // namespace

void TVTRDataSet::CheckCursorResult() const {
  if (cursor_->LastResult != kResultOK) throw EVTREngineError(cursor_->LastResult, cursor_->LastErrorText);
}

bool TVTRDataSet::GetCanModify() {
  return TDataSet::GetCanModify() && !read_only_;
}

void TVTRDataSet::InternalInsert() {
  if (!read_only_ && cursor_) cursor_->Insert();
}

void TVTRDataSet::InternalEdit() {
  if (read_only_) return;
  TVTRCursor& cursor = CheckedCursor(10065);
  const TRecordBuffer active = ActiveBuffer();
  if (active == nullptr) throw EVTRException(10067, kNilPointer);
  try {
    old_record_.assign(active, active + GetRecordSize());
    cursor.CurrentRecord = active;
    cursor.Edit();
    CheckCursorResult();
  } catch (...) {
    old_record_.clear();
    throw;
  }
}

void TVTRDataSet::InternalCancel() {
  TVTRCursor& cursor = CheckedCursor(10066);
  old_record_.clear();
  cursor.CurrentRecord = CurrentRecordBuffer();
  cursor.Cancel(State() == dsInsert);
  CheckCursorResult();
}

void TVTRDataSet::InternalPost() {
  if (!Active()) throw EVTRException(10029, kNotOpened);
  if (!IsEditState(State())) throw EVTRException(10030, kNotEditing);
  if (read_only_) throw EVTRException(10032, kReadOnly);
  TVTRCursor& cursor = CheckedCursor(10048);
  const bool editing = State() == dsEdit;
  cursor.CurrentRecord = CurrentRecordBuffer();
  // A failed post keeps the old image, so that a retry compares with the
  // record as it was when editing started.
  cursor.OldRecord = editing && !old_record_.empty() ? old_record_.data() : nullptr;
  try {
    cursor.Post(!editing);
  } catch (...) {
    cursor.OldRecord = nullptr;
    throw;
  }
  cursor.OldRecord = nullptr;
  if (editing && cursor.LastResult == kResultOK) old_record_.clear();
  CheckCursorResult();
}

void TVTRDataSet::InternalDelete() {
  if (!Active()) throw EVTRException(10068, kNotOpened);
  if (read_only_) throw EVTRException(10069, kReadOnly);
  TVTRCursor& cursor = CheckedCursor(10070);
  const TRecordBuffer active = ActiveBuffer();
  if (active == nullptr) throw EVTRException(10071, kNilPointer);
  cursor.CurrentRecord = active;
  cursor.Delete();
  CheckCursorResult();
}

void TVTRDataSet::InternalAddRecord(TRecordBuffer buffer, bool append) {
  if (!Active()) throw EVTRException(10075, kNotOpened);
  if (State() != dsInsert) throw EVTRException(10076, kNotEditing);
  if (read_only_) throw EVTRException(10077, kReadOnly);
  TVTRCursor& cursor = CheckedCursor(10078);
  // The engine places the record by its indexes; `append` changes nothing.
  cursor.CurrentRecord = buffer;
  cursor.Post(true);
  CheckCursorResult();
}

void TVTRDataSet::InternalRefresh() {
  // The cursor reads the shared table data on every fetch: re-reading the
  // buffers shows the table as it is now.
  if (Active()) DataEvent(deDataSetChange, 0);
}

void TVTRDataSet::InternalHandleException() {
  HandleEngineException(this);
}
