#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "HelperProcess.h"
#include "StorageFixtures.h"
#include "engine/storage/pager/ByteOrder.h"

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

TEST_F(TwoProcesses, AProcessKilledMidCommitLeavesTheFileMarkedForRepair) {
  HelperProcess crasher({name_, "crash-commit", std::to_string(page_no_), "9"});
  const int status = crasher.Wait();
  ASSERT_TRUE(WIFSIGNALED(status)) << "the helper ended without the hook";
  EXPECT_EQ(WTERMSIG(status), SIGKILL);
  std::vector<uint8_t> bytes = FileBytes(name_);
  EXPECT_EQ(bytes[42], 1);
  const int32_t counter = LoadI32(&bytes[38]);

  OpenResult result{};
  auto manager = OpenDatabaseFile(name_, true, &result);
  EXPECT_TRUE(result.needs_repair);
  ChangePage(*manager, 0, page_no_, 10);
  manager->Commit(0, true);
  bytes = FileBytes(name_);
  EXPECT_EQ(bytes[42], 1) << "a later commit declared the damaged file consistent";
  EXPECT_EQ(LoadI32(&bytes[38]), counter + 1);
}

}  // namespace
