#include "platform/os/SystemMemory.h"

#include <sys/sysinfo.h>

#include <cstdio>
#include <atomic>
#include <chrono>
#include <cstring>

namespace {

int64_t MeasureAvailablePhysicalMemory() {
  // MemAvailable counts reclaimable caches too, which is what "available" means to a user.
  if (FILE* f = std::fopen("/proc/meminfo", "r")) {
    char line[256];
    long long kib = -1;
    while (std::fgets(line, sizeof line, f)) {
      if (std::sscanf(line, "MemAvailable: %lld kB", &kib) == 1) break;
    }
    std::fclose(f);
    if (kib >= 0) return static_cast<int64_t>(kib) * 1024;
  }
  struct sysinfo info{};
  if (sysinfo(&info) != 0) return 0;
  return static_cast<int64_t>(info.freeram) * info.mem_unit;
}

}  // namespace

int64_t AvailablePhysicalMemory() {
  using Clock = std::chrono::steady_clock;
  static std::atomic<int64_t> measured{0};
  static std::atomic<Clock::rep> measured_at{0};
  const Clock::rep now = Clock::now().time_since_epoch().count();
  const Clock::rep at = measured_at.load();
  if (at != 0 && now - at < std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)).count())
    return measured.load();
  const int64_t value = MeasureAvailablePhysicalMemory();
  measured.store(value);
  measured_at.store(now);
  return value;
}
