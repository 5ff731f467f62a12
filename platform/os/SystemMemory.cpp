#include "platform/os/SystemMemory.h"

#include <sys/sysinfo.h>

#include <cstdio>
#include <cstring>

int64_t AvailablePhysicalMemory() {
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
