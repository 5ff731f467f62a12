#pragma once
// Which table lock types two slots may hold on one table at once.
#include <array>

#include "engine/storage/base/TableLockType.h"

inline constexpr int kTableLockTypeCount = 7;

// LockCompatibility[held][requested]: whether a lock of the held type that
// another slot holds allows a request of the requested type.
inline constexpr std::array<std::array<bool, kTableLockTypeCount>, kTableLockTypeCount> LockCompatibility = {{
    {true, true, true, true, true, true, false},
    {true, true, true, true, false, true, false},
    {true, true, true, false, true, true, false},
    {true, true, false, false, false, true, false},
    {true, false, true, false, false, true, false},
    {true, true, true, true, true, true, false},
    {false, false, false, false, false, false, false},
}};
