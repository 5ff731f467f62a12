// The active index's field list and the key buffers of TVTRDataSet, which
// every open and every index change prepares afresh.
#include <algorithm>
#include <cstring>

#include "engine/access/DataSet.h"
#include "engine/access/KeyBuffer.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/VTRMemory.h"
#include "engine/storage/pager/ByteOrder.h"
#include "platform/db/Field.h"

TVTRKeyInfo ReadKeyInfo(const uint8_t* key, int32_t record_size) {
  const uint8_t* info = key + record_size;
  return {info[0] != 0, info[1] != 0, LoadI32(info + 2)};
}

void WriteKeyInfo(const TVTRKeyInfo& info, uint8_t* key, int32_t record_size) {
  uint8_t* out = key + record_size;
  out[0] = info.Modified ? 1 : 0;
  out[1] = info.Exclusive ? 1 : 0;
  StoreI32(out + 2, info.FieldCount);
}

void TVTRDataSet::ReadIndexFieldList() {
  index_fields_.clear();
  TVTRCursor& cursor = *cursor_;
  if (cursor.IndexName.empty()) return;
  const TVTRIndexDef* index = cursor.GetIndexDefs().GetIndexDefByName(cursor.IndexName);
  if (index == nullptr) throw EVTRException::CreateFmt(10325, "Cannot find index %s", cursor.IndexName);
  for (const TVTRIndexColumn& column : index->Columns)
    index_fields_.push_back(static_cast<int16_t>(cursor.TableFieldDefs.IndexOf(column.FieldName) + 1));
}

bool TVTRDataSet::GetIsIndexField(TField* field) {
  return field->FieldNo() > 0 && std::ranges::find(index_fields_, field->FieldNo()) != index_fields_.end();
}

void TVTRDataSet::InitKeyBuffer(uint8_t* key) {
  cursor_->InitRecordBuffer(key);
}

void TVTRDataSet::FreeKeyBuffers() {
  for (uint8_t*& key : key_buffers_) {
    if (key != nullptr) EngineMemoryManager().FreeAndNillMem(key);
  }
  key_buffer_ = nullptr;
}

bool TVTRDataSet::ResetCursorRange() {
  if (!cursor_) throw EVTRException(10287, "Nil pointer occured");
  TVTRCursor& cursor = *cursor_;
  const bool active = ReadKeyInfo(key_buffers_[kiCurRangeStart], cursor.RecordSize).Modified ||
                      ReadKeyInfo(key_buffers_[kiCurRangeEnd], cursor.RecordSize).Modified;
  if (active) {
    InitKeyBuffer(key_buffers_[kiCurRangeStart]);
    InitKeyBuffer(key_buffers_[kiCurRangeEnd]);
  }
  cursor.CancelRange();
  return active;
}
