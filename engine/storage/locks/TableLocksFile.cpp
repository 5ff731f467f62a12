#include "engine/storage/locks/TableLocksFile.h"

#include <array>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/pager/PageHeader.h"
#include "engine/storage/pager/ByteLockScope.h"

TVTRTableLocksFile::TVTRTableLocksFile(TVTRDiskPageManager& manager) : area_(manager, ptTableLocks) {}

TVTRInternalDBDirectAccessFile& TVTRTableLocksFile::Area(int32_t native_error) {
  if (!area_.IsOpen()) throw EVTRException(native_error, "Nil pointer occured");
  return area_;
}

int32_t TVTRTableLocksFile::TypeBase(int32_t slot, int type) const {
  if (slot < 0 || slot >= slot_count_) {
    throw EVTRException(
        20200, "Cannot set table lock. Try to repair database or to increase number of allowed connections");
  }
  return type * slot_count_;
}

int32_t TVTRTableLocksFile::CreateFile(int32_t slot_count) {
  area_.CreateFile(kLockAreaBytesPerSlot * slot_count);
  slot_count_ = slot_count;
  return area_.StartPage();
}

void TVTRTableLocksFile::OpenFile(int32_t start_page) {
  area_.OpenFile(start_page);
  slot_count_ = area_.GetSize() / kLockAreaBytesPerSlot;
}

void TVTRTableLocksFile::CloseFile() {
  area_.CloseFile();
  slot_count_ = 0;
}

void TVTRTableLocksFile::DeleteFile() {
  Area(10494).DeleteFile();
  slot_count_ = 0;
}

bool TVTRTableLocksFile::LockType(int32_t slot, TVTRTableLockType type) {
  TVTRInternalDBDirectAccessFile& area = Area(10483);
  if (type == tltExclusive) return false;
  return area.LockByte(TypeBase(slot, type) + slot);
}

bool TVTRTableLocksFile::UnlockType(int32_t slot, TVTRTableLockType type) {
  TVTRInternalDBDirectAccessFile& area = Area(10489);
  if (type == tltExclusive) return false;
  return area.UnlockByte(TypeBase(slot, type) + slot);
}

bool TVTRTableLocksFile::IsTypeLockedByOthers(int32_t slot, TVTRTableLockType type) {
  TVTRInternalDBDirectAccessFile& area = Area(10490);
  if (type == tltExclusive) return false;
  const int32_t base = TypeBase(slot, type);
  return area.IsRegionLocked(base, slot) || area.IsRegionLocked(base + slot + 1, slot_count_ - slot - 1);
}

bool TVTRTableLocksFile::CanLock(int32_t slot, TVTRTableLockType type) {
  for (int held = 0; held < kTableLockTypeCount; ++held) {
    if (LockCompatibility[held][type]) continue;
    // Others' edits do not hold up a transaction's change: record locks keep
    // the two off each other's records.
    if (type == tltTransactionWrite && held == tltEdit) continue;
    if (IsTypeLockedByOthers(slot, static_cast<TVTRTableLockType>(held))) return false;
  }
  return true;
}

bool TVTRTableLocksFile::LockRecord(int32_t slot, const TVTRRecordID& id) {
  TVTRInternalDBDirectAccessFile& area = Area(10491);
  const int32_t byte = TypeBase(slot, tltRecord) + slot;
  ByteLockScope lock(kOneTry, [&area, byte] { return area.LockByte(byte); },
                     [&area, byte] { return area.UnlockByte(byte); });
  if (!lock.Held()) return false;
  std::array<uint8_t, kRecordIDSize> image;
  StoreRecordID(image.data(), id);
  area.DirectWriteBuffer(image.data(), kRecordIDSize, RecordIDPosition(slot));
  // The record lock lasts until UnlockRecord.
  lock.Keep();
  return true;
}

bool TVTRTableLocksFile::UnlockRecord(int32_t slot) {
  TVTRInternalDBDirectAccessFile& area = Area(10492);
  return area.UnlockByte(TypeBase(slot, tltRecord) + slot);
}

bool TVTRTableLocksFile::IsRecordLockedByOthers(int32_t slot, const TVTRRecordID& id) {
  TVTRInternalDBDirectAccessFile& area = Area(10493);
  if (!IsTypeLockedByOthers(slot, tltRecord)) return false;
  const int32_t base = TypeBase(slot, tltRecord);
  for (int32_t other = 0; other < slot_count_; ++other) {
    if (other == slot || !area.IsByteLocked(base + other)) continue;
    std::array<uint8_t, kRecordIDSize> image{};
    area.DirectReadBuffer(image.data(), kRecordIDSize, RecordIDPosition(other));
    if (LoadRecordID(image.data()) == id) return true;
  }
  return false;
}

bool TVTRTableLocksFile::LockFile() {
  return Area(10494).LockFile();
}

bool TVTRTableLocksFile::UnlockFile() {
  return Area(10494).UnlockFile();
}
