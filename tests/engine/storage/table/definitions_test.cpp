#include <gtest/gtest.h>

#include "tests/engine/storage/table/TableTestSupport.h"

namespace {

class Definitions : public TableFixture {
 protected:
  void SetUp() override { CreateTable({"A", "B"}, {{"IAB", {"A", "B"}}}); }
};

TEST_F(Definitions, ATableOpenElsewhereIsNeitherDroppedNorRenamedUnlessForced) {
  TableCursor& cursor = Cursor();
  EXPECT_ENGINE_ERROR(table_->DeleteTable(nullptr, false), 20017,
                      "Cannot delete table 'T'. Table is open by another dataset");
  EXPECT_ENGINE_ERROR(table_->RenameTable("U", nullptr), 10150,
                      "Cannot rename table 'T'. Table is open by another dataset");
  table_->DeleteTable(nullptr, true);
  ASSERT_TRUE(cursor.Insert({1, 1}));  // still usable
  cursors_.clear();
  table_->RenameTable("U", nullptr);
  EXPECT_EQ(table_->TableName, "U");
}

TEST_F(Definitions, FieldsAreRenamedInTheIndexesToo) {
  EXPECT_ENGINE_ERROR(table_->RenameField("Z", "Y"), 30343, "Field 'Z' not found");
  EXPECT_ENGINE_ERROR(table_->RenameField("A", "a"), 30344,
                      "Cannot rename field 'A'. Field 'a' already exists");
  EXPECT_ENGINE_ERROR(table_->RenameField("A", "B"), 30344,
                      "Cannot rename field 'A'. Field 'B' already exists");
  table_->RenameField("a", "ALPHA");
  EXPECT_NE(table_->FieldManager->FieldDefs.GetFieldDefByName("ALPHA"), nullptr);
  EXPECT_EQ(table_->IndexManager->IndexDefs.GetIndexDef(0).GetColumn(0).FieldName, "ALPHA");
}

TEST_F(Definitions, AUniqueIndexBringsItsConstraintAndAFilledTree) {
  TableCursor& cursor = Cursor();
  for (int32_t b : {3, 1, 2}) ASSERT_TRUE(cursor.Insert({0, b}));
  cursor.First();
  ASSERT_EQ(cursor.Fetch(fmNext), grOK);
  const TVTRCursorPosition before = cursor->SavePosition();
  uint8_t* const record = cursor->CurrentRecord;

  TVTRIndexDef index;
  index.Name = "UB";
  index.Unique = true;
  index.Columns.push_back({.FieldName = "B"});
  table_->AddIndex(index, *cursor);
  EXPECT_EQ(cursor->CurrentRecordID, before.CurrentRecordID);
  EXPECT_EQ(cursor->CurrentRecord, record);
  const TVTRConstraintDefs& constraints = table_->ConstraintManager->ConstraintDefs;
  ASSERT_EQ(constraints.GetCount(), 1);
  EXPECT_EQ(constraints.GetConstraintDef(0).Name, "C_Unique$B");
  cursor.SetIndex("UB");
  EXPECT_EQ(cursor.WalkValues(1), (std::vector<int32_t>{1, 2, 3}));

  table_->DeleteIndex(index.ObjectID, &*cursor);
  EXPECT_EQ(constraints.GetCount(), 0);
  EXPECT_EQ(table_->IndexManager->IndexDefs.GetIndexDefByName("UB"), nullptr);
}

TEST_F(Definitions, ConstraintsTakeTheTableAndTheirNames) {
  TVTRConstraintDefs constraints;
  constraints.AddNotNull().TargetName = "B";
  table_->CreateConstraints(constraints);
  const TVTRConstraintDef& stored = table_->ConstraintManager->ConstraintDefs.GetConstraintDef(0);
  EXPECT_EQ(stored.TableName, "T");
  EXPECT_EQ(stored.Name, "$C_NotNull$T$B");
  EXPECT_EQ(stored.TargetID, table_->FieldManager->FieldDefs.GetFieldDef(1).ObjectID);
  EXPECT_EQ(stored.ObjectID, constraints.GetConstraintDef(0).ObjectID);
  EXPECT_GT(stored.ObjectID, 0);
}

TEST_F(Definitions, EmptyingRestartsTheCountersAndEmptiesEveryIndex) {
  TableCursor& cursor = Cursor();
  for (int32_t a : {1, 2}) ASSERT_TRUE(cursor.Insert({a, 0}));
  table_->FieldManager->AutoincValues[0] = 42;
  table_->EmptyTable(&*cursor);
  EXPECT_EQ(table_->FieldManager->AutoincValues[0], 0);
  EXPECT_EQ(table_->GetRecordCount(), 0);
  cursor.SetIndex("IAB");
  EXPECT_EQ(cursor.Walk(), std::vector<TVTRRecordID>{});
  ASSERT_TRUE(cursor.Insert({5, 0}));
  EXPECT_EQ(cursor.WalkValues(), (std::vector<int32_t>{5}));
}

TEST_F(Definitions, CursorSizesFollowTheFields) {
  TableCursor& cursor = Cursor();
  table_->InitCursorSizes(*cursor);
  EXPECT_EQ(cursor->NullFlagsSize, 1);
  EXPECT_EQ(cursor->RecordCompareSize, 1 + 4 + 4);

  TestDiskTable bare(database_, pages_, 99);
  EXPECT_ENGINE_ERROR(bare.InitCursorSizes(*cursor), 10131,
                      "Error creating table - no fields were specified");
}

}  // namespace
