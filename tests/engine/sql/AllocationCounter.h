#pragma once
// Heap allocations of this test program: every operator new (replaced in
// AllocationCounter.cpp) and every block of the engine memory manager.
#include <cstdint>

int64_t HeapAllocations();
