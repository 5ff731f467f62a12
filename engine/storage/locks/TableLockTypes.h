#pragma once
// The table lock types and which of them two slots may hold on one table at
// once.
#include <array>
#include <cstdint>

enum TableLockType : uint8_t {
  tlOpen = 0,              // a cursor has the table open
  tlRead = 1,              // around one read of the table data
  tlEdit = 2,              // a record is edited outside a transaction
  tlTransactionWrite = 3,  // the table is changed inside a transaction
  tlWrite = 4,             // a change is posted outside a transaction, and every type-3 table at commit
  tlRecord = 5,            // the slot holds a record lock in the table
  tlExclusive = 6,         // the whole table for one slot
};

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
