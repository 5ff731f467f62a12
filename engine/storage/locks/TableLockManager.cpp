#include "engine/storage/locks/TableLockManager.h"

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/pager/DiskPageManager.h"
#include "engine/storage/system/OwnLockScope.h"

namespace {

// The area's own byte is tried once per attempt; the attempts carry the wait.
using AreaLock = OwnLockScope<TVTRTableLocksFile>;

}  // namespace

// Holds the manager's section for a scope, unless the caller holds it already.
class TVTRDatabaseTableLockManager::SectionScope {
 public:
  SectionScope(TCriticalSection& section, bool enter) : section_(section), entered_(enter) {
    if (entered_) section_.Enter();
  }
  ~SectionScope() {
    if (entered_) section_.Leave();
  }
  SectionScope(const SectionScope&) = delete;
  SectionScope& operator=(const SectionScope&) = delete;

  // Calls attempt() up to retry's tries, sleeping between them outside the
  // section (when this scope entered it); whether an attempt succeeded.
  template <typename Attempt>
  bool Retry(const RetryPolicy& retry, Attempt&& attempt) {
    const int32_t tries = retry.Tries();
    for (int32_t i = 0; i < tries; ++i) {
      if (i > 0) {
        Outside outside(*this);
        retry.Pause();
      }
      if (attempt()) return true;
    }
    return false;
  }

 private:
  struct Outside {
    explicit Outside(SectionScope& scope) : scope_(scope) {
      if (scope_.entered_) scope_.section_.Leave();
    }
    ~Outside() {
      if (scope_.entered_) scope_.section_.Enter();
    }
    SectionScope& scope_;
  };

  TCriticalSection& section_;
  bool entered_;
};

TVTRDatabaseTableLockManager::TVTRDatabaseTableLockManager(TVTRDiskPageManager& manager, int32_t slot_count)
    : lists_(static_cast<size_t>(slot_count)), manager_(manager) {}

TVTRTableLockList& TVTRDatabaseTableLockManager::ListOf(int32_t slot) {
  if (slot < 0 || slot >= SlotCount()) {
    throw EVTRException(
        20200, "Cannot set table lock. Try to repair database or to increase number of allowed connections");
  }
  return lists_[static_cast<size_t>(slot)];
}

const TVTRTableLockList& TVTRDatabaseTableLockManager::LocksOf(int32_t slot) {
  return ListOf(slot);
}

void TVTRDatabaseTableLockManager::CheckAllReleased() {
  TCriticalSectionGuard guard(section_);
  for (const TVTRTableLockList& list : lists_) list.CheckEmpty();
}

bool TVTRDatabaseTableLockManager::LockTable(TVTRTableLocksFile& locks, int32_t slot, TVTRTableLockType type,
                                             int32_t tries, int32_t delay_ms, bool section_held) {
  if (manager_.Exclusive()) return true;
  SectionScope section(section_, !section_held);
  TVTRTableLockList& list = ListOf(slot);
  const int32_t key = locks.StartPage();
  if (list.HasLock(type, key)) {
    if (type == tltEdit) return false;
    list.AddLock(type, key, true);
    return true;
  }
  if (list.HasCoveringLock(key, type)) {
    list.AddLock(type, key, false);
    return true;
  }
  return section.Retry(RetryPolicy{tries, delay_ms, true}, [&] {
    AreaLock area(locks, kOneTry);
    if (!area.Held() || !locks.CanLock(slot, type)) return false;
    if (type == tltExclusive) {
      list.AddLock(type, key, true);
      area.Keep();
      return true;
    }
    if (!locks.LockType(slot, type)) throw EVTRException(20203, "Cannot set table lock");
    list.AddLock(type, key, true);
    return true;
  });
}

template <typename Unlock>
bool TVTRDatabaseTableLockManager::ReleaseInArea(SectionScope& section, TVTRTableLocksFile& locks,
                                                 const TVTRTableLockList& list, Unlock&& unlock) {
  // Under its own exclusive lock the slot has the area's byte already.
  if (list.HasLock(tltExclusive, locks.StartPage())) {
    unlock();
    return true;
  }
  return section.Retry(kByteLockRetry, [&] {
    AreaLock area(locks, kOneTry);
    if (!area.Held()) return false;
    unlock();
    return true;
  });
}

bool TVTRDatabaseTableLockManager::UnlockTable(TVTRTableLocksFile& locks, int32_t slot,
                                               TVTRTableLockType type, bool force, bool only_if_held) {
  if (manager_.Exclusive()) return true;
  SectionScope section(section_, true);
  TVTRTableLockList& list = ListOf(slot);
  const int32_t key = locks.StartPage();
  const TableLockEntry* entry = list.Find(type, key);
  if (entry == nullptr && only_if_held) return true;
  if (entry == nullptr || !entry->InFile || (entry->Count > 1 && !force)) {
    list.RemoveLock(type, key, force);
    return true;
  }
  if (type == tltExclusive) {
    if (!locks.UnlockFile()) throw EVTRException(20204, "Cannot unlock table");
  } else if (!ReleaseInArea(section, locks, list, [&] {
               if (!locks.UnlockType(slot, type)) throw EVTRException(20204, "Cannot unlock table");
             })) {
    return false;
  }
  list.RemoveLock(type, key, true);
  return true;
}

bool TVTRDatabaseTableLockManager::LockRecord(TVTRTableLocksFile& locks, int32_t slot, const TVTRRecordID& id,
                                              int32_t tries, int32_t delay_ms) {
  SectionScope section(section_, true);
  TVTRTableLockList& list = ListOf(slot);
  const int32_t key = locks.StartPage();
  if (list.HasLock(tltRecord, key)) return false;
  if (list.HasLock(tltExclusive, key)) {
    list.AddLock(tltRecord, key, false);
    return true;
  }
  return section.Retry(RetryPolicy{tries, delay_ms}, [&] {
    AreaLock area(locks, kOneTry);
    if (!area.Held() || locks.IsRecordLockedByOthers(slot, id)) return false;
    if (!locks.LockRecord(slot, id)) throw EVTRException(20205, "Cannot lock record");
    list.AddLock(tltRecord, key, true);
    return true;
  });
}

bool TVTRDatabaseTableLockManager::UnlockRecord(TVTRTableLocksFile& locks, int32_t slot,
                                                const TVTRRecordID&) {
  SectionScope section(section_, true);
  TVTRTableLockList& list = ListOf(slot);
  const int32_t key = locks.StartPage();
  const TableLockEntry* entry = list.Find(tltRecord, key);
  if (entry == nullptr) return false;
  if (entry->InFile && !ReleaseInArea(section, locks, list, [&] {
        if (!locks.UnlockRecord(slot)) throw EVTRException(20206, "Cannot unlock record");
      })) {
    return false;
  }
  list.RemoveLock(tltRecord, key, false);
  return true;
}

bool TVTRDatabaseTableLockManager::LockTablesForCommit(int32_t slot) {
  SectionScope section(section_, true);
  TVTRTableLockList& list = ListOf(slot);
  if (list.Empty()) return true;
  bool locked = true;
  for (const int32_t key : list.KeysOf(tltTransactionWrite)) {
    if (list.HasCoveringLock(key, tltWrite)) continue;
    TVTRTableLocksFile locks(manager_);
    locks.OpenFile(key);
    if (!LockTable(locks, slot, tltWrite, kCommitLockRetry.tries, kCommitLockRetry.delay_ms, true)) {
      locked = false;
      break;
    }
  }
  if (locked) return true;
  for (const int32_t key : list.KeysOf(tltWrite)) {
    TVTRTableLocksFile locks(manager_);
    locks.OpenFile(key);
    UnlockTable(locks, slot, tltWrite, false, false);
    if (list.HasLock(tltWrite, key)) throw EVTRException(20234, "Some table locks still exist");
  }
  return false;
}

bool TVTRDatabaseTableLockManager::ReleaseTransactionLocks(int32_t slot) {
  SectionScope section(section_, true);
  TVTRTableLockList& list = ListOf(slot);
  // A record still locked after the commit is edited outside a transaction
  // from now on, and its post or cancel gives back an edit lock.
  for (const int32_t key : list.KeysOf(tltRecord)) {
    if (list.HasLock(tltEdit, key)) continue;
    TVTRTableLocksFile locks(manager_);
    locks.OpenFile(key);
    if (!LockTable(locks, slot, tltEdit, kCommitLockRetry.tries, kCommitLockRetry.delay_ms, true))
      return false;
  }
  const std::vector<TableLockEntry> entries = list.Entries();
  for (const TableLockEntry& entry : entries) {
    if (entry.Type != tltTransactionWrite && entry.Type != tltWrite) continue;
    TVTRTableLocksFile locks(manager_);
    locks.OpenFile(entry.Key);
    UnlockTable(locks, slot, entry.Type, true, false);
  }
  return true;
}
