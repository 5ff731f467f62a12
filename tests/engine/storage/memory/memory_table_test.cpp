#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/storage/memory/MemoryDatabaseData.h"
#include "engine/storage/memory/MemoryTableData.h"
#include "tests/engine/storage/memory/ProcessTableTestSupport.h"

namespace {

class MemoryTables : public ProcessTableFixture<TVTRMemoryDatabaseData, TVTRMemoryTableData> {
 protected:
  // The values of field 0 in storage order.
  std::vector<int32_t> Stored() {
    std::vector<int32_t> values = Cursor().WalkValues();
    cursors_.pop_back();
    return values;
  }
  // Positions the cursor on the record whose field 0 holds `value`.
  void Find(TableCursor& cursor, int32_t value) {
    cursor.First();
    while (cursor.Fetch(fmNext) == grOK)
      if (cursor.Value() == value) return;
    FAIL() << value << " not found";
  }
};

TEST_F(MemoryTables, UpdatesAndDeletesKeepTheIndexesInStep) {
  CreateTable({"A", "B"}, {{"IA", {"A"}}, {"IB", {"B"}, false, {true}}});
  TableCursor& cursor = Cursor();
  for (int32_t a : {5, 3, 8, 1}) ASSERT_TRUE(cursor.Insert({a, a * 10}));
  Find(cursor, 3);
  Edit(cursor);
  cursor.SetValues({9, 90});
  ASSERT_TRUE(table_->UpdateRecord(*cursor));
  Find(cursor, 8);
  ASSERT_TRUE(table_->DeleteRecord(*cursor));

  EXPECT_EQ(IndexOrder("IA"), (std::vector<int32_t>{1, 5, 9}));
  EXPECT_EQ(IndexOrder("IB"), (std::vector<int32_t>{9, 5, 1}));
  EXPECT_EQ(Stored(), (std::vector<int32_t>{5, 9, 1}));
  EXPECT_FALSE(table_->PageManager->HasSessionChanges(0)) << "outside a transaction each write commits";
}

TEST_F(MemoryTables, ARollbackAfterManySplitsRestoresThePreviousStateExactly) {
  CreateTable({"A", "B"}, {{"IA", {"A"}}, {"IB", {"B"}}});
  TableCursor& cursor = Cursor();
  for (int32_t a = 0; a < 300; ++a) ASSERT_TRUE(cursor.Insert({a * 7 % 300, a}));
  const std::vector<int32_t> by_a = IndexOrder("IA");
  const std::vector<int32_t> by_b = IndexOrder("IB");
  const std::vector<int32_t> stored = Stored();
  const int32_t pages = table_->PageManager->GetPageCount();

  session_.StartTransaction();
  for (int32_t a = 1000; a < 5000; ++a) ASSERT_TRUE(cursor.Insert({a, -a}));
  ASSERT_GT(table_->PageManager->GetPageCount(), pages + 20) << "the inserts split index pages";
  Find(cursor, 14);
  Edit(cursor);
  cursor.SetValues({7000, 7000});
  ASSERT_TRUE(table_->UpdateRecord(*cursor));
  Find(cursor, 21);
  ASSERT_TRUE(table_->DeleteRecord(*cursor));
  database_.Rollback(0);
  session_.Rollback();

  EXPECT_EQ(IndexOrder("IA"), by_a);
  EXPECT_EQ(IndexOrder("IB"), by_b);
  EXPECT_EQ(Stored(), stored);
  EXPECT_EQ(table_->PageManager->GetPageCount(), pages);
  EXPECT_EQ(table_->RecordManager->RecordCount, 300);

  session_.StartTransaction();
  ASSERT_TRUE(cursor.Insert({-1, 0}));
  database_.Commit(0, false);
  session_.Commit(false);
  database_.Rollback(0);
  EXPECT_EQ(IndexOrder("IA").front(), -1) << "a committed transaction stands";
}

TEST_F(MemoryTables, NaturalRecordNumbersFollowTheLiveRecords) {
  CreateTable({"A"});
  TableCursor& cursor = Cursor();
  for (int32_t a = 1; a <= 5; ++a) ASSERT_TRUE(cursor.Insert({a}));
  Find(cursor, 2);
  ASSERT_TRUE(table_->DeleteRecord(*cursor));

  table_->SetNaturalRecNo(*cursor, 2);
  ASSERT_EQ(cursor.Fetch(fmCurrent), grOK);
  EXPECT_EQ(cursor.Value(), 3);
  EXPECT_EQ(table_->GetNaturalRecNo(*cursor), 2);
  table_->SetNaturalRecNo(*cursor, 9);
  EXPECT_EQ(table_->GetNaturalRecNo(*cursor), 2) << "a number beyond the count leaves the cursor";
  EXPECT_EQ(table_->GetTableRecordCount(*cursor), 4);
}

TEST_F(MemoryTables, EmptyingStartsAgainAtSlotZero) {
  CreateTable({"A"}, {{"IA", {"A"}}});
  TableCursor& cursor = Cursor();
  for (int32_t a = 0; a < 500; ++a) ASSERT_TRUE(cursor.Insert({a}));
  const int32_t changes = table_->GetChangeCount();
  table_->EmptyTable(&*cursor);
  EXPECT_EQ(table_->RecordManager->RecordCount, 0);
  EXPECT_EQ(table_->PageManager->GetPageCount(), 1) << "each index keeps its root";
  ASSERT_TRUE(cursor.Insert({4}));
  EXPECT_EQ(cursor->CurrentRecordID, (TVTRRecordID{0, 0}));
  EXPECT_EQ(IndexOrder("IA"), std::vector<int32_t>{4});
  EXPECT_GT(table_->GetChangeCount(), changes) << "no record bitmap of the former records passes for current";
}

class MemoryBlobs : public MemoryTables {
 protected:
  void SetUp() override { CreateTable({"A"}, {}, {"M"}); }
  // Inserts a record with A = a and the value in M.
  void InsertWithBlob(TableCursor& cursor, int32_t a, const std::string& value) {
    cursor.SetValues({a});
    PutBlob(cursor, 1, value);
    ASSERT_TRUE(table_->InsertRecord(*cursor));
  }
  std::string BlobOf(int32_t a) {
    TableCursor& reader = Cursor();
    Find(reader, a);
    std::string value = GetBlob(reader, 1);
    cursors_.pop_back();
    return value;
  }
};

TEST_F(MemoryBlobs, AValueDroppedByACommittedChangeIsFreed) {
  TableCursor& cursor = Cursor();
  const std::string long_value(1000, 'x');
  InsertWithBlob(cursor, 1, long_value);
  InsertWithBlob(cursor, 2, "second");
  EXPECT_EQ(BlobOf(1), long_value);
  EXPECT_EQ(table_->BlobValueCount(), 2u);

  Find(cursor, 1);
  Edit(cursor);
  PutBlob(cursor, 1, "changed");
  ASSERT_TRUE(table_->UpdateRecord(*cursor));
  EXPECT_EQ(BlobOf(1), "changed");
  EXPECT_EQ(table_->BlobValueCount(), 2u);

  Find(cursor, 2);
  std::vector<uint8_t> deleted(cursor->CurrentRecord, cursor->CurrentRecord + cursor->RecordSize);
  ASSERT_TRUE(table_->DeleteRecord(*cursor));
  EXPECT_EQ(table_->BlobValueCount(), 1u);
  std::copy(deleted.begin(), deleted.end(), cursor->CurrentRecord);
  EXPECT_ENGINE_ERROR(GetBlob(cursor, 1), 10112, "Nil pointer occured");
}

TEST_F(MemoryBlobs, ARollbackBringsBackTheValuesItsChangesDropped) {
  TableCursor& cursor = Cursor();
  InsertWithBlob(cursor, 1, "one");
  InsertWithBlob(cursor, 2, "two");
  session_.StartTransaction();
  Find(cursor, 1);
  Edit(cursor);
  PutBlob(cursor, 1, "uno");
  ASSERT_TRUE(table_->UpdateRecord(*cursor));
  Find(cursor, 2);
  ASSERT_TRUE(table_->DeleteRecord(*cursor));
  InsertWithBlob(cursor, 3, "three");
  database_.Rollback(0);
  session_.Rollback();

  EXPECT_EQ(BlobOf(1), "one");
  EXPECT_EQ(BlobOf(2), "two");
  EXPECT_EQ(Stored(), (std::vector<int32_t>{1, 2}));
}

TEST_F(MemoryBlobs, ARecordCopiedFromAnotherGetsValuesOfItsOwn) {
  TableCursor& cursor = Cursor();
  InsertWithBlob(cursor, 1, "shared");
  Find(cursor, 1);
  StoreI32(cursor->CurrentRecord + cursor->TableFieldDefs.GetFieldDef(0).MemoryOffset, 2);  // M as read
  ASSERT_TRUE(table_->InsertRecord(*cursor));
  Find(cursor, 1);
  ASSERT_TRUE(table_->DeleteRecord(*cursor));
  EXPECT_EQ(BlobOf(2), "shared");
}

TEST_F(MemoryBlobs, ACancelledInsertFreesItsValues) {
  TableCursor& cursor = Cursor();
  cursor.SetValues({1});
  PutBlob(cursor, 1, "first try");
  PutBlob(cursor, 1, "second try");
  EXPECT_EQ(table_->BlobValueCount(), 1u) << "a value no record holds goes when it is replaced";
  table_->ReleaseRecordBlobs(cursor->CurrentRecord);
  EXPECT_EQ(table_->BlobValueCount(), 0u);
  EXPECT_TRUE(GetBufferBit(1, cursor->CurrentRecord));
}

TEST_F(MemoryTables, ABlobFieldWithoutABlockSizeCannotBeOpened) {
  TVTRFieldDefs fields;
  TVTRFieldDef& field = fields.AddFieldDef();
  field.Name = "M";
  field.SetDataType(adtMemo, 0);
  field.BlobBlockSize = 0;
  TVTRIndexDefs indexes;
  TVTRConstraintDefs constraints;
  TestCursor creator;
  creator.TableName = "B0";
  creator.Session = &session_;
  TVTRTableData* table = database_.CreateTableData(creator);
  table->CreateTable(creator, fields, indexes, constraints);
  TableCursor cursor(*table, session_);
  EXPECT_ENGINE_ERROR(table->OpenBlob(*cursor, true, 0, bomWrite), 10420,
                      "Stream block size = 0 is not allowed");
}

TEST_F(MemoryTables, TheDatabaseKeepsItsTablesUntilTheyAreDropped) {
  CreateTable({"A"}, {}, {}, "Donate");
  TestCursor lookup;
  lookup.TableName = "DONATE";
  EXPECT_EQ(database_.FindTableData(lookup), table_);
  EXPECT_TRUE(database_.TableExists("donate"));
  EXPECT_EQ(database_.GetNextObjectID(), 2) << "the table's one field drew the first number";

  Cursor();
  EXPECT_ENGINE_ERROR(table_->DeleteTable(nullptr, false), 20017,
                      "Cannot delete table 'Donate'. Table is open by another dataset");
  CloseCursors();
  table_->DeleteTable(nullptr, false);
  table_ = nullptr;
  EXPECT_FALSE(database_.TableExists("Donate"));

  TVTRFieldDefs no_fields;
  TVTRIndexDefs indexes;
  TVTRConstraintDefs constraints;
  TVTRTableData* empty = database_.CreateTableData(lookup);
  EXPECT_ENGINE_ERROR(empty->CreateTable(lookup, no_fields, indexes, constraints), 10025,
                      "Error creating table - no fields were specified");
}

}  // namespace
