#include <gtest/gtest.h>

#include "tests/engine/storage/table/TableTestSupport.h"

namespace {

class RecordOperations : public TableFixture {
 protected:
  void SetUp() override { CreateTable({"A", "B"}, {{"IA", {"A"}}}); }

  // The values of A in the order of index IA, as a fresh cursor reads them.
  std::vector<int32_t> ByIndex() {
    TableCursor& reader = Cursor();
    reader.SetIndex("IA");
    return reader.WalkValues();
  }
};

TEST_F(RecordOperations, WritesOutsideATransactionAreCommittedAtOnce) {
  TableCursor& cursor = Cursor();
  ASSERT_TRUE(cursor.Insert({1, 10}));
  EXPECT_FALSE(cursor->Bof);
  EXPECT_FALSE(pages_.HasSessionChanges(0));

  session_.StartTransaction();
  ASSERT_TRUE(cursor.Insert({2, 20}));
  EXPECT_TRUE(pages_.HasSessionChanges(0));
  table_->AutoCommit(0, false);
  session_.Commit(false);
  EXPECT_FALSE(pages_.HasSessionChanges(0));
  EXPECT_EQ(ByIndex(), (std::vector<int32_t>{1, 2}));
}

TEST_F(RecordOperations, UpdateMovesTheKeyAndDeleteRemovesIt) {
  TableCursor& cursor = Cursor();
  for (int32_t a : {5, 3, 8}) ASSERT_TRUE(cursor.Insert({a, 0}));
  cursor.First();
  ASSERT_EQ(cursor.Fetch(fmNext), grOK);  // A = 5
  std::vector<uint8_t> old_record(cursor->CurrentRecord, cursor->CurrentRecord + cursor->RecordSize);
  cursor->OldRecord = old_record.data();
  cursor.SetValues({9, 0});
  ASSERT_TRUE(table_->UpdateRecord(*cursor));
  cursor->OldRecord = nullptr;
  EXPECT_EQ(ByIndex(), (std::vector<int32_t>{3, 8, 9}));

  ASSERT_TRUE(table_->DeleteRecord(*cursor));
  EXPECT_EQ(ByIndex(), (std::vector<int32_t>{3, 8}));
  EXPECT_EQ(table_->RecordManager->RecordCount, 2);
}

TEST_F(RecordOperations, AFailedWriteOutsideATransactionLeavesNothingBehind) {
  TableCursor& cursor = Cursor();
  ASSERT_TRUE(cursor.Insert({1, 0}));
  const int32_t changes = table_->GetChangeCount();

  table_->FailNextWrite = true;
  EXPECT_ENGINE_ERROR(cursor.Insert({2, 0}), 20164, "Invalid table header data");
  EXPECT_FALSE(pages_.HasSessionChanges(0));
  EXPECT_EQ(table_->RecordManager->RecordCount, 1);
  EXPECT_EQ(table_->GetChangeCount(), changes);

  cursor.First();
  ASSERT_EQ(cursor.Fetch(fmNext), grOK);
  table_->FailNextWrite = true;
  EXPECT_ENGINE_ERROR(table_->DeleteRecord(*cursor), 20164, "Invalid table header data");
  EXPECT_FALSE(pages_.HasSessionChanges(0));

  // The next write commits only itself: no key without a record, no lost key.
  ASSERT_TRUE(cursor.Insert({3, 0}));
  EXPECT_EQ(ByIndex(), (std::vector<int32_t>{1, 3}));
  EXPECT_EQ(Cursor().WalkValues(), (std::vector<int32_t>{1, 3}));
}

TEST_F(RecordOperations, AFailedWriteInsideATransactionIsLeftToTheTransaction) {
  TableCursor& cursor = Cursor();
  session_.StartTransaction();
  table_->FailNextWrite = true;
  EXPECT_ENGINE_ERROR(cursor.Insert({2, 0}), 20164, "Invalid table header data");
  EXPECT_TRUE(pages_.HasSessionChanges(0));
  pages_.Rollback(0);
  table_->AfterRollback(0);
  session_.Rollback();
  EXPECT_EQ(ByIndex(), std::vector<int32_t>{});
}

TEST_F(RecordOperations, MissingManagerOrRecordRaisesTheEngineCodes) {
  TableCursor& cursor = Cursor();
  uint8_t* record = cursor->CurrentRecord;
  cursor->CurrentRecord = nullptr;
  EXPECT_ENGINE_ERROR(table_->InsertRecord(*cursor), 20136, "Nil pointer occured");
  EXPECT_ENGINE_ERROR(table_->UpdateRecord(*cursor), 20139, "Nil pointer occured");
  cursor->CurrentRecord = record;
  std::unique_ptr<TVTRBaseRecordManager> records = std::move(table_->RecordManager);
  EXPECT_ENGINE_ERROR(table_->InsertRecord(*cursor), 20135, "Nil pointer occured");
  EXPECT_ENGINE_ERROR(table_->UpdateRecord(*cursor), 20138, "Nil pointer occured");
  EXPECT_ENGINE_ERROR(table_->DeleteRecord(*cursor), 20137, "Nil pointer occured");
  table_->RecordManager = std::move(records);
}

TEST_F(RecordOperations, DeleteLandsOnTheNextRecordElseThePriorElseBeforeTheFirst) {
  TableCursor& cursor = Cursor();
  for (int32_t a : {1, 2, 3}) ASSERT_TRUE(cursor.Insert({a, 0}));
  const std::vector<TVTRRecordID> ids = cursor.Walk();

  cursor->CurrentRecordID = ids[1];
  ASSERT_TRUE(table_->DeleteRecord(*cursor));
  EXPECT_EQ(cursor->CurrentRecordID, ids[2]);
  EXPECT_FALSE(cursor->Bof || cursor->Eof);

  ASSERT_TRUE(table_->DeleteRecord(*cursor));
  EXPECT_EQ(cursor->CurrentRecordID, ids[0]);

  ASSERT_TRUE(table_->DeleteRecord(*cursor));
  EXPECT_TRUE(cursor->Bof);
  EXPECT_FALSE(cursor->Eof);
  EXPECT_EQ(cursor.Fetch(fmNext), grEOF);
}

TEST_F(RecordOperations, AFilteredCursorKeepsItsCountThroughItsOwnWrites) {
  TableCursor& cursor = Cursor();
  for (int32_t a = 0; a < 10; ++a) ASSERT_TRUE(cursor.Insert({a, 0}));
  cursor.SetFilter("A >= 5");
  ASSERT_EQ(table_->GetRecordCount(*cursor), 5);
  ASSERT_TRUE(cursor->RecordBitmap->Complete);

  TVTRSearchTrace trace;
  table_->SearchTrace = &trace;
  ASSERT_TRUE(cursor.Insert({7, 0}));
  ASSERT_TRUE(cursor.Insert({1, 0}));
  EXPECT_EQ(table_->GetRecordCount(*cursor), 6);
  EXPECT_EQ(trace.Strategy, TVTRSearchStrategy::kNone);  // counted from the bitmap, without a search

  // Another cursor's insert makes the count come from a new search.
  ASSERT_TRUE(Cursor().Insert({9, 0}));
  EXPECT_EQ(table_->GetRecordCount(*cursor), 7);
  EXPECT_NE(trace.Strategy, TVTRSearchStrategy::kNone);
  table_->SearchTrace = nullptr;
}

}  // namespace
