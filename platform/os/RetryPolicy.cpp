#include "platform/os/RetryPolicy.h"

#include <algorithm>
#include <atomic>

#include "platform/os/Clock.h"
#include "platform/os/Random.h"

namespace {
std::atomic<int32_t> max_tries{0};
std::atomic<int32_t> max_delay_ms{-1};
}  // namespace

RetryCaps CurrentRetryCaps() {
  return {max_tries.load(), max_delay_ms.load()};
}

void SetRetryCaps(RetryCaps caps) {
  max_tries = caps.max_tries;
  max_delay_ms = caps.max_delay_ms;
}

int32_t RetryPolicy::Tries() const {
  const int32_t cap = max_tries.load();
  return cap > 0 ? std::min(tries, cap) : tries;
}

int32_t RetryPolicy::DelayMs() const {
  const int32_t cap = max_delay_ms.load();
  return cap >= 0 ? std::min(delay_ms, cap) : delay_ms;
}

void RetryPolicy::Pause() const {
  const int32_t delay = DelayMs();
  if (!jitter) {
    SleepMilliseconds(delay);
    return;
  }
  const int32_t half = delay / 2;
  SleepMilliseconds(half + DefaultRandom().Below(delay - half));
}
