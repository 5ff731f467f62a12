#pragma once
// TVTRTableLockList: the table locks one connection slot holds, keyed by the
// start page of each table's lock area. An entry counts how often the slot
// took the lock and tells whether the lock is recorded in the lock area or
// only granted in memory because a stronger lock of the slot covers it.
#include <cstdint>
#include <vector>

#include "engine/storage/locks/LockCompatibility.h"

struct TableLockEntry {
  TVTRTableLockType Type;
  int32_t Key;
  int32_t Count;
  bool InFile;
};

class TVTRTableLockList {
 public:
  // Counts one more use of an existing entry (whose in-file flag stays), or adds one.
  void AddLock(TVTRTableLockType type, int32_t key, bool in_file);
  // Counts one use less, and removes the entry when none is left or force is
  // set; answers its in-file flag when it was removed, else false. 20202 when
  // there is no such entry.
  bool RemoveLock(TVTRTableLockType type, int32_t key, bool force);
  bool HasLock(TVTRTableLockType type, int32_t key) const;
  const TableLockEntry* Find(TVTRTableLockType type, int32_t key) const;
  // Whether a lock the slot holds on the table covers the requested type.
  bool HasCoveringLock(int32_t key, TVTRTableLockType requested) const;
  // Whether holding `held` already keeps out everything `requested` would:
  // every type compatible with held is compatible with requested.
  static bool Covers(TVTRTableLockType held, TVTRTableLockType requested);

  const std::vector<TableLockEntry>& Entries() const { return entries_; }
  // The tables the slot holds this type on, in list order.
  std::vector<int32_t> KeysOf(TVTRTableLockType type) const;
  bool Empty() const { return entries_.empty(); }
  // 20201 while the slot still holds a lock.
  void CheckEmpty() const;

 private:
  std::vector<TableLockEntry> entries_;
};
