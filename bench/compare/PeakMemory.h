#pragma once
// The peak resident memory of this process (Linux VmHWM), which a step can
// restart so that each step's own peak is measured.
#include <cstdint>

// Sets the peak back to the memory resident now; false where the kernel
// refuses (the peak then covers everything since the process began).
bool RestartPeakMemory();

// The peak resident memory in KiB since the process began or the last
// restart; 0 when it cannot be read.
int64_t PeakMemoryKiB();
