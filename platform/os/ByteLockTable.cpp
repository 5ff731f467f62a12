#include "platform/os/ByteLockTable.h"

#include <algorithm>

ByteLockTable& ByteLockTable::Instance() {
  static ByteLockTable table;
  return table;
}

bool ByteLockTable::Conflicts(const FileIdentity& file, uint64_t owner, int64_t start, int64_t end,
                              LockKind kind) const {
  return std::any_of(ranges_.begin(), ranges_.end(), [&](const Range& r) {
    if (!(r.file == file) || r.end <= start || end <= r.start) return false;
    return r.owner == owner || r.kind == LockKind::kExclusive || kind == LockKind::kExclusive;
  });
}

bool ByteLockTable::Overlaps(const FileIdentity& file, uint64_t excluded_owner, int64_t start,
                             int64_t end) const {
  return std::any_of(ranges_.begin(), ranges_.end(), [&](const Range& r) {
    return r.file == file && r.owner != excluded_owner && r.start < end && start < r.end;
  });
}

std::optional<ByteLockTable::Range> ByteLockTable::Remove(uint64_t owner, int64_t start, int64_t end) {
  auto it = std::find_if(ranges_.begin(), ranges_.end(), [&](const Range& r) {
    return r.owner == owner && r.start == start && r.end == end;
  });
  if (it == ranges_.end()) return std::nullopt;
  Range removed = *it;
  ranges_.erase(it);
  return removed;
}

void ByteLockTable::RemoveOwner(uint64_t owner) {
  std::erase_if(ranges_, [owner](const Range& r) { return r.owner == owner; });
}
