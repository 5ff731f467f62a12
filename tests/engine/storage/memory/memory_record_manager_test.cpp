#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <vector>

#include "engine/storage/pager/ByteOrder.h"
#include "engine/storage/memory/MemoryRecordManager.h"
#include "tests/engine/storage/common/EngineTestSupport.h"

namespace {

constexpr int32_t kSession = 0;

// Records of one 4-byte value; a small growth step so the store grows often.
class MemoryRecords : public ::testing::Test {
 protected:
  TVTRRecordID Insert(int32_t value) {
    uint8_t record[4];
    StoreI32(record, value);
    TVTRRecordID id;
    EXPECT_TRUE(records_.InsertRecord(kSession, record, id));
    return id;
  }
  bool Update(int32_t slot, int32_t value) {
    uint8_t record[4];
    StoreI32(record, value);
    return records_.UpdateRecord(kSession, record, {slot, 0});
  }
  bool Delete(int32_t slot) { return records_.DeleteRecord(kSession, {slot, 0}); }
  // (slot, value) of every record in storage order, walking the given way.
  std::vector<std::pair<int32_t, int32_t>> Walk(bool forward = true) {
    std::vector<std::pair<int32_t, int32_t>> seen;
    uint8_t record[4];
    NavigationRequest request;
    request.Buffer = record;
    request.Direction = forward ? fmNext : fmPrior;
    (forward ? request.Bof : request.Eof) = true;
    for (records_.GetRecord(kSession, request); request.Result == grOK; records_.GetRecord(kSession, request))
      seen.emplace_back(request.RecordID.PageNo, LoadI32(record));
    EXPECT_EQ(request.Result, forward ? grEOF : grBOF);
    return seen;
  }

  TVTRMemoryRecordManager records_{4, 3};
};

TEST_F(MemoryRecords, ANewRecordTakesTheSlotAfterTheHighestLiveOne) {
  for (int32_t value = 0; value < 5; ++value) EXPECT_EQ(Insert(value).PageNo, value);
  ASSERT_TRUE(Delete(2));
  ASSERT_TRUE(Delete(4));
  EXPECT_EQ(Insert(40).PageNo, 4) << "the deleted last slot is taken again";
  EXPECT_EQ(Walk(), (std::vector<std::pair<int32_t, int32_t>>{{0, 0}, {1, 1}, {3, 3}, {4, 40}}))
      << "the slot in the middle stays empty";
  for (int32_t slot : {0, 1, 3, 4}) ASSERT_TRUE(Delete(slot));
  EXPECT_EQ(Insert(7).PageNo, 0) << "an emptied table starts at slot 0";
}

TEST_F(MemoryRecords, ChangesOfSlotsWithoutARecordAreRefused) {
  Insert(1);
  Insert(2);
  ASSERT_TRUE(Delete(0));
  const int32_t changes = records_.ChangeCount;
  EXPECT_FALSE(Delete(0));
  EXPECT_FALSE(Update(0, 5));
  EXPECT_FALSE(Update(7, 5));
  EXPECT_FALSE(Delete(-1));
  EXPECT_EQ(records_.ChangeCount, changes);
  EXPECT_EQ(records_.RecordCount, 1);
}

TEST_F(MemoryRecords, FetchesSkipDeletedSlotsInBothDirections) {
  for (int32_t value = 10; value < 16; ++value) Insert(value);
  for (int32_t slot : {0, 2, 5}) ASSERT_TRUE(Delete(slot));
  EXPECT_EQ(Walk(), (std::vector<std::pair<int32_t, int32_t>>{{1, 11}, {3, 13}, {4, 14}}));
  EXPECT_EQ(Walk(false), (std::vector<std::pair<int32_t, int32_t>>{{4, 14}, {3, 13}, {1, 11}}));

  NavigationRequest request;
  request.RecordID = {2, 0};
  records_.GetRecord(kSession, request);
  EXPECT_EQ(request.Result, grError) << "a deleted slot is not available";
  request.RecordID = {1, 0};
  request.Direction = fmPrior;
  records_.GetRecord(kSession, request);
  EXPECT_EQ(request.Result, grBOF);
}

TEST_F(MemoryRecords, RecordNumbersCountTheLiveSlots) {
  // Random inserts and deletes against a map of the live slots.
  std::mt19937 random(7);
  std::map<int32_t, int32_t> live;
  for (int32_t step = 0; step < 600; ++step) {
    if (live.empty() || random() % 3 != 0) {
      live[Insert(step).PageNo] = step;
    } else {
      auto it = live.begin();
      std::advance(it, random() % live.size());
      ASSERT_TRUE(Delete(it->first));
      live.erase(it);
    }
    ASSERT_EQ(records_.RecordCount, static_cast<int64_t>(live.size()));
  }
  int64_t rec_no = 1;
  for (const auto& [slot, value] : live) {
    ASSERT_EQ(records_.SlotOfRecordNo(rec_no), slot);
    ASSERT_EQ(records_.RecordNoOfSlot(slot), rec_no);
    const int64_t estimate = records_.EstimateRecordNo(kSession, {slot, 0});
    ASSERT_GE(estimate, 1);
    ASSERT_LE(estimate, records_.RecordCount) << "an estimate never passes the count";
    ++rec_no;
  }
  EXPECT_EQ(records_.SlotOfRecordNo(0), -1);
  EXPECT_EQ(records_.SlotOfRecordNo(rec_no), -1);
}

TEST_F(MemoryRecords, RecordNumbersOfATableWithoutGaps) {
  for (int32_t value = 0; value < 4; ++value) Insert(value);
  ASSERT_TRUE(Delete(3));
  EXPECT_EQ(records_.SlotOfRecordNo(3), 2);
  EXPECT_EQ(records_.RecordNoOfSlot(2), 3);
  EXPECT_EQ(records_.RecordNoOfSlot(3), -1);
  EXPECT_EQ(records_.EstimateRecordNo(kSession, {2, 0}), 3);
  EXPECT_EQ(records_.EstimateRecordNo(kSession, {3, 0}), -1);
}

TEST_F(MemoryRecords, ARollbackUndoesEveryLoggedChangeExactly) {
  for (int32_t value = 0; value < 4; ++value) Insert(value);
  records_.CommitChanges(kSession, nullptr);
  const auto before = Walk();
  const int32_t changes = records_.ChangeCount;

  ASSERT_TRUE(Update(1, 100));
  ASSERT_TRUE(Delete(3));
  EXPECT_EQ(Insert(30).PageNo, 3) << "the deleted record's slot is written over";
  ASSERT_TRUE(Delete(0));
  Insert(50);
  records_.RollbackChanges(kSession);

  EXPECT_EQ(Walk(), before);
  EXPECT_EQ(records_.RecordCount, 4);
  EXPECT_EQ(records_.SlotOfRecordNo(1), 0);
  EXPECT_EQ(Insert(9).PageNo, 4);
  EXPECT_GT(records_.ChangeCount, changes + 5) << "no bitmap of the undone state passes for current";
}

TEST_F(MemoryRecords, RollbackToTheMarkUndoesOnlyTheChangesLoggedSince) {
  Insert(1);
  Insert(2);
  records_.CommitChanges(kSession, nullptr);
  ASSERT_TRUE(Update(0, 10));
  records_.MarkChanges(kSession);
  ASSERT_TRUE(Update(0, 20));
  ASSERT_TRUE(Delete(1));
  Insert(3);
  records_.RollbackToMark(kSession);
  EXPECT_EQ(Walk(), (std::vector<std::pair<int32_t, int32_t>>{{0, 10}, {1, 2}}));
  EXPECT_EQ(records_.RecordCount, 2);
  records_.RollbackToMark(kSession);  // the mark is gone: nothing more
  EXPECT_EQ(Walk(), (std::vector<std::pair<int32_t, int32_t>>{{0, 10}, {1, 2}}));
  records_.RollbackChanges(kSession);
  EXPECT_EQ(Walk(), (std::vector<std::pair<int32_t, int32_t>>{{0, 1}, {1, 2}})) << "the change before the mark was logged";
}

TEST_F(MemoryRecords, ACommitShowsWhatItsChangesReplaced) {
  Insert(1);
  Insert(2);
  records_.CommitChanges(kSession, nullptr);
  ASSERT_TRUE(Update(0, 10));
  ASSERT_TRUE(Delete(1));
  Insert(3);
  std::vector<std::pair<int32_t, int32_t>> replaced;
  records_.CommitChanges(
      kSession, [&](int32_t slot, const uint8_t* image) { replaced.emplace_back(slot, LoadI32(image)); });
  EXPECT_EQ(replaced, (std::vector<std::pair<int32_t, int32_t>>{{0, 1}, {1, 2}}));
  records_.RollbackChanges(kSession);
  EXPECT_EQ(Walk(), (std::vector<std::pair<int32_t, int32_t>>{{0, 10}, {1, 3}})) << "committed changes stay";
}

TEST(MemoryRecordManager, ARecordSizeOfZeroIsRefused) {
  EXPECT_ENGINE_ERROR(TVTRMemoryRecordManager(0, 10), 10011, "Invalid record size = 0");
}

}  // namespace
