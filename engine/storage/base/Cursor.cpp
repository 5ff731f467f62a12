#include "engine/storage/base/Cursor.h"

#include <cstring>

#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/VTRMemory.h"
#include "engine/foundation/VTRTypes.h"
#include "engine/storage/base/RecordFields.h"
#include "platform/rtl/TextCase.h"

namespace {

constexpr const char* kInvalidFieldNumber = "Invalid field number - FieldNo = %d, FieldCount = %d";

void CheckFieldNo(int32_t field_no, const TVTRFieldDefs& defs, int32_t code) {
  if (field_no < 0 || field_no >= defs.GetCount())
    throw EVTRException::CreateFmt(code, kInvalidFieldNumber, field_no, defs.GetCount());
}

}  // namespace

void TVTRCursor::RenameField(std::string_view old_name, std::string_view new_name) {
  TVTRFieldDef* field = TableFieldDefs.GetFieldDefByName(old_name);
  if (!field) throw EVTRException::CreateFmt(30345, "Field '%s' not found", old_name);
  if (TableFieldDefs.IndexOf(new_name) >= 0)
    throw EVTRException::CreateFmt(30346, "Cannot rename field '%s'. Field '%s' already exists", old_name,
                                   new_name);
  field->Name = new_name.substr(0, kMaxShortStringLength);
}

void TVTRCursor::FreeRecordBuffer(uint8_t*& record) {
  EngineMemoryManager().FreeAndNillMem(record);
}

void TVTRCursor::SetIndexName(std::string_view index_name) {
  IndexName = index_name;
  const TVTRIndexDef* index = IndexDefs.GetIndexDefByName(index_name);
  const int32_t index_id = index ? index->ObjectID : -1;
  // The bitmap's positions belong to the order it was filled in.
  if (index_id != IndexID) ClearRecordBitmap();
  IndexID = index_id;
}

const TVTRFieldDef& TVTRCursor::ResolveField(int32_t field_no, bool by_table_field, int32_t table_code,
                                             int32_t cursor_code, int32_t& table_field_no) const {
  if (by_table_field) {
    CheckFieldNo(field_no, TableFieldDefs, table_code);
    table_field_no = field_no;
  } else {
    CheckFieldNo(field_no, FieldDefs, cursor_code);
    table_field_no = FieldDefs.GetFieldDef(field_no).FieldNo;
    CheckFieldNo(table_field_no, TableFieldDefs, cursor_code);
  }
  return TableFieldDefs.GetFieldDef(table_field_no);
}

bool TVTRCursor::GetFieldData(int32_t field_no, void* destination, const uint8_t* record) const {
  int32_t table_field_no;
  ResolveField(field_no, false, 10005, 10005, table_field_no);
  return ReadFieldFromRecord(table_field_no, TableFieldDefs, destination, record);
}

void TVTRCursor::SetFieldData(int32_t field_no, const void* source, uint8_t* record) const {
  int32_t table_field_no;
  ResolveField(field_no, false, 10006, 10006, table_field_no);
  WriteFieldToRecord(table_field_no, TableFieldDefs, source, record);
}

void TVTRCursor::GetFieldValue(TVTRVariant& value, int32_t field_no, bool by_table_field) const {
  int32_t table_field_no;
  const TVTRFieldDef& field = ResolveField(field_no, by_table_field, 20191, 10317, table_field_no);
  if (GetBufferBit(table_field_no, CurrentRecord))
    value.Clear(field.BaseType);
  else
    value.SetBuffer(CurrentRecord + field.MemoryOffset, field.MemoryDataSize, field.BaseType,
                    TVTRBufferMode::Copy);
}

void TVTRCursor::SetFieldValue(TVTRVariant& value, int32_t field_no, bool by_table_field,
                               uint8_t* record) const {
  int32_t table_field_no;
  const TVTRFieldDef& field = ResolveField(field_no, by_table_field, 20192, 20193, table_field_no);
  if (!record) record = CurrentRecord;
  if (value.IsNull()) {
    SetBufferBit(true, table_field_no, record);
    return;
  }
  value.CastTo(field.BaseType);
  if (value.Size() > field.MemoryDataSize) throw EVTRException(20056, "Buffer size exceeded");
  // A shorter value must not leave the tail of the one before it behind.
  std::memset(record + field.MemoryOffset, 0, field.MemoryDataSize);
  value.CopyToBuffer(record + field.MemoryOffset, field.MemoryDataSize);
  SetBufferBit(false, table_field_no, record);
}

uint8_t* TVTRCursor::AllocRecordBuffer() const {
  return static_cast<uint8_t*>(EngineMemoryManager().AllocMem(RecordBufferSize));
}

uint8_t* TVTRCursor::AllocKeyBuffer() const {
  return static_cast<uint8_t*>(EngineMemoryManager().GetMem(KeyBufferSize));
}

void TVTRCursor::InitRecordBuffer(uint8_t* buffer) {
  std::memset(buffer, 0, KeyBufferSize);
  InitRecord(buffer, false);
}

void TVTRCursor::CalcSizeFields() {
  const int32_t count = TableFieldDefs.GetCount();
  NullFlagsSize = count == 0 ? 0 : TableFieldDefs.GetFieldDef(0).MemoryOffset;
  if (count == 0) {
    RecordSize = 0;
  } else {
    const TVTRFieldDef& last = TableFieldDefs.GetFieldDef(count - 1);
    RecordSize = last.MemoryOffset + last.MemoryDataSize;
  }
  RecordBufferSize = RecordSize + kRecordTrailerSize;
  RecordCompareSize = RecordBufferSize;
  CalcFieldsOffset = RecordBufferSize;
  KeyBufferSize = RecordSize + kKeyTrailerSize;
}

void TVTRCursor::RestorePosition(const TVTRCursorPosition& position) {
  Bof = position.Bof;
  Eof = position.Eof;
  CurrentRecordID = position.CurrentRecordID;
}

void TVTRCursor::ClearRecordBitmap() {
  if (RecordBitmap) RecordBitmap->Reset();
}

void TVTRCursor::SetProjection(const TStringList& field_names, const TStringList& output_names) {
  if (field_names.Count() != output_names.Count())
    throw EVTRException::CreateFmt(10321, "Error - different lists length. L1 = %d, L2 = %d",
                                   field_names.Count(), output_names.Count());
  if (field_names.Count() == 0)
    throw EVTRException(10322, "No fields were specified while setting projection");
  // A refused projection leaves the visible fields as they were.
  for (int32_t i = 0; i < field_names.Count(); ++i) {
    if (TableFieldDefs.IndexOf(field_names[i]) < 0)
      throw EVTRException::CreateFmt(10323, "Cannot find field %s", field_names[i]);
  }
  FieldDefs.Clear();
  for (int32_t i = 0; i < field_names.Count(); ++i) {
    const int32_t source = TableFieldDefs.IndexOf(field_names[i]);
    TVTRFieldDef& entry = FieldDefs.AddFieldDef();
    entry.Assign(TableFieldDefs.GetFieldDef(source));
    entry.FieldNo = source;
    if (output_names[i].empty()) continue;
    const auto taken = [&](const std::string& name) {
      for (int32_t j = 0; j < i; ++j)
        if (SameText(FieldDefs.GetFieldDef(j).Name, name)) return true;
      return false;
    };
    std::string name = output_names[i];
    for (int32_t suffix = 1; taken(name) && suffix <= field_names.Count(); ++suffix)
      name = output_names[i] + "_" + std::to_string(suffix);
    entry.Name = name.substr(0, kMaxShortStringLength);
  }
}

void TVTRCursor::SetRange(uint8_t* low_key, uint8_t* high_key, int32_t low_field_count,
                          int32_t high_field_count, bool low_exclusive, bool high_exclusive) {
  RangeLowKey = low_key;
  RangeHighKey = high_key;
  RangeLowFieldCount = low_field_count;
  RangeHighFieldCount = high_field_count;
  RangeLowExclusive = low_exclusive;
  RangeHighExclusive = high_exclusive;
  ClearRecordBitmap();
}

void TVTRCursor::CancelRange() {
  RangeLowKey = nullptr;
  RangeHighKey = nullptr;
  ClearRecordBitmap();
}

void TVTRCursor::SetFilterExpression(TVTRExpression* expression, TVTRAO* outer_ao, TVTRCursor* outer_cursor) {
  SearchExpression = expression;
  if (expression) expression->AssignCursor(*this, outer_ao, outer_cursor);
  ClearRecordBitmap();
}
