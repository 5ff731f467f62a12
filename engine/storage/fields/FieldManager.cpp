#include "engine/storage/fields/FieldManager.h"

#include <cstring>
#include <limits>

#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/VTRTypes.h"
#include "engine/storage/pager/ByteOrder.h"

namespace {

struct ValueRange {
  int64_t min;
  int64_t max;
};

// The values a field of the base type can hold; the whole 64-bit range for
// types that are not integers.
ValueRange RangeOfType(TVTRBaseDataType type) {
  switch (type) {
    case bdtShortInt:
      return {std::numeric_limits<int8_t>::min(), std::numeric_limits<int8_t>::max()};
    case bdtSmallInt:
      return {std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()};
    case bdtInteger:
      return {std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()};
    case bdtByte:
      return {0, std::numeric_limits<uint8_t>::max()};
    case bdtWord:
      return {0, std::numeric_limits<uint16_t>::max()};
    case bdtCardinal:
      return {0, std::numeric_limits<uint32_t>::max()};
    default:
      return {std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max()};
  }
}

bool IsSignedIntegerType(TVTRBaseDataType type) {
  return type == bdtShortInt || type == bdtSmallInt || type == bdtInteger || type == bdtLargeInt;
}

// The integer a field holds: `size` little-endian bytes, sign-extended for
// the signed types.
int64_t ReadInteger(const uint8_t* field, int32_t size, TVTRBaseDataType type) {
  uint64_t value = 0;
  for (int32_t i = size - 1; i >= 0; --i) value = value << 8 | field[i];
  if (IsSignedIntegerType(type) && size < 8 && (value >> (8 * size - 1)) & 1)
    value |= ~uint64_t{0} << (8 * size);
  return static_cast<int64_t>(value);
}

void WriteInteger(uint8_t* field, int32_t size, int64_t value) {
  for (int32_t i = 0; i < size; ++i) field[i] = static_cast<uint8_t>(static_cast<uint64_t>(value) >> (8 * i));
}

bool IsNull(const uint8_t* record, int32_t field_no) {
  return GetBufferBit(field_no, record);
}

[[noreturn]] void RaiseInvalidCounters() {
  throw EVTRException(20164, "Invalid table header data");
}

}  // namespace

void TVTRBaseFieldManager::DefineFields(const TVTRFieldDefs& defs) {
  for (int32_t i = 0; i < defs.GetCount(); ++i) {
    const TVTRFieldDef& field = defs.GetFieldDef(i);
    if (!field.DefaultValue.IsNull() && field.DefaultValue.Size() > field.MemoryDataSize)
      throw EVTRException(20056, "Buffer size exceeded");
  }
  FieldDefs.Assign(defs);
  CalcOffsets();
  InitAutoincValues();
}

void TVTRBaseFieldManager::LoadMetadata(TStream& stream) {
  FieldDefs.LoadFromStream(stream);
  CalcOffsets();
  InitAutoincValues();
}

void TVTRBaseFieldManager::CalcOffsets() {
  FieldDefs.CalcOffsets();
  const int32_t flag_bytes = FieldDefs.GetNullFlagsSize();
  copy_runs_.clear();
  if (flag_bytes > 0) copy_runs_.push_back({0, 0, flag_bytes});
  runs_cover_record_ = true;
  for (int32_t i = 0; i < FieldDefs.GetCount(); ++i) {
    const TVTRFieldDef& field = FieldDefs.GetFieldDef(i);
    CopyRun& last = copy_runs_.back();
    if (last.memory_offset + last.length == field.MemoryOffset &&
        last.disk_offset + last.length == field.DiskOffset)
      last.length += field.DiskDataSize;
    else
      copy_runs_.push_back({field.MemoryOffset, field.DiskOffset, field.DiskDataSize});
    runs_cover_record_ = runs_cover_record_ && field.DiskDataSize == field.MemoryDataSize;
  }
}

void TVTRBaseFieldManager::InitAutoincValues() {
  AutoincValues.assign(FieldDefs.GetCount(), 0);
  for (int32_t i = 0; i < FieldDefs.GetCount(); ++i) {
    const TVTRFieldDef& field = FieldDefs.GetFieldDef(i);
    if (IsAutoincAdvancedType(field.DataType)) AutoincValues[i] = field.AutoincInitialValue;
  }
}

int32_t TVTRBaseFieldManager::GetAutoincValuesSize() const {
  return kAutoincCountSize + kAutoincValueSize * static_cast<int32_t>(AutoincValues.size());
}

void TVTRBaseFieldManager::SaveAutoincValues(std::span<uint8_t> buffer, int32_t& offset) const {
  if (offset < 0 || int64_t{offset} + GetAutoincValuesSize() > static_cast<int64_t>(buffer.size()))
    RaiseInvalidCounters();
  uint8_t* p = buffer.data() + offset;
  StoreI32(p, static_cast<int32_t>(AutoincValues.size()));
  p += kAutoincCountSize;
  for (int64_t value : AutoincValues) {
    StoreU64(p, static_cast<uint64_t>(value));
    p += kAutoincValueSize;
  }
  offset += GetAutoincValuesSize();
}

void TVTRBaseFieldManager::LoadAutoincValues(std::span<const uint8_t> buffer, int32_t& offset) {
  const int64_t left = static_cast<int64_t>(buffer.size()) - offset;
  if (offset < 0 || left < kAutoincCountSize) RaiseInvalidCounters();
  const uint8_t* p = buffer.data() + offset;
  const int32_t count = LoadI32(p);
  if (count < 0 || kAutoincCountSize + int64_t{kAutoincValueSize} * count > left) RaiseInvalidCounters();
  p += kAutoincCountSize;
  AutoincValues.resize(count);
  for (int64_t& value : AutoincValues) {
    value = static_cast<int64_t>(LoadU64(p));
    p += kAutoincValueSize;
  }
  offset += GetAutoincValuesSize();
}

void TVTRBaseFieldManager::MemoryToDiskRecord(const uint8_t* record, uint8_t* stored) const {
  for (const CopyRun& run : copy_runs_)
    std::memcpy(stored + run.disk_offset, record + run.memory_offset, run.length);
}

void TVTRBaseFieldManager::DiskToMemoryRecord(const uint8_t* stored, uint8_t* record) const {
  if (!runs_cover_record_) std::memset(record, 0, FieldDefs.GetRecordBufferSize());
  for (const CopyRun& run : copy_runs_)
    std::memcpy(record + run.memory_offset, stored + run.disk_offset, run.length);
}

bool TVTRBaseFieldManager::RecordsEqual(const uint8_t* a, const uint8_t* b) const {
  for (const CopyRun& run : copy_runs_)
    if (std::memcmp(a + run.memory_offset, b + run.memory_offset, run.length) != 0) return false;
  return true;
}

bool TVTRBaseFieldManager::HasBlobFields() const {
  for (int32_t i = 0; i < FieldDefs.GetCount(); ++i) {
    const TVTRFieldDef& field = FieldDefs.GetFieldDef(i);
    if (!IsBlobBaseType(field.BaseType)) continue;
    if (field.BlobBlockSize <= 0)
      throw EVTRException::CreateFmt(10421, "BLOB block size should be > 0 for field %s", field.Name);
    return true;
  }
  return false;
}

void TVTRBaseFieldManager::ApplyDefaults(uint8_t* record) const {
  for (int32_t i = 0; i < FieldDefs.GetCount(); ++i) {
    const TVTRFieldDef& field = FieldDefs.GetFieldDef(i);
    if (field.DefaultValue.IsNull()) continue;
    field.DefaultValue.CopyToBuffer(record + field.MemoryOffset, field.MemoryDataSize);
    SetBufferBit(false, i, record);
  }
}

void TVTRBaseFieldManager::ApplyAutoincs(TVTRBaseSession& session, uint8_t* record) {
  for (int32_t i = 0; i < FieldDefs.GetCount(); ++i) {
    const TVTRFieldDef& field = FieldDefs.GetFieldDef(i);
    if (!IsAutoincAdvancedType(field.DataType)) continue;
    uint8_t* data = record + field.MemoryOffset;
    if (IsNull(record, i)) {
      WriteInteger(data, field.MemoryDataSize, NextAutoincValue(session, i));
      SetBufferBit(false, i, record);
    } else {
      UpdateAutoincIfGreater(session, i, ReadInteger(data, field.MemoryDataSize, field.BaseType));
    }
  }
}

int64_t TVTRBaseFieldManager::GetNextAutoincValue(int32_t field_no) {
  CheckFieldNo(field_no);
  const TVTRFieldDef& field = FieldDefs.GetFieldDef(field_no);
  const ValueRange range = RangeOfType(field.BaseType);
  const int64_t step = field.AutoincIncrement == 0 ? 1 : field.AutoincIncrement;
  int64_t& counter = AutoincValues[field_no];
  int64_t next;
  bool exceeded = __builtin_add_overflow(counter, step, &next);
  if (!exceeded) {
    counter = next;
    exceeded =
        (field.AutoincMaxValue != 0 && next > field.AutoincMaxValue) || next < range.min || next > range.max;
  }
  if (exceeded) {
    const int64_t restart = field.AutoincMinValue;
    if (!field.AutoincCycled || restart < range.min || restart > range.max)
      throw EVTRException::CreateFmt(20160, "Autoinc max value exceeded for field '%s'", field.Name);
    counter = restart;
  }
  return counter;
}

int64_t TVTRBaseFieldManager::NextAutoincValue(TVTRBaseSession& session, int32_t field_no) {
  const int64_t value = GetNextAutoincValue(field_no);
  RememberLastValue(session, field_no, value);
  return value;
}

int64_t TVTRBaseFieldManager::GetLastAutoincValue(const TVTRBaseSession& session, int32_t field_no) const {
  CheckFieldNo(field_no);
  const TVTRFieldDef& field = FieldDefs.GetFieldDef(field_no);
  const auto* last =
      dynamic_cast<const TVTRSessionNamedObjectSequenceValue*>(session.FindNamedObjectByID(field.ObjectID));
  if (!last)
    throw EVTRException::CreateFmt(
        30012, "No SequenceLastValue in session for sequence '%s'. Call GetNextVal first", field.Name);
  return last->LastValue;
}

void TVTRBaseFieldManager::UpdateAutoincIfGreater(TVTRBaseSession& session, int32_t field_no, int64_t value) {
  CheckFieldNo(field_no);
  if (value <= AutoincValues[field_no]) return;
  AutoincValues[field_no] = value;
  RememberLastValue(session, field_no, value);
}

void TVTRBaseFieldManager::CheckFieldNo(int32_t field_no) const {
  if (field_no < 0 || field_no >= FieldDefs.GetCount())
    throw EVTRException::CreateFmt(30402, "Field #%d not found", field_no);
  if (field_no >= static_cast<int32_t>(AutoincValues.size()))
    throw EVTRException::CreateFmt(30403, "Field #%d not found", field_no);
}

void TVTRBaseFieldManager::RememberLastValue(TVTRBaseSession& session, int32_t field_no,
                                             int64_t value) const {
  auto last = std::make_unique<TVTRSessionNamedObjectSequenceValue>();
  last->ObjectID = FieldDefs.GetFieldDef(field_no).ObjectID;
  last->LastValue = value;
  session.AddNamedObject(std::move(last));
}
