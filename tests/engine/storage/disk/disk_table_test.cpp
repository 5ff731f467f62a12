#include <gtest/gtest.h>

#include "engine/storage/pager/ByteOrder.h"
#include "engine/storage/pager/DiskPageManager.h"
#include "engine/storage/index/IndexManager.h"
#include "engine/storage/locks/TableLockManager.h"
#include "engine/storage/records/DiskRecordManager.h"
#include "platform/os/RetryPolicy.h"
#include "tests/engine/storage/StorageFixtures.h"
#include "tests/engine/storage/common/RecordingFileSeam.h"
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
  ProcessTableCursor cursor(process);
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
  EXPECT_EQ(cursor.Table().GetLastAutoincValue(cursor.SessionID(), kIDField), 2);
}

TEST_F(DiskTable, AnInsertRolledBackInATransactionLeavesTheCountersAsTheyWere) {
  TableProcess process(file_, false);
  ProcessTableCursor cursor(process);
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
    ProcessTableCursor cursor(process);
    cursor.Create();
    cursor.Open();
    ASSERT_TRUE(cursor.Insert("Somchai", &picture));
    ASSERT_TRUE(cursor.Insert("Malee"));
  }
  TableProcess process(file_, false);
  ProcessTableCursor cursor(process);
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
  ProcessTableCursor first(process), second(process), third(process);
  first.Create();
  first.Open();
  second.Open();
  EXPECT_EQ(&first.Table(), &second.Table());
  EXPECT_ENGINE_ERROR(
      third.Open(true), 20242,
      "Cannot access table 'DONATION' in exclusive mode. Probably the table is open by another "
      "cursors");
  EXPECT_FALSE(third.IsOpen());
  ProcessTableCursor dropper(process);
  EXPECT_ENGINE_ERROR(dropper.Drop(), 20017,
                      "Cannot delete table 'DONATION'. Table is open by another dataset");
}

// An exclusive open and a shared open of one session each give back the lock
// they took, so that nothing stays locked after both close.
TEST_F(DiskTable, EachOpenGivesBackTheLockItTookSoAnotherProcessCanOpenAfterwards) {
  ScopedRetryCaps caps({3, 1});
  TableProcess one(file_, true), other(file_, true);
  {
    ProcessTableCursor creator(one);
    creator.Create();
  }
  ProcessTableCursor exclusive(one), shared(one), outsider(other);
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
  ProcessTableCursor cursor(process);
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

TEST_F(DiskTable, EmptyingDeletesRecordsAndValuesAndRestartsTheCounters) {
  TableProcess process(file_, false);
  TVTRDiskPageManager& pages = *process.database.DiskPageManager();
  ProcessTableCursor cursor(process);
  cursor.Create();
  const int32_t created = pages.FreeSpaceManager().LastUsedPage();
  cursor.Open();
  const Bytes picture = Picture(9000, 1);
  for (int i = 0; i < 50; ++i) ASSERT_TRUE(cursor.Insert("Name " + std::to_string(i), &picture));
  cursor.Close();

  cursor.Empty();
  EXPECT_EQ(pages.FreeSpaceManager().LastUsedPage(), created);
  cursor.Open();
  EXPECT_EQ(cursor.Table().GetTableRecordCount(cursor), 0);
  ASSERT_TRUE(cursor.Insert("Somchai"));
  EXPECT_EQ(cursor.ID(), 1);
}

TEST_F(DiskTable, ARenamedTableOpensOnlyUnderItsNewName) {
  TableProcess process(file_, false);
  {
    ProcessTableCursor cursor(process);
    cursor.Create();
    cursor.Open();
    ASSERT_TRUE(cursor.Insert("Somchai"));
    cursor.Close();
    cursor.Rename("GIFTS");
  }
  EXPECT_FALSE(process.database.TableExists("DONATION"));
  ProcessTableCursor renamed(process, "GIFTS");
  renamed.Open();
  EXPECT_EQ(renamed.Table().TableName, "GIFTS");
  EXPECT_EQ(renamed.Table().GetTableRecordCount(renamed), 1);
}

TEST_F(DiskTable, DefinitionChangesReachTheMetadataFile) {
  TableProcess process(file_, false);
  {
    ProcessTableCursor cursor(process);
    cursor.Create();
    cursor.Open();
    ASSERT_TRUE(cursor.Insert("Somchai"));
    TVTRIndexDef by_id;
    by_id.Name = "BY_ID";
    by_id.SetColumnCount(1);
    by_id.GetColumn(0).FieldName = "ID";
    cursor.Table().AddIndex(by_id, cursor);
    const auto* by_name = cursor.Table().IndexManager->IndexDefs.GetIndexDefByName("BY_NAME");
    ASSERT_NE(by_name, nullptr);
    cursor.Table().DeleteIndex(by_name->ObjectID, &cursor);
    cursor.Table().RenameField("NAME", "DONOR");
  }
  ProcessTableCursor cursor(process);
  cursor.Open();
  const TVTRIndexDefs& indexes = cursor.Table().IndexManager->IndexDefs;
  ASSERT_EQ(indexes.GetCount(), 1);
  EXPECT_EQ(indexes.GetIndexDef(0).Name, "BY_ID");
  EXPECT_NE(cursor.Table().FieldManager->FieldDefs.GetFieldDefByName("DONOR"), nullptr);
}

TEST_F(DiskTable, TemporaryIndexesKeepTheirPagesOutOfTheFile) {
  TableProcess process(file_, false);
  TVTRDiskPageManager& pages = *process.database.DiskPageManager();
  ProcessTableCursor cursor(process);
  cursor.Create();
  cursor.Open();
  for (const char* name : {"Malee", "Somchai", "Boonmee"}) ASSERT_TRUE(cursor.Insert(name));
  const int32_t used = pages.FreeSpaceManager().LastUsedPage();

  TStringList fields, directions, cases;
  fields.Add("NAME");
  directions.Add("DESC");
  cases.Add("CASE");
  const std::string name = cursor.Table().CreateTemporaryIndex(cursor, fields, directions, cases);
  cursor.IndexID = cursor.Table().IndexManager->IndexDefs.GetIndexDefByName(name)->ObjectID;
  cursor.Bof = true;
  std::vector<std::string> names;
  while (cursor.Fetch(fmNext) == grOK) names.push_back(cursor.Name());
  EXPECT_EQ(names, (std::vector<std::string>{"Somchai", "Malee", "Boonmee"}));
  EXPECT_EQ(pages.FreeSpaceManager().LastUsedPage(), used);
}

TEST_F(DiskTable, CreationRefusesWhatItCannotBuildAndLeavesNothingBehind) {
  TableProcess process(file_, false);
  TVTRDiskPageManager& pages = *process.database.DiskPageManager();
  ProcessTableCursor cursor(process);
  cursor.Create();
  const int32_t created = pages.FreeSpaceManager().LastUsedPage();

  EXPECT_EQ(NativeErrorOf([&] { cursor.Create(); }), 30395) << "the name is listed already";
  EXPECT_EQ(pages.FreeSpaceManager().LastUsedPage(), created);
  TVTRFieldDefs no_fields;
  TVTRIndexDefs indexes;
  TVTRConstraintDefs constraints;
  ProcessTableCursor other(process, "OTHER");
  auto* table = static_cast<TVTRDiskTableData*>(process.database.GetTableData(other));
  EXPECT_ENGINE_ERROR(table->CreateTable(other, no_fields, indexes, constraints), 20128,
                      "Error creating table - no fields were specified");
  table->FreeIfUnused();
  EXPECT_FALSE(process.database.TableExists("OTHER"));
}

TEST_F(DiskTable, ReplacedAndDeletedValuesGiveTheirPagesBack) {
  TableProcess process(file_, false);
  TVTRDiskPageManager& pages = *process.database.DiskPageManager();
  ProcessTableCursor cursor(process);
  cursor.Create();
  cursor.Open();
  ASSERT_TRUE(cursor.Insert("Somchai"));
  const int32_t plain = pages.FreeSpaceManager().LastUsedPage();

  cursor.WritePicture(Picture(12000, 1));
  ASSERT_TRUE(cursor.Update());
  cursor.WritePicture(Picture(12000, 2));
  ASSERT_TRUE(cursor.Update());
  EXPECT_EQ(cursor.ReadPicture(), Picture(12000, 2));
  cursor.WritePicture({});
  ASSERT_TRUE(cursor.Update());
  EXPECT_EQ(pages.FreeSpaceManager().LastUsedPage(), plain) << "an emptied value keeps no page";

  cursor.WritePicture(Picture(12000, 3));
  ASSERT_TRUE(cursor.Update());
  ASSERT_TRUE(cursor.Table().DeleteRecord(cursor));
  EXPECT_TRUE(cursor.Bof);
  EXPECT_EQ(cursor.Table().GetTableRecordCount(cursor), 0);
  EXPECT_LT(pages.FreeSpaceManager().LastUsedPage(), plain) << "the record page went too";
}

// A record write the store refuses leaves the record buffer naming the
// values the stored record names, with the new one still waiting to be
// posted: inside a transaction the new value is deleted again, outside it
// the session's rollback takes it.
TEST_F(DiskTable, ARefusedUpdateLeavesTheRecordOnItsStoredValue) {
  TableProcess process(file_, false);
  TVTRDiskPageManager& pages = *process.database.DiskPageManager();
  ProcessTableCursor cursor(process);
  cursor.Create();
  cursor.Open();
  const Bytes stored = Picture(6000, 1);
  ASSERT_TRUE(cursor.Insert("Somchai", &stored));
  const int32_t used = pages.FreeSpaceManager().LastUsedPage();
  const TVTRRecordID record_id = cursor.CurrentRecordID;
  CachedBlobValue* cache = nullptr;
  const TVTRBlobReference reference =
      cursor.Table().BlobManager->GetBlobRef(cursor.CurrentRecord, kPictureField, cache);

  for (const bool in_transaction : {false, true}) {
    SCOPED_TRACE(in_transaction ? "inside a transaction" : "outside a transaction");
    process.session.InTransaction = in_transaction;
    cursor.WritePicture(Picture(6000, 2));
    cursor.CurrentRecordID = {record_id.PageNo, static_cast<uint16_t>(record_id.SlotNo + 1)};
    EXPECT_FALSE(cursor.Update());
    process.database.Commit(process.session.SessionID, false);
    process.session.InTransaction = false;
    EXPECT_EQ(cursor.Table().BlobManager->GetBlobRef(cursor.CurrentRecord, kPictureField, cache), reference);
    EXPECT_EQ(pages.FreeSpaceManager().LastUsedPage(), used) << "the new value is gone";
    EXPECT_EQ(cursor.Table().BlobManager->CachedValueCount(), 1) << "and waits to be posted again";
    cursor.Table().FreeRecordBlobs(cursor.CurrentRecord);
    cursor.CurrentRecordID = record_id;
  }
  EXPECT_EQ(cursor.ReadPicture(), stored);
}

// A new value that cannot be stored leaves the record's stored value alone:
// a transaction committed after the failure gives no page of it back, so a
// value stored later cannot take its pages, and the record reads as before.
TEST_F(DiskTable, AValueThatCannotBeStoredLeavesTheOldValueWhereTheRecordFindsIt) {
  TableProcess process(file_, false);
  ProcessTableCursor cursor(process);
  cursor.Create();
  cursor.Open();
  const Bytes stored = Picture(6000, 1);
  ASSERT_TRUE(cursor.Insert("Somchai", &stored));
  const TVTRRecordID record_id = cursor.CurrentRecordID;

  process.session.InTransaction = true;
  cursor.WritePicture(Picture(6000, 2));
  RecordingFileSeam disk(file_);
  disk.write_error = EIO;
  {
    ScopedFileSeam installed(disk);
    EXPECT_THROW(cursor.Update(), EVTRException) << "the new value's pages could not be had";
  }
  cursor.Table().FreeRecordBlobs(cursor.CurrentRecord);
  process.database.Commit(process.session.SessionID, false);
  process.session.InTransaction = false;

  const Bytes later = Picture(6000, 3);
  ASSERT_TRUE(cursor.Insert("Malee", &later));
  cursor.CurrentRecordID = record_id;
  ASSERT_EQ(cursor.Fetch(fmCurrent), grOK);
  const Bytes read = cursor.ReadPicture();
  EXPECT_FALSE(read == later) << "the record read the value stored after it";
  EXPECT_TRUE(read == stored) << "the record lost its value";
}

TEST_F(DiskTable, AMultiUserReadWaitsForTheReadLockAndRefreshesTheCounters) {
  ScopedRetryCaps caps({2, 1});
  TableProcess one(file_, true), other(file_, true);
  ProcessTableCursor writer(one), reader(other);
  writer.Create();
  writer.Open();
  reader.Open();
  const Bytes picture = Picture(7000, 4);
  ASSERT_TRUE(writer.Insert("Somchai", &picture));
  for (const char* name : {"Malee", "Boonmee"}) ASSERT_TRUE(writer.Insert(name));

  EXPECT_EQ(reader.Table().GetTableRecordCount(reader), 3) << "counted by the other process";
  ASSERT_EQ(reader.Fetch(fmNext), grOK);
  EXPECT_EQ(reader.Name(), "Somchai");
  EXPECT_EQ(reader.ReadPicture(), picture);

  ASSERT_TRUE(writer.Table().LockTable(writer.SessionID(), tltWrite, 1, 1));
  EXPECT_EQ(reader.Fetch(fmNext), grError);
  EXPECT_ENGINE_ERROR(reader.Table().GetTableRecordCount(reader), 20218, "Table is locked");
  EXPECT_ENGINE_ERROR(reader.Table().GetNaturalRecNo(reader), 20220, "Table is locked");
  ASSERT_TRUE(writer.Table().UnlockTable(writer.SessionID(), tltWrite));
  ASSERT_EQ(reader.Fetch(fmNext), grOK);
  EXPECT_EQ(reader.Name(), "Malee");
  EXPECT_EQ(reader.Table().GetNaturalRecNo(reader), 2);
  EXPECT_TRUE(other.database.TableLockManager->LocksOf(other.session.SessionID)
                  .HasLock(tltOpen, reader.Table().LocksFile->StartPage()));
  EXPECT_FALSE(other.database.TableLockManager->LocksOf(other.session.SessionID)
                   .HasLock(tltRead, reader.Table().LocksFile->StartPage()))
      << "each read gives its lock back";
}

}  // namespace
