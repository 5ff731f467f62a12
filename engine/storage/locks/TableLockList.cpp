#include "engine/storage/locks/TableLockList.h"

#include <algorithm>

#include "engine/foundation/Invariant.h"
#include "engine/foundation/VTRExcept.h"

void TVTRTableLockList::AddLock(TVTRTableLockType type, int32_t key, bool in_file) {
  for (TableLockEntry& entry : entries_) {
    if (entry.Type == type && entry.Key == key) {
      ++entry.Count;
      return;
    }
  }
  entries_.push_back(TableLockEntry{type, key, 1, in_file});
}

bool TVTRTableLockList::RemoveLock(TVTRTableLockType type, int32_t key, bool force) {
  const auto it = std::find_if(entries_.begin(), entries_.end(), [type, key](const TableLockEntry& entry) {
    return entry.Type == type && entry.Key == key;
  });
  if (it == entries_.end()) throw EVTRException(20202, "Cannot remove table lock. Lock not found");
  VTR_ASSERT(it->Count > 0);
  if (--it->Count > 0 && !force) return false;
  const bool in_file = it->InFile;
  entries_.erase(it);
  return in_file;
}

const TableLockEntry* TVTRTableLockList::Find(TVTRTableLockType type, int32_t key) const {
  for (const TableLockEntry& entry : entries_) {
    if (entry.Type == type && entry.Key == key) return &entry;
  }
  return nullptr;
}

bool TVTRTableLockList::HasLock(TVTRTableLockType type, int32_t key) const {
  return Find(type, key) != nullptr;
}

bool TVTRTableLockList::HasCoveringLock(int32_t key, TVTRTableLockType requested) const {
  return std::any_of(entries_.begin(), entries_.end(), [key, requested](const TableLockEntry& entry) {
    return entry.Key == key && Covers(entry.Type, requested);
  });
}

bool TVTRTableLockList::Covers(TVTRTableLockType held, TVTRTableLockType requested) {
  for (int type = 0; type < kTableLockTypeCount; ++type) {
    if (LockCompatibility[held][type] && !LockCompatibility[requested][type]) return false;
  }
  return true;
}

std::vector<int32_t> TVTRTableLockList::KeysOf(TVTRTableLockType type) const {
  std::vector<int32_t> keys;
  for (const TableLockEntry& entry : entries_) {
    if (entry.Type == type) keys.push_back(entry.Key);
  }
  return keys;
}

void TVTRTableLockList::CheckEmpty() const {
  if (!entries_.empty()) throw EVTRException(20201, "Some table locks still exist");
}
