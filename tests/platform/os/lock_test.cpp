#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/os/OSFile.h"
#include "tests/support/ScratchFolder.h"

namespace {

// Lock bytes of a database lie near its start and, per page, at offsets far
// beyond 4 GiB; both must behave alike.
constexpr int64_t kHeaderLockByte = 360;
constexpr int64_t kFarByte = (int64_t{1} << 33) + 359;

// The lock helper program, run as a separate process on the same file.
class Helper {
 public:
  Helper(const std::string& file, const std::string& command, int64_t offset, int64_t length = 1) {
    int to_child[2];
    int from_child[2];
    if (::pipe(to_child) != 0 || ::pipe(from_child) != 0) ADD_FAILURE() << "pipe failed";
    const std::string offset_text = std::to_string(offset);
    const std::string length_text = std::to_string(length);
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(to_child[0], STDIN_FILENO);
      ::dup2(from_child[1], STDOUT_FILENO);
      ::close(to_child[1]);
      ::close(from_child[0]);
      ::execl(VTR_LOCK_HELPER, VTR_LOCK_HELPER, file.c_str(), command.c_str(), offset_text.c_str(),
              length_text.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(to_child[0]);
    ::close(from_child[1]);
    input_ = to_child[1];
    output_ = from_child[0];
  }
  ~Helper() { Kill(); }

  // The helper's answer line.
  std::string Answer() {
    std::string line;
    char c;
    while (::read(output_, &c, 1) == 1 && c != '\n') line.push_back(c);
    return line;
  }

  void Kill() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    ::close(input_);
    ::close(output_);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  int input_ = -1;
  int output_ = -1;
};

std::string OtherProcess(const std::string& file, const std::string& command, int64_t offset,
                         int64_t length = 1) {
  return Helper(file, command, offset, length).Answer();
}

class ByteLocks : public ::testing::Test {
 protected:
  ByteLocks() : name_(folder_.File("db.vtr")) { OSFile::Create(name_).WriteAt("header", 6, 0); }
  OSFile OpenFile() { return OSFile::Open(name_, OSFileAccess::kReadWrite); }

  ScratchFolder folder_;
  std::string name_;
};

TEST_F(ByteLocks, ALockHeldInAnotherProcessIsSeenUntilThatProcessIsKilled) {
  OSFile file = OpenFile();
  for (int64_t offset : {kHeaderLockByte, kFarByte}) {
    SCOPED_TRACE(offset);
    Helper holder(name_, "hold", offset);
    ASSERT_EQ(holder.Answer(), "granted");
    EXPECT_EQ(file.TryLock(offset, 1), LockStatus::kConflict);
    EXPECT_EQ(file.ProbeLock(offset, 1), RegionState::kLocked);
    EXPECT_EQ(file.ProbeLock(offset - 10, 20), RegionState::kLocked) << "any byte of a range counts";
    EXPECT_EQ(file.ProbeLock(offset + 1, 1), RegionState::kFree);
    holder.Kill();
    EXPECT_EQ(file.ProbeLock(offset, 1), RegionState::kFree);
    EXPECT_EQ(file.TryLock(offset, 1), LockStatus::kGranted);
    EXPECT_TRUE(file.Unlock(offset, 1));
  }
}

TEST_F(ByteLocks, OneProcessCannotLockAHeldByteTwice) {
  OSFile first = OpenFile();
  OSFile second = OpenFile();
  ASSERT_EQ(first.TryLock(kFarByte, 1), LockStatus::kGranted);
  EXPECT_EQ(first.TryLock(kFarByte, 1), LockStatus::kConflict) << "through the same descriptor";
  EXPECT_EQ(second.TryLock(kFarByte, 1), LockStatus::kConflict) << "through a second descriptor";
  EXPECT_EQ(second.TryLock(kFarByte - 5, 10), LockStatus::kConflict) << "an overlapping range";
  EXPECT_EQ(second.TryLock(kFarByte + 1, 1), LockStatus::kGranted) << "the next byte is free";
  EXPECT_EQ(second.ProbeLock(kFarByte, 1), RegionState::kLocked);
  EXPECT_EQ(first.ProbeLockByOthers(kFarByte, 1), RegionState::kFree);
  EXPECT_EQ(first.ProbeLockByOthers(kFarByte + 1, 1), RegionState::kLocked);

  EXPECT_FALSE(second.Unlock(kFarByte, 1)) << "only the holder unlocks";
  EXPECT_TRUE(first.Unlock(kFarByte, 1));
  EXPECT_FALSE(first.Unlock(kFarByte, 1));
  EXPECT_EQ(second.TryLock(kFarByte, 1), LockStatus::kGranted);
}

TEST_F(ByteLocks, ClosingAnotherDescriptorOfTheFileKeepsTheLocks) {
  OSFile holder = OpenFile();
  ASSERT_EQ(holder.TryLock(kHeaderLockByte, 1), LockStatus::kGranted);
  OpenFile().Close();
  { OSFile transient = OpenFile(); }
  EXPECT_EQ(OtherProcess(name_, "try", kHeaderLockByte), "conflict");
}

TEST_F(ByteLocks, AProbeLeavesTheProbersOwnLockInPlace) {
  OSFile file = OpenFile();
  ASSERT_EQ(file.TryLock(kHeaderLockByte, 1), LockStatus::kGranted);
  EXPECT_EQ(file.ProbeLock(kHeaderLockByte, 1), RegionState::kLocked);
  EXPECT_EQ(OtherProcess(name_, "probe", kHeaderLockByte), "locked");
  EXPECT_EQ(OtherProcess(name_, "try", kHeaderLockByte), "conflict");
}

TEST_F(ByteLocks, ClosingTheHolderReleasesItsLocks) {
  OSFile other = OpenFile();
  {
    OSFile holder = OpenFile();
    ASSERT_EQ(holder.TryLock(kHeaderLockByte, 1), LockStatus::kGranted);
    holder.Close();
  }
  EXPECT_EQ(other.TryLock(kHeaderLockByte, 1), LockStatus::kGranted);
  EXPECT_EQ(OtherProcess(name_, "try", kHeaderLockByte + 1), "granted");
}

TEST_F(ByteLocks, SharedMarkersAdmitEachOtherButNotAnExclusiveLock) {
  constexpr int64_t kMarker = int64_t{1} << 40;
  OSFile first = OpenFile();
  OSFile second = OpenFile();
  ASSERT_EQ(first.TryLock(kMarker, 1, LockKind::kShared), LockStatus::kGranted);
  EXPECT_EQ(second.TryLock(kMarker, 1, LockKind::kShared), LockStatus::kGranted);
  EXPECT_EQ(first.ProbeLockByOthers(kMarker, 1), RegionState::kLocked);

  Helper other(name_, "hold-shared", kMarker);
  ASSERT_EQ(other.Answer(), "granted");
  EXPECT_TRUE(second.Unlock(kMarker, 1));
  EXPECT_EQ(first.ProbeLockByOthers(kMarker, 1), RegionState::kLocked) << "the other process";
  EXPECT_EQ(second.TryLock(kMarker, 1), LockStatus::kConflict);
  other.Kill();
  EXPECT_EQ(first.ProbeLockByOthers(kMarker, 1), RegionState::kFree);
  EXPECT_EQ(OtherProcess(name_, "try", kMarker), "conflict");
}

TEST_F(ByteLocks, AReadOnlyDescriptorReportsExclusiveLockingUnavailable) {
  OSFile reader = OSFile::Open(name_, OSFileAccess::kReadOnly);
  EXPECT_EQ(reader.TryLock(kHeaderLockByte, 1), LockStatus::kUnavailable);
  EXPECT_EQ(reader.ProbeLock(kHeaderLockByte, 1), RegionState::kFree) << "probes work read-only";
  EXPECT_EQ(reader.TryLock(kHeaderLockByte, 1, LockKind::kShared), LockStatus::kGranted);
  EXPECT_EQ(OtherProcess(name_, "try", kHeaderLockByte), "conflict");
}

}  // namespace
