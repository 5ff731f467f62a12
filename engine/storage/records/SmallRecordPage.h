#pragma once
// TVTRSmallRecordPage: a view of one TableRecord page (page type 10, the
// table's object ID in the header's owner field) for one operation. Every
// record page of a table has N equal slots of R bytes, N and R fixed by the
// table (DiskRecordManager.h).
//
// Data area (D = page size - 40 bytes):
//   offset     size            content
//   0          B = ceil(N / 8) occupancy bitmap: slot s is used when bit s mod 8
//                              (bit 0 the lowest) of byte s div 8 is set
//   B + s × R  R               slot s: a stored record; meaningless while free
//   B + N × R  rest            never written
// Bitmap bits past slot N - 1 carry nothing and are never read.
#include <cstdint>

#include "engine/storage/pager/Page.h"
#include "engine/storage/base/RecordID.h"

class TVTRSmallRecordPage {
 public:
  // Raises 20140 when the bitmap and the slots do not fit the data area.
  TVTRSmallRecordPage(TVTRPage& page, int32_t records_per_page, int32_t record_size);

  // The lowest free slot; false when every slot is used.
  bool FindFreeSlot(int32_t& slot) const;
  // Used slots.
  int32_t GetRecordCount() const;
  bool IsUsed(int32_t slot) const;

  // Stores R bytes in the lowest free slot (20141 when there is none) and
  // answers where.
  TVTRRecordID AddRecord(const uint8_t* stored);
  // Each is false when the slot is free (or not on the page) and then
  // changes nothing.
  bool UpdateRecord(const uint8_t* stored, const TVTRRecordID& id);
  bool DeleteRecord(const TVTRRecordID& id);
  bool ReadRecord(const TVTRRecordID& id, uint8_t* destination) const;

  // The lowest / highest used slot: 20143 / 20144 on a page without records.
  TVTRRecordID First() const;
  TVTRRecordID Last() const;
  // Moves to the next higher / lower used slot; false when there is none.
  bool Next(TVTRRecordID& id) const;
  bool Prior(TVTRRecordID& id) const;
  // The k-th used slot counting from 0; 20146 past the last.
  TVTRRecordID GetRecordIDByIndex(int32_t k) const;
  // Used slots below the record's slot.
  int32_t CountBefore(const TVTRRecordID& id) const;

 private:
  // The bitmap byte with the bits past slot N - 1 cleared.
  uint8_t UsedBits(int32_t byte_index) const;
  void SetUsed(int32_t slot, bool used);
  // The used slot at or above / at or below `slot`, or -1.
  int32_t UsedAtOrAbove(int32_t slot) const;
  int32_t UsedAtOrBelow(int32_t slot) const;
  TVTRRecordID IDOf(int32_t slot) const { return {page_.PageNo(), static_cast<uint16_t>(slot)}; }
  // The one reader and the one writer of a slot's bytes.
  void WriteSlot(int32_t slot, const uint8_t* stored);
  void ReadSlot(int32_t slot, uint8_t* destination) const;

  TVTRPage& page_;
  uint8_t* data_;
  int32_t record_size_;
  int32_t records_per_page_;
  int32_t bitmap_size_;
};
