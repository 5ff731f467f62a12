#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <tuple>

#include "tests/engine/storage/table/TableTestSupport.h"

namespace {

class Navigation : public TableFixture {
 protected:
  void SetUp() override { CreateTable({"A", "B", "C"}, {{"IA", {"A"}}, {"IBA", {"B", "A"}}}); }
};

TEST_F(Navigation, MovesStopAtTheEndsInEveryOrder) {
  TableCursor& cursor = Cursor();
  for (TVTRFetchMode direction : {fmNext, fmPrior}) {
    cursor.First();
    EXPECT_EQ(cursor.Fetch(direction), grEOF);  // an empty table answers "after the last" every way
  }
  for (int32_t a : {4, 1, 3}) ASSERT_TRUE(cursor.Insert({a, 0}));
  for (const auto& [index, filter] :
       {std::pair("", ""), std::pair("IA", ""), std::pair("", "A > 0"), std::pair("IA", "A > 0")}) {
    SCOPED_TRACE(std::string(index) + " / " + filter);
    cursor.SetIndex(index);
    cursor.SetFilter(filter);
    cursor.Last();
    ASSERT_EQ(cursor.Fetch(fmPrior), grOK);
    EXPECT_EQ(cursor.Value(), *index ? 4 : 3);
    EXPECT_EQ(cursor.Fetch(fmNext), grEOF);
    cursor.First();
    ASSERT_EQ(cursor.Fetch(fmNext), grOK);
    EXPECT_EQ(cursor.Value(), *index ? 1 : 4);
    EXPECT_EQ(cursor.Fetch(fmPrior), grBOF);
    cursor.Last();
    EXPECT_EQ(cursor.Fetch(fmNext), grEOF);
    cursor.First();
    EXPECT_EQ(cursor.Fetch(fmPrior), grBOF);
  }
}

TEST_F(Navigation, AFilteredCursorLeftOnARecordItNoLongerSeesStaysThere) {
  TableCursor& cursor = Cursor();
  for (int32_t a : {1, 2, 3}) ASSERT_TRUE(cursor.Insert({a, 0}));
  cursor.SetFilter("A <> 2");
  EXPECT_EQ(cursor.WalkValues(), (std::vector<int32_t>{1, 3}));
  const std::vector<TVTRRecordID> all = Cursor().Walk();
  cursor->CurrentRecordID = all[1];
  cursor->Bof = false;
  cursor->Eof = false;
  EXPECT_EQ(cursor.Fetch(fmCurrent), grError);
  EXPECT_EQ(cursor->CurrentRecordID, all[1]);
  ASSERT_EQ(cursor.Fetch(fmNext), grOK);
  EXPECT_EQ(cursor.Value(), 3);
}

TEST_F(Navigation, LocateAndGotoKeyLeaveTheCursorWhereItWasWhenNothingIsFound) {
  TableCursor& cursor = Cursor();
  for (int32_t a : {5, 7, 9}) ASSERT_TRUE(cursor.Insert({a, a * 10}));
  cursor.SetIndex("IA");
  cursor.First();
  ASSERT_EQ(cursor.Fetch(fmNext), grOK);
  const TVTRRecordID first = cursor->CurrentRecordID;

  FakeExpression missing;
  missing.ParseFilter(*cursor, "A = 8", false, false);
  EXPECT_FALSE(table_->Locate(*cursor, &missing));
  EXPECT_EQ(cursor->CurrentRecordID, first);
  cursor->SearchKey = cursor.Key({8});
  cursor->SearchKeyFieldCount = 1;
  EXPECT_FALSE(table_->GotoKey(*cursor, scEqual));
  EXPECT_EQ(cursor->CurrentRecordID, first);

  FakeExpression seven;
  seven.ParseFilter(*cursor, "A = 7", false, false);
  ASSERT_TRUE(table_->Locate(*cursor, &seven));
  EXPECT_EQ(cursor.Value(1), 70);
  cursor->SearchKey = cursor.Key({8});
  ASSERT_TRUE(table_->GotoKey(*cursor, scNotBefore));
  ASSERT_EQ(cursor.Fetch(fmCurrent), grOK);
  EXPECT_EQ(cursor.Value(), 9);
  cursor->SearchKey = cursor.Key({9});
  EXPECT_FALSE(table_->GotoKey(*cursor, scAfter));

  EXPECT_ENGINE_ERROR(table_->Locate(*cursor, nullptr), 10272, "Nil pointer occured");
  cursor.SetIndex("");
  EXPECT_ENGINE_ERROR(
      table_->GotoKey(*cursor, scEqual), 20258,
      "No active index is set for Key search. Set Table.IndexName to the index on search fields.");
}

TEST_F(Navigation, RecordNumbersFollowEveryOrderThroughRandomChanges) {
  TableCursor& writer = Cursor();
  std::mt19937 random(5);
  for (int round = 0; round < 300; ++round) {
    if (round % 4 == 3) {
      writer->CurrentRecordID = writer.Walk()[random() % table_->RecordManager->RecordCount];
      ASSERT_TRUE(table_->DeleteRecord(*writer));
    } else {
      ASSERT_TRUE(writer.Insert({static_cast<int32_t>(random() % 50), static_cast<int32_t>(random() % 5)}));
    }
  }
  TableCursor& cursor = Cursor();
  for (const char* index : {"", "IA", "IBA"}) {
    for (const char* filter : {"", "A >= 20"}) {
      SCOPED_TRACE(std::string(index) + " / " + filter);
      cursor.SetIndex(index);
      cursor.SetFilter(filter);
      const std::vector<TVTRRecordID> order = cursor.Walk();
      ASSERT_EQ(table_->GetRecordCount(*cursor), static_cast<int64_t>(order.size()));
      std::vector<TVTRRecordID> backward = cursor.Walk(false);
      std::reverse(backward.begin(), backward.end());
      EXPECT_EQ(backward, order);
      for (size_t i = 0; i < order.size(); ++i) {
        cursor->CurrentRecordID = order[i];
        cursor->Bof = cursor->Eof = false;
        ASSERT_EQ(table_->GetRecNo(*cursor), static_cast<int64_t>(i + 1));
        table_->SetRecNo(*cursor, static_cast<int64_t>(i + 1));
        ASSERT_EQ(cursor->CurrentRecordID, order[i]);
      }
      table_->SetRecNo(*cursor, static_cast<int64_t>(order.size()) + 5);
      EXPECT_EQ(cursor->CurrentRecordID, order.back());
      cursor.First();
      EXPECT_EQ(table_->GetRecNo(*cursor), -1);
    }
  }
  // The orders themselves: storage order is RecordID order, an index's is its key, then RecordID.
  cursor.SetFilter("");
  cursor.SetIndex("");
  std::vector<std::tuple<int32_t, int32_t, TVTRRecordID>> rows;
  cursor.First();
  while (cursor.Fetch(fmNext) == grOK)
    rows.emplace_back(cursor.Value(0), cursor.Value(1), cursor->CurrentRecordID);
  const auto by_id = [](const TVTRRecordID& x, const TVTRRecordID& y) {
    return std::tie(x.PageNo, x.SlotNo) < std::tie(y.PageNo, y.SlotNo);
  };
  EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end(), [&](const auto& x, const auto& y) {
    return by_id(std::get<2>(x), std::get<2>(y));
  }));
  std::stable_sort(rows.begin(), rows.end(), [](const auto& x, const auto& y) {
    return std::tie(std::get<1>(x), std::get<0>(x)) < std::tie(std::get<1>(y), std::get<0>(y));
  });
  std::vector<TVTRRecordID> expected;
  for (const auto& row : rows) expected.push_back(std::get<2>(row));
  cursor.SetIndex("IBA");
  EXPECT_EQ(cursor.Walk(), expected);
}

TEST_F(Navigation, RecordNumbersOfAnEmptyOrUnpositionedCursor) {
  TableCursor& cursor = Cursor();
  cursor->Bof = false;
  table_->SetRecNo(*cursor, 3);  // nothing to go to
  EXPECT_FALSE(cursor->Bof);
  EXPECT_EQ(table_->GetRecNo(*cursor), -1);
  ASSERT_TRUE(cursor.Insert({1, 0}));
  cursor.Last();
  EXPECT_EQ(table_->GetRecNo(*cursor), -1);
}

TEST_F(Navigation, ADistinctCursorShowsOneRecordOfEachKey) {
  TableCursor& cursor = Cursor();
  for (int32_t c : {2, 1, 1, 3, 2}) ASSERT_TRUE(cursor.Insert({0, 0, c}));
  TStringList fields;
  fields.Add("C");
  TStringList directions;
  directions.Add("ASC");
  TStringList cases;
  cases.Add("CASE");
  const std::string name = table_->CreateTemporaryIndex(*cursor, fields, directions, cases);
  EXPECT_FALSE(pages_.HasSessionChanges(0));
  EXPECT_TRUE(table_->IndexManager->IndexDefs.GetIndexDefByName(name)->Temporary);
  cursor.SetIndex(name);
  cursor->TemporaryIndexFieldCount = 1;
  EXPECT_EQ(cursor.WalkValues(2), (std::vector<int32_t>{1, 2, 3}));
  EXPECT_EQ(table_->GetRecordCount(*cursor), 3);
  cursor.Last();
  for (int32_t c : {3, 2, 1}) {
    ASSERT_EQ(cursor.Fetch(fmPrior), grOK);
    EXPECT_EQ(cursor.Value(2), c);
  }
  EXPECT_EQ(cursor.Fetch(fmPrior), grBOF);

  // A search from the start is not bound to the key the cursor stands on.
  cursor.First();
  ASSERT_EQ(cursor.Fetch(fmNext), grOK);
  ASSERT_EQ(cursor.Fetch(fmNext), grOK);
  FakeExpression one;
  one.ParseFilter(*cursor, "C = 1", false, false);
  ASSERT_TRUE(table_->Locate(*cursor, &one));
  EXPECT_EQ(cursor.Value(2), 1);
}

TEST_F(Navigation, AFetchFromARecordThatIsGoneNeverReadsAsFound) {
  TableCursor& cursor = Cursor();
  for (int32_t a : {1, 2, 3}) ASSERT_TRUE(cursor.Insert({a, 0, 0}));
  const std::vector<TVTRRecordID> ids = cursor.Walk();
  cursor->CurrentRecordID = ids[1];
  ASSERT_TRUE(table_->DeleteRecord(*cursor));
  std::vector<uint8_t> record(static_cast<size_t>(cursor->RecordBufferSize));
  NavigationRequest request;
  request.Direction = fmNext;
  request.IndexID = table_->IndexManager->IndexDefs.GetIndexDefByName("IA")->ObjectID;
  request.RecordID = ids[1];
  request.Buffer = record.data();
  request.Result = grOK;  // as a request used before would hold it
  table_->ReadRecord(0, request, table_->GetChangeCount(), nullptr);
  EXPECT_EQ(request.Result, grError);
}

TEST_F(Navigation, AFilteredCountFollowsAnotherCursorsInsert) {
  TableCursor& cursor = Cursor();
  for (int32_t a : {1, 6}) ASSERT_TRUE(cursor.Insert({a, 0}));
  cursor.SetFilter("A > 5");
  EXPECT_EQ(table_->GetRecordCount(*cursor), 1);
  ASSERT_TRUE(Cursor().Insert({8, 0}));
  ASSERT_TRUE(Cursor().Insert({2, 0}));
  EXPECT_EQ(table_->GetRecordCount(*cursor), 2);
  EXPECT_EQ(cursor.WalkValues(), (std::vector<int32_t>{6, 8}));
}

}  // namespace
