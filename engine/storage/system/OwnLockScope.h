#pragma once
// Holds the own lock byte of a direct internal file (or of anything with
// LockFile and UnlockFile) for a scope, so that every exit gives it back.
#include "platform/os/RetryPolicy.h"

template <typename File>
class OwnLockScope {
 public:
  // Tries to take the byte within the bounds of retry; Held() tells.
  OwnLockScope(File& file, const RetryPolicy& retry)
      : file_(file), held_(retry.Run([&file] { return file.LockFile(); })) {}
  // Gives a byte still held back without reporting errors.
  ~OwnLockScope() {
    if (!held_) return;
    try {
      file_.UnlockFile();
    } catch (...) {
      // Only a closed file refuses, and closing released the byte.
    }
  }
  OwnLockScope(const OwnLockScope&) = delete;
  OwnLockScope& operator=(const OwnLockScope&) = delete;

  bool Held() const { return held_; }
  // Gives the byte back; false when it was not held or the unlock failed.
  bool Release() {
    if (!held_) return false;
    held_ = false;
    return file_.UnlockFile();
  }
  // Leaves the byte locked beyond the scope.
  void Keep() { held_ = false; }

 private:
  File& file_;
  bool held_;
};
