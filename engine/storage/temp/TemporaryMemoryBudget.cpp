#include "engine/storage/temp/TemporaryMemoryBudget.h"

#include <algorithm>
#include <atomic>
#include <chrono>

#include "engine/foundation/VTRMemory.h"
#include "platform/os/SystemMemory.h"

namespace {

using Clock = std::chrono::steady_clock;

// Measuring reads a system file, which would cost the SQL engine more than
// making a small result table; a measurement serves for a second.
constexpr Clock::duration kMeasurementLife = std::chrono::seconds(1);

std::atomic<int64_t> g_fixed_budget{0};
std::atomic<int64_t> g_measured_budget{0};
std::atomic<Clock::rep> g_measured_at{0};

int64_t MeasureBudget() {
  int64_t available = AvailablePhysicalMemory();
  const int32_t limit = EngineMemoryManager().MemoryLimit();
  if (limit != 0) available = std::min<int64_t>(available, limit);
  return std::clamp<int64_t>(available / 10, 0, kMaxTemporaryMemoryBudget);
}

}  // namespace

int64_t TemporaryMemoryBudget() {
  const int64_t fixed = g_fixed_budget.load();
  if (fixed > 0) return fixed;
  const Clock::rep now = Clock::now().time_since_epoch().count();
  const Clock::rep measured_at = g_measured_at.load();
  if (measured_at != 0 && now - measured_at < kMeasurementLife.count()) return g_measured_budget.load();
  const int64_t budget = MeasureBudget();
  g_measured_budget.store(budget);
  g_measured_at.store(now);
  return budget;
}

void SetTemporaryMemoryBudget(int64_t bytes) {
  g_fixed_budget.store(std::max<int64_t>(bytes, 0));
}
