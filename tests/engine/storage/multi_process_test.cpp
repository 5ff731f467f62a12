#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "HelperProcess.h"
#include "StorageFixtures.h"
#include "engine/storage/pager/JournalFormat.h"
#include "platform/os/FileSystem.h"

namespace {

class TwoProcesses : public ::testing::Test {
 protected:
  TwoProcesses() {
    CreateDatabaseFile(name_);
    auto manager = OpenDatabaseFile(name_);
    page_no_ = AddCommittedPage(*manager, 0, 1);
  }

  ScratchFolder folder_;
  std::string name_ = folder_.File("shared.vtr");
  int32_t page_no_ = -1;
};

TEST_F(TwoProcesses, ACommitWaitsForTheHeaderLockAndGivesUpWithoutWriting) {
  auto manager = OpenDatabaseFile(name_, true);
  HelperProcess holder({name_, "hold-header"});
  ASSERT_EQ(holder.Answer(), "locked");
  ChangePage(*manager, 0, page_no_, 2);
  const std::vector<uint8_t> before = FileBytes(name_);
  {
    ScopedRetryCaps caps({3, 1});
    try {
      manager->Commit(0);
      FAIL() << "committed under another process's header lock";
    } catch (const EVTRException& e) {
      EXPECT_EQ(e.Message(), "Database is locked - Native error: 20213");
    }
  }
  EXPECT_EQ(FileBytes(name_), before);
  holder.Wait();
  manager->Commit(0);
  EXPECT_EQ(PageContent(*OpenDatabaseFile(name_), 0, page_no_), 2);
}

TEST_F(TwoProcesses, AChangeOfAnotherProcessShowsOnlyAfterItsCommit) {
  auto manager = OpenDatabaseFile(name_, true);
  EXPECT_EQ(PageContent(*manager, 0, page_no_), 1);
  HelperProcess writer({name_, "change", std::to_string(page_no_), "7"});
  ASSERT_EQ(writer.Answer(), "changed");
  EXPECT_EQ(PageContent(*manager, 0, page_no_), 1);
  writer.Send("commit");
  ASSERT_EQ(writer.Answer(), "committed");
  EXPECT_EQ(PageContent(*manager, 0, page_no_), 7);
}

// Writes of a flushed commit of one changed page: the journal, the header
// with state 1, the page, the header with state 2, the journal's invalidation.
TEST_F(TwoProcesses, ACommitKilledAtAnyWriteOrMidWriteIsRolledBackWhole) {
  const std::vector<uint8_t> whole = FileBytes(name_);
  for (const char* action : {"kill", "cut"}) {
    int32_t writes = 0;
    std::vector<uint8_t> contents;  // what a reopen finds after a kill at write 1, 2, ...
    for (int32_t write = 1; writes == 0 && write < 20; ++write) {
      SCOPED_TRACE(std::string(action) + " at write " + std::to_string(write));
      WriteFileBytes(name_, whole);
      DeleteFileIfPresent(JournalFileName(name_));
      HelperProcess committer({name_, "stop-commit", std::to_string(page_no_), "9", std::to_string(write), action});
      if (committer.Answer() == "committed") {
        writes = write - 1;
        break;
      }
      const int status = committer.Wait();
      ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
      OpenResult result{};
      auto manager = OpenDatabaseFile(name_, true, &result);
      EXPECT_FALSE(result.needs_repair);
      EXPECT_EQ(FileBytes(name_)[42], 2);
      EXPECT_EQ(FileBytes(name_).size(), whole.size());
      contents.push_back(PageContent(*manager, 0, page_no_));
    }
    ASSERT_EQ(writes, 5) << action;
    // Only a kill at the journal's invalidation leaves the commit in place.
    EXPECT_EQ(contents, (std::vector<uint8_t>{1, 1, 1, 1, 9})) << action;
  }
}

TEST_F(TwoProcesses, AnOpenWaitsForACommitAndRollsBackOneWhoseProcessDied) {
  auto reader = OpenDatabaseFile(name_, true);
  EXPECT_EQ(PageContent(*reader, 0, page_no_), 1);
  {
    // Paused before its page write: the header says state 1.
    HelperProcess committer({name_, "stop-commit", std::to_string(page_no_), "9", "3", "pause"});
    ASSERT_EQ(committer.Answer(), "paused");
    EXPECT_EQ(FileBytes(name_)[42], 1);
    {
      ScopedRetryCaps caps({3, 1});
      EXPECT_EQ(NativeErrorOf([&] { OpenDatabaseFile(name_, true); }), 20230) << "the open did not wait";
    }
    committer.Send("go on");
    ASSERT_EQ(committer.Answer(), "committed");
    OpenResult result{};
    auto manager = OpenDatabaseFile(name_, true, &result);
    EXPECT_FALSE(result.needs_repair);
    EXPECT_EQ(PageContent(*manager, 0, page_no_), 9);
  }
  EXPECT_EQ(PageContent(*reader, 0, page_no_), 9);

  // Killed after its page write, before the header's state 2.
  HelperProcess victim({name_, "stop-commit", std::to_string(page_no_), "5", "4", "pause"});
  ASSERT_EQ(victim.Answer(), "paused");
  victim.Kill();
  EXPECT_TRUE(FileExists(JournalFileName(name_)));
  OpenResult result{};
  auto opener = OpenDatabaseFile(name_, true, &result);
  EXPECT_FALSE(result.needs_repair);
  EXPECT_EQ(FileBytes(name_)[42], 2);
  EXPECT_FALSE(FileExists(JournalFileName(name_))) << "the rolled-back journal stayed";
  EXPECT_EQ(PageContent(*reader, 0, page_no_), 9) << "the other process read the cut commit's page";
  EXPECT_EQ(PageContent(*opener, 0, page_no_), 9);
}

}  // namespace
