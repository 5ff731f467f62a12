#pragma once
// The outcome of a cursor's Edit, Post, Delete or Cancel as it leaves it in
// LastResult: 0, or a conflict the dataset turns into EVTREngineError. A read
// refused by another process's table lock leaves kResultTableLocked too.
#include <cstdint>

inline constexpr int32_t kResultOK = 0;
inline constexpr int32_t kResultAddFailed = -1;
inline constexpr int32_t kResultUpdateFailed = -2;
inline constexpr int32_t kResultDeleteFailed = -3;
inline constexpr int32_t kResultUpdateModified = -4;   // changed by another process
inline constexpr int32_t kResultDeleteModified = -5;   // changed by another process
inline constexpr int32_t kResultUpdateDeleted = -6;    // deleted by another process
inline constexpr int32_t kResultDeleteDeleted = -7;    // deleted by another process
inline constexpr int32_t kResultFailure = -8;          // the message is in LastErrorText
inline constexpr int32_t kResultTemporaryUpdate = -9;  // temporary tables are not edited
inline constexpr int32_t kResultTemporaryDelete = -10;
inline constexpr int32_t kResultTemporaryCancel = -11;
inline constexpr int32_t kResultRecordLocked = -12;
inline constexpr int32_t kResultTableLocked = -13;
