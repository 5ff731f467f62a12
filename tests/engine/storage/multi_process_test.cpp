#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "StorageFixtures.h"
#include "engine/storage/ByteOrder.h"

namespace {

// The storage helper program, run as a separate process on the same file.
class HelperProcess {
 public:
  explicit HelperProcess(const std::vector<std::string>& arguments) {
    int to_child[2];
    int from_child[2];
    if (::pipe(to_child) != 0 || ::pipe(from_child) != 0) ADD_FAILURE() << "pipe failed";
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(VTR_STORAGE_HELPER));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(to_child[0], STDIN_FILENO);
      ::dup2(from_child[1], STDOUT_FILENO);
      ::close(to_child[1]);
      ::close(from_child[0]);
      ::execv(VTR_STORAGE_HELPER, argv.data());
      ::_exit(127);
    }
    ::close(to_child[0]);
    ::close(from_child[1]);
    input_ = to_child[1];
    output_ = from_child[0];
  }
  ~HelperProcess() {
    if (pid_ > 0) ::kill(pid_, SIGKILL);
    Wait();
  }

  std::string Answer() {
    std::string line;
    char c;
    while (::read(output_, &c, 1) == 1 && c != '\n') line.push_back(c);
    return line;
  }
  void Send(const std::string& line) {
    const std::string text = line + "\n";
    EXPECT_EQ(::write(input_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }
  // Closes its input and waits for its end; the wait status.
  int Wait() {
    if (input_ >= 0) ::close(input_);
    input_ = -1;
    int status = 0;
    if (pid_ > 0) ::waitpid(pid_, &status, 0);
    pid_ = -1;
    if (output_ >= 0) ::close(output_);
    output_ = -1;
    return status;
  }

 private:
  pid_t pid_ = -1;
  int input_ = -1;
  int output_ = -1;
};

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
