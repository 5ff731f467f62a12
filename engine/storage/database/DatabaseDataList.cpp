#include "engine/storage/database/DatabaseDataList.h"

#include <algorithm>
#include <stdexcept>

#include "engine/storage/base/LockOrder.h"

void TVTRDatabaseDataList::Lock() {
  if (t_database_list_lock_depth == 0 && t_database_sections_held > 0)
    throw std::logic_error("the database list's lock is taken while a database's section is held");
  lock_.Enter();
  ++t_database_list_lock_depth;
}

void TVTRDatabaseDataList::Unlock() {
  --t_database_list_lock_depth;
  lock_.Leave();
}

TVTRDatabaseData* TVTRDatabaseDataList::Add(std::unique_ptr<TVTRDatabaseData> database) {
  TVTRDatabaseDataListGuard guard(*this);
  items_.push_back(std::move(database));
  return items_.back().get();
}

TVTRDatabaseData* TVTRDatabaseDataList::Find(const std::function<bool(const TVTRDatabaseData&)>& matches) {
  TVTRDatabaseDataListGuard guard(*this);
  const auto found = std::ranges::find_if(items_, [&](const auto& item) { return matches(*item); });
  return found == items_.end() ? nullptr : found->get();
}

bool TVTRDatabaseDataList::Free(TVTRDatabaseData* database) {
  TVTRDatabaseDataListGuard guard(*this);
  const auto found =
      std::ranges::find_if(items_, [database](const auto& item) { return item.get() == database; });
  if (found == items_.end()) return false;
  // Taken out of the list before it goes, so a lookup meanwhile cannot find it.
  std::unique_ptr<TVTRDatabaseData> freed = std::move(*found);
  items_.erase(found);
  return true;
}

int32_t TVTRDatabaseDataList::GetCount() {
  TVTRDatabaseDataListGuard guard(*this);
  return static_cast<int32_t>(items_.size());
}

void TVTRDatabaseDataList::Clear() {
  TVTRDatabaseDataListGuard guard(*this);
  while (!items_.empty()) Free(items_.front().get());
}

TVTRDatabaseDataList& DatabaseDataList() {
  static TVTRDatabaseDataList list;
  return list;
}
