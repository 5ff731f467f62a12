#pragma once
// TVTRDatabaseTableLockManager: the table and record locks of every
// connection slot of one open database file in this process. It keeps what
// each slot holds, grants at once what a slot's own stronger lock covers, and
// otherwise examines and changes the table's lock area under the area's own
// lock byte, retrying within the bounds it is given. A wait leaves the
// manager's critical section while it sleeps, so that other sessions of the
// process can release locks meanwhile.
//
// Every byte lock taken under the area's own byte is given back, and the
// area's byte itself released, on every path, exceptions included.
//
// A database opened exclusive needs no table locks: LockTable and UnlockTable
// answer true at once.
#include <cstdint>
#include <vector>

#include "engine/storage/base/RecordID.h"
#include "engine/storage/locks/TableLockList.h"
#include "engine/storage/locks/TableLocksFile.h"
#include "platform/os/CriticalSection.h"
#include "platform/os/RetryPolicy.h"

class TVTRDiskPageManager;

// The commit's upgrade of type 3 to type 4, and the edit locks kept over a
// commit for records still locked: 900 tries 100 ms apart.
inline constexpr RetryPolicy kCommitLockRetry{900, 100};

class TVTRDatabaseTableLockManager {
 public:
  TVTRDatabaseTableLockManager(TVTRDiskPageManager& manager, int32_t slot_count);

  // Raises 20200 for a slot outside 0 .. slot count - 1. A slot asking again
  // for a type it holds counts one more use, except type 2, which answers
  // false. section_held: the caller holds the manager's section (it then
  // stays held while the wait sleeps).
  bool LockTable(TVTRTableLocksFile& locks, int32_t slot, TVTRTableLockType type, int32_t tries,
                 int32_t delay_ms, bool section_held = false);
  // Counts one use less (all of them with force); the lock leaves the area
  // with the last. only_if_held: a lock the slot does not hold is no error
  // (20202 otherwise). False when the area could not be had to release it.
  bool UnlockTable(TVTRTableLocksFile& locks, int32_t slot, TVTRTableLockType type, bool force,
                   bool only_if_held);
  // A slot locks at most one record per table: a second answers false.
  bool LockRecord(TVTRTableLocksFile& locks, int32_t slot, const TVTRRecordID& id, int32_t tries,
                  int32_t delay_ms);
  // False when the slot holds no record lock in the table.
  bool UnlockRecord(TVTRTableLocksFile& locks, int32_t slot, const TVTRRecordID& id);
  // Before a commit: adds type 4 to every table the slot holds with type 3.
  // On failure gives back the type-4 locks and answers false (20234 when one
  // of them stays).
  bool LockTablesForCommit(int32_t slot);
  // After a commit or before a rollback: keeps an edit lock on every table
  // where the slot still holds a record lock, then drops all its type-3 and
  // type-4 locks. False (with nothing dropped) when an edit lock could not be had.
  bool ReleaseTransactionLocks(int32_t slot);

  int32_t SlotCount() const { return static_cast<int32_t>(lists_.size()); }
  const TVTRTableLockList& LocksOf(int32_t slot);
  // 20201 while any slot still holds a lock.
  void CheckAllReleased();

 private:
  class SectionScope;

  TVTRTableLockList& ListOf(int32_t slot);
  // Gives back a lock recorded in the area; false when the area's byte could not be had.
  template <typename Unlock>
  bool ReleaseInArea(SectionScope& section, TVTRTableLocksFile& locks, const TVTRTableLockList& list,
                     Unlock&& unlock);

  std::vector<TVTRTableLockList> lists_;
  TCriticalSection section_;
  TVTRDiskPageManager& manager_;
};
