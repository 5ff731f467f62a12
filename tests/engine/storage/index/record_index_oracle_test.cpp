// Random inserts, updates and deletes through the index manager against a
// std::set oracle, checking navigation in index order, record numbers and
// range estimates. The key has a small integer column and a descending,
// case-insensitive text column that keeps a 5-byte prefix, so ties between
// long texts are settled from the stored records.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>

#include "platform/rtl/Collation.h"
#include "tests/engine/storage/index/IndexTestSupport.h"

namespace {

using Value = TestIndexTable::Value;

struct Row {
  std::optional<int64_t> a;
  std::optional<std::string> b;
  TVTRRecordID id;
};

int CompareA(const Row& x, const Row& y) {
  if (!x.a || !y.a) return !x.a && !y.a ? 0 : !x.a ? -1 : 1;
  return *x.a < *y.a ? -1 : *x.a > *y.a;
}

int CompareB(const Row& x, const Row& y) {
  int r;
  if (!x.b || !y.b) {
    r = !x.b && !y.b ? 0 : !x.b ? -1 : 1;
  } else {
    r = CollateText(*x.b, *y.b, true);
    r = r < 0 ? -1 : r > 0;
  }
  return -r;  // descending
}

// Key order over the first `columns` columns, without the RecordID.
int CompareKeys(const Row& x, const Row& y, int columns) {
  if (int r = CompareA(x, y)) return r;
  return columns > 1 ? CompareB(x, y) : 0;
}

struct RowLess {
  bool operator()(const Row& x, const Row& y) const {
    if (int r = CompareKeys(x, y, 2)) return r < 0;
    if (x.id.PageNo != y.id.PageNo) return x.id.PageNo < y.id.PageNo;
    return x.id.SlotNo < y.id.SlotNo;
  }
};

const std::vector<std::string> kTexts = {"abcdefgh",
                                         "ABCDEFGH",
                                         "abcdeXYZ",
                                         "abcde",
                                         "abc",
                                         "",
                                         "b",
                                         "\xA1\xA2\xA3\xA4\xA5\xA6",
                                         "\xA1\xA2\xA3\xA4\xA5",
                                         "\xE0\xA1\xA2",
                                         "zzzzzzzzzzzzzzzzzzzzzzzzz",
                                         "zzzzzzzzzzzzzzzzzzzzzzzza"};

class RecordIndexOracle : public ::testing::Test {
 protected:
  RecordIndexOracle() : table_({{"A", adtSmallInt, 0}, {"B", adtString, 39}}), random_(4242) {
    index_id_ = table_.AddIndex("AB", {{"A"}, {"B", true, true, 5}});
  }

  int Draw(int n) { return static_cast<int>(random_() % static_cast<uint32_t>(n)); }
  Row RandomRow() {
    Row row;
    if (Draw(10) > 0) row.a = Draw(61) - 30;
    if (Draw(10) > 0) row.b = kTexts[static_cast<size_t>(Draw(static_cast<int>(kTexts.size())))];
    return row;
  }
  std::vector<Value> Values(const Row& row) {
    return {row.a ? Value(*row.a) : std::nullopt, row.b ? Value(*row.b) : std::nullopt};
  }
  TVTRBTreeRecordIndex& Index() { return table_.Index(index_id_); }

  void Insert() {
    Row row = RandomRow();
    row.id = table_.Insert(Values(row));
    oracle_.insert(row);
    rows_.push_back(row);
  }
  size_t PickRow() { return static_cast<size_t>(Draw(static_cast<int>(rows_.size()))); }
  void Update() {
    Row& row = rows_[PickRow()];
    oracle_.erase(row);
    const Row changed = RandomRow();
    row.a = changed.a;
    row.b = changed.b;
    table_.Update(row.id, Values(row));
    oracle_.insert(row);
  }
  void Delete() {
    const size_t i = PickRow();
    table_.Delete(rows_[i].id);
    oracle_.erase(rows_[i]);
    rows_[i] = rows_.back();
    rows_.pop_back();
  }

  void CheckRecordNumbers() {
    const Row& row = rows_[PickRow()];
    const int64_t expected = std::distance(oracle_.begin(), oracle_.find(row)) + 1;
    ASSERT_EQ(Index().GetRecNo(0, row.id, table_.Stored(row.id).data()), expected);
    const int64_t rec_no = 1 + Draw(static_cast<int>(oracle_.size()));
    TVTRRecordID id;
    Index().SetRecNo(0, id, rec_no);
    ASSERT_EQ(id, std::next(oracle_.begin(), rec_no - 1)->id) << "record number " << rec_no;
  }

  // A bound over the first `columns` key columns at a random row's values.
  void CheckEstimate() {
    const int columns = 1 + Draw(2);
    const Row low = RandomRow(), high = RandomRow();
    const bool low_inclusive = Draw(2) == 0, high_inclusive = Draw(2) == 0;
    TVTRScanSearchCondition low_bound, high_bound;
    std::vector<uint8_t> low_key = table_.Record(Values(low)), high_key = table_.Record(Values(high));
    low_bound.SetBorrowedKey(low_key.data(), static_cast<uint32_t>(low_key.size()));
    high_bound.SetBorrowedKey(high_key.data(), static_cast<uint32_t>(high_key.size()));
    low_bound.Comparison = low_inclusive ? scNotBefore : scAfter;
    high_bound.Comparison = high_inclusive ? scNotAfter : scBefore;
    low_bound.KeyFieldCount = high_bound.KeyFieldCount = columns;
    int64_t exact = 0;
    bool low_found = false, high_found = false;
    for (const Row& row : oracle_) {
      const int c_low = CompareKeys(row, low, columns), c_high = CompareKeys(row, high, columns);
      low_found |= low_inclusive ? c_low >= 0 : c_low > 0;
      high_found |= high_inclusive ? c_high <= 0 : c_high < 0;
      if ((low_inclusive ? c_low >= 0 : c_low > 0) && (high_inclusive ? c_high <= 0 : c_high < 0)) ++exact;
    }
    const int64_t total = static_cast<int64_t>(oracle_.size());
    const int64_t estimate = Index().EstimateRangeCount(0, high_bound, low_bound, total);
    ASSERT_GE(estimate, 0);
    ASSERT_LE(estimate, total);
    if (!low_found || !high_found) {
      ASSERT_EQ(estimate, 0);
    } else if (exact > 0) {
      // The two ends' fractions of the tree: off by the one entry the span
      // leaves out and by how unevenly the pages are filled, which the
      // average below keeps in check.
      const double error = std::abs(static_cast<double>(estimate - exact));
      ASSERT_LE(error, 2 + 0.15 * static_cast<double>(total))
          << "estimate " << estimate << ", exact " << exact;
      relative_error_ += error / static_cast<double>(total);
    }
    ++estimates_;
  }

  // Walks the whole index through the index manager, both ways.
  void CheckNavigation() {
    std::vector<TVTRRecordID> expected;
    for (const Row& row : oracle_) expected.push_back(row.id);
    for (const bool forward : {true, false}) {
      std::vector<TVTRRecordID> walked;
      std::vector<uint8_t> buffer(table_.Stored(rows_[0].id).size());
      NavigationRequest request;
      request.IndexID = index_id_;
      request.Buffer = buffer.data();
      request.Bof = forward;
      request.Eof = !forward;
      request.Direction = forward ? fmNext : fmPrior;
      TVTRIndexPositionCache cache;
      for (;;) {
        table_.Manager().GetRecord(0, request, table_.GetChangeCount(), &cache);
        if (request.Result != grOK) break;
        walked.push_back(request.RecordID);
      }
      ASSERT_EQ(request.Result, forward ? grEOF : grBOF);
      if (!forward) std::reverse(walked.begin(), walked.end());
      ASSERT_EQ(walked, expected) << (forward ? "forward" : "backward");
    }
  }

  TestIndexTable table_;
  int32_t index_id_;
  std::mt19937 random_;
  std::set<Row, RowLess> oracle_;
  std::vector<Row> rows_;
  int estimates_ = 0;
  double relative_error_ = 0;
};

TEST_F(RecordIndexOracle, NavigationRecordNumbersAndEstimatesFollowTheOracle) {
  for (int op = 1; op <= 6000; ++op) {
    const int roll = Draw(100);
    if (roll < 55 || rows_.empty()) {
      Insert();
    } else if (roll < 72) {
      Update();
    } else if (roll < 85) {
      Delete();
    } else if (roll < 93) {
      CheckRecordNumbers();
    } else if (oracle_.size() >= 1500) {
      CheckEstimate();
    }
    if (HasFatalFailure()) return;
    if (op % 1000 == 0) {
      ASSERT_NO_THROW(Index().CheckIntegrity(0)) << "after operation " << op;
      CheckNavigation();
    }
  }
  EXPECT_GT(oracle_.size(), 1500u);
  ASSERT_GT(estimates_, 100);
  EXPECT_LT(relative_error_ / estimates_, 0.02) << "estimates are off by this share of the table on average";
  TVTRRecordID first;
  Index().SetRecNo(0, first, 0);
  EXPECT_EQ(first, oracle_.begin()->id) << "a number below 1 counts as 1";
}

}  // namespace
