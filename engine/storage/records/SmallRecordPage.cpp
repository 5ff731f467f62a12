#include "engine/storage/records/SmallRecordPage.h"

#include <bit>
#include <cstring>

#include "engine/foundation/Invariant.h"
#include "engine/foundation/VTRExcept.h"

TVTRSmallRecordPage::TVTRSmallRecordPage(TVTRPage& page, int32_t records_per_page, int32_t record_size)
    : page_(page),
      data_(page.Data()),
      record_size_(record_size),
      records_per_page_(records_per_page),
      bitmap_size_((records_per_page + 7) / 8) {
  VTR_ASSERT(page.UseCount() > 0);
  if (records_per_page < 0 || record_size < 0 ||
      bitmap_size_ + int64_t{records_per_page} * record_size > page.DataSize())
    throw EVTRException(20140, "Invalid number of records on page");
}

uint8_t TVTRSmallRecordPage::UsedBits(int32_t byte_index) const {
  const int32_t bits_in_byte = records_per_page_ - byte_index * 8;
  const uint8_t mask = bits_in_byte >= 8 ? 0xFF : static_cast<uint8_t>((1u << bits_in_byte) - 1);
  return data_[byte_index] & mask;
}

bool TVTRSmallRecordPage::IsUsed(int32_t slot) const {
  return slot >= 0 && slot < records_per_page_ && (data_[slot / 8] >> (slot % 8) & 1) != 0;
}

void TVTRSmallRecordPage::SetUsed(int32_t slot, bool used) {
  VTR_ASSERT(slot >= 0 && slot < records_per_page_);
  const auto bit = static_cast<uint8_t>(1u << (slot % 8));
  if (used)
    data_[slot / 8] |= bit;
  else
    data_[slot / 8] &= static_cast<uint8_t>(~bit);
}

bool TVTRSmallRecordPage::FindFreeSlot(int32_t& slot) const {
  for (int32_t i = 0; i < bitmap_size_; ++i) {
    const uint8_t bits = data_[i];
    if (bits == 0xFF) continue;
    const int32_t found = i * 8 + std::countr_one(bits);
    if (found >= records_per_page_) return false;
    slot = found;
    return true;
  }
  return false;
}

int32_t TVTRSmallRecordPage::GetRecordCount() const {
  int32_t count = 0;
  for (int32_t i = 0; i < bitmap_size_; ++i) count += std::popcount(UsedBits(i));
  return count;
}

int32_t TVTRSmallRecordPage::UsedAtOrAbove(int32_t slot) const {
  if (slot < 0) slot = 0;
  for (int32_t i = slot / 8; i < bitmap_size_; ++i) {
    uint8_t bits = UsedBits(i);
    if (i == slot / 8) bits &= static_cast<uint8_t>(0xFF << (slot % 8));
    if (bits != 0) return i * 8 + std::countr_zero(bits);
  }
  return -1;
}

int32_t TVTRSmallRecordPage::UsedAtOrBelow(int32_t slot) const {
  if (slot >= records_per_page_) slot = records_per_page_ - 1;
  for (int32_t i = slot / 8; i >= 0 && slot >= 0; --i) {
    uint8_t bits = UsedBits(i);
    if (i == slot / 8) bits &= static_cast<uint8_t>(0xFF >> (7 - slot % 8));
    if (bits != 0) return i * 8 + 7 - std::countl_zero(bits);
  }
  return -1;
}

void TVTRSmallRecordPage::WriteSlot(int32_t slot, const uint8_t* stored) {
  VTR_ASSERT(slot >= 0 && slot < records_per_page_);
  std::memcpy(data_ + bitmap_size_ + int64_t{slot} * record_size_, stored, record_size_);
}

void TVTRSmallRecordPage::ReadSlot(int32_t slot, uint8_t* destination) const {
  VTR_ASSERT(slot >= 0 && slot < records_per_page_);
  std::memcpy(destination, data_ + bitmap_size_ + int64_t{slot} * record_size_, record_size_);
}

TVTRRecordID TVTRSmallRecordPage::AddRecord(const uint8_t* stored) {
  int32_t slot;
  if (!FindFreeSlot(slot)) throw EVTRException(20141, "Cannot add record to page. Page is full");
  SetUsed(slot, true);
  WriteSlot(slot, stored);
  page_.SetDirty(true);
  return IDOf(slot);
}

bool TVTRSmallRecordPage::UpdateRecord(const uint8_t* stored, const TVTRRecordID& id) {
  if (!IsUsed(id.SlotNo)) return false;
  WriteSlot(id.SlotNo, stored);
  page_.SetDirty(true);
  return true;
}

bool TVTRSmallRecordPage::DeleteRecord(const TVTRRecordID& id) {
  if (!IsUsed(id.SlotNo)) return false;
  SetUsed(id.SlotNo, false);
  page_.SetDirty(true);
  return true;
}

bool TVTRSmallRecordPage::ReadRecord(const TVTRRecordID& id, uint8_t* destination) const {
  if (!IsUsed(id.SlotNo)) return false;
  ReadSlot(id.SlotNo, destination);
  return true;
}

TVTRRecordID TVTRSmallRecordPage::First() const {
  const int32_t slot = UsedAtOrAbove(0);
  if (slot < 0) throw EVTRException(20143, "Record not found");
  return IDOf(slot);
}

TVTRRecordID TVTRSmallRecordPage::Last() const {
  const int32_t slot = UsedAtOrBelow(records_per_page_ - 1);
  if (slot < 0) throw EVTRException(20144, "Record not found");
  return IDOf(slot);
}

bool TVTRSmallRecordPage::Next(TVTRRecordID& id) const {
  const int32_t slot = UsedAtOrAbove(int32_t{id.SlotNo} + 1);
  if (slot < 0) return false;
  id = IDOf(slot);
  return true;
}

bool TVTRSmallRecordPage::Prior(TVTRRecordID& id) const {
  const int32_t slot = UsedAtOrBelow(int32_t{id.SlotNo} - 1);
  if (slot < 0) return false;
  id = IDOf(slot);
  return true;
}

TVTRRecordID TVTRSmallRecordPage::GetRecordIDByIndex(int32_t k) const {
  if (k >= 0) {
    for (int32_t i = 0; i < bitmap_size_; ++i) {
      uint8_t bits = UsedBits(i);
      const int32_t count = std::popcount(bits);
      if (k >= count) {
        k -= count;
        continue;
      }
      for (; k > 0; --k) bits &= static_cast<uint8_t>(bits - 1);
      return IDOf(i * 8 + std::countr_zero(bits));
    }
  }
  throw EVTRException(20146, "Record not found");
}

int32_t TVTRSmallRecordPage::CountBefore(const TVTRRecordID& id) const {
  const int32_t slot = id.SlotNo < records_per_page_ ? id.SlotNo : records_per_page_;
  int32_t count = 0;
  for (int32_t i = 0; i < slot / 8; ++i) count += std::popcount(UsedBits(i));
  if (slot % 8 != 0)
    count += std::popcount(static_cast<uint8_t>(UsedBits(slot / 8) & ((1u << (slot % 8)) - 1)));
  return count;
}
