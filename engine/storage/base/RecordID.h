#pragma once
// RecordID: where a stored record lives, a page number and a slot on it.
//
// Stored form (6 bytes, wherever a RecordID is stored):
//   0  4  i32 page number
//   4  2  u16 slot
#include <cstdint>

#include "engine/storage/pager/ByteOrder.h"

inline constexpr int32_t kRecordIDSize = 6;

struct TVTRRecordID {
  int32_t PageNo = -1;  // -1: no record
  uint16_t SlotNo = 0;

  friend bool operator==(const TVTRRecordID&, const TVTRRecordID&) = default;
};

inline void StoreRecordID(uint8_t* p, const TVTRRecordID& id) {
  StoreI32(p, id.PageNo);
  StoreU16(p + 4, id.SlotNo);
}

inline TVTRRecordID LoadRecordID(const uint8_t* p) {
  return {LoadI32(p), LoadU16(p + 4)};
}
