#pragma once
// The memory a temporary table may use before it spills to temporary files:
// each of its record manager and page manager keeps this many bytes in
// memory, fixed when the manager is made. It is a tenth of the available
// memory (or of the engine memory manager's limit, when that is smaller),
// measured at most a second before, and at most kMaxTemporaryMemoryBudget,
// since the SQL engine keeps many temporary tables at once.
#include <cstdint>

inline constexpr int64_t kMaxTemporaryMemoryBudget = int64_t{256} * 1024 * 1024;

int64_t TemporaryMemoryBudget();
// Fixes the budget for the whole process (tests make it small to spill);
// 0 returns to the measured budget.
void SetTemporaryMemoryBudget(int64_t bytes);
