#pragma once
// The process-wide record of the byte ranges this process holds locked, per
// file identity. The kernel's open-file-description locks do not conflict with
// themselves, so this table refuses a second lock on a held byte inside the
// process. Internal to OSFile.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/os/OSFile.h"

class ByteLockTable {
 public:
  struct Range {
    FileIdentity file;
    uint64_t owner;
    int64_t start;
    int64_t end;  // exclusive
    LockKind kind;
  };

  static ByteLockTable& Instance();

  // Held for every check-and-change, so that a table check and the kernel
  // call that follows it are one step for the other threads of the process.
  std::mutex& Mutex() { return mutex_; }

  // Requires Mutex(). A range of `owner` itself always conflicts; another
  // owner's range conflicts unless both are shared.
  bool Conflicts(const FileIdentity& file, uint64_t owner, int64_t start, int64_t end, LockKind kind) const;
  // Requires Mutex(). Whether a range overlaps one held by an owner other than
  // `excluded_owner` (0 excludes none).
  bool Overlaps(const FileIdentity& file, uint64_t excluded_owner, int64_t start, int64_t end) const;
  // Require Mutex().
  void Add(const Range& range) { ranges_.push_back(range); }
  // The removed range, if `owner` held exactly this one.
  std::optional<Range> Remove(uint64_t owner, int64_t start, int64_t end);
  void RemoveOwner(uint64_t owner);

  // A key for a new holder; never 0.
  uint64_t NewOwner() { return next_owner_++; }

 private:
  std::mutex mutex_;
  std::vector<Range> ranges_;
  std::atomic<uint64_t> next_owner_{1};
};
