#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/engine/storage/StorageFixtures.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/storage/pager/ByteOrder.h"
#include "engine/storage/pager/DatabaseFile.h"
#include "engine/storage/pager/FileSeam.h"
#include "tests/engine/storage/HelperProcess.h"
#include "platform/os/OSFile.h"
#include "tests/support/ScratchFolder.h"

namespace {

// A file holding `junk` bytes of filler, then a signature record (the
// signature and a header size) at `offset`, then some more bytes.
void WriteFileWithRecord(const std::string& name, int64_t offset, int16_t header_size, int64_t tail = 100) {
  std::vector<uint8_t> bytes(static_cast<size_t>(offset + 18 + tail), 'V');
  std::memcpy(&bytes[static_cast<size_t>(offset)], "VANTORDATABASE00", 16);
  StoreI16(&bytes[static_cast<size_t>(offset + 16)], header_size);
  OSFile::Create(name).WriteAt(bytes.data(), bytes.size(), 0);
}

class DatabaseFile : public ::testing::Test {
 protected:
  ScratchFolder folder_;
  std::string name_ = folder_.File("db.vtr");
};

TEST_F(DatabaseFile, OperationsOnAClosedFileNameTheOperation) {
  TVTRDatabaseFile file;
  char byte;
  try {
    file.ReadBuffer(&byte, 1, 0);
    FAIL();
  } catch (const EVTRException& e) {
    EXPECT_EQ(e.Message(),
              "Cannot perform this operation (ReadBuffer) on a closed file - Native error: 30376");
  }
  EXPECT_EQ(NativeErrorOf([&] { file.LockByte(360); }), 30376);
  EXPECT_EQ(NativeErrorOf([&] { file.CloseFile(); }), 30376);
  file.CreateFile(name_);
  EXPECT_EQ(NativeErrorOf([&] { file.OpenFile(name_, famRead, fsmDenyNone); }), 30377);
}

TEST_F(DatabaseFile, OpeningRefusesBadModesAndMissingFiles) {
  TVTRDatabaseFile file;
  EXPECT_EQ(NativeErrorOf([&] { file.CreateFile(""); }), 30374);
  EXPECT_EQ(NativeErrorOf([&] { file.OpenFile(name_, 2, fsmDenyNone); }), 30366);
  EXPECT_EQ(NativeErrorOf([&] { file.OpenFile(name_, famRead, 3); }), 30367);
  try {
    file.OpenFile(name_, famRead, fsmDenyNone);
    FAIL();
  } catch (const EVTRException& e) {
    EXPECT_EQ(e.Message(),
              "Cannot open file:'" + name_ +
                  "' Error code: 2. ErrorMessage: No such file or directory - Native error: 30364");
  }
  EXPECT_FALSE(file.IsOpen());
}

TEST_F(DatabaseFile, CreateReplacesAReadOnlyFile) {
  OSFile::Create(name_).WriteAt("old content", 11, 0);
  ASSERT_EQ(::chmod(name_.c_str(), 0444), 0);
  TVTRDatabaseFile file;
  file.CreateFile(name_);
  EXPECT_EQ(file.GetSize(), 0);
  file.WriteBuffer("new", 10469, 0, 3);
  EXPECT_EQ(file.GetSize(), 3);
}

TEST_F(DatabaseFile, ReadingPastTheEndSucceedsAndLeavesTheRestOfTheBuffer) {
  TVTRDatabaseFile file;
  file.CreateFile(name_);
  file.WriteBuffer("abcd", 10469, 0, 4);
  char buffer[8];
  std::memset(buffer, '-', sizeof buffer);
  EXPECT_TRUE(file.ReadBuffer(buffer, 8, 2));
  EXPECT_EQ(std::string(buffer, 8), "cd------");
  EXPECT_TRUE(file.ReadBuffer(buffer, 8, 100));
  file.ReadBufferChecked(buffer, 10464, 0, 2);
  EXPECT_EQ(std::string(buffer, 2), "ab");
  EXPECT_EQ(NativeErrorOf([&] { file.ReadBufferChecked(buffer, 10464, -1, 2); }), 10464);
  EXPECT_EQ(NativeErrorOf([&] { file.WriteBuffer(buffer, 10462, -1, 2); }), 10462);
}

TEST_F(DatabaseFile, SetSizeGrowsWithZerosAndTruncates) {
  TVTRDatabaseFile file;
  file.CreateFile(name_);
  file.SetSize(8192);
  EXPECT_EQ(file.GetSize(), 8192);
  uint8_t byte = 1;
  file.ReadBufferChecked(&byte, 10474, 8191, 1);
  EXPECT_EQ(byte, 0);
  file.SetSize(380);
  EXPECT_EQ(file.GetSize(), 380);
  file.FlushFileBuffers();
  file.CloseFile();
  EXPECT_FALSE(file.IsOpen());
}

TEST_F(DatabaseFile, FindSignatureFindsTheHeaderAtAnyOffset) {
  // 9982 and 9983 put the record across the end of the first 10,000-byte window.
  for (const int64_t offset : {int64_t{0}, int64_t{5000}, int64_t{9982}, int64_t{9983}, int64_t{9984},
                               int64_t{19980}, int64_t{25000}}) {
    WriteFileWithRecord(name_, offset, 76);
    TVTRDatabaseFile file;
    file.OpenFile(name_, famRead, fsmDenyNone);
    int64_t base = -1;
    EXPECT_TRUE(file.FindSignature(base)) << offset;
    EXPECT_EQ(base, offset);
  }
}

TEST_F(DatabaseFile, FindSignatureSkipsARecordWithAnotherHeaderSize) {
  std::vector<uint8_t> bytes(12000, 0);
  std::memcpy(&bytes[100], "VANTORDATABASE00", 16);
  StoreI16(&bytes[116], 75);
  std::memcpy(&bytes[11000], "VANTORDATABASE00", 16);
  StoreI16(&bytes[11016], 76);
  OSFile::Create(name_).WriteAt(bytes.data(), bytes.size(), 0);
  TVTRDatabaseFile file;
  file.OpenFile(name_, famRead, fsmDenyNone);
  int64_t base = -1;
  EXPECT_TRUE(file.FindSignature(base));
  EXPECT_EQ(base, 11000);
}

TEST_F(DatabaseFile, FindSignatureAnswersFalseWithoutARecord) {
  // The signature at the very end has no room for its header size behind it.
  std::vector<uint8_t> bytes(10016, 'x');
  std::memcpy(&bytes[10000], "VANTORDATABASE00", 16);
  OSFile::Create(name_).WriteAt(bytes.data(), bytes.size(), 0);
  TVTRDatabaseFile file;
  file.OpenFile(name_, famRead, fsmDenyNone);
  int64_t base = 7;
  EXPECT_FALSE(file.FindSignature(base));
  OSFile::Create(name_);
  TVTRDatabaseFile empty;
  empty.OpenFile(name_, famRead, fsmDenyNone);
  EXPECT_FALSE(empty.FindSignature(base));
}

TEST_F(DatabaseFile, ALockedByteCannotBeLockedAgainInThisProcess) {
  TVTRDatabaseFile first;
  first.CreateFile(name_);
  first.CloseFile();
  first.OpenFile(name_, famReadWrite, fsmDenyNone);
  TVTRDatabaseFile second;
  second.OpenFile(name_, famReadWrite, fsmDenyNone);

  EXPECT_FALSE(first.IsByteLocked(360));
  EXPECT_TRUE(first.LockByte(360));
  EXPECT_FALSE(first.LockByte(360)) << "the same object locked a held byte";
  EXPECT_FALSE(second.LockByte(360)) << "another file object locked a held byte";
  EXPECT_TRUE(second.IsByteLocked(360));
  EXPECT_TRUE(first.IsRegionLocked(355, 10));
  EXPECT_FALSE(first.IsRegionLocked(361, 10));
  EXPECT_FALSE(second.UnlockByte(360)) << "released a lock it does not hold";
  EXPECT_TRUE(first.UnlockByte(360));
  EXPECT_FALSE(first.UnlockByte(360));
  EXPECT_TRUE(second.LockByte(360));
  EXPECT_FALSE(first.LockingUnsupported());
  // A probe takes nothing: the holder still holds the byte afterwards.
  EXPECT_TRUE(second.IsByteLocked(360));
  EXPECT_FALSE(first.LockByte(360));
}

// The first lock call on one byte of the file fails as on a file system
// that cannot lock.
class NoLockingForByte : public TVTRFileSeam {
 public:
  NoLockingForByte(std::string file, int64_t offset) : file_(std::move(file)), offset_(offset) {}
  bool LockingUnavailable(const std::string& file, int64_t offset, int64_t) override {
    if (file != file_ || offset != offset_ || used_) return false;
    used_ = true;
    return true;
  }

 private:
  std::string file_;
  int64_t offset_;
  bool used_ = false;
};

// Once a file system has said it cannot lock, a failed lock counts as taken;
// a byte that someone holds is still refused, whoever holds it.
TEST_F(DatabaseFile, AFileSystemWithoutLocksNeverGrantsAByteSomeoneHolds) {
  CreateDatabaseFile(name_);
  HelperProcess other({name_, "hold-header"});
  ASSERT_EQ(other.Answer(), "locked");
  TVTRDatabaseFile neighbour;
  neighbour.OpenFile(name_, famReadWrite, fsmDenyNone);
  ASSERT_TRUE(neighbour.LockByte(376));
  TVTRDatabaseFile file;
  file.OpenFile(name_, famReadWrite, fsmDenyNone);
  NoLockingForByte seam(name_, 359);
  {
    ScopedFileSeam installed(seam);
    EXPECT_TRUE(file.LockByte(359)) << "a file system that cannot lock grants every lock";
  }
  ASSERT_TRUE(file.LockingUnsupported());
  EXPECT_FALSE(file.LockByte(360)) << "granted the header byte another process holds";
  EXPECT_FALSE(file.LockByte(376)) << "granted a byte another file object of this process holds";
  EXPECT_TRUE(file.LockByte(377));
  EXPECT_FALSE(file.LockByte(377)) << "granted a byte the file object holds itself";
  EXPECT_TRUE(file.UnlockByte(359)) << "a lock that was never taken is given back";
}

TEST_F(DatabaseFile, ExclusiveOpenIsRefusedWhileTheFileIsOpenElsewhere) {
  TVTRDatabaseFile creator;
  creator.CreateFile(name_);
  TVTRDatabaseFile other;
  EXPECT_EQ(NativeErrorOf([&] { other.OpenFile(name_, famRead, fsmDenyNone); }), 30364)
      << "a file being created is shared with nobody";
  creator.CloseFile();

  TVTRDatabaseFile shared;
  shared.OpenFile(name_, famReadWrite, fsmDenyNone);
  EXPECT_NO_THROW(other.OpenFile(name_, famRead, fsmDenyNone));
  other.CloseFile();
  EXPECT_EQ(NativeErrorOf([&] { other.OpenFile(name_, famReadWrite, fsmExclusive); }), 30364);
  EXPECT_EQ(NativeErrorOf([&] { other.CreateFile(name_); }), 30361) << "replaced a file in use";
  EXPECT_EQ(NativeErrorOf([&] { other.OpenFile(name_, famRead, fsmDenyWrite); }), 30364)
      << "denied writing to a file open for writing";
  shared.CloseFile();
  other.OpenFile(name_, famReadWrite, fsmExclusive);
  EXPECT_EQ(NativeErrorOf([&] { shared.OpenFile(name_, famRead, fsmDenyNone); }), 30364);
}

}  // namespace
