// Usage: ledger_worker FILE SEED CHANGES KEYS [OPTION...]
// A process that changes the ledger tables (LedgerTable.h) at random, for
// the multi-process tests. It connects a multi-user session, prints "ready"
// and waits for a line on standard input. Then it makes CHANGES changes, each
// an insert, update or delete of a random ID below KEYS in a random table:
// most commit on their own (the automatic commit of a post or delete), some
// are grouped two to four in a transaction committed with a flush, and one
// transaction in ten is rolled back instead. Changes that meet a lock, a
// duplicate ID or a record changed by another process fail and count for
// nothing.
//
// Before each commit it prints one line "begin" with the changes the commit
// carries ("I TABLE ID AMOUNT", "U TABLE ID AMOUNT", "D TABLE ID", separated
// by ";", TABLE the number of the table); after it "done" when the commit
// took effect and "undone" when it did not. At the end it prints
// "refused COUNT", the changes refused for a lock, a duplicate ID or a
// record changed meanwhile, and "total TABLE ROWS SUM" for each table (the
// rows and amounts its committed changes added), then "idle", and waits for
// standard input to close.
//
// Options:
//   table=T            changes only table number T
//   insert=FROM:COUNT  first inserts the IDs FROM to FROM + COUNT - 1 in
//                      turn into table T (0 without table=), each committed
//                      on its own, and only then makes the random changes
//   delete=FROM:COUNT  likewise deletes the IDs FROM to FROM + COUNT - 1 in
//                      turn, after the inserts
//   crash-write=C:W    commit number C (from 1) kills the process right before
//                      its W-th write to the file or its journal, counted from
//                      the line "begin"; a commit that writes less is left alone
//   crash-cut=C:W      likewise, but part of that write reaches the file
//                      first (StoppingFileSeam.h)
//   crash-after=US     the process kills itself US microseconds after the
//                      line that starts it, wherever it is then
// Waits after connecting are capped short. Engine errors print
// "error CODE MESSAGE" and end the process with 1.
#include <signal.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "engine/foundation/VTRExcept.h"
#include "platform/os/RetryPolicy.h"
#include "tests/engine/access/LedgerTable.h"
#include "tests/engine/storage/common/StoppingFileSeam.h"

namespace {

int32_t crash_commit = 0;
int32_t crash_write = 0;
StoppingFileSeam::Action crash_action = StoppingFileSeam::kKill;
int32_t commits_started = 0;
StoppingFileSeam* crash_seam = nullptr;  // set when a commit is to be cut

void CrashNow(int) {
  ::kill(::getpid(), SIGKILL);
}

void CrashAfter(long microseconds) {
  ::signal(SIGALRM, CrashNow);
  itimerval timer{};
  timer.it_value.tv_sec = microseconds / 1'000'000;
  timer.it_value.tv_usec = microseconds % 1'000'000;
  ::setitimer(ITIMER_REAL, &timer, nullptr);
}

void Say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

struct Change {
  char kind = 'I';  // 'I', 'U' or 'D'
  int32_t table = 0;
  int32_t id = 0;
  int32_t amount = 0;      // the new amount ('I', 'U')
  int32_t old_amount = 0;  // the amount replaced ('U', 'D')

  std::string Text() const {
    std::string text = std::string(1, kind) + " " + std::to_string(table) + " " + std::to_string(id);
    return kind == 'D' ? text : text + " " + std::to_string(amount);
  }
};

class Worker {
 public:
  // `table` -1: both tables.
  Worker(const std::string& file, uint32_t seed, int32_t keys, int32_t table)
      : random_(seed), keys_(keys), table_(table) {
    session_ = LedgerSession(file);
    session_->SetConnected(true);
    for (const std::string& name : kLedgerTables)
      cursors_.push_back(std::make_unique<LedgerCursor>(*session_, name));
    totals_.assign(kLedgerTables.size(), {0, 0});
  }

  // One commit's worth of changes; returns how many changes it tried.
  int32_t Step() {
    if (Chance(4)) return Transaction();
    Change change = Pick();
    if (!Prepare(change)) return 1;
    Begin({change});
    const bool done = Apply(change);
    End(done, {change});
    return 1;
  }

  // Inserts the IDs from `from` up, each an automatic commit.
  void InsertRun(int32_t from, int32_t count) {
    for (int32_t id = from; id < from + count; ++id) {
      const Change change{'I', table_ >= 0 ? table_ : 0, id,
                          std::uniform_int_distribution<int32_t>(1, 1000)(random_)};
      Begin({change});
      const bool done = Apply(change);
      End(done, {change});
    }
  }

  // Deletes the IDs from `from` up, each an automatic commit; an ID without a record is passed over.
  void DeleteRun(int32_t from, int32_t count) {
    for (int32_t id = from; id < from + count; ++id) {
      Change change{'D', table_ >= 0 ? table_ : 0, id};
      if (!Prepare(change)) continue;
      Begin({change});
      const bool done = Apply(change);
      End(done, {change});
    }
  }

  void PrintTotals() {
    Say("refused " + std::to_string(refusals_));
    for (size_t t = 0; t < totals_.size(); ++t)
      Say("total " + std::to_string(t) + " " + std::to_string(totals_[t].first) + " " +
          std::to_string(totals_[t].second));
  }

 private:
  bool Chance(int one_in) { return std::uniform_int_distribution<int>(0, one_in - 1)(random_) == 0; }

  Change Pick() {
    Change change;
    const int kind = std::uniform_int_distribution<int>(0, 2)(random_);
    change.kind = kind == 0 ? 'I' : kind == 1 ? 'U' : 'D';
    change.table = table_ >= 0 ? table_
                               : std::uniform_int_distribution<int32_t>(
                                     0, static_cast<int32_t>(cursors_.size()) - 1)(random_);
    change.id = std::uniform_int_distribution<int32_t>(0, keys_ - 1)(random_);
    change.amount = std::uniform_int_distribution<int32_t>(1, 1000)(random_);
    return change;
  }

  // Positions on the record an update or delete needs and, for an update,
  // edits it; false when the change cannot go ahead (no record, or locked).
  bool Prepare(Change& change) {
    if (change.kind == 'I') return true;
    LedgerCursor& cursor = *cursors_[change.table];
    try {
      if (!cursor.Find(change.id)) return false;
    } catch (const EVTRException& e) {
      // The read bracket of the search met another process's write lock.
      if (e.NativeError() != 20215) throw;
      return Refused();
    }
    change.old_amount = cursor.Current().amount;
    if (change.kind == 'D') return true;
    if (cursor.Edit() != 0) return Refused();
    change.old_amount = cursor.Current().amount;
    return true;
  }

  // Writes a prepared change; false when it was refused (an update's edit is then cancelled).
  bool Apply(const Change& change) {
    LedgerCursor& cursor = *cursors_[change.table];
    try {
      switch (change.kind) {
        case 'I':
          if (cursor.Insert({change.id, LedgerDonor(change.id, change.amount), change.amount}) == 0)
            return true;
          break;
        case 'U':
          if (cursor.Post(change.amount) == 0) return true;
          cursor.Cancel();
          break;
        default:
          if (cursor.Delete() == 0) return true;
      }
    } catch (const EVTRException& e) {
      // Outside a transaction the engine has rolled the change back.
      if (!IsFileLockTimeout(e)) throw;
      if (change.kind == 'U') cursor.Cancel();
    }
    return Refused();
  }

  // The header lock, which page allocation, page release and every commit
  // take, stayed with another process longer than the capped wait.
  static bool IsFileLockTimeout(const EVTRException& e) {
    const int32_t code = e.NativeError();
    return code == 20213 || code == 20231 || code == 20232;
  }

  bool Refused() {
    ++refusals_;
    return false;
  }

  int32_t Transaction() {
    const int32_t size = std::uniform_int_distribution<int32_t>(2, 4)(random_);
    std::vector<Change> changes;
    session_->StartTransaction();
    bool refused = false;
    for (int32_t i = 0; i < size && !refused; ++i) {
      Change change = Pick();
      if (!Prepare(change)) continue;
      if (Apply(change))
        changes.push_back(change);
      else
        refused = true;
    }
    if (refused || changes.empty() || Chance(10)) {
      session_->Rollback();
      return size;
    }
    Begin(changes);
    bool done = true;
    try {
      session_->Commit(true);
    } catch (const EVTRException& e) {
      // The lock upgrade can fail against another process's transaction.
      if (e.NativeError() != 20233 && !IsFileLockTimeout(e)) throw;
      session_->Rollback();
      done = Refused();
    }
    End(done, changes);
    return size;
  }

  void Begin(const std::vector<Change>& changes) {
    std::string line = "begin";
    for (size_t i = 0; i < changes.size(); ++i) line += (i ? ";" : " ") + changes[i].Text();
    Say(line);
    if (++commits_started == crash_commit && crash_seam != nullptr) crash_seam->Arm(crash_write, crash_action);
  }

  void End(bool done, const std::vector<Change>& changes) {
    if (crash_seam != nullptr) crash_seam->Disarm();
    Say(done ? "done" : "undone");
    if (!done) return;
    for (const Change& change : changes) {
      auto& [rows, sum] = totals_[change.table];
      if (change.kind == 'I') {
        ++rows;
        sum += change.amount;
      } else if (change.kind == 'U') {
        sum += change.amount - change.old_amount;
      } else {
        --rows;
        sum -= change.old_amount;
      }
    }
  }

  std::mt19937 random_;
  int32_t keys_;
  int32_t table_;
  std::unique_ptr<TVTRLocalSession> session_;
  std::vector<std::unique_ptr<LedgerCursor>> cursors_;  // closed before the session disconnects
  std::vector<std::pair<int64_t, int64_t>> totals_;
  int32_t refusals_ = 0;  // changes refused for a lock, a duplicate ID or a changed record
};

void WaitForLine() {
  char byte;
  while (::read(STDIN_FILENO, &byte, 1) == 1 && byte != '\n') {
  }
}

void WaitForEnd() {
  char byte;
  while (::read(STDIN_FILENO, &byte, 1) > 0) {
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) return 2;
  const uint32_t seed = static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10));
  const int32_t changes = std::atoi(argv[3]);
  const int32_t keys = std::atoi(argv[4]);
  int32_t table = -1;
  int32_t insert_from = 0;
  int32_t insert_count = 0;
  int32_t delete_from = 0;
  int32_t delete_count = 0;
  long crash_after = -1;
  for (int i = 5; i < argc; ++i) {
    const std::string option = argv[i];
    if (option.rfind("table=", 0) == 0) {
      table = std::atoi(option.c_str() + 6);
    } else if (option.rfind("insert=", 0) == 0 && option.find(':') != std::string::npos) {
      insert_from = std::atoi(option.c_str() + 7);
      insert_count = std::atoi(option.c_str() + option.find(':') + 1);
    } else if (option.rfind("delete=", 0) == 0 && option.find(':') != std::string::npos) {
      delete_from = std::atoi(option.c_str() + 7);
      delete_count = std::atoi(option.c_str() + option.find(':') + 1);
    } else if ((option.rfind("crash-write=", 0) == 0 || option.rfind("crash-cut=", 0) == 0) &&
               option.find(':') != std::string::npos) {
      crash_action = option[6] == 'c' ? StoppingFileSeam::kCut : StoppingFileSeam::kKill;
      crash_commit = std::atoi(option.c_str() + option.find('=') + 1);
      crash_write = std::atoi(option.c_str() + option.find(':') + 1);
    } else if (option.rfind("crash-after=", 0) == 0) {
      crash_after = std::atol(option.c_str() + 12);
    } else {
      return 2;
    }
  }
  StoppingFileSeam seam(argv[1]);
  ScopedFileSeam installed(seam);
  if (crash_commit > 0) crash_seam = &seam;
  try {
    Worker worker(argv[1], seed, keys, table);
    // Connecting waits as long as it must; from here on lock waits end
    // within a few milliseconds, so conflicts end as refusals.
    SetRetryCaps({20, 2});
    Say("ready");
    WaitForLine();
    if (crash_after >= 0) CrashAfter(crash_after);
    worker.InsertRun(insert_from, insert_count);
    worker.DeleteRun(delete_from, delete_count);
    for (int32_t made = 0; made < changes;) made += worker.Step();
    worker.PrintTotals();
    Say("idle");
    WaitForEnd();
  } catch (const EVTRException& e) {
    Say("error " + std::to_string(e.NativeError()) + " " + e.Message());
    return 1;
  }
  return 0;
}
