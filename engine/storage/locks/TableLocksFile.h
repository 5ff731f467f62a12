#pragma once
// TVTRTableLocksFile: a table's lock area, a direct internal file of page type
// 7 holding 12 bytes per connection slot. With N slots, content positions:
//
//   position            size  content
//   t × N + s, t = 0..4  1     lock byte of type t for slot s
//   5 × N + s            1     record-lock byte of slot s (also the byte of type 5)
//   6 × N + 6 × s        6     RecordID slot s has locked: i32 page, u16 slot
//
// The lock bytes are only locked, never written; the RecordID bytes are
// written by the slot that locks a record and read by the others. The area's
// own lock byte (the first byte of its start page) makes each examination and
// change of the area atomic between processes, and is the lock of type 6.
//
// Without an open area the operations raise "Nil pointer occured": 10483
// LockType, 10489 UnlockType, 10490 IsTypeLockedByOthers and CanLock, 10491
// LockRecord, 10492 UnlockRecord, 10493 IsRecordLockedByOthers, 10494
// LockFile, UnlockFile and DeleteFile. A slot outside 0 .. N - 1 raises 20200.
#include <cstdint>

#include "engine/storage/base/RecordID.h"
#include "engine/storage/locks/LockCompatibility.h"
#include "engine/storage/system/DirectFile.h"

class TVTRDiskPageManager;

inline constexpr int32_t kLockAreaBytesPerSlot = 12;

class TVTRTableLocksFile {
 public:
  explicit TVTRTableLocksFile(TVTRDiskPageManager& manager);

  bool IsOpen() const { return area_.IsOpen(); }
  // The key of the table in the lock lists.
  int32_t StartPage() const { return area_.StartPage(); }
  int32_t SlotCount() const { return slot_count_; }

  // Creates the area for slot_count slots in the system session and answers
  // its start page; it can be used once that session has committed.
  int32_t CreateFile(int32_t slot_count);
  void OpenFile(int32_t start_page);
  void CloseFile();
  void DeleteFile();

  // Type 6 answers false: it is the area's own lock byte.
  bool LockType(int32_t slot, TVTRTableLockType type);
  bool UnlockType(int32_t slot, TVTRTableLockType type);
  // Whether another slot holds a lock of that type (false for type 6).
  bool IsTypeLockedByOthers(int32_t slot, TVTRTableLockType type);
  // Whether no other slot holds a type incompatible with the request; a
  // request of type 3 is not held up by others' type 2.
  bool CanLock(int32_t slot, TVTRTableLockType type);
  // Locks the slot's record-lock byte and records the RecordID it locks.
  bool LockRecord(int32_t slot, const TVTRRecordID& id);
  bool UnlockRecord(int32_t slot);
  bool IsRecordLockedByOthers(int32_t slot, const TVTRRecordID& id);
  bool LockFile();
  bool UnlockFile();

 private:
  TVTRInternalDBDirectAccessFile& Area(int32_t native_error);
  // The first byte of the lock type's bytes; checks the slot.
  int32_t TypeBase(int32_t slot, int type) const;
  int32_t RecordIDPosition(int32_t slot) const { return 6 * slot_count_ + kRecordIDSize * slot; }

  TVTRInternalDBDirectAccessFile area_;
  int32_t slot_count_ = 0;
};
