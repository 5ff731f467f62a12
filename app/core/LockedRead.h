#pragma once
// Reads that another copy of the program may hold back with a table lock: a
// window reads again after it committed a save (its list, its lines), and a
// lock that outlasts the engine's own attempts must neither look like a failed
// save nor leave the window empty. The read is tried again through the retry
// policy like every other lock wait.
#include <exception>
#include <functional>

#include "platform/os/RetryPolicy.h"

// The waits of a read after a save: up to 50 tries about 100 ms apart, out of
// step with the other copy.
inline constexpr RetryPolicy kLockedReadRetry{50, 100, true};

// Whether `error` is another user's table lock: the SQL engine's "Table is
// locked" (20225) or the table level's locked result (-13).
bool IsTableLockError(const std::exception& error);

// Runs `read` until a run ends without meeting a table lock, at most the
// policy's tries; returns whether one did. Any other error passes through.
bool ReadPastTableLocks(const RetryPolicy& policy, const std::function<void()>& read);
