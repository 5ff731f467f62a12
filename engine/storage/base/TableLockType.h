#pragma once
// The kinds of table lock a session can hold, weakest use first.
#include <cstdint>

enum TVTRTableLockType : uint8_t {
  tltOpen = 0,              // while a cursor has the table open
  tltRead = 1,              // around one read operation
  tltEdit = 2,              // editing a record outside a transaction
  tltTransactionWrite = 3,  // a change inside a transaction, until commit or rollback
  tltWrite = 4,             // posting or deleting outside a transaction
  tltRecord = 5,            // held while the session holds a record lock in the table
  tltExclusive = 6,         // the whole table for one session
};
