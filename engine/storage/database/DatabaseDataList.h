#pragma once
// DatabaseDataList: the process-wide list of database objects, which owns
// them. The data-access layer puts "MEMORY" and "TEMP" into it at start-up and
// clears it at shutdown; local sessions look up and add file databases.
//
// Its lock is re-entrant and comes first: taking it while the thread holds a
// database's section (and not the list's lock already) would let two threads
// wait on each other, and raises std::logic_error instead.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "engine/storage/database/DatabaseData.h"

class TVTRDatabaseDataList {
 public:
  TVTRDatabaseDataList() = default;
  TVTRDatabaseDataList(const TVTRDatabaseDataList&) = delete;
  TVTRDatabaseDataList& operator=(const TVTRDatabaseDataList&) = delete;
  ~TVTRDatabaseDataList() { Clear(); }

  void Lock();
  void Unlock();

  // Each of these takes the lock.
  TVTRDatabaseData* Add(std::unique_ptr<TVTRDatabaseData> database);
  // The first object that matches, or nullptr.
  TVTRDatabaseData* Find(const std::function<bool(const TVTRDatabaseData&)>& matches);
  // Frees the object and drops it from the list; false when it is not there.
  bool Free(TVTRDatabaseData* database);
  int32_t GetCount();
  // Frees every object, first entry first.
  void Clear();

 private:
  TCriticalSection lock_;
  std::vector<std::unique_ptr<TVTRDatabaseData>> items_;
};

// Holds the list's lock for the guard's lifetime.
class TVTRDatabaseDataListGuard {
 public:
  explicit TVTRDatabaseDataListGuard(TVTRDatabaseDataList& list) : list_(list) { list_.Lock(); }
  ~TVTRDatabaseDataListGuard() { list_.Unlock(); }
  TVTRDatabaseDataListGuard(const TVTRDatabaseDataListGuard&) = delete;
  TVTRDatabaseDataListGuard& operator=(const TVTRDatabaseDataListGuard&) = delete;

 private:
  TVTRDatabaseDataList& list_;
};

TVTRDatabaseDataList& DatabaseDataList();
