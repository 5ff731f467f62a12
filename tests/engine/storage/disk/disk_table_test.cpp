#include <gtest/gtest.h>

#include "engine/storage/ByteOrder.h"
#include "engine/storage/DiskPageManager.h"
#include "engine/storage/locks/TableLockManager.h"
#include "engine/storage/records/DiskRecordManager.h"
#include "platform/os/RetryPolicy.h"
#include "tests/engine/storage/StorageFixtures.h"
#include "tests/engine/storage/disk/DiskTableTestSupport.h"

namespace {

Bytes Picture(size_t count, uint32_t seed) {
  Bytes bytes(count);
  for (uint8_t& byte : bytes) {
    seed = seed * 1664525u + 1013904223u;
    byte = static_cast<uint8_t>(seed >> 24);
  }
  return bytes;
}

class DiskTable : public ::testing::Test {
 protected:
  DiskTable() { CreateCatalogueFile(file_); }

  ScratchFolder folder_;
  std::string file_ = folder_.File("temple.vtr");
};

TEST_F(DiskTable, ATableOfThreeFieldsKeepsItsCountersInA36ByteFileAfterEveryInsert) {
  TableProcess process(file_, false);
  TableCursor cursor(process);
  cursor.Create();
  cursor.Open();
  Bytes metadata(static_cast<size_t>(cursor.Table().MetadataFile->GetUncompressedSize(0)));
  cursor.Table().MetadataFile->ReadFile(0, metadata.data(), static_cast<int32_t>(metadata.size()));
  EXPECT_EQ(LoadI32(metadata.data()), 3) << "the metadata starts with the field count";

  ASSERT_TRUE(cursor.Insert("Somchai"));
  ASSERT_TRUE(cursor.Insert("Malee"));
  const Bytes counters = CountersFile(cursor.Table(), cursor.SessionID());
  ASSERT_EQ(counters.size(), 36u);
  EXPECT_EQ(LoadI32(counters.data()), 3);
  EXPECT_EQ(static_cast<int64_t>(LoadU64(counters.data() + 4)), 2) << "the last ID issued";
  EXPECT_EQ(LoadI32(counters.data() + 28), 2) << "changes";
  EXPECT_EQ(LoadI32(counters.data() + 32), 2) << "records";
}

TEST_F(DiskTable, AnInsertRolledBackInATransactionLeavesTheCountersAsTheyWere) {
  TableProcess process(file_, false);
  TableCursor cursor(process);
  cursor.Create();
  cursor.Open();
  ASSERT_TRUE(cursor.Insert("Somchai"));
  process.session.InTransaction = true;
  ASSERT_TRUE(cursor.Insert("Malee"));
  EXPECT_EQ(cursor.ID(), 2);
  process.database.Rollback(process.session.SessionID);
  process.session.InTransaction = false;

  EXPECT_EQ(cursor.Table().GetTableRecordCount(cursor), 1);
  ASSERT_TRUE(cursor.Insert("Boonmee"));
  EXPECT_EQ(cursor.ID(), 2) << "the rolled-back value is issued again";
  EXPECT_EQ(LoadI32(CountersFile(cursor.Table(), cursor.SessionID()).data() + 32), 2);
}

TEST_F(DiskTable, ANewTableObjectReadsRecordsAndValuesBackFromTheFile) {
  const Bytes picture = Picture(9000, 7);
  {
    TableProcess process(file_, false);
    TableCursor cursor(process);
    cursor.Create();
    cursor.Open();
    ASSERT_TRUE(cursor.Insert("Somchai", &picture));
    ASSERT_TRUE(cursor.Insert("Malee"));
  }
  TableProcess process(file_, false);
  TableCursor cursor(process);
  cursor.Open();
  EXPECT_EQ(cursor.Table().GetTableRecordCount(cursor), 2);
  ASSERT_EQ(cursor.Fetch(fmNext), grOK);
  EXPECT_EQ(cursor.Name(), "Somchai");
  EXPECT_EQ(cursor.ReadPicture(), picture);
  ASSERT_EQ(cursor.Fetch(fmNext), grOK);
  EXPECT_EQ(cursor.Name(), "Malee");
  EXPECT_TRUE(cursor.ReadPicture().empty());
  EXPECT_EQ(cursor.Fetch(fmNext), grEOF);
}

TEST_F(DiskTable, CursorsOfOneProcessShareTheTableAndAnExclusiveRequestWaitsForThemToLeave) {
  TableProcess process(file_, false);
  TableCursor first(process), second(process), third(process);
  first.Create();
  first.Open();
  second.Open();
  EXPECT_EQ(&first.Table(), &second.Table());
  EXPECT_ENGINE_ERROR(
      third.Open(true), 20242,
      "Cannot access table 'DONATION' in exclusive mode. Probably the table is open by another "
      "cursors");
  EXPECT_FALSE(third.IsOpen());
  TableCursor dropper(process);
  EXPECT_ENGINE_ERROR(dropper.Drop(), 20017,
                      "Cannot delete table 'DONATION'. Table is open by another dataset");
}

// An exclusive open and a shared open of one session each give back the lock
// they took, so that nothing stays locked after both close.
TEST_F(DiskTable, EachOpenGivesBackTheLockItTookSoAnotherProcessCanOpenAfterwards) {
  ScopedRetryCaps caps({3, 1});
  TableProcess one(file_, true), other(file_, true);
  {
    TableCursor creator(one);
    creator.Create();
  }
  TableCursor exclusive(one), shared(one), outsider(other);
  exclusive.Open(true);
  shared.Open();
  EXPECT_ENGINE_ERROR(outsider.Open(), 20209, "Cannot open table 'DONATION'. Table is locked");
  EXPECT_EQ(NativeErrorOf([&] { outsider.Open(true); }), 20208);
  exclusive.Close();
  shared.Close();
  EXPECT_TRUE(one.database.TableLockManager->LocksOf(one.session.SessionID).Empty());
  outsider.Open(true);
  EXPECT_TRUE(outsider.IsOpen());
}

TEST_F(DiskTable, DroppingATableGivesEveryPageBack) {
  TableProcess process(file_, false);
  TVTRDiskPageManager& pages = *process.database.DiskPageManager();
  const int32_t before = pages.FreeSpaceManager().LastUsedPage();
  TableCursor cursor(process);
  cursor.Create();
  cursor.Open();
  const Bytes picture = Picture(20000, 3);
  for (int i = 0; i < 200; ++i)
    ASSERT_TRUE(cursor.Insert("Name " + std::to_string(i), i % 50 ? nullptr : &picture));
  cursor.Close();
  ASSERT_GT(pages.FreeSpaceManager().LastUsedPage(), before + 10);

  cursor.Drop();
  EXPECT_FALSE(process.database.TableExists("DONATION"));
  EXPECT_EQ(pages.FreeSpaceManager().LastUsedPage(), before);
}

}  // namespace
