// Key search and ranges of TVTRTable: values go into the dataset's key
// buffers through the active index's fields (in set-key state), and the
// cursor searches or limits itself with those buffers.
#include <cstring>

#include "engine/access/KeyBuffer.h"
#include "engine/access/Table.h"
#include "platform/db/DatabaseError.h"
#include "platform/db/Field.h"

void TVTRTable::FillKeyBuffer(TVTRKeyIndex index, size_t count, bool modified,
                              const std::function<void(TField* field, size_t i)>& assign) {
  uint8_t* key = KeyBuffer(index);
  const TDataSetState saved_state = SetTempState(dsSetKey);
  try {
    InitKeyBuffer(key);
    SetEditedKeyBuffer(key);
    for (size_t i = 0; i < count; ++i) assign(IndexField(static_cast<int>(i)), i);
    WriteKeyInfo({modified || Modified(), false, static_cast<int32_t>(count)}, key, Handle()->RecordSize);
  } catch (...) {
    RestoreState(saved_state);
    throw;
  }
  RestoreState(saved_state);
}

void TVTRTable::SetKeyFields(TVTRKeyIndex index, const std::vector<Variant>& values) {
  if (!CheckedCursor(10289).HasIndex()) DatabaseError("No index currently active", this);
  FillKeyBuffer(index, values.size(), false, [&](TField* field, size_t i) { field->AssignValue(values[i]); });
}

void TVTRTable::SetLinkRanges(const std::vector<TField*>& master_fields) {
  CheckedCursor(10299);
  FillKeyBuffer(kiRangeStart, master_fields.size(), true,
                [&](TField* field, size_t i) { field->Assign(master_fields[i]); });
  std::memcpy(KeyBuffer(kiRangeEnd), KeyBuffer(kiRangeStart), static_cast<size_t>(Handle()->KeyBufferSize));
}

bool TVTRTable::FindKey(const std::vector<Variant>& values) {
  CheckBrowseMode();
  SetKeyFields(kiLookup, values);
  return GotoKey();
}

bool TVTRTable::GotoKey() {
  TVTRCursor& cursor = CheckedCursor(10290);
  CheckBrowseMode();
  if (BeforeScroll) BeforeScroll(this);
  CursorPosChanged();
  uint8_t* key = KeyBuffer(kiLookup);
  const int32_t field_count = ReadKeyInfo(key, cursor.RecordSize).FieldCount;
  cursor.SearchKey = key;
  cursor.SearchKeyFieldCount = field_count != 0 ? field_count : IndexFieldCount();
  if (!cursor.GotoKey(true)) return false;
  Resync({rmExact, rmCenter});
  if (AfterScroll) AfterScroll(this);
  return true;
}

void TVTRTable::EditKeyBuffer(TVTRKeyIndex index, bool clear) {
  const TVTRCursor& cursor = CheckedCursor(10286);
  CheckBrowseMode();
  uint8_t* key = KeyBuffer(index);
  std::memcpy(KeyBuffer(kiSave), key, static_cast<size_t>(cursor.KeyBufferSize));
  if (clear) InitKeyBuffer(key);
  SetEditedKeyBuffer(key);
  SetState(dsSetKey);
  SetModified(ReadKeyInfo(key, cursor.RecordSize).Modified);
  DataEvent(deDataSetChange, 0);
}

void TVTRTable::EndKeyEditing(bool commit) {
  const TVTRCursor& cursor = CheckedCursor(10288);
  DataEvent(deCheckBrowseMode, 0);
  uint8_t* key = CurrentRecordBuffer();
  if (commit) {
    TVTRKeyInfo info = ReadKeyInfo(key, cursor.RecordSize);
    info.Modified = Modified();
    WriteKeyInfo(info, key, cursor.RecordSize);
  } else {
    std::memcpy(key, KeyBuffer(kiSave), static_cast<size_t>(cursor.KeyBufferSize));
  }
  SetState(dsBrowse);
  DataEvent(deDataSetChange, 0);
}

void TVTRTable::Post() {
  TVTRDataSet::Post();
  if (State() == dsSetKey) EndKeyEditing(true);
}

bool TVTRTable::SetCursorRange() {
  TVTRCursor& cursor = CheckedCursor(10296);
  const auto size = static_cast<size_t>(cursor.KeyBufferSize);
  uint8_t* start = KeyBuffer(kiRangeStart);
  uint8_t* end = KeyBuffer(kiRangeEnd);
  uint8_t* current_start = KeyBuffer(kiCurRangeStart);
  uint8_t* current_end = KeyBuffer(kiCurRangeEnd);
  if (std::memcmp(start, current_start, size) == 0 && std::memcmp(end, current_end, size) == 0) return false;
  std::memcpy(current_start, start, size);
  std::memcpy(current_end, end, size);
  // The cursor keeps the current-range copies, which change only with the
  // range itself, never while a new range is being edited.
  const TVTRKeyInfo low = ReadKeyInfo(current_start, cursor.RecordSize);
  const TVTRKeyInfo high = ReadKeyInfo(current_end, cursor.RecordSize);
  cursor.SetRange(current_start, current_end, low.FieldCount != 0 ? low.FieldCount : IndexFieldCount(),
                  high.FieldCount != 0 ? high.FieldCount : IndexFieldCount(), low.Exclusive, high.Exclusive);
  return true;
}

void TVTRTable::ApplyRange() {
  CheckBrowseMode();
  if (SetCursorRange()) First();
}

void TVTRTable::CancelRange() {
  CheckBrowseMode();
  UpdateCursorPos();
  if (ResetCursorRange()) Resync({});
}
