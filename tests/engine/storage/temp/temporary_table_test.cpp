#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/storage/temp/TemporaryDatabaseData.h"
#include "engine/storage/temp/TemporaryMemoryBudget.h"
#include "engine/storage/temp/TemporaryTableData.h"
#include "tests/engine/storage/memory/ProcessTableTestSupport.h"
#include "tests/support/ScratchFolder.h"

namespace {

// The system's temporary folder for the test, made before the database and
// removed after it.
struct SpillFolder {
  ScratchFolder folder;
  ScopedTemporaryFolder scope{folder.Path()};
};

// Budgets of four pages: about 1800 records of two integer fields stay in
// memory, and spilled records are written 64 KiB at a time.
class TemporaryTables : protected SpillFolder,
                        public ProcessTableFixture<TVTRTemporaryDatabaseData, TVTRTemporaryTableData> {
 protected:
  static constexpr int64_t kBudget = 4 * 4096;

  void SetUp() override { SetTemporaryMemoryBudget(kBudget); }
  void TearDown() override { SetTemporaryMemoryBudget(0); }

  // The names of the files in the temporary folder.
  std::vector<std::string> SpillFiles() {
    std::vector<std::string> names;
    for (const std::string& path : folder.Files()) names.push_back(std::filesystem::path(path).filename());
    return names;
  }
  static std::vector<int32_t> Range(int32_t count) {
    std::vector<int32_t> values(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) values[static_cast<size_t>(i)] = i;
    return values;
  }
};

TEST_F(TemporaryTables, RecordsAndPagesSpillToTemporaryFilesAndReadBackInOrder) {
  constexpr int32_t kCount = 12000;
  CreateTable({"A", "B"}, {{"IB", {"B"}, false, {true}}});
  TableCursor& cursor = Cursor();
  for (int32_t a = 0; a < kCount; ++a) ASSERT_TRUE(cursor.Insert({a, a % 97}));

  const std::vector<std::string> files = SpillFiles();
  ASSERT_EQ(files.size(), 2u) << "one for the records, one for the index pages";
  for (const std::string& name : files) EXPECT_EQ(name.substr(0, 3), "VTR");
  EXPECT_GT(table_->PageManager->GetPageCount(), table_->TemporaryPages().MemoryPageLimit());

  EXPECT_EQ(cursor.WalkValues(), Range(kCount));
  std::vector<TVTRRecordID> backward = cursor.Walk(false);
  std::reverse(backward.begin(), backward.end());
  EXPECT_EQ(backward, cursor.Walk());
  std::vector<int32_t> by_b = IndexOrder("IB");
  ASSERT_EQ(by_b.size(), size_t{kCount});
  EXPECT_TRUE(std::is_sorted(by_b.begin(), by_b.end(), [](int32_t x, int32_t y) { return x % 97 > y % 97; }));

  table_->SetNaturalRecNo(*cursor, 9876);
  ASSERT_EQ(cursor.Fetch(fmCurrent), grOK);
  EXPECT_EQ(cursor.Value(), 9875);
  EXPECT_EQ(table_->GetNaturalRecNo(*cursor), 9876);

  CloseCursors();
  table_->DeleteTable(nullptr, false);
  table_ = nullptr;
  EXPECT_EQ(SpillFiles(), std::vector<std::string>{}) << "the files go with the table";
}

TEST_F(TemporaryTables, KeptInMemoryNothingSpills) {
  CreateTable({"A", "B"}, {{"IA", {"A"}}}, {}, "T", true);
  TableCursor& cursor = Cursor();
  for (int32_t a = 0; a < 5000; ++a) ASSERT_TRUE(cursor.Insert({a, 0}));
  EXPECT_EQ(SpillFiles(), std::vector<std::string>{});
  EXPECT_EQ(IndexOrder("IA"), Range(5000));
}

TEST_F(TemporaryTables, RecordsAreOnlyAppended) {
  CreateTable({"A"});
  TableCursor& cursor = Cursor();
  ASSERT_TRUE(cursor.Insert({1}));
  EXPECT_FALSE(table_->UpdateRecord(*cursor));
  EXPECT_FALSE(table_->DeleteRecord(*cursor));
  table_->SetNaturalRecNo(*cursor, 0);
  EXPECT_EQ(table_->GetNaturalRecNo(*cursor), 1);
  EXPECT_EQ(table_->GetTableRecordCount(*cursor), 1);
}

TEST_F(TemporaryTables, ARolledBackTransactionDropsItsInserts) {
  CreateTable({"A"}, {{"IA", {"A"}}});
  TableCursor& cursor = Cursor();
  for (int32_t a = 0; a < 2000; ++a) ASSERT_TRUE(cursor.Insert({a}));
  session_.StartTransaction();
  for (int32_t a = 2000; a < 4000; ++a) ASSERT_TRUE(cursor.Insert({a}));
  database_.Rollback(0);
  session_.Rollback();
  EXPECT_EQ(IndexOrder("IA"), Range(2000));
  EXPECT_EQ(table_->RecordManager->RecordCount, 2000);

  for (int32_t a = 2000; a < 2500; ++a) ASSERT_TRUE(cursor.Insert({a}));
  EXPECT_EQ(cursor.WalkValues(), Range(2500));
  EXPECT_EQ(IndexOrder("IA"), Range(2500));
}

TEST_F(TemporaryTables, BlobValuesRoundTripBeforeAndAfterEmptying) {
  CreateTable({"A"}, {}, {"M"});
  TableCursor& cursor = Cursor();
  const std::string values[] = {"", "short", std::string(5000, 'q')};
  for (int32_t a = 0; a < 3; ++a) {
    cursor.SetValues({a});
    PutBlob(cursor, 1, values[a]);
    ASSERT_TRUE(table_->InsertRecord(*cursor));
  }
  cursor.First();
  for (const std::string& value : values) {
    ASSERT_EQ(cursor.Fetch(fmNext), grOK);
    EXPECT_EQ(GetBlob(cursor, 1), value);
  }

  table_->EmptyTable(&*cursor);
  cursor.SetValues({7});
  PutBlob(cursor, 1, "again");
  ASSERT_TRUE(table_->InsertRecord(*cursor));
  cursor.First();
  ASSERT_EQ(cursor.Fetch(fmNext), grOK);
  EXPECT_EQ(GetBlob(cursor, 1), "again");
}

TEST_F(TemporaryTables, ATableWithoutBlobFieldsHasNoBlobStream) {
  CreateTable({"A"});
  TableCursor& cursor = Cursor();
  EXPECT_EQ(table_->BlobStream(), nullptr);
  EXPECT_ENGINE_ERROR(table_->OpenBlob(*cursor, true, 0, bomWrite), 10140, "Nil pointer occured");
  TVTRMemoryStream value;
  EXPECT_ENGINE_ERROR(table_->SaveBlob(*cursor, 0, value), 10144, "Nil pointer occured");
}

}  // namespace
