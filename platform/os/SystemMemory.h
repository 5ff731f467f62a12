#pragma once
#include <cstdint>

// The machine's currently available physical memory in bytes.
int64_t AvailablePhysicalMemory();
