#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "engine/storage/pager/ByteOrder.h"
#include "engine/storage/temp/TemporaryRecordManager.h"
#include "tests/engine/storage/common/EngineTestSupport.h"
#include "tests/support/ScratchFolder.h"

namespace {

constexpr int32_t kSession = 0;
constexpr int32_t kRecordSize = 8;

// Records of one 8-byte value; 10 stay in memory, blocks of 4 records spill.
class TemporaryRecords : public ::testing::Test {
 protected:
  TVTRTemporaryRecordManager MakeRecords(bool keep_in_memory = false, int64_t budget = 10 * kRecordSize) {
    return {kRecordSize, keep_in_memory, 3, 4, budget};
  }
  void Append(TVTRTemporaryRecordManager& records, int64_t first, int64_t count) {
    for (int64_t value = first; value < first + count; ++value) {
      uint8_t record[kRecordSize];
      StoreU64(record, static_cast<uint64_t>(value));
      TVTRRecordID id;
      ASSERT_TRUE(records.InsertRecord(kSession, record, id));
      ASSERT_EQ(TVTRTemporaryRecordManager::NumberOf(id), records.RecordCount - 1);
    }
  }
  // Every value, walking the given way.
  std::vector<int64_t> Walk(TVTRTemporaryRecordManager& records, bool forward = true) {
    std::vector<int64_t> values;
    uint8_t record[kRecordSize];
    NavigationRequest request;
    request.Buffer = record;
    request.Direction = forward ? fmNext : fmPrior;
    (forward ? request.Bof : request.Eof) = true;
    for (records.GetRecord(kSession, request); request.Result == grOK; records.GetRecord(kSession, request))
      values.push_back(static_cast<int64_t>(LoadU64(record)));
    EXPECT_EQ(request.Result, forward ? grEOF : grBOF);
    return values;
  }
  static std::vector<int64_t> Range(int64_t count, int64_t from = 0) {
    std::vector<int64_t> values;
    for (int64_t value = from; value < from + count; ++value) values.push_back(value);
    return values;
  }

  ScratchFolder folder_;
  ScopedTemporaryFolder temporary_{folder_.Path()};
};

TEST_F(TemporaryRecords, RecordsBeyondTheLimitSpillAndReadBackInEitherOrder) {
  TVTRTemporaryRecordManager records = MakeRecords();
  EXPECT_EQ(records.MemoryRecordLimit(), 10);
  Append(records, 0, 10);
  EXPECT_TRUE(records.SpillFileName().empty());
  Append(records, 10, 37);
  const std::filesystem::path spill = records.SpillFileName();
  EXPECT_EQ(spill.parent_path(), folder_.Path());
  EXPECT_EQ(spill.filename().string().substr(0, 3), "VTR");
  EXPECT_EQ(Walk(records), Range(47));
  std::vector<int64_t> backward = Range(47);
  std::reverse(backward.begin(), backward.end());
  EXPECT_EQ(Walk(records, false), backward);

  records.EmptyTable(kSession);
  EXPECT_FALSE(std::filesystem::exists(spill));
  EXPECT_EQ(Walk(records), std::vector<int64_t>{});
}

TEST_F(TemporaryRecords, ATruncatedStoreTakesNewRecordsInTheirPlace) {
  // Counts in memory, among the written blocks, and among the buffered records.
  for (int64_t kept : {4, 10, 17, 22}) {
    SCOPED_TRACE(kept);
    TVTRTemporaryRecordManager records = MakeRecords();
    Append(records, 0, 23);
    std::vector<int64_t> expected = Walk(records);  // fills the read buffer
    records.Truncate(kept);
    EXPECT_EQ(records.RecordCount, kept);
    Append(records, 100, 9);
    expected.resize(static_cast<size_t>(kept));
    for (int64_t value = 100; value < 109; ++value) expected.push_back(value);
    EXPECT_EQ(Walk(records), expected);
  }
}

TEST_F(TemporaryRecords, KeptInMemoryNothingSpills) {
  TVTRTemporaryRecordManager records = MakeRecords(true);
  Append(records, 0, 2500);
  EXPECT_TRUE(records.SpillFileName().empty());
  EXPECT_EQ(Walk(records), Range(2500));
}

TEST_F(TemporaryRecords, ARecordLargerThanTheBudgetSpillsFromTheFirst) {
  TVTRTemporaryRecordManager records = MakeRecords(false, kRecordSize - 1);
  Append(records, 0, 1);
  NavigationRequest request;
  uint8_t record[kRecordSize];
  request.Buffer = record;
  request.RecordID = TVTRTemporaryRecordManager::RecordIDOf(0);
  records.GetRecord(kSession, request);
  ASSERT_EQ(request.Result, grOK) << "a record still in the write buffer is read from there";
  EXPECT_EQ(LoadU64(record), 0u);
  Append(records, 1, 200);
  EXPECT_FALSE(records.SpillFileName().empty());
  EXPECT_EQ(Walk(records), Range(201));
}

TEST_F(TemporaryRecords, PositionsOutsideTheRecordsFindNothing) {
  TVTRTemporaryRecordManager records = MakeRecords();
  Append(records, 0, 3);
  struct Case {
    int64_t from;
    TVTRFetchMode direction;
    TVTRGetRecordResult result;
  };
  for (const Case& c : {Case{3, fmCurrent, grError}, Case{-1, fmCurrent, grError}, Case{2, fmNext, grEOF},
                        Case{0, fmPrior, grBOF}, Case{7, fmPrior, grOK}}) {
    NavigationRequest request;
    request.RecordID = TVTRTemporaryRecordManager::RecordIDOf(c.from);
    request.Direction = c.direction;
    records.GetRecord(kSession, request);
    EXPECT_EQ(request.Result, c.result) << c.from << " " << int{c.direction};
  }
  EXPECT_EQ(records.EstimateRecordNo(kSession, TVTRTemporaryRecordManager::RecordIDOf(2)), 3);
  EXPECT_EQ(records.EstimateRecordNo(kSession, TVTRTemporaryRecordManager::RecordIDOf(3)), -1);
  EXPECT_FALSE(records.UpdateRecord(kSession, nullptr, TVTRTemporaryRecordManager::RecordIDOf(0)));
  EXPECT_FALSE(records.DeleteRecord(kSession, TVTRTemporaryRecordManager::RecordIDOf(0)));
}

TEST(TemporaryRecordManager, RecordNumbersFillTheSixBytesOfARecordID) {
  const int64_t number = (int64_t{0x1234} << 32) + 0xFFFFFFFE;
  const TVTRRecordID id = TVTRTemporaryRecordManager::RecordIDOf(number);
  EXPECT_EQ(id, (TVTRRecordID{-2, 0x1234}));
  EXPECT_EQ(TVTRTemporaryRecordManager::NumberOf(id), number);
  EXPECT_ENGINE_ERROR(TVTRTemporaryRecordManager(0, false, 1, 1, 0), 10124, "Invalid record size = 0");
}

}  // namespace
