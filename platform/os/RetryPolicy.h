#pragma once
// Bounded waits: every use site passes its own bounds (for instance 4500 tries
// 20 ms apart); one process-wide cap, which tests set, shortens all of them.
#include <cstdint>

struct RetryCaps {
  int32_t max_tries = 0;      // 0: no cap
  int32_t max_delay_ms = -1;  // -1: no cap
};

// The current caps; none after start-up.
RetryCaps CurrentRetryCaps();
void SetRetryCaps(RetryCaps caps);

// Sets caps for a scope and restores the previous ones after it.
class ScopedRetryCaps {
 public:
  explicit ScopedRetryCaps(RetryCaps caps) : previous_(CurrentRetryCaps()) { SetRetryCaps(caps); }
  ~ScopedRetryCaps() { SetRetryCaps(previous_); }
  ScopedRetryCaps(const ScopedRetryCaps&) = delete;
  ScopedRetryCaps& operator=(const ScopedRetryCaps&) = delete;

 private:
  RetryCaps previous_;
};

struct RetryPolicy {
  int32_t tries;
  int32_t delay_ms;
  // Sleep half the delay plus a random part below the other half, so that
  // processes that collided do not retry in step.
  bool jitter = false;

  // The bounds after the caps.
  int32_t Tries() const;
  int32_t DelayMs() const;
  // Sleeps one (capped, possibly jittered) delay.
  void Pause() const;

  // Calls attempt() until it returns true, at most Tries() times, pausing
  // between calls; returns whether an attempt succeeded.
  template <typename Attempt>
  bool Run(Attempt&& attempt) const {
    const int32_t tries = Tries();
    for (int32_t i = 0; i < tries; ++i) {
      if (i > 0) Pause();
      if (attempt()) return true;
    }
    return false;
  }
};

// One attempt and no wait: for a lock whose caller carries the wait itself.
inline constexpr RetryPolicy kOneTry{1, 0};
