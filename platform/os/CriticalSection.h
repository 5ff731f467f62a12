#pragma once
// A re-entrant critical section: the thread that holds it may enter again.
#include <mutex>

class TCriticalSection {
 public:
  void Enter() { mutex_.lock(); }
  bool TryEnter() { return mutex_.try_lock(); }
  void Leave() { mutex_.unlock(); }

 private:
  std::recursive_mutex mutex_;
};

// Holds a critical section for the lifetime of the guard.
class TCriticalSectionGuard {
 public:
  explicit TCriticalSectionGuard(TCriticalSection& section) : section_(section) { section_.Enter(); }
  ~TCriticalSectionGuard() { section_.Leave(); }
  TCriticalSectionGuard(const TCriticalSectionGuard&) = delete;
  TCriticalSectionGuard& operator=(const TCriticalSectionGuard&) = delete;

 private:
  TCriticalSection& section_;
};
