#include "engine/storage/temp/TemporaryMemoryBudget.h"

#include <algorithm>
#include <atomic>

#include "engine/foundation/VTRMemory.h"
#include "platform/os/SystemMemory.h"

namespace {

std::atomic<int64_t> g_fixed_budget{0};

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
  return MeasureBudget();
}

void SetTemporaryMemoryBudget(int64_t bytes) {
  g_fixed_budget.store(std::max<int64_t>(bytes, 0));
}
