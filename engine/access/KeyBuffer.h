#pragma once
// A dataset's key buffers: the values a key search or a range compares
// with, each the cursor's KeyBufferSize bytes:
//   0           RecordSize  a record: null flags and fields
//   RecordSize  1           modified flag (0 or 1)
//   +1          1           exclusive flag (0 or 1)
//   +2          4           i32 field count; 0: every field of the active index
#include <cstdint>

// The dataset's six key buffers.
enum TVTRKeyIndex : uint8_t {
  kiLookup,
  kiRangeStart,
  kiRangeEnd,
  kiCurRangeStart,  // the range the cursor has
  kiCurRangeEnd,
  kiSave,  // the buffer being edited as it was before
};
inline constexpr int kKeyBufferCount = 6;

struct TVTRKeyInfo {
  bool Modified = false;
  bool Exclusive = false;
  int32_t FieldCount = 0;
};

TVTRKeyInfo ReadKeyInfo(const uint8_t* key, int32_t record_size);
void WriteKeyInfo(const TVTRKeyInfo& info, uint8_t* key, int32_t record_size);
