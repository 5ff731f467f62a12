#pragma once
// Holds one byte lock for a scope, so that every exit gives it back: a lock
// byte of the database file, the own byte of a direct internal file or of a
// lock area. The owner's unlock call answers whether it succeeded.
#include <utility>

#include "platform/os/RetryPolicy.h"

template <typename Unlock>
class ByteLockScope {
 public:
  // Tries the lock within the bounds of retry; Held() tells.
  template <typename Lock>
  ByteLockScope(const RetryPolicy& retry, Lock&& lock, Unlock unlock)
      : unlock_(std::move(unlock)), held_(retry.Run(std::forward<Lock>(lock))) {}
  // Gives a byte still held back without reporting errors.
  ~ByteLockScope() {
    if (!held_) return;
    try {
      unlock_();
    } catch (...) {
      // Only a closed file refuses an unlock, and closing released the byte.
    }
  }
  ByteLockScope(const ByteLockScope&) = delete;
  ByteLockScope& operator=(const ByteLockScope&) = delete;

  bool Held() const { return held_; }
  // Gives the byte back; false when it was not held or the unlock failed.
  bool Release() {
    if (!held_) return false;
    held_ = false;
    return unlock_();
  }
  // Leaves the byte locked beyond the scope.
  void Keep() { held_ = false; }

 private:
  Unlock unlock_;
  bool held_;
};
