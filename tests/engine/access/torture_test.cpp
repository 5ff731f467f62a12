// Several worker processes (helpers/ledger_worker.cpp) insert, update and
// delete at random in the same two tables, over a small key range so that
// they meet each other's locks, duplicate IDs and changed records all the
// time. Afterwards the tables must hold exactly what the workers' committed
// changes add up to, every index must be whole and agree with the records,
// and no lock may remain.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/storage/VTRDiskEngine.h"
#include "tests/engine/access/LedgerChecks.h"
#include "tests/engine/storage/HelperProcess.h"
#include "tests/support/ScratchFolder.h"

namespace {

constexpr int kWorkers = 4;
constexpr int kChangesEach = 1500;
constexpr int kKeys = 40;

struct Totals {
  int64_t rows = 0;
  int64_t sum = 0;
};

// Reads a worker's lines up to "idle", adding its totals, commits and
// refusals; false when it ended otherwise (its last line is then in `last`).
bool CollectTotals(HelperProcess& worker, std::vector<Totals>& totals, int& commits, int& refusals,
                   std::string& last) {
  for (;;) {
    last = worker.Answer();
    if (last == "idle") return true;
    if (last == "done") ++commits;
    std::istringstream words(last);
    std::string word;
    words >> word;
    if (word == "refused") {
      int count = 0;
      words >> count;
      refusals += count;
    } else if (word == "total") {
      size_t table = 0;
      Totals added;
      words >> table >> added.rows >> added.sum;
      totals.at(table).rows += added.rows;
      totals.at(table).sum += added.sum;
    } else if (word != "begin" && word != "done" && word != "undone") {
      return false;
    }
  }
}

TEST(Torture, ProcessesChangingTheSameRecordsAtRandomLeaveTotalsThatAddUpWholeIndexesAndNoLock) {
  ScratchFolder folder;
  const std::string name = folder.File("dat_temple.vtr");
  CreateLedgerDatabase(name);
  std::vector<std::unique_ptr<HelperProcess>> workers;
  for (int i = 0; i < kWorkers; ++i) {
    workers.push_back(std::make_unique<HelperProcess>(
        VTR_LEDGER_WORKER, std::vector<std::string>{name, std::to_string(1000 + i),
                                                    std::to_string(kChangesEach), std::to_string(kKeys)}));
    ASSERT_EQ(workers.back()->Answer(), "ready");
  }
  for (auto& worker : workers) worker->Send("go");
  std::vector<Totals> totals(kLedgerTables.size());
  int commits = 0;
  int refusals = 0;
  for (auto& worker : workers) {
    std::string last;
    ASSERT_TRUE(CollectTotals(*worker, totals, commits, refusals, last)) << "a worker ended with: " << last;
  }
  // The run means something only when the workers both committed and met each other.
  EXPECT_GT(commits, kWorkers * kChangesEach / 10);
  EXPECT_GT(refusals, 0);

  // The workers are idle but alive, so a lock they left would still be held.
  auto session = LedgerSession(name);
  session->SetConnected(true);
  auto& database = static_cast<TVTRDiskDatabaseData&>(*session->DatabaseData);
  for (size_t t = 0; t < kLedgerTables.size(); ++t) {
    const std::string& table = kLedgerTables[t];
    const std::map<int32_t, LedgerRow> rows = CheckedRows(*session, table);
    int64_t sum = 0;
    for (const auto& [id, row] : rows) sum += row.amount;
    EXPECT_EQ(static_cast<int64_t>(rows.size()), totals[t].rows) << table;
    EXPECT_EQ(sum, totals[t].sum) << table;

    TVTRTableLocksFile area(*database.DiskPageManager());
    area.OpenFile(database.FindTableEntry(table).LocksStart);
    // Type 0 stays while the workers have the table open.
    for (int type = tltRead; type <= tltRecord; ++type)
      EXPECT_FALSE(area.IsTypeLockedByOthers(session->SessionID, static_cast<TVTRTableLockType>(type)))
          << table << " type " << type;
    EXPECT_FALSE(database.DiskPageManager()->IsPageByteLocked(area.StartPage(), 0))
        << table << ": the area's own byte";
  }
  for (auto& worker : workers) EXPECT_EQ(worker->Wait(), 0);
}

}  // namespace
