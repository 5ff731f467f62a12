// A SELECT reads its tables under read locks: it waits while another process
// writes a table, and gives up after its attempts holding no lock.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "engine/access/Database.h"
#include "platform/os/RetryPolicy.h"
#include "tests/engine/sql/query/SelectFixture.h"
#include "tests/engine/storage/HelperProcess.h"

namespace {

class TableLocks : public SelectTest {
 protected:
  TableLocks() {
    EXPECT_EQ(other_.Answer(), "ready");
    auto donate = Table("Donate");
    donate->Open();
    Add(*donate, {{1, "A", 10}});
    other_.Send("lock");
    EXPECT_EQ(other_.Answer(), "ok");
  }

  // Holds the write lock of Donate from the start.
  HelperProcess other_{VTR_TABLE_HELPER, {file_}};
};

TEST_F(TableLocks, ASelectWaitsForAWriterAndReadsWhenItIsDone) {
  ScopedRetryCaps caps({.max_tries = 5000, .max_delay_ms = 2});
  std::atomic<bool> done = false;
  std::vector<std::string> rows;
  std::thread reader([&] {
    rows = RowsFor("SELECT Donor FROM Donate");
    done = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(done) << "the query went on while the table was locked";
  other_.Send("unlock");
  EXPECT_EQ(other_.Answer(), "ok");
  reader.join();
  EXPECT_EQ(rows, std::vector<std::string>{"A"});
}

// Opening a table node reads its first record under a read lock, so a
// writer's lock held from before the query already stops the open: that is
// the statement's lock failure, not a table that cannot be opened.
TEST_F(TableLocks, PastItsAttemptsASelectFailsAndHoldsNoLock) {
  ScopedRetryCaps caps({.max_tries = 3, .max_delay_ms = 1});
  EXPECT_EQ(OpenError("SELECT d.Donor, e.Amount FROM Donate d, Donate e WHERE d.ID = e.ID"),
            "Table is locked - Native error: 20225");
  other_.Send("unlock");
  EXPECT_EQ(other_.Answer(), "ok");
  other_.Send("lock");
  EXPECT_EQ(other_.Answer(), "ok") << "a read lock of the query was left behind";
}

}  // namespace
