#pragma once
// Holds the own lock byte of a direct internal file (or of anything with
// LockFile and UnlockFile) for a scope, so that every exit gives it back.
#include "engine/storage/pager/ByteLockScope.h"

template <typename File>
struct OwnByteUnlock {
  File* file;
  bool operator()() const { return file->UnlockFile(); }
};

template <typename File>
class OwnLockScope : public ByteLockScope<OwnByteUnlock<File>> {
 public:
  OwnLockScope(File& file, const RetryPolicy& retry)
      : ByteLockScope<OwnByteUnlock<File>>(retry, [&file] { return file.LockFile(); }, OwnByteUnlock<File>{&file}) {}
};
