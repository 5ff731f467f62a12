// A database file on a file system of 2 MB that fills up: the insert that
// finds no room fails with the disk-full error naming the file and leaves the
// file whole, and once there is room again inserts work in this process and
// in a new one. The file system is a tmpfs mounted for the test; where
// mounting is not permitted the test is skipped (the file seam tests in
// tests/engine/storage/pager/free_space_test.cpp cover the same road).
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/base/ResultCodes.h"
#include "tests/engine/access/LedgerChecks.h"
#include "tests/engine/storage/HelperProcess.h"
#include "tests/engine/storage/common/MapsCheck.h"
#include "tests/support/ScratchFolder.h"

namespace {

class FullDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::mount("tmpfs", mount_point_.c_str(), "tmpfs", 0, "size=2m") != 0) {
      const int error = errno;
      if (error == EPERM || error == EACCES)
        GTEST_SKIP() << "mounting a 2 MB file system is not permitted here: " << std::strerror(error);
      FAIL() << "cannot mount a 2 MB file system: " << std::strerror(error);
    }
    mounted_ = true;
  }
  void TearDown() override {
    if (mounted_) ::umount2(mount_point_.c_str(), MNT_DETACH);
  }

  ScratchFolder folder_;
  std::string mount_point_ = folder_.Path().string();
  std::string file_ = mount_point_ + "/dat_temple.vtr";
  std::string filler_ = mount_point_ + "/filler";
  bool mounted_ = false;
};

LedgerRow Row(int32_t id) {
  return {id, LedgerDonor(id, id * 10), id * 10};
}

TEST_F(FullDisk, AnInsertThatFindsTheDiskFullFailsAndTheNextWorksOnceThereIsRoom) {
  std::ofstream(filler_, std::ios::binary) << std::string(256 * 1024, 'f');
  CreateLedgerDatabase(file_, 2000);
  std::map<int32_t, LedgerRow> committed;
  auto session = LedgerSession(file_);
  session->SetConnected(true);
  {
    LedgerCursor ledger(*session, "Ledger");
    for (int32_t id = 1;; ++id) {
      ASSERT_LT(id, 5000) << "the disk never filled";
      try {
        ASSERT_EQ(ledger.Insert(Row(id)), kResultOK);
      } catch (const EVTRException& e) {
        EXPECT_EQ(e.NativeError(), 30370) << e.Message();
        EXPECT_NE(e.Message().find(file_), std::string::npos) << e.Message();
        break;
      }
      committed[id] = Row(id);
    }
  }
  ExpectHeaderAgreesWithMaps(file_);
  EXPECT_EQ(CheckedRows(*session, "Ledger"), committed);

  std::filesystem::remove(filler_);
  const int32_t next = committed.rbegin()->first + 1;
  ASSERT_EQ(LedgerCursor(*session, "Ledger").Insert(Row(next)), kResultOK);
  committed[next] = Row(next);
  {
    // A new process inserts one record: "begin I 0 ID AMOUNT", then "done".
    HelperProcess worker(VTR_LEDGER_WORKER, {file_, "1", "0", "1", "insert=" + std::to_string(next + 1) + ":1"});
    ASSERT_EQ(worker.Answer(), "ready");
    worker.Send("go");
    std::istringstream begin(worker.Answer());
    std::string word, kind, table;
    LedgerRow row;
    begin >> word >> kind >> table >> row.id >> row.amount;
    ASSERT_EQ(word + kind + table, "beginI0");
    ASSERT_EQ(worker.Answer(), "done");
    row.donor = LedgerDonor(row.id, row.amount);
    committed[row.id] = row;
  }
  session->SetConnected(false);
  ExpectHeaderAgreesWithMaps(file_);
  session->SetConnected(true);
  EXPECT_EQ(CheckedRows(*session, "Ledger"), committed);
}

}  // namespace
