#include <gtest/gtest.h>

#include "engine/storage/VTRBaseEngine.h"
#include "tests/engine/storage/common/EngineTestSupport.h"
#include "tests/engine/storage/common/TestDatabase.h"

namespace {

class RecordBitmap : public ::testing::Test {
 protected:
  TestDatabase database_{"TEST.VTR", false};
  TestTable table_{database_, "T"};
  TVTRRecordBitmap bitmap_{&table_};
};

TEST(RecordBitmapCreation, NeedsATable) {
  EXPECT_ENGINE_ERROR(TVTRRecordBitmap(nullptr), 10425, "Nil pointer occured");
}

TEST_F(RecordBitmap, ANewBitmapIsEmptyAndStaleUntilStamped) {
  EXPECT_EQ(bitmap_.GetRecordCount(), 0);
  EXPECT_FALSE(bitmap_.Complete);
  EXPECT_TRUE(bitmap_.IsStale());
  bitmap_.Stamp = table_.ChangeCount;
  EXPECT_FALSE(bitmap_.IsStale());
  ++table_.ChangeCount;
  EXPECT_TRUE(bitmap_.IsStale());
}

TEST_F(RecordBitmap, GrowsToHoldAnAddedRecord) {
  bitmap_.AddRecord({100, 0});  // position 1000
  EXPECT_EQ(bitmap_.Bits.Size(), 1001);
  EXPECT_EQ(bitmap_.GetRecordCount(), 1);
  EXPECT_EQ(bitmap_.GetRecNo({100, 0}), 1);
  bitmap_.RemoveRecord({200, 5});
  EXPECT_EQ(bitmap_.Bits.Size(), 1001) << "removing a record outside the bitmap changes nothing";
  EXPECT_EQ(bitmap_.GetRecordCount(), 1);
}

TEST_F(RecordBitmap, NumbersAndFindsTheMarkedRecordsInOrder) {
  for (const TVTRRecordID& id : {TVTRRecordID{0, 7}, {2, 1}, {5, 0}}) bitmap_.AddRecord(id);
  bitmap_.RemoveRecord({2, 1});
  bitmap_.AddRecord({3, 3});
  EXPECT_EQ(bitmap_.GetRecNo({3, 3}), 2);
  EXPECT_EQ(bitmap_.GetRecordIDByRecNo(3), (TVTRRecordID{5, 0}));
  EXPECT_ENGINE_ERROR(bitmap_.GetRecordIDByRecNo(4), 10428, "Invalid bit no = 3, number of bits = 3");

  TVTRRecordID found;
  ASSERT_TRUE(bitmap_.FindRecord(true, true, found, {}));
  EXPECT_EQ(found, (TVTRRecordID{0, 7}));
  ASSERT_TRUE(bitmap_.FindRecord(true, false, found, {}));
  EXPECT_EQ(found, (TVTRRecordID{5, 0}));
  ASSERT_TRUE(bitmap_.FindRecord(false, true, found, {0, 7}));
  EXPECT_EQ(found, (TVTRRecordID{3, 3}));
  ASSERT_TRUE(bitmap_.FindRecord(false, false, found, {3, 3}));
  EXPECT_EQ(found, (TVTRRecordID{0, 7}));
  EXPECT_FALSE(bitmap_.FindRecord(false, true, found, {5, 0})) << "nothing after the last";
}

TEST_F(RecordBitmap, AChangeInIndexOrderEmptiesTheBitmap) {
  bitmap_.IndexOrdered = true;
  for (const bool add : {true, false}) {
    bitmap_.SetSize(20);
    bitmap_.SetAll();
    bitmap_.Complete = true;
    if (add)
      bitmap_.AddRecord({1, 1});
    else
      bitmap_.RemoveRecord({1, 1});
    EXPECT_EQ(bitmap_.Bits.Size(), 0);
    EXPECT_EQ(bitmap_.GetRecordCount(), 0);
    EXPECT_FALSE(bitmap_.Complete);
  }
}

}  // namespace
