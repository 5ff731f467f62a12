#pragma once
#include <cstdint>

// The machine's available physical memory in bytes. Measuring reads a system
// file, which costs more than making a small table; a measurement serves for
// a second.
int64_t AvailablePhysicalMemory();
