#include "engine/storage/btree/KeyRef.h"

#include <cstring>

#include "engine/storage/pager/ByteOrder.h"

namespace {

int Sign(int64_t a, int64_t b) {
  return a < b ? -1 : a > b ? 1 : 0;
}

}  // namespace

int TVTRBTreeKeyRef::CompareEntryValues(const uint8_t* value1, const uint8_t* value2, int32_t size) {
  if (size == kRecordIDValueSize) {
    if (int r = Sign(LoadI32(value1), LoadI32(value2))) return r;
    return Sign(LoadU16(value1 + 4), LoadU16(value2 + 4));
  }
  const int r = std::memcmp(value1, value2, static_cast<size_t>(size));
  return r < 0 ? -1 : r > 0 ? 1 : 0;
}

TVTRPageKeyRef::TVTRPageKeyRef() {
  KeyLength = 4;
  FullKeyLength = 4;
  ValueSize = kAmountValueSize;
  ComparedColumns = 1;
  TVTRKeyColumn column;
  column.KeySize = 4;
  column.FullSize = 4;
  column.DataType = bdtInteger;
  Columns.push_back(column);
}

int TVTRPageKeyRef::CompareKeys(uint8_t* key1, const uint8_t* key2, bool, int32_t, const uint8_t*,
                                const uint8_t*) {
  return Sign(LoadI32(key1), LoadI32(key2));
}

int TVTRPageKeyRef::CompareFullKeys(const uint8_t* full1, const uint8_t* full2) {
  return Sign(LoadI32(full1), LoadI32(full2));
}
