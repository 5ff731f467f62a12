// A worker process (helpers/ledger_worker.cpp) is killed again and again
// while it changes the ledger tables: before a chosen write of a chosen
// commit to the file or its journal, in the middle of such a write, or at a
// random moment. After each kill the next open must find the file whole at a
// commit boundary: no repair asked, the indexes, the free-space maps and the
// header agreeing, every commit that returned there and nothing of the one
// that was cut. What a kill or a power loss can cost is written down in
// doc/engine-design.md (3.1 and 3.2); these tests show it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/storage/btree/BTreePage.h"
#include "engine/storage/records/DiskRecordManager.h"
#include "tests/engine/access/ComponentFixture.h"
#include "tests/engine/access/LedgerChecks.h"
#include "tests/engine/storage/common/MapsCheck.h"
#include "tests/engine/storage/HelperProcess.h"
#include "tests/support/ScratchFolder.h"

namespace {

constexpr int kRounds = 150;
constexpr int kChangesPerRound = 40;
constexpr int kKeys = 50;

// The amount of each ID of each table; a missing ID has no record.
using Tables = std::vector<std::map<int32_t, int32_t>>;

struct Change {
  char kind = 0;
  size_t table = 0;
  int32_t id = 0;
  int32_t amount = 0;
};

std::vector<Change> ParseChanges(const std::string& text) {
  std::vector<Change> changes;
  std::istringstream parts(text);
  std::string part;
  while (std::getline(parts, part, ';')) {
    std::istringstream words(part);
    Change change;
    words >> change.kind >> change.table >> change.id;
    if (change.kind != 'D') words >> change.amount;
    changes.push_back(change);
  }
  return changes;
}

Tables Applied(Tables tables, const std::vector<Change>& changes) {
  for (const Change& change : changes) {
    if (change.kind == 'D')
      tables.at(change.table).erase(change.id);
    else
      tables.at(change.table)[change.id] = change.amount;
  }
  return tables;
}

// What the worker's lines tell: the tables as its returned commits left
// them, and the changes of a commit that had begun but not returned.
struct WorkerLog {
  Tables committed;
  std::optional<std::vector<Change>> in_flight;
};

WorkerLog ReadLog(HelperProcess& worker, Tables committed) {
  WorkerLog log{std::move(committed), std::nullopt};
  for (;;) {
    const std::string line = worker.Answer();
    if (line.empty() || line == "idle") return log;
    if (line.rfind("begin ", 0) == 0) {
      log.in_flight = ParseChanges(line.substr(6));
    } else if (line == "done" || line == "undone") {
      if (line == "done") log.committed = Applied(log.committed, *log.in_flight);
      log.in_flight.reset();
    } else if (line.rfind("total ", 0) != 0 && line.rfind("refused ", 0) != 0) {
      ADD_FAILURE() << "the worker said: " << line;
      return log;
    }
  }
}

Tables Found(TVTRLocalSession& session, bool check_whole) {
  Tables found;
  for (const std::string& table : kLedgerTables) {
    const std::map<int32_t, LedgerRow> rows =
        check_whole ? CheckedRows(session, table) : ScannedRows(session, table);
    std::map<int32_t, int32_t>& amounts = found.emplace_back();
    for (const auto& [id, row] : rows) amounts[id] = row.amount;
  }
  return found;
}

// Every ID holds what the returned commits gave it, or, where the commit in
// flight changed it, what that commit would give it; no other ID is found.
// `where` names the kill in the messages.
void ExpectCommittedRecordsFound(const Tables& found, const WorkerLog& log, const std::string& where) {
  const Tables after = log.in_flight ? Applied(log.committed, *log.in_flight) : log.committed;
  const auto text = [](const std::map<int32_t, int32_t>& amounts, int32_t id) {
    const auto it = amounts.find(id);
    return it == amounts.end() ? std::string("nothing") : std::to_string(it->second);
  };
  for (size_t t = 0; t < found.size(); ++t) {
    std::set<int32_t> ids;
    for (const Tables* tables : {&found, &log.committed, &after})
      for (const auto& [id, amount] : tables->at(t)) ids.insert(id);
    int32_t wrong = 0;
    std::string first_wrong;
    for (const int32_t id : ids) {
      const std::string seen = text(found[t], id);
      if (seen == text(log.committed[t], id) || seen == text(after[t], id)) continue;
      if (wrong++ == 0)
        first_wrong =
            "ID " + std::to_string(id) + ": found " + seen + ", committed " + text(log.committed[t], id);
    }
    EXPECT_EQ(wrong, 0) << where << ", table " << kLedgerTables[t] << ": IDs wrong, the first "
                        << first_wrong;
  }
}

// Opens the file after a kill, as the next user would: it must need no
// repair, its tables and indexes must be whole, and once closed its header
// and free-space maps must agree. Answers what its tables hold.
Tables ReopenedTables(const std::string& file, const std::string& where) {
  Tables found;
  {
    auto session = LedgerSession(file);
    session->SetConnected(true);
    EXPECT_FALSE(session->NeedsRepair) << where << ": the file was left for repair";
    EXPECT_NO_THROW(found = Found(*session, true)) << where;
  }
  ExpectHeaderAgreesWithMaps(file);
  return found;
}

// Rounds of workers on a copy of the last whole file. Worker 0 is killed;
// any others run to their end alongside it.
class CrashRounds : public ::testing::Test {
 protected:
  CrashRounds() { CreateLedgerDatabase(whole_); }

  void RunRounds(const std::vector<std::string>& survivor_options) {
    for (int round = 0; round < kRounds && !HasFailure(); ++round) RunRound(round, survivor_options);
    // Kills inside commits and rounds that changed the file must both have
    // been met for the rounds to mean anything.
    EXPECT_GT(cut_commits_, 0);
    EXPECT_GT(whole_rounds_with_changes_, 0);
  }

 private:
  std::vector<std::string> Arguments(int round, int worker, const std::vector<std::string>& options) const {
    std::vector<std::string> arguments{work_, std::to_string(round * 10 + worker),
                                       std::to_string(kChangesPerRound), std::to_string(kKeys)};
    arguments.insert(arguments.end(), options.begin(), options.end());
    return arguments;
  }

  void RunRound(int round, const std::vector<std::string>& survivor_options) {
    std::filesystem::copy_file(whole_, work_, std::filesystem::copy_options::overwrite_existing);
    std::vector<std::string> victim_options;
    if (!survivor_options.empty()) victim_options.push_back("table=0");
    if (round % 3 != 2) {
      victim_options.push_back(
          std::string(round % 3 == 0 ? "crash-write=" : "crash-cut=") +
          std::to_string(std::uniform_int_distribution(1, 12)(random_)) + ":" +
          std::to_string(std::uniform_int_distribution(1, 8)(random_)));
    } else {
      victim_options.push_back("crash-after=" +
                               std::to_string(std::uniform_int_distribution(0, 40'000)(random_)));
    }
    HelperProcess victim(VTR_LEDGER_WORKER, Arguments(round, 0, victim_options));
    std::optional<HelperProcess> survivor;
    if (!survivor_options.empty()) survivor.emplace(VTR_LEDGER_WORKER, Arguments(round, 1, survivor_options));
    ASSERT_EQ(victim.Answer(), "ready");
    if (survivor) {
      ASSERT_EQ(survivor->Answer(), "ready");
    }
    victim.Send("go");
    if (survivor) survivor->Send("go");
    WorkerLog log = ReadLog(victim, whole_tables_);
    victim.Kill();  // one that finished its changes dies idle
    if (survivor) {
      const WorkerLog survived = ReadLog(*survivor, log.committed);
      ASSERT_FALSE(survived.in_flight) << "round " << round << ": the survivor stopped mid-commit";
      log.committed = survived.committed;
    }

    const std::string where = "round " + std::to_string(round);
    const Tables found = ReopenedTables(work_, where);
    ExpectCommittedRecordsFound(found, log, where);
    const bool all_or_nothing =
        found == log.committed || (log.in_flight && found == Applied(log.committed, *log.in_flight));
    EXPECT_TRUE(all_or_nothing) << where << ": the file holds part of a commit";
    if (log.in_flight) ++cut_commits_;
    if (found != whole_tables_) ++whole_rounds_with_changes_;
    std::filesystem::copy_file(work_, whole_, std::filesystem::copy_options::overwrite_existing);
    whole_tables_ = found;
  }

  ScratchFolder folder_;
  const std::string whole_ = folder_.File("whole.vtr");
  const std::string work_ = folder_.File("dat_temple.vtr");
  Tables whole_tables_ = Tables(kLedgerTables.size());
  std::mt19937 random_{20240611};
  int cut_commits_ = 0;
  int whole_rounds_with_changes_ = 0;
};

TEST_F(CrashRounds, KillsDuringCommitsNeverLoseACommittedRecordNorHideDamage) {
  RunRounds({});
}

// The survivor keeps committing to the other table after the kill, over the
// pages the dead commit left half written.
TEST_F(CrashRounds, AWriterKilledBesideAnotherCostsTheOtherNoCommittedRecord) {
  RunRounds({"table=1"});
}

// Records wide enough that a page holds only a few, so that a table of a
// thousand or so fills one leaf of its record-page map.
constexpr int32_t kWideNoteChars = 1500;
// A leaf entry of a page map: the page number and its record count.
constexpr int32_t kMapLeafEntrySize = 4 + 2;

struct RecordPages {
  int32_t listed = 0;            // record pages the Ledger's map lists
  int32_t leaves = 0;            // leaves of the map, with a root of at most two levels
  int32_t records_per_page = 0;  // what one record page holds
  int32_t leaf_capacity = 0;     // entries one map leaf holds
};

RecordPages LedgerRecordPages(const std::string& file) {
  auto session = LedgerSession(file);
  session->SetConnected(true);
  LedgerCursor cursor(*session, kLedgerTables[0]);
  auto& records = dynamic_cast<TVTRDiskRecordManager&>(*cursor.Cursor().TableData->RecordManager);
  RecordPages pages;
  pages.records_per_page = records.RecordsPerPage;
  pages.leaf_capacity = (records.PageManager.PageDataSize() - kBTreePageHeaderSize) / kMapLeafEntrySize;
  TVTRBTreeRecordPageIndex& map = records.RecordPageIndex;
  TVTRKeyPath path;
  map.First(session->SessionID, path);
  EXPECT_LE(path.Depth(), 2);
  pages.leaves = path.Depth() == 2 ? path.At(0).Count : 1;
  int32_t page_no = -1;
  for (bool found = map.FirstPage(session->SessionID, page_no); found;
       found = map.NextPage(session->SessionID, page_no, page_no))
    ++pages.listed;
  return pages;
}

// The worker's option that inserts (`kind` "insert") or deletes ("delete")
// the IDs `from` to `from + count - 1`.
std::string IDRun(const std::string& kind, int32_t from, int32_t count) {
  return kind + "=" + std::to_string(from) + ":" + std::to_string(count);
}

// A worker that runs `run` (IDRun) on the Ledger, each ID in a commit of its
// own, with `option` added to its arguments.
WorkerLog RunWorker(const std::string& file, const std::string& run, const Tables& committed,
                    const std::string& option = {}) {
  std::vector<std::string> arguments{file, "7", "0", "1", "table=0", run};
  if (!option.empty()) arguments.push_back(option);
  HelperProcess worker(VTR_LEDGER_WORKER, arguments);
  EXPECT_EQ(worker.Answer(), "ready");
  worker.Send("go");
  WorkerLog log = ReadLog(worker, committed);
  worker.Kill();
  return log;
}

// Kills the commit of `run` (IDRun of one ID) on a copy of `whole` before
// its write 1, 2, ... to the file or its journal, and again in the middle of
// that write, until the commit writes less than that. Each kill must leave
// the file whole (ReopenedTables) and without the change, but for a kill at
// the last write, the journal's invalidation after the file is complete,
// which leaves the change in. Answers the log of the commit that ran whole,
// its file left in `work`.
WorkerLog KillAtEveryWrite(const std::string& whole, const std::string& work, const Tables& committed,
                           const std::string& run) {
  constexpr int32_t kMaxWrites = 100;
  WorkerLog whole_run;
  for (const std::string how : {"crash-write=1:", "crash-cut=1:"}) {
    std::vector<bool> changed;  // by the kill at write 1, 2, ...
    for (int32_t write = 1; write <= kMaxWrites; ++write) {
      std::filesystem::copy_file(whole, work, std::filesystem::copy_options::overwrite_existing);
      const std::string option = how + std::to_string(write);
      const WorkerLog log = RunWorker(work, run, committed, option);
      const Tables found = ReopenedTables(work, option);
      if (!log.in_flight) {
        EXPECT_EQ(found, log.committed);
        whole_run = log;
        break;
      }
      EXPECT_TRUE(found == committed || found == Applied(committed, *log.in_flight)) << option;
      changed.push_back(found != committed);
    }
    EXPECT_GT(changed.size(), 2u) << how << ": the commit never ran whole, or wrote too little";
    std::vector<bool> expected(changed.size(), false);
    if (!expected.empty()) expected.back() = true;
    EXPECT_EQ(changed, expected) << how << ": which kills left the change in the file";
  }
  return whole_run;
}

// The insert that needs one record page more than a full map leaf lists
// splits that leaf: the root leaf, which keeps its page number and becomes a
// node over two new leaves, and later the last of those leaves, whose parent
// then gains an entry; a delete later merges two leaves. Killed at any write
// of such a commit, it must leave the file as it was before the commit.
TEST(CrashDuringRecordPageMapSplitOrMerge, AKillAtAnyWriteLeavesTheFileAsBeforeTheCommit) {
  ScratchFolder folder;
  const std::string whole = folder.File("whole.vtr");
  const std::string work = folder.File("dat_temple.vtr");
  CreateLedgerDatabase(whole, kWideNoteChars);
  const RecordPages empty = LedgerRecordPages(whole);
  const int32_t leaf = empty.leaf_capacity;
  struct Split {
    const char* what;
    int32_t pages_listed;  // before the commit, the leaf to split full
    int32_t leaves;        // before the commit
  };
  // A split leaves the lower half, rounded down, in the left page.
  const Split splits[] = {{"the root leaf", leaf, 1}, {"the last leaf", (leaf + 1) / 2 + leaf, 2}};
  Tables committed(kLedgerTables.size());
  int32_t next_id = 0;
  for (const Split& split : splits) {
    SCOPED_TRACE(split.what);
    const int32_t fill = split.pages_listed * empty.records_per_page - next_id;
    const WorkerLog filled = RunWorker(whole, IDRun("insert", next_id, fill), committed);
    next_id += fill;
    ASSERT_FALSE(filled.in_flight);
    ASSERT_EQ(filled.committed[0].size(), static_cast<size_t>(next_id));
    const RecordPages before = LedgerRecordPages(whole);
    ASSERT_EQ(before.listed, split.pages_listed);
    ASSERT_EQ(before.leaves, split.leaves);

    committed = KillAtEveryWrite(whole, work, filled.committed, IDRun("insert", next_id++, 1)).committed;
    ASSERT_FALSE(HasFailure());
    EXPECT_EQ(LedgerRecordPages(work).leaves, split.leaves + 1) << "the commit split no map leaf";
    std::filesystem::copy_file(work, whole, std::filesystem::copy_options::overwrite_existing);
  }

  // After the splits the first two leaves hold one entry more than one leaf
  // can (the leaf count, checked below, shows it). Emptying the first record
  // page takes one entry from the first leaf, and the pair still does not
  // fit; the commit that empties the second record page takes another, and
  // the first leaf merges into its neighbour and is given back with it.
  SCOPED_TRACE("a merge");
  const int32_t last_on_second_page = 2 * empty.records_per_page - 1;
  const WorkerLog emptied = RunWorker(whole, IDRun("delete", 0, last_on_second_page), committed);
  ASSERT_FALSE(emptied.in_flight);
  ASSERT_EQ(LedgerRecordPages(whole).leaves, 3);
  KillAtEveryWrite(whole, work, emptied.committed, IDRun("delete", last_on_second_page, 1));
  EXPECT_EQ(LedgerRecordPages(work).leaves, 2) << "the commit merged no map leaves";
}


// The insert that splits the last leaf of a two-leaf map, killed before any
// of its writes, on a file whose journal is then lost (a file system without
// byte locks leaves it to a repair): one kill falls between the new leaf's
// write and its parent's, which leaves the record pages that moved to the new
// leaf listed nowhere. Opening the file with a repair then gives back every
// record committed before (the repaired file whole, its indexes checked) and
// names the table whose pages the map had lost.
class RepairAfterKill : public ComponentTest {};

TEST_F(RepairAfterKill, ARepairAtOpenBringsBackTheRecordsOfPagesTheMapLost) {
  const std::string whole = folder_.File("whole.vtr");
  const std::string work = folder_.File("dat_temple.vtr");
  CreateLedgerDatabase(whole, kWideNoteChars);
  const RecordPages empty = LedgerRecordPages(whole);
  const int32_t pages = (empty.leaf_capacity + 1) / 2 + empty.leaf_capacity;
  const int32_t fill = pages * empty.records_per_page;
  const WorkerLog filled = RunWorker(whole, IDRun("insert", 0, fill), Tables(kLedgerTables.size()));
  ASSERT_FALSE(filled.in_flight);
  const RecordPages before = LedgerRecordPages(whole);
  ASSERT_EQ(before.listed, pages);
  ASSERT_EQ(before.leaves, 2);

  const std::string named = "Problem occured while copying table 'Ledger'";
  bool lost_pages = false;
  for (int32_t write = 1;; ++write) {
    ASSERT_LE(write, 100) << "the commit never ran to its end";
    const std::string where = "killed before write " + std::to_string(write);
    SCOPED_TRACE(where);
    std::filesystem::copy_file(whole, work, std::filesystem::copy_options::overwrite_existing);
    const WorkerLog log = RunWorker(work, IDRun("insert", fill, 1), filled.committed, "crash-write=1:" + std::to_string(write));
    if (!log.in_flight) break;
    std::filesystem::remove(work + "-journal");
    int32_t unlisted = 0;
    {
      auto session = LedgerSession(work);
      session->SetConnected(true);
      session->SetRepairMode(true);
      LedgerCursor cursor(*session, kLedgerTables[0]);
      unlisted = cursor.Cursor().TableData->UnlistedRecordPageCount(cursor.Cursor());
    }
    lost_pages = lost_pages || unlisted > 0;

    const size_t shown = ui_.Transcript().size();
    auto database = Database("d_ledger", work);
    database->OnNeedRepair = [](TObject*, bool& do_repair) { do_repair = true; };
    ASSERT_NO_THROW(database->Open()) << where;
    database->Close();
    const bool warned = ui_.Transcript().size() > shown;
    const std::string warning = warned ? ui_.Transcript().back().Text : "";
    EXPECT_EQ(warning.find(named) != std::string::npos, unlisted > 0) << where << ": " << warning;

    auto session = LedgerSession(work);
    session->SetConnected(true);
    EXPECT_FALSE(session->NeedsRepair) << where;
    ExpectCommittedRecordsFound(Found(*session, true), log, where);
  }
  EXPECT_TRUE(lost_pages) << "no kill left record pages that the map did not list";
}

}  // namespace
