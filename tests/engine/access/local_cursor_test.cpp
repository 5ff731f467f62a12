#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "engine/foundation/containers/BufferBits.h"
#include "engine/storage/VTRTempEngine.h"
#include "engine/storage/base/ResultCodes.h"
#include "engine/storage/database/DatabaseDataList.h"
#include "tests/engine/access/DonateTable.h"
#include "tests/engine/storage/common/EngineTestSupport.h"
#include "tests/support/ScratchFolder.h"

namespace {

std::vector<int32_t> IDs(const std::vector<Donation>& donations) {
  std::vector<int32_t> ids;
  for (const Donation& donation : donations) ids.push_back(donation.id);
  return ids;
}

class LocalCursor : public ::testing::Test {
 protected:
  LocalCursor() {
    CreateDonateDatabase(name_);
    session_->SetConnected(true);
  }

  // A cursor that only names the table, for the table operations.
  TVTRLocalCursor& Named(const std::string& table) {
    named_.Session = session_.get();
    named_.TableName = table;
    return named_;
  }

  ScopedRetryCaps caps_{{0, 1}};
  ScratchFolder folder_;
  std::string name_ = folder_.File("dat_temple.vtr");
  std::unique_ptr<TVTRLocalSession> session_ = DonateSession(name_);
  TVTRLocalCursor named_;
};

TEST_F(LocalCursor, InsertsAndReadsBackInStorageAndIndexOrder) {
  DonateCursor donations(*session_);
  for (const Donation& donation :
       {Donation{3, "Wichai", 30}, Donation{1, "Malee", 10}, Donation{2, "Anan", 20}})
    ASSERT_EQ(donations.Insert(donation), kResultOK);
  EXPECT_EQ(donations.Cursor().GetRecordCount(), 3);
  EXPECT_EQ(IDs(donations.All()), (std::vector<int32_t>{3, 1, 2}));
  donations.Cursor().SetIndexName("ByDonor");
  EXPECT_EQ(IDs(donations.All()), (std::vector<int32_t>{2, 1, 3}));
  donations.Cursor().SetIndexName("ByID");
  EXPECT_EQ(IDs(donations.All()), (std::vector<int32_t>{1, 2, 3}));
  ASSERT_TRUE(donations.Find(2));
  EXPECT_EQ(donations.Current().donor, "Anan");
  EXPECT_EQ(donations.Delete(), kResultOK);
  EXPECT_EQ(IDs(donations.All()), (std::vector<int32_t>{1, 3}));
}

TEST_F(LocalCursor, TableOperationsNameTheTableTheyMiss) {
  EXPECT_ENGINE_ERROR(Named("Goods").DeleteTable(), 20132, "Table 'Goods' not found");
  EXPECT_ENGINE_ERROR(Named("Goods").EmptyTable(), 20133, "Table 'Goods' not found");
  EXPECT_ENGINE_ERROR(Named("Goods").RenameTable("Stock"), 20134, "Table 'Goods' not found");
  EXPECT_ENGINE_ERROR(Named("Donate").RenameTable("DONATE"), 30452,
                      "Cannot rename table 'Donate' into itself");
  const DonateDefinitions definitions;
  Named("Goods").CreateTable(definitions.fields, TVTRIndexDefs(), definitions.constraints);
  EXPECT_ENGINE_ERROR(Named("Donate").RenameTable("goods"), 30451, "Table goods already exists");
  Named("Goods").RenameTable("Stock");
  EXPECT_EQ(named_.TableName, "Stock");
  EXPECT_FALSE(session_->TableExists("Goods"));
  Named("Stock").DeleteTable();
  EXPECT_FALSE(session_->TableExists("Stock"));
  EXPECT_TRUE(session_->TableExists("Donate"));
}

TEST_F(LocalCursor, EmptiesATableAndKeepsItsIndexes) {
  {
    DonateCursor donations(*session_);
    ASSERT_EQ(donations.Insert({1, "Anan", 10}), kResultOK);
  }
  Named("Donate").EmptyTable();
  DonateCursor donations(*session_);
  EXPECT_EQ(donations.Cursor().GetRecordCount(), 0);
  EXPECT_EQ(donations.Cursor().GetIndexDefs().GetCount(), 2);
}

TEST_F(LocalCursor, IndexesAreAddedAndDroppedByName) {
  DonateCursor donations(*session_);
  TVTRLocalCursor& cursor = donations.Cursor();
  TVTRIndexDef by_amount;
  by_amount.Name = "ByAmount";
  by_amount.SetColumnCount(1);
  by_amount.GetColumn(0).FieldName = "Amount";
  cursor.AddIndex(by_amount);
  EXPECT_NE(cursor.IndexDefs.GetIndexDefByName("ByAmount"), nullptr);
  EXPECT_ENGINE_ERROR(cursor.AddIndex(by_amount), 20022,
                      "Cannot create index 'ByAmount'. Index already exists");
  cursor.DeleteIndex("ByAmount");
  EXPECT_EQ(cursor.IndexDefs.GetIndexDefByName("ByAmount"), nullptr);
  EXPECT_ENGINE_ERROR(cursor.DeleteIndex("ByAmount"), 20021,
                      "Cannot delete index 'ByAmount'. Index not found");
}

TEST_F(LocalCursor, AViolatedConstraintEndsAsAResultWithItsMessageAndACorrectedPostFollows) {
  DonateCursor donations(*session_);
  TVTRIndexDef unique_donor;
  unique_donor.Name = "ByDonorUnique";
  unique_donor.SetColumnCount(1);
  unique_donor.GetColumn(0).FieldName = "Donor";
  unique_donor.Unique = true;
  donations.Cursor().AddIndex(unique_donor);
  ASSERT_EQ(donations.Insert({1, "Anan", 10}), kResultOK);
  EXPECT_EQ(donations.Insert({2, "Anan", 20}), kResultFailure);
  EXPECT_FALSE(donations.Cursor().LastErrorText.empty());
  EXPECT_EQ(donations.Cursor().GetRecordCount(), 1);
  EXPECT_EQ(donations.Insert({2, "Malee", 20}), kResultOK);
}

TEST_F(LocalCursor, BlobFieldsAreWrittenOnceAtATimeAndReadBackAfterThePost) {
  TVTRFieldDefs fields;
  TVTRFieldDef& id = fields.AddFieldDef();
  id.Name = "ID";
  id.SetDataType(adtInteger, 0);
  TVTRFieldDef& note = fields.AddFieldDef();
  note.Name = "Note";
  note.SetDataType(adtMemo, 0);
  Named("Notes").CreateTable(fields, TVTRIndexDefs(), TVTRConstraintDefs());
  named_.OpenTable(nullptr, nullptr, nullptr);
  named_.InitFieldDefs();
  std::vector<uint8_t> record(static_cast<size_t>(named_.RecordBufferSize));
  named_.CurrentRecord = record.data();
  named_.InitRecord(record.data(), true);
  const std::string text(5000, 'x');
  TVTRStream* writer = named_.OpenBlob(true, false, 1, bomWrite);
  ASSERT_NE(writer, nullptr);
  writer->WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
  EXPECT_ENGINE_ERROR(named_.OpenBlob(true, false, 1, bomReadWrite), 10115,
                      "BLOB field already opened. FieldNo = 1, FieldName = Note");
  named_.CloseBlob(1);
  named_.Post(true);
  ASSERT_EQ(named_.LastResult, kResultOK);

  named_.First();
  ASSERT_EQ(named_.GetRecord(fmNext), grOK);
  TVTRStream* first = named_.OpenBlob(false, false, 1, bomRead);
  TVTRStream* second = named_.OpenBlob(false, false, 1, bomRead);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  std::string read(static_cast<size_t>(first->Size()), '\0');
  first->ReadBuffer(read.data(), static_cast<int32_t>(read.size()));
  EXPECT_EQ(read, text);
  EXPECT_ENGINE_ERROR(first->WriteBuffer("y", 1), 10115, "Cannot write to read only stream");
  named_.FreeBlobStreams(false);
  EXPECT_TRUE(named_.BlobStreams.empty());
}

// A memo set to null through its value, as a dataset's field is cleared,
// gives its pages back when the record is posted: the free-space maps are
// back as they were before the value was stored.
TEST_F(LocalCursor, AMemoSetToNullThroughItsValueGivesItsPagesBack) {
  TVTRFieldDefs fields;
  AddField(fields, "ID", adtInteger);
  AddField(fields, "Note", adtMemo);
  Named("Notes").CreateTable(fields, TVTRIndexDefs(), TVTRConstraintDefs());
  named_.OpenTable(nullptr, nullptr, nullptr);
  named_.InitFieldDefs();
  std::vector<uint8_t> record(static_cast<size_t>(named_.RecordBufferSize));
  std::vector<uint8_t> old(record.size());
  named_.CurrentRecord = record.data();
  named_.InitRecord(record.data(), true);
  named_.Post(true);
  ASSERT_EQ(named_.LastResult, kResultOK);
  // The data areas of page 0, the first PFS page, and page 1, the first EAM
  // page (their headers count every write).
  const auto maps = [this] {
    std::ifstream file(name_, std::ios::binary);
    std::vector<char> bytes(2 * 4056);
    for (int page = 0; page < 2; ++page) {
      file.seekg(380 + page * 4096 + 40);
      file.read(bytes.data() + page * 4056, 4056);
    }
    return bytes;
  };
  const std::vector<char> before = maps();
  const auto edit = [&] {
    named_.Edit();
    old = record;
    named_.OldRecord = old.data();
  };

  edit();
  std::string text;
  for (int i = 0; text.size() < 9000; ++i) text += "Merit of the new vihara, gift " + std::to_string(i) + ". ";
  text.resize(9000);
  TVTRStream* writer = named_.OpenBlob(false, true, 1, bomWrite);
  ASSERT_NE(writer, nullptr);
  writer->WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
  named_.CloseBlob(1);
  named_.Post(false);
  ASSERT_EQ(named_.LastResult, kResultOK);
  ASSERT_NE(maps(), before) << "the memo took pages";

  edit();
  named_.SetFieldData(1, nullptr, record.data());
  named_.Post(false);
  ASSERT_EQ(named_.LastResult, kResultOK);
  EXPECT_EQ(maps(), before);
  named_.First();
  ASSERT_EQ(named_.GetRecord(fmNext), grOK);
  EXPECT_TRUE(GetBufferBit(1, record.data()));
}

// A session that disconnects closes its cursors first: a cursor destroyed
// afterwards finds nothing to do and writes nothing, and the table lock it
// held is gone with the session.
TEST_F(LocalCursor, ACursorOutlivingItsSessionsConnectionWasClosedWithIt) {
  const auto file_bytes = [this] {
    std::ifstream file(name_, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  };
  int32_t id = 0;
  for (const bool last : {true, false}) {
    SCOPED_TRACE(last ? "the last session leaves" : "another session stays");
    auto other = DonateSession(name_);
    if (!last) other->SetConnected(true);
    session_->SetConnected(true);
    auto cursor = std::make_unique<DonateCursor>(*session_);
    ASSERT_EQ(cursor->Insert({++id, "Somchai", 100}), kResultOK);
    session_->SetConnected(false);
    EXPECT_FALSE(cursor->Cursor().TableOpened);
    const std::vector<char> before = file_bytes();
    cursor.reset();
    EXPECT_EQ(file_bytes(), before);
    if (!last) EXPECT_NO_THROW(DonateCursor(*other, true)) << "the leaving cursor kept its table lock";
  }
}

// Two sessions of one process work like two processes: each has its slot.
class TwoSessions : public LocalCursor {
 protected:
  TwoSessions() {
    other_session_->SetConnected(true);
    mine_ = std::make_unique<DonateCursor>(*session_);
    other_ = std::make_unique<DonateCursor>(*other_session_);
  }

  std::unique_ptr<TVTRLocalSession> other_session_ = DonateSession(name_);
  std::unique_ptr<DonateCursor> mine_;
  std::unique_ptr<DonateCursor> other_;
};

TEST_F(TwoSessions, AnAutomaticTransactionKeepsItsChangesAndTheTableToItselfUntilItsCommit) {
  TVTRLocalCursor& cursor = mine_->Cursor();
  for (const bool commit : {false, true}) {
    cursor.StartAutoTransaction();
    ASSERT_EQ(mine_->Insert({10, "Anan", 1}), kResultOK);
    ASSERT_EQ(mine_->Insert({11, "Malee", 2}), kResultOK);
    EXPECT_TRUE(other_->All().empty());
    EXPECT_EQ(other_->Insert({20, "Wichai", 3}), kResultTableLocked) << "its changes wait for its commit";
    if (commit)
      cursor.CommitAutoTransaction();
    else
      cursor.RollbackAutoTransaction();
    EXPECT_FALSE(cursor.InAutoTransaction);
  }
  EXPECT_EQ(IDs(other_->All()), (std::vector<int32_t>{10, 11}));
  EXPECT_EQ(other_->Insert({20, "Wichai", 3}), kResultOK);
}

TEST_F(TwoSessions, ATransactionRollsBackItsInsertsAndTheirCounters) {
  session_->StartTransaction();
  ASSERT_EQ(mine_->Insert({1, "Anan", 1}), kResultOK);
  EXPECT_EQ(mine_->Cursor().GetRecordCount(), 1);
  EXPECT_EQ(other_->Cursor().GetRecordCount(), 0);
  session_->Rollback();
  EXPECT_EQ(mine_->Cursor().GetRecordCount(), 0);
  ASSERT_EQ(other_->Insert({1, "Anan", 1}), kResultOK);
  EXPECT_EQ(mine_->Cursor().GetRecordCount(), 1);
}

TEST(LocalCursorTemporary, TemporaryTablesAreNeitherEditedNorDeletedAndMustExistToOpen) {
  TVTRDatabaseData* temporary = DatabaseDataList().Add(std::make_unique<TVTRTemporaryDatabaseData>());
  TVTRLocalSession session;
  session.DatabaseName = "TEMP";
  session.SetConnected(true);
  {
    TVTRLocalCursor missing;
    missing.Session = &session;
    missing.TableName = "Donate";
    EXPECT_ENGINE_ERROR(missing.OpenTable(nullptr, nullptr, nullptr), 10028,
                        "Table not found, table name = Donate");
    EXPECT_FALSE(missing.TableOpened);

    const DonateDefinitions definitions;
    missing.CreateTable(definitions.fields, TVTRIndexDefs(), definitions.constraints);
    DonateCursor result(session);
    ASSERT_EQ(result.Insert({1, "Anan", 10}), kResultOK);
    ASSERT_TRUE(result.Find(1));
    EXPECT_EQ(result.Edit(), kResultTemporaryUpdate);
    EXPECT_EQ(result.Delete(), kResultTemporaryDelete);
    EXPECT_EQ(result.Cursor().GetRecordCount(), 1);
  }
  session.SetConnected(false);
  DatabaseDataList().Free(temporary);
}

TEST(LocalCursorSingleUser, APostOverAChangeOfAnotherCursorIsRefusedKeepingTheEditedValues) {
  ScratchFolder folder;
  const std::string name = folder.File("single.vtr");
  CreateDonateDatabase(name);
  auto session = DonateSession(name, false);
  session->SetConnected(true);
  DonateCursor mine(*session);
  DonateCursor other(*session);
  ASSERT_EQ(mine.Insert({1, "Anan", 100}), kResultOK);
  ASSERT_TRUE(mine.Find(1));
  ASSERT_EQ(mine.Edit(), kResultOK);
  ASSERT_TRUE(other.Find(1));
  ASSERT_EQ(other.Edit(), kResultOK);
  ASSERT_EQ(other.Post(200), kResultOK);
  EXPECT_EQ(mine.Post(300), kResultUpdateModified);
  EXPECT_EQ(mine.Current().amount, 300) << "the edited values stay for the user";
  ASSERT_TRUE(mine.Find(1));
  EXPECT_EQ(mine.Current().amount, 200);
}

}  // namespace
