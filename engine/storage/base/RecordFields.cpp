#include "engine/storage/base/RecordFields.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/VTRTypes.h"

namespace {

constexpr const char* kInvalidFieldNumber = "Invalid field number - FieldNo = %d, FieldCount = %d";

void CheckFieldNo(int32_t field_no, const TVTRFieldDefs& defs, int32_t code) {
  if (field_no < 0 || field_no >= defs.GetCount())
    throw EVTRException::CreateFmt(code, kInvalidFieldNumber, field_no, defs.GetCount());
}

template <typename To, typename From>
void Widen(const uint8_t* stored, void* exchanged) {
  From value;
  std::memcpy(&value, stored, sizeof value);
  const To wide = static_cast<To>(value);
  std::memcpy(exchanged, &wide, sizeof wide);
}

template <typename From, typename To>
void Narrow(const void* exchanged, uint8_t* stored) {
  From value;
  std::memcpy(&value, exchanged, sizeof value);
  const To narrow = static_cast<To>(value);
  std::memcpy(stored, &narrow, sizeof narrow);
}

// Copies zero-terminated text of `unit`-byte characters into a field of
// `size` bytes, stopping at the terminator or where only the terminator's
// room is left; the rest of the field is zeroed.
void CopyText(const void* source, uint8_t* field, int32_t size, int32_t unit) {
  const auto* text = static_cast<const uint8_t*>(source);
  int32_t length = 0;
  while (length + unit < size &&
         std::any_of(text + length, text + length + unit, [](uint8_t b) { return b; }))
    length += unit;
  std::memcpy(field, text, length);
  std::memset(field + length, 0, size - length);
}

bool IsEmptyText(TVTRAdvancedDataType type, const void* source) {
  const auto* text = static_cast<const uint8_t*>(source);
  switch (type) {
    case adtChar:
    case adtString:
    case adtGuid:
      return text[0] == 0;
    case adtWideChar:
    case adtWideString:
      return text[0] == 0 && text[1] == 0;
    default:
      return false;
  }
}

}  // namespace

bool ReadFieldFromRecord(int32_t field_no, const TVTRFieldDefs& defs, void* destination,
                         const uint8_t* record) {
  CheckFieldNo(field_no, defs, 10000);
  if (GetBufferBit(field_no, record)) return false;
  const TVTRFieldDef& field = defs.GetFieldDef(field_no);
  if (!destination || IsBlobAdvancedType(field.DataType)) return true;
  const uint8_t* data = record + field.MemoryOffset;
  switch (field.DataType) {
    case adtShortInt:
      Widen<int16_t, int8_t>(data, destination);
      break;
    case adtByte:
      Widen<uint16_t, uint8_t>(data, destination);
      break;
    case adtCardinal:
      Widen<int64_t, uint32_t>(data, destination);
      break;
    case adtAutoIncShortInt:
      Widen<int32_t, int8_t>(data, destination);
      break;
    case adtAutoIncSmallInt:
      Widen<int32_t, int16_t>(data, destination);
      break;
    case adtAutoIncByte:
      Widen<int32_t, uint8_t>(data, destination);
      break;
    case adtAutoIncWord:
      Widen<int32_t, uint16_t>(data, destination);
      break;
    case adtSingle:
      Widen<double, float>(data, destination);
      break;
    case adtExtended: {
      const double value = static_cast<double>(DecodeExtended(data));
      std::memcpy(destination, &value, sizeof value);
      break;
    }
    default:
      std::memcpy(destination, data, field.MemoryDataSize);
  }
  return true;
}

void WriteFieldToRecord(int32_t field_no, const TVTRFieldDefs& defs, const void* source, uint8_t* record) {
  CheckFieldNo(field_no, defs, 10004);
  const TVTRFieldDef& field = defs.GetFieldDef(field_no);
  if (!source || IsEmptyText(field.DataType, source)) {
    SetBufferBit(true, field_no, record);
    return;
  }
  SetBufferBit(false, field_no, record);
  uint8_t* data = record + field.MemoryOffset;
  switch (field.DataType) {
    case adtShortInt:
      Narrow<int16_t, int8_t>(source, data);
      break;
    case adtByte:
      Narrow<uint16_t, uint8_t>(source, data);
      break;
    case adtCardinal:
      Narrow<int64_t, uint32_t>(source, data);
      break;
    case adtAutoIncShortInt:
      Narrow<int32_t, int8_t>(source, data);
      break;
    case adtAutoIncSmallInt:
      Narrow<int32_t, int16_t>(source, data);
      break;
    case adtAutoIncByte:
      Narrow<int32_t, uint8_t>(source, data);
      break;
    case adtAutoIncWord:
      Narrow<int32_t, uint16_t>(source, data);
      break;
    case adtSingle: {
      double value;
      std::memcpy(&value, source, sizeof value);
      // Beyond the single range the value becomes an infinity of its sign.
      const float single = std::fabs(value) <= std::numeric_limits<float>::max() || std::isnan(value)
                               ? static_cast<float>(value)
                               : std::copysign(std::numeric_limits<float>::infinity(), value);
      std::memcpy(data, &single, sizeof single);
      break;
    }
    case adtExtended: {
      double value;
      std::memcpy(&value, source, sizeof value);
      EncodeExtended(value, data);
      break;
    }
    default:
      if (IsStringBaseType(field.BaseType))
        CopyText(source, data, field.MemoryDataSize, IsWideStringBaseType(field.BaseType) ? 2 : 1);
      else
        std::memcpy(data, source, field.MemoryDataSize);
  }
}

bool BuffersEqual(const void* a, const void* b, int32_t length) {
  if (!a) throw EVTRException(10122, "Nil pointer occured");
  if (!b) throw EVTRException(10123, "Nil pointer occured");
  return std::memcmp(a, b, length) == 0;
}
