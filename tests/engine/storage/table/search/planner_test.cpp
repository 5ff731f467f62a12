#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <random>
#include <sstream>

#include "tests/engine/storage/table/TableTestSupport.h"

namespace {

class Planner : public TableFixture {
 protected:
  // The trace of the searches that follow.
  TVTRSearchTrace& Trace() {
    table_->SearchTrace = &trace_;
    return trace_;
  }

  TVTRSearchTrace trace_;
};

TEST_F(Planner, AnEqualityOnAUniqueOneColumnIndexReadsOneKey) {
  CreateTable({"A", "B"}, {{"UA", {"A"}, true}});
  TableCursor& cursor = Cursor();
  for (int32_t a = 0; a < 300; ++a) ASSERT_TRUE(cursor.Insert({a, a % 7}));
  FakeExpression locate;
  locate.ParseFilter(*cursor, "A = 157 AND B >= 0", false, false);
  const TVTRSearchTrace& trace = Trace();
  ASSERT_TRUE(table_->Locate(*cursor, &locate));
  EXPECT_EQ(cursor.Value(), 157);
  EXPECT_TRUE(trace.QuickPlan);
  EXPECT_EQ(trace.Strategy, TVTRSearchStrategy::kScanIndexForStorageOrder);
  EXPECT_EQ(trace.StartComparison, scEqual);
  EXPECT_EQ(trace.KeysScanned, 1);
  EXPECT_EQ(trace.RecordsRead, 1);           // for B, which the index does not answer
  ASSERT_EQ(locate.Conjuncts().size(), 2u);  // the expression is whole again
}

TEST_F(Planner, WithoutAnIndexConditionTheSearchWalksEveryRecord) {
  CreateTable({"A", "B"}, {{"IA", {"A"}}});
  TableCursor& cursor = Cursor();
  for (int32_t a = 0; a < 50; ++a) ASSERT_TRUE(cursor.Insert({a, a % 5}));
  cursor.SetFilter("B = 3");
  const TVTRSearchTrace& trace = Trace();
  EXPECT_EQ(table_->GetRecordCount(*cursor), 10);
  EXPECT_EQ(trace.Strategy, TVTRSearchStrategy::kScanTable);
  EXPECT_EQ(trace.RecordsRead, 50);
}

TEST_F(Planner, ARangeOfAnIndexReadsOnlyTheKeysInRange) {
  CreateTable({"A", "B"}, {{"IA", {"A"}}});
  TableCursor& cursor = Cursor();
  for (int32_t a = 0; a < 1000; ++a) ASSERT_TRUE(cursor.Insert({(a * 7) % 1000, 0}));
  const TVTRSearchTrace& trace = Trace();
  struct Case {
    const char* index;
    TVTRSearchStrategy strategy;
  };
  for (const Case c : {Case{"", TVTRSearchStrategy::kScanIndexForStorageOrder},
                       Case{"IA", TVTRSearchStrategy::kScanCursorIndex}}) {
    SCOPED_TRACE(c.index);
    cursor.SetIndex(c.index);
    cursor.SetFilter("A >= 100 AND A < 110");
    EXPECT_EQ(table_->GetRecordCount(*cursor), 10);
    EXPECT_EQ(trace.Strategy, c.strategy);
    EXPECT_EQ(trace.StartComparison, scNotBefore);
    EXPECT_EQ(trace.EndComparison, scBefore);
    EXPECT_EQ(trace.KeysScanned, 10);
    EXPECT_EQ(trace.RecordsRead, 0);
    std::vector<int32_t> values = cursor.WalkValues();
    if (!*c.index) std::sort(values.begin(), values.end());
    EXPECT_EQ(values, (std::vector<int32_t>{100, 101, 102, 103, 104, 105, 106, 107, 108, 109}));
  }
  // Backward, the range starts at its upper end.
  cursor.SetFilter("A > 3 AND A < 7");
  cursor.Last();
  ASSERT_EQ(cursor.Fetch(fmPrior), grOK);
  EXPECT_EQ(cursor.Value(), 6);
  EXPECT_EQ(trace.StartComparison, scBefore);
  EXPECT_EQ(trace.EndComparison, scAfter);
}

TEST_F(Planner, ASearchFromAnEndThroughAnotherIndexLeavesACompleteBitmap) {
  CreateTable({"A", "B"}, {{"IA", {"A"}}});
  TableCursor& cursor = Cursor();
  for (int32_t a = 0; a < 400; ++a) ASSERT_TRUE(cursor.Insert({a, 0}));
  cursor.SetFilter("A >= 10 AND A <= 12");
  cursor.First();
  const TVTRSearchTrace& trace = Trace();
  ASSERT_EQ(cursor.Fetch(fmNext), grOK);
  EXPECT_EQ(trace.Strategy, TVTRSearchStrategy::kScanIndexForStorageOrder);
  EXPECT_TRUE(cursor->RecordBitmap->Complete);
  ASSERT_EQ(cursor.Fetch(fmNext), grOK);
  EXPECT_EQ(trace.Strategy, TVTRSearchStrategy::kRecordBitmap);
}

// "A <= 5 AND A < 5" holds two upper bounds: they make no range, and a row
// with A = 5 must never pass.
class TwoUpperBounds : public Planner, public ::testing::WithParamInterface<const char*> {};

TEST_P(TwoUpperBounds, NeverPassA5) {
  const std::string index = GetParam();
  if (index.empty())
    CreateTable({"A", "B"});
  else
    CreateTable({"A", "B"}, {{index, {"A"}}});
  TableCursor& cursor = Cursor();
  for (int32_t a = 0; a < 100; ++a) ASSERT_TRUE(cursor.Insert({a % 10, a}));
  for (const char* order : {"", "IA"}) {
    if (*order && index.empty()) continue;
    cursor.SetIndex(order);
    for (const char* filter : {"A <= 5 AND A < 5", "A < 5 AND A <= 5"}) {
      SCOPED_TRACE(std::string(order) + ": " + filter);
      cursor.SetFilter(filter);
      std::vector<int32_t> values = cursor.WalkValues();
      EXPECT_EQ(values.size(), 50u);
      EXPECT_EQ(std::count(values.begin(), values.end(), 5), 0);
      EXPECT_EQ(table_->GetRecordCount(*cursor), 50);
      EXPECT_EQ(Trace().EndComparison, scNone);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutIndex, TwoUpperBounds, ::testing::Values("", "IA"));

TEST_F(Planner, ConditionsOnOneIndexMergeWhereOneImpliesTheOther) {
  CreateTable({"A", "B"}, {{"IA", {"A"}}});
  TableCursor& cursor = Cursor();
  for (int32_t a = 0; a < 20; ++a) ASSERT_TRUE(cursor.Insert({a, 0}));
  cursor.SetIndex("IA");
  const TVTRSearchTrace& trace = Trace();
  struct Case {
    const char* filter;
    int32_t conditions;                       // left once simplified, the filter itself included
    std::optional<TVTRScanComparison> start;  // of the one index condition left
    int64_t count;
  };
  for (const Case& c : {Case{"A <= 5 AND A < 5", 3, std::nullopt, 5},
                        Case{"A < 5 AND A <= 5", 2, scBefore, 5}, Case{"A >= 5 AND A <= 5", 2, scEqual, 1},
                        Case{"A > 3 AND A > 7", 2, scAfter, 12}, Case{"A = 4 AND A >= 2", 2, scEqual, 1}}) {
    SCOPED_TRACE(c.filter);
    cursor.SetFilter(c.filter);
    EXPECT_EQ(table_->GetRecordCount(*cursor), c.count);
    EXPECT_EQ(trace.ConditionCount, c.conditions);
    if (c.start) EXPECT_EQ(trace.StartComparison, *c.start);
    EXPECT_EQ(trace.EndComparison, scNone);
  }
  cursor.SetFilter("A > 7 AND A = 3");
  EXPECT_EQ(table_->GetRecordCount(*cursor), 0);
  EXPECT_EQ(trace.Strategy, TVTRSearchStrategy::kNothingMatches);
  EXPECT_EQ(trace.RecordsRead, 0);
}

TEST_F(Planner, AStrictBoundLongerThanAnEqualityLeavesRoomBesideIt) {
  CreateTable({"A", "B"}, {{"IAB", {"A", "B"}}});
  TableCursor& cursor = Cursor();
  for (int32_t a = 4; a <= 6; ++a)
    for (int32_t b = 0; b < 4; ++b) ASSERT_TRUE(cursor.Insert({a, b}));
  cursor.SetIndex("IAB");
  struct Case {
    const char* what;
    std::function<void()> arrange;
    std::vector<int32_t> b_values;  // of the records with A = 5 the cursor sees
  };
  const auto range = [&](std::optional<std::vector<int32_t>> low, std::optional<std::vector<int32_t>> high,
                         bool exclusive) {
    const auto count = [](const auto& key) { return key ? static_cast<int32_t>(key->size()) : 0; };
    cursor->SetRange(low ? cursor.Key(*low) : nullptr, high ? cursor.Key(*high) : nullptr, count(low),
                     count(high), exclusive, exclusive);
  };
  for (const Case& c : std::vector<Case>{
           {"> (5, 1) and = 5",
            [&] {
              range(std::vector<int32_t>{5, 1}, std::nullopt, true);
            },
            {2, 3}},
           {"< (5, 2) and = 5",
            [&] {
              range(std::nullopt, std::vector<int32_t>{5, 2}, true);
            },
            {0, 1}},
           {">= (5, 2), <= (5, 2) and = 5",
            [&] {
              range(std::vector<int32_t>{5, 2}, std::vector<int32_t>{5, 2}, false);
            },
            {2}},
       }) {
    SCOPED_TRACE(c.what);
    c.arrange();
    cursor.SetFilter("A = 5");
    EXPECT_EQ(cursor.WalkValues(1), c.b_values);
    cursor->CancelRange();
  }

  // A key search for A = 5 inside a range ending at (5, 1) or starting after it.
  cursor.SetFilter("");
  cursor->SearchKey = cursor.Key({5});
  cursor->SearchKeyFieldCount = 1;
  range(std::nullopt, std::vector<int32_t>{5, 1}, true);
  ASSERT_TRUE(table_->GotoKey(*cursor, scEqual));
  ASSERT_EQ(cursor.Fetch(fmCurrent), grOK);
  EXPECT_EQ(cursor.Value(1), 0);
  cursor->CancelRange();
  range(std::vector<int32_t>{5, 1}, std::nullopt, true);
  ASSERT_TRUE(table_->GotoKey(*cursor, scEqual));
  ASSERT_EQ(cursor.Fetch(fmCurrent), grOK);
  EXPECT_EQ(cursor.Value(1), 2);
}

TEST_F(Planner, AnEqualitySearchInStorageOrderMovesOnFromARecordOutsideItsKey) {
  CreateTable({"A", "B"}, {{"IA", {"A"}}});
  TableCursor& cursor = Cursor();
  for (int32_t a : {5, 7, 5, 5}) ASSERT_TRUE(cursor.Insert({a, 0}));
  for (int32_t a = 100; a < 400; ++a) ASSERT_TRUE(cursor.Insert({a, 0}));  // so that the index pays
  const std::vector<TVTRRecordID> ids = cursor.Walk();
  cursor.SetFilter("A = 5");
  cursor->CurrentRecordID = ids[1];  // as another user may have changed the record the cursor stands on
  cursor->Bof = false;
  cursor->Eof = false;
  const TVTRSearchTrace& trace = Trace();
  ASSERT_EQ(cursor.Fetch(fmNext), grOK);
  EXPECT_EQ(trace.Strategy, TVTRSearchStrategy::kScanIndexForStorageOrder);
  EXPECT_EQ(cursor->CurrentRecordID, ids[2]);
  ASSERT_EQ(cursor.Fetch(fmNext), grOK);
  EXPECT_EQ(cursor->CurrentRecordID, ids[3]);
  EXPECT_EQ(cursor.Fetch(fmNext), grEOF);
}

TEST_F(Planner, ARangeThatAFilterContradictsFindsNothingWithoutReading) {
  CreateTable({"A", "B"}, {{"IA", {"A"}}});
  TableCursor& cursor = Cursor();
  for (int32_t a = 0; a < 10; ++a) ASSERT_TRUE(cursor.Insert({a, 0}));
  cursor.SetIndex("IA");
  cursor->SetRange(cursor.Key({5}), nullptr, 1, 0, false, false);
  cursor.SetFilter("A < 3");
  const TVTRSearchTrace& trace = Trace();
  EXPECT_EQ(cursor.Fetch(fmNext), grEOF);
  EXPECT_EQ(trace.Strategy, TVTRSearchStrategy::kNothingMatches);
  EXPECT_EQ(trace.RecordsRead, 0);
}

// Random filters and ranges over a table with indexes answer what a table
// without them answers, and what the rows themselves say, in every order.
TEST_F(Planner, IndexesNeverChangeTheAnswer) {
  TestDiskTable& indexed = CreateTable(
      {"A", "B", "C"}, {{"IA", {"A"}}, {"IAB", {"A", "B"}}, {"IBD", {"B"}, false, {true}}}, "INDEXED");
  TestDiskTable& plain = CreateTable({"A", "B", "C"}, {}, "PLAIN");
  TableCursor& writer = Cursor(&indexed);
  TableCursor& plain_writer = Cursor(&plain);
  std::mt19937 random(23);
  std::vector<std::array<int32_t, 3>> rows;
  for (int i = 0; i < 400; ++i) {
    rows.push_back({static_cast<int32_t>(random() % 20), static_cast<int32_t>(random() % 8),
                    static_cast<int32_t>(random() % 4)});
    ASSERT_TRUE(writer.Insert({rows.back()[0], rows.back()[1], rows.back()[2]}));
    ASSERT_TRUE(plain_writer.Insert({rows.back()[0], rows.back()[1], rows.back()[2]}));
  }
  const std::vector<TVTRRecordID> ids = writer.Walk();  // storage order is insertion order here

  static const char* const kFields[] = {"A", "B", "C"};
  static const char* const kOperators[] = {"=", "<>", "<", ">", "<=", ">="};
  const auto holds = [](int32_t value, int op, int32_t constant) {
    switch (op) {
      case 0:
        return value == constant;
      case 1:
        return value != constant;
      case 2:
        return value < constant;
      case 3:
        return value > constant;
      case 4:
        return value <= constant;
      default:
        return value >= constant;
    }
  };
  struct Order {
    const char* index;
    std::function<bool(size_t, size_t)> before;  // row order in that index, ties by storage order
  };
  const auto key = [&](size_t row, const std::vector<int>& fields, const std::vector<bool>& descending) {
    std::vector<int32_t> values;
    for (size_t i = 0; i < fields.size(); ++i)
      values.push_back(descending[i] ? -rows[row][fields[i]] : rows[row][fields[i]]);
    return values;
  };
  const std::vector<Order> orders = {
      {"", [](size_t x, size_t y) { return x < y; }},
      {"IA",
       [&](size_t x, size_t y) {
         return std::pair(key(x, {0}, {false}), x) < std::pair(key(y, {0}, {false}), y);
       }},
      {"IAB",
       [&](size_t x, size_t y) {
         return std::pair(key(x, {0, 1}, {false, false}), x) < std::pair(key(y, {0, 1}, {false, false}), y);
       }},
      {"IBD",
       [&](size_t x, size_t y) {
         return std::pair(key(x, {1}, {true}), x) < std::pair(key(y, {1}, {true}), y);
       }},
  };

  TableCursor& cursor = Cursor(&indexed);
  TableCursor& plain_cursor = Cursor(&plain);
  for (int round = 0; round < 60; ++round) {
    std::ostringstream filter;
    std::vector<std::tuple<int, int, int32_t>> terms;
    const int term_count = 1 + static_cast<int>(random() % 3);
    for (int t = 0; t < term_count; ++t) {
      const int field = static_cast<int>(random() % 3);
      const int op = static_cast<int>(random() % 6);
      const auto constant = static_cast<int32_t>(random() % (field == 0 ? 22 : 9)) - 1;
      terms.emplace_back(field, op, constant);
      filter << (t ? " AND " : "") << kFields[field] << ' ' << kOperators[op] << ' ' << constant;
    }
    std::vector<size_t> passing;
    for (size_t r = 0; r < rows.size(); ++r)
      if (std::ranges::all_of(terms, [&](const auto& term) {
            return holds(rows[r][std::get<0>(term)], std::get<1>(term), std::get<2>(term));
          }))
        passing.push_back(r);
    SCOPED_TRACE(filter.str());

    plain_cursor.SetFilter(filter.str());
    std::vector<TVTRRecordID> plain_found = plain_cursor.Walk();
    ASSERT_EQ(plain_found.size(), passing.size());

    for (const Order& order : orders) {
      SCOPED_TRACE(order.index);
      cursor.SetIndex(order.index);
      cursor.SetFilter(filter.str());
      std::vector<size_t> expected = passing;
      // A range of the ascending indexes, on one or both of their fields.
      const int32_t range_fields = std::string(order.index) == "IA"    ? 1
                                   : std::string(order.index) == "IAB" ? 2
                                                                       : 0;
      if (range_fields > 0 && random() % 2 == 0) {
        const auto bound = [&](bool exclusive) {
          std::vector<int32_t> values = {static_cast<int32_t>(random() % 20)};
          if (range_fields == 2 && random() % 2 == 0) values.push_back(static_cast<int32_t>(random() % 8));
          const bool used = random() % 3 != 0;
          SCOPED_TRACE(testing::Message() << "bound " << values[0] << (values.size() > 1 ? "," : "")
                                          << (values.size() > 1 ? values[1] : 0) << (exclusive ? " x" : ""));
          return std::pair(used ? std::optional(values) : std::nullopt, exclusive);
        };
        const auto [low, low_exclusive] = bound(random() % 2 == 0);
        const auto [high, high_exclusive] = bound(random() % 2 == 0);
        const auto compare = [&](size_t r, const std::vector<int32_t>& values) {
          for (size_t f = 0; f < values.size(); ++f)
            if (rows[r][f] != values[f]) return rows[r][f] < values[f] ? -1 : 1;
          return 0;
        };
        std::erase_if(expected, [&](size_t r) {
          const int to_low = low ? compare(r, *low) : 1;
          const int to_high = high ? compare(r, *high) : -1;
          return to_low < 0 || (to_low == 0 && low_exclusive) || to_high > 0 ||
                 (to_high == 0 && high_exclusive);
        });
        cursor->SetRange(low ? cursor.Key(*low) : nullptr, high ? cursor.Key(*high) : nullptr,
                         low ? static_cast<int32_t>(low->size()) : 0,
                         high ? static_cast<int32_t>(high->size()) : 0, low_exclusive, high_exclusive);
      }
      std::stable_sort(expected.begin(), expected.end(), order.before);
      std::vector<TVTRRecordID> expected_ids;
      for (size_t r : expected) expected_ids.push_back(ids[r]);
      ASSERT_EQ(cursor.Walk(), expected_ids);
      std::vector<TVTRRecordID> backward = cursor.Walk(false);
      std::reverse(backward.begin(), backward.end());
      ASSERT_EQ(backward, expected_ids);
      cursor.SetFilter(filter.str());
      ASSERT_EQ(table_->GetRecordCount(*cursor), static_cast<int64_t>(expected_ids.size()));

      // The same filter given to Locate on a cursor without one finds the
      // first record of the order (within the range).
      cursor.SetFilter("");
      cursor.First();
      FakeExpression locate;
      locate.ParseFilter(*cursor, filter.str(), false, false);
      ASSERT_EQ(table_->Locate(*cursor, &locate), !expected_ids.empty());
      if (!expected_ids.empty()) ASSERT_EQ(cursor->CurrentRecordID, expected_ids.front());
      cursor->CancelRange();
    }
  }
}

}  // namespace
