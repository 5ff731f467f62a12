#pragma once
// All or nothing for one data-changing statement on one table. Inside the
// session's transaction the statement runs under a savepoint and a failure
// goes back to it, so the transaction keeps exactly what the earlier
// statements did. Outside one, a multi-row statement holds the table's
// write lock and runs in an automatic transaction of its cursor; a single
// row relies on the lock and commit of its own post.
#include <cstdint>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/base/Cursor.h"
#include "engine/storage/base/Session.h"
#include "platform/os/RetryPolicy.h"

// The write lock of a statement outside a transaction: about 90 seconds.
inline constexpr RetryPolicy kStatementTableLockRetry{2250, 40};

// Runs `change` under a savepoint of the cursor's session when it is in a
// transaction, else as it is.
template <typename Change>
void RunInStatementSavepoint(TVTRCursor& cursor, Change&& change) {
  TVTRBaseSession& session = *cursor.Session;
  if (!session.InTransaction) return change();
  session.MarkStatement();
  try {
    change();
  } catch (...) {
    session.RollbackToStatementMark();
    throw;
  }
  session.ReleaseStatementMark();
}

// Runs a multi-row `change` all or nothing. Outside a transaction a table
// lock that cannot be had raises `lock_error` "Table is locked"; the lock is
// released on every path, after the automatic transaction ended.
template <typename Change>
void RunStatementChange(TVTRCursor& cursor, int32_t lock_error, Change&& change) {
  if (cursor.Session->InTransaction) return RunInStatementSavepoint(cursor, change);
  if (!cursor.LockTable(tltWrite, kStatementTableLockRetry.tries, kStatementTableLockRetry.delay_ms))
    throw EVTRException(lock_error, "Table is locked");
  try {
    cursor.StartAutoTransaction();
    try {
      change();
      cursor.CommitAutoTransaction();
    } catch (...) {
      cursor.RollbackAutoTransaction();
      throw;
    }
  } catch (...) {
    cursor.UnlockTable(tltWrite, true);
    throw;
  }
  // The automatic transaction's commit may have given the lock back with its own.
  cursor.UnlockTable(tltWrite, true);
}
