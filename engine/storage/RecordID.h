#pragma once
// RecordID: where a stored record lives, the page and the slot on it.
//
// Stored image (6 bytes, wherever a RecordID is stored):
//   offset  size  content
//   0       4     i32 page number
//   4       2     u16 slot number
#include <cstdint>
#include <span>

#include "engine/storage/ByteOrder.h"

struct RecordID {
  int32_t PageNo = -1;
  uint16_t SlotNo = 0;

  friend bool operator==(const RecordID&, const RecordID&) = default;
};

inline constexpr int32_t kRecordIDSize = 6;

inline void EncodeRecordID(const RecordID& id, std::span<uint8_t, kRecordIDSize> out) {
  StoreI32(out.data(), id.PageNo);
  StoreU16(out.data() + 4, id.SlotNo);
}

inline RecordID DecodeRecordID(std::span<const uint8_t, kRecordIDSize> in) {
  return RecordID{LoadI32(in.data()), LoadU16(in.data() + 4)};
}
