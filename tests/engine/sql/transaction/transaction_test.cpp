// START TRANSACTION, COMMIT and ROLLBACK through one processor on the
// window's database component, with rows written through a table component
// of the same database and read by another process.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/access/EngineError.h"
#include "platform/os/RetryPolicy.h"
#include "tests/engine/sql/StatementFixture.h"
#include "tests/engine/storage/HelperProcess.h"

namespace {

class Transactions : public StatementTest {
 protected:
  // Connected for good, as a running query holds it.
  Transactions() {
    database_->SetKeepConnection(true);
    database_->Open();
  }

  int RowCount() {
    auto donate = Table("Donate");
    donate->Open();
    return donate->RecordCount();
  }

  void AddDonations() {
    auto donate = Table("Donate");
    donate->Open();
    Add(*donate, {{1, "A", 10}, {2, "B", 20}});
  }

  ScopedRetryCaps caps_{{50, 2}};
};

TEST_F(Transactions, RollbackDiscardsTheRowsOfTheTransaction) {
  Run("START TRANSACTION");
  AddDonations();
  EXPECT_EQ(RowCount(), 2);
  Run("ROLLBACK");
  EXPECT_FALSE(database_->InTransaction());
  EXPECT_EQ(RowCount(), 0);
}

TEST_F(Transactions, CommitWorkKeepsTheRowsForAnotherProcess) {
  Run("START TRANSACTION");
  AddDonations();
  Run("COMMIT WORK");
  EXPECT_FALSE(database_->InTransaction());
  HelperProcess other(VTR_TABLE_HELPER, {file_});
  ASSERT_EQ(other.Answer(), "ready");
  other.Send("amount 2");
  EXPECT_EQ(other.Answer(), "20");
}

TEST_F(Transactions, StatementsThatCannotRunInATransactionLeaveItOpen) {
  Run("START TRANSACTION");
  EXPECT_EQ(ErrorOf("CREATE INDEX ix3 ON Donate (Amount)"),
            "Cannot perform 'AddIndex' operation on a database in transaction - Native error: 20175");
  EXPECT_TRUE(database_->InTransaction());
  EXPECT_EQ(ErrorOf("START TRANSACTION"), "Database already in transaction");
  EXPECT_TRUE(database_->InTransaction());
  Run("ROLLBACK");
}

TEST_F(Transactions, RollbackBringsBackTheRowsATruncateRemoved) {
  AddDonations();
  Run("START TRANSACTION; TRUNCATE TABLE Donate");
  EXPECT_EQ(RowCount(), 0);
  Run("ROLLBACK");
  EXPECT_EQ(RowCount(), 2);
}

TEST_F(Transactions, OneTextCanStartWriteAndEndATransaction) {
  AddDonations();
  Run("START TRANSACTION; TRUNCATE Donate; COMMIT FLUSH");
  EXPECT_FALSE(database_->InTransaction());
  EXPECT_EQ(RowCount(), 0);
}

}  // namespace
