#include <gtest/gtest.h>

#include <functional>
#include <list>

#include "tests/engine/storage/common/EngineTestSupport.h"
#include "tests/engine/storage/common/TestDatabase.h"
#include "tests/engine/storage/index/IndexTestSupport.h"

namespace {

using Value = TestIndexTable::Value;

Value Int(int64_t value) {
  return value;
}
Value Text(const std::string& text) {
  return text;
}

class RecordIndex : public ::testing::Test {
 protected:
  RecordIndex() : table_({{"ID", adtInteger, 0}, {"NAME", adtString, 30}, {"CODE", adtSmallInt, 0}}) {}

  // The RecordIDs of the index in order, through First and Next.
  std::vector<TVTRRecordID> Walk(int32_t index_id) {
    std::vector<TVTRRecordID> ids;
    TVTRBTreeRecordIndex& index = table_.Index(index_id);
    TVTRKeyPath path;
    for (bool more = index.First(0, path); more; more = index.Next(0, path)) {
      ids.emplace_back();
      index.GetValueAtPath(0, path, ids.back());
    }
    return ids;
  }
  // A bound on CODE.
  const TVTRScanSearchCondition& CodeBound(int64_t code, TVTRScanComparison comparison) {
    keys_.push_back(table_.Record({std::nullopt, std::nullopt, Int(code)}));
    TVTRScanSearchCondition& bound = bounds_.emplace_back();
    bound.SetBorrowedKey(keys_.back().data(), static_cast<uint32_t>(keys_.back().size()));
    bound.Comparison = comparison;
    bound.KeyFieldCount = 1;
    return bound;
  }

  TestIndexTable table_;
  std::list<std::vector<uint8_t>> keys_;
  std::list<TVTRScanSearchCondition> bounds_;
};

TEST_F(RecordIndex, EqualKeysStayInRecordIDOrderAcrossLeavesAndAreNumberedInThatOrder) {
  const int32_t by_code = table_.AddIndex("BY_CODE", {{"CODE"}});
  std::vector<TVTRRecordID> sevens, others;
  for (int i = 0; i < 1200; ++i) {
    const bool seven = i % 3 != 0;
    (seven ? sevens : others).push_back(table_.Insert({Int(i), Text("x"), Int(seven ? 7 : 3)}));
  }
  std::vector<TVTRRecordID> expected = others;
  expected.insert(expected.end(), sevens.begin(), sevens.end());
  EXPECT_EQ(Walk(by_code), expected);

  TVTRBTreeRecordIndex& index = table_.Index(by_code);
  TVTRKeyPath path;
  for (const TVTRRecordID& id : sevens)
    ASSERT_TRUE(index.FindRecordKey(0, id, path, table_.Stored(id).data()));
  EXPECT_EQ(index.GetRecNo(0, expected.front(), table_.Stored(expected.front()).data()), 1);
  EXPECT_EQ(index.GetRecNo(0, sevens[500], table_.Stored(sevens[500]).data()), 400 + 501);
  TVTRRecordID id;
  index.SetRecNo(0, id, 1200);
  EXPECT_EQ(id, expected.back());
  index.SetRecNo(0, id, 0);
  EXPECT_EQ(id, expected.front());
  index.SetRecNo(0, id, -7);
  EXPECT_EQ(id, expected.front());
  EXPECT_ENGINE_ERROR(index.SetRecNo(0, id, 1201), 20075, "Cannot set RecNo greater than RecordCount");
  index.EmptyIndex(0);
  EXPECT_ENGINE_ERROR(index.SetRecNo(0, id, 1), 20074, "Cannot retreive record from empty index");
}

TEST_F(RecordIndex, KeysTyingOnAFilledPrefixAreFoundAndDeletedUnderAColumnBehindIt) {
  const int32_t by_name = table_.AddIndex("BY_NAME", {{"NAME", false, false, 8}, {"CODE"}});
  std::vector<TVTRRecordID> ids;
  for (int i = 0; i < 600; ++i)
    ids.push_back(table_.Insert({Int(i), Text("Prefixed " + std::to_string(i % 23)), Int(i % 7)}));
  table_.Index(by_name).CheckIntegrity(0);
  TVTRKeyPath path;
  for (const TVTRRecordID& id : ids)
    ASSERT_TRUE(table_.Index(by_name).FindRecordKey(0, id, path, table_.Stored(id).data()));
  for (const TVTRRecordID& id : ids) table_.Delete(id);
  EXPECT_TRUE(Walk(by_name).empty());
}

TEST_F(RecordIndex, RecordNumbersOverLeafLinksThatRunInACircleRaise20032) {
  const int32_t by_code = table_.AddIndex("BY_CODE", {{"CODE"}});
  std::vector<TVTRRecordID> ids;
  for (int i = 0; i < 1500; ++i) ids.push_back(table_.Insert({Int(i), Text("x"), Int(i)}));
  TVTRBTreeRecordIndex& index = table_.Index(by_code);
  TVTRKeyPath path;
  ASSERT_TRUE(index.First(0, path));
  const int32_t first_leaf = path.Deepest().PageNo;
  // A link of a damaged file: the first leaf is its own next and previous page.
  {
    HeldPage leaf(table_.Pages().GetPage(0, first_leaf, ptTableIndex));
    StoreI32(leaf->Data() + 2, first_leaf);
    StoreI32(leaf->Data() + 6, first_leaf);
    leaf->SetDirty(true);
  }
  TVTRRecordID id;
  EXPECT_EQ(NativeErrorOf([&] { index.SetRecNo(0, id, 1500); }), 20032);
  EXPECT_EQ(NativeErrorOf([&] { index.GetRecNo(0, ids[0], table_.Stored(ids[0]).data()); }), 20032);
}

TEST_F(RecordIndex, AUniqueKeyIsFreeUnlessItsWholeValueIsTakenAndNullsCollide) {
  const int32_t by_name = table_.AddIndex("BY_NAME", {{"NAME", false, false, 4}}, true);
  const int32_t by_code_name = table_.AddIndex("BY_CODE_NAME", {{"CODE"}, {"NAME"}}, true);
  const int32_t plain = table_.AddIndex("PLAIN", {{"ID"}});
  const TVTRRecordID first = table_.Insert({Int(1), Text("abcdef"), std::nullopt});
  table_.Insert({Int(2), std::nullopt, std::nullopt});
  const auto free = [&](int32_t index_id, const std::vector<Value>& values) {
    return table_.Index(index_id).IsKeyFree(0, table_.Record(values).data());
  };
  EXPECT_TRUE(free(by_name, {Int(3), Text("abcdXY"), Int(1)})) << "only the stored prefix is shared";
  EXPECT_FALSE(free(by_name, {Int(3), Text("abcdef"), Int(1)}));
  EXPECT_TRUE(free(by_name, {Int(3), Text("abc"), Int(1)}));
  EXPECT_FALSE(free(by_code_name, {Int(3), std::nullopt, std::nullopt})) << "a second all-null key";
  EXPECT_TRUE(free(by_code_name, {Int(3), std::nullopt, Int(5)}));
  EXPECT_TRUE(free(plain, {Int(1), Text("abcdef"), std::nullopt})) << "an ordinary index takes any key";
  const std::vector<uint8_t> stored = table_.Stored(first);
  EXPECT_TRUE(table_.Index(by_name).IsKeyFreeForUpdate(0, stored.data(), stored.data()));
  EXPECT_FALSE(table_.Index(by_name).IsKeyFreeForUpdate(
      0, table_.Record({Int(1), Text("zz"), std::nullopt}).data(), stored.data()));
}

TEST_F(RecordIndex, ReadingInIndexOrderStopsAtTheEndsAndReusesTheCachedPosition) {
  const int32_t by_id = table_.AddIndex("BY_ID", {{"ID", true}});
  const TVTRRecordID low = table_.Insert({Int(1), Text("a"), Int(0)});
  const TVTRRecordID high = table_.Insert({Int(2), Text("b"), Int(0)});
  TVTRBTreeRecordIndex& index = table_.Index(by_id);
  std::vector<uint8_t> buffer = table_.Stored(low);
  NavigationRequest request;
  request.Buffer = buffer.data();
  request.RecordID = low;  // the last record of a descending index
  request.Direction = fmNext;
  index.GetRecord(0, request, table_.GetChangeCount(), nullptr);
  EXPECT_EQ(request.Result, grEOF);
  EXPECT_TRUE(request.Eof);
  EXPECT_EQ(request.RecordID, low);
  request.Direction = fmNext;  // Eof and next: still after the last
  index.GetRecord(0, request, table_.GetChangeCount(), nullptr);
  EXPECT_EQ(request.Result, grEOF);
  request.Direction = fmPrior;
  TVTRIndexPositionCache cache;
  index.GetRecord(0, request, table_.GetChangeCount(), &cache);
  ASSERT_EQ(request.Result, grOK);
  EXPECT_EQ(request.RecordID, low);
  EXPECT_TRUE(cache.Holds(by_id, low, table_.GetChangeCount()));

  // With the cache the stale key in the buffer is not searched for.
  const std::vector<uint8_t> garbage = table_.Record({Int(99), Text("z"), Int(0)});
  std::vector<uint8_t> stale = garbage;
  request.Buffer = stale.data();
  request.Direction = fmPrior;
  index.GetRecord(0, request, table_.GetChangeCount(), &cache);
  ASSERT_EQ(request.Result, grOK);
  EXPECT_EQ(request.RecordID, high);
  std::copy(garbage.begin(), garbage.end(), stale.begin());
  request.Direction = fmPrior;
  index.GetRecord(0, request, table_.GetChangeCount() + 1, &cache);
  EXPECT_EQ(request.Result, grError) << "a changed table makes the cache stale";
  request.Direction = fmPrior;
  request.Bof = true;
  index.GetRecord(0, request, table_.GetChangeCount(), nullptr);
  EXPECT_EQ(request.Result, grBOF) << "prior before the first finds nothing";
  request.Direction = fmCurrent;
  EXPECT_ENGINE_ERROR(index.GetRecord(0, request, 0, nullptr), 20053,
                      "Invalid get record mode for index: grmCurrent");
}

TEST_F(RecordIndex, ARangeScanVisitsExactlyTheEqualKeysInEitherDirection) {
  const int32_t by_code = table_.AddIndex("BY_CODE", {{"CODE"}});
  std::vector<TVTRRecordID> twos;
  for (int i = 0; i < 900; ++i) {
    const TVTRRecordID id = table_.Insert({Int(i), Text("x"), Int(i % 4)});
    if (i % 4 == 2) twos.push_back(id);
  }
  TVTRBTreeRecordIndex& index = table_.Index(by_code);
  const TVTRScanSearchCondition& equal_two = CodeBound(2, scEqual);
  for (const bool forward : {true, false}) {
    std::unique_ptr<TVTRIndexScanState> state = index.CreateScanState();
    std::vector<TVTRRecordID> seen;
    TVTRRecordID id;
    for (bool restart = true;
         index.ScanNext(0, restart, state.get(), id, nullptr, nullptr, &equal_two, forward);
         restart = false) {
      seen.push_back(id);
    }
    std::vector<TVTRRecordID> expected = twos;
    if (!forward) std::reverse(expected.begin(), expected.end());
    EXPECT_EQ(seen, expected) << (forward ? "forward" : "backward");
    EXPECT_ENGINE_ERROR(index.ScanNext(0, true, state.get(), id, nullptr, nullptr, &equal_two, forward),
                        20078, "Index error: invalid params");
  }
  // Continuing from a record before the range starts at the range's first entry.
  const TVTRScanSearchCondition& from_two = CodeBound(2, scNotBefore);
  const TVTRScanSearchCondition& to_three = CodeBound(3, scNotAfter);
  std::unique_ptr<TVTRIndexScanState> state = index.CreateScanState();
  TVTRRecordID id{100, 0};  // the record of CODE 0, before the range
  ASSERT_TRUE(
      index.ScanNext(0, false, state.get(), id, table_.Stored(id).data(), &to_three, &from_two, true));
  EXPECT_EQ(id, twos[0]);
  int visited = 1;
  while (index.ScanNext(0, false, state.get(), id, nullptr, &to_three, &from_two, true)) ++visited;
  EXPECT_EQ(visited, 2 * 225);
  TVTRRecordID unused;
  EXPECT_ENGINE_ERROR(index.ScanNext(0, true, nullptr, unused, nullptr, nullptr, nullptr, true), 20077,
                      "Pointer is nil");
}

TEST_F(RecordIndex, RemovingDuplicateKeysKeepsTheFirstRecordOfEachKey) {
  const int32_t by_code = table_.AddIndex("BY_CODE", {{"CODE"}});
  for (int i = 0; i < 700; ++i) table_.Insert({Int(i), Text("x"), Int(i % 3)});
  TVTRBTreeRecordIndex& index = table_.Index(by_code);

  // Bitmap positions are the index's key-path positions.
  struct PathTable : TestTable {
    using TestTable::TestTable;
    int64_t PathToPosition(int32_t, const TVTRKeyPath& path) override {
      return path.ToPositionNumber(fan_out);
    }
    int32_t fan_out = 0;
  };
  TestDatabase database("T.VTR");
  PathTable positions(database, "T");
  positions.fan_out = index.GetFanOut();
  TVTRRecordBitmap bitmap(&positions);
  bitmap.IndexOrdered = true;
  TVTRKeyPath path;
  index.Last(0, path);
  bitmap.SetSize(path.ToPositionNumber(positions.fan_out) + 1);
  for (bool more = index.First(0, path); more; more = index.Next(0, path)) bitmap.AddPath(by_code, path);
  index.RemoveDuplicateKeys(0, &bitmap);
  std::vector<TVTRRecordID> kept;
  for (bool more = index.First(0, path); more; more = index.Next(0, path)) {
    if (!bitmap.HasPath(by_code, path)) continue;
    kept.emplace_back();
    index.GetRecordIDAtPath(0, path, kept.back());
  }
  const std::vector<TVTRRecordID> expected = {{100, 0}, {100, 1}, {100, 2}};
  EXPECT_EQ(kept, expected);
  EXPECT_ENGINE_ERROR(index.RemoveDuplicateKeys(0, nullptr), 20076, "Pointer is nil");
}

TEST_F(RecordIndex, PathPositionNumbersUseThePageManagersDataSize) {
  for (const int32_t header_size : {kPageHeaderSize, 0}) {
    TestIndexTable table({{"ID", adtInteger, 0}}, header_size);
    const int32_t by_id = table.AddIndex("BY_ID", {{"ID"}});
    for (int i = 0; i < 2000; ++i) table.Insert({Int(i)});
    TVTRBTreeRecordIndex& index = table.Index(by_id);
    EXPECT_EQ(index.GetFanOut(), (4096 - header_size) / (5 + 4));
    TVTRKeyPath path, numbered;
    ASSERT_TRUE(index.First(0, path));
    for (int step = 0; step < 1500; ++step) index.Next(0, path);
    numbered.FromPositionNumber(path.ToPositionNumber(index.GetFanOut()), index.GetFanOut());
    TVTRRecordID by_path, by_number;
    index.GetValueAtPath(0, path, by_path);
    index.GetRecordIDAtPath(0, numbered, by_number);
    EXPECT_EQ(by_number, by_path);
    EXPECT_EQ(index.GetRecNo(0, by_path, table.Stored(by_path).data()), 1501);
  }
}

TEST_F(RecordIndex, AnUpdateThatKeepsTheKeyTouchesNoPage) {
  const int32_t by_name = table_.AddIndex("BY_NAME", {{"NAME", false, true}});
  const TVTRRecordID id = table_.Insert({Int(1), Text("abc"), Int(0)});
  table_.Insert({Int(2), Text("abd"), Int(0)});
  table_.Pages().Commit(0);
  table_.Update(id, {Int(5), Text("ABC"), Int(9)});
  EXPECT_FALSE(table_.Pages().HasSessionChanges(0));
  table_.Update(id, {Int(5), Text("abe"), Int(9)});
  EXPECT_TRUE(table_.Pages().HasSessionChanges(0));
  EXPECT_EQ(Walk(by_name).back(), id);
}

TEST_F(RecordIndex, KeyUpkeepOfAnEntryThatIsNotThereFails) {
  const int32_t by_id = table_.AddIndex("BY_ID", {{"ID"}});
  const TVTRRecordID id = table_.Insert({Int(1), Text("a"), Int(0)});
  std::vector<uint8_t> other = table_.Record({Int(2), Text("a"), Int(0)});
  TestCursor& cursor = table_.Cursor(0, id);
  cursor.CurrentRecord = other.data();
  EXPECT_ENGINE_ERROR(table_.Index(by_id).DeleteKey(cursor), 20027,
                      "Index error: cannot delete entry. Entry not found");
  std::vector<uint8_t> newer = table_.Record({Int(3), Text("a"), Int(0)});
  cursor.OldRecord = other.data();
  cursor.CurrentRecord = newer.data();
  EXPECT_ENGINE_ERROR(table_.Index(by_id).UpdateKey(cursor), 20250,
                      "Index error: cannot delete entry. Entry not found");
  cursor.OldRecord = nullptr;
}

TEST_F(RecordIndex, OperationsOnAnIndexWithoutATreeRaiseTheirCodes) {
  TVTRIndexDef def;
  def.Name = "NO_TREE";
  def.Columns = {{"ID"}};
  def.Unique = true;
  TVTRBTreeRecordIndex index(table_.Manager());
  index.OpenIndex(def);
  TVTRKeyPath path;
  TVTRRecordID id;
  NavigationRequest request;
  request.Direction = fmNext;
  const std::vector<uint8_t> record = table_.Record({Int(1), Text("a"), Int(0)});
  const TVTRScanSearchCondition& bound = CodeBound(1, scEqual);
  const std::pair<int32_t, std::function<void()>> cases[] = {
      {20119, [&] { index.DropIndex(0); }},
      {20120, [&] { index.EmptyIndex(0); }},
      {20121, [&] { index.First(0, path); }},
      {20122, [&] { index.Last(0, path); }},
      {20123, [&] { index.GetRecord(0, request, 0, nullptr); }},
      {20124, [&] { index.FindRecordKey(0, id, path, record.data()); }},
      {20125, [&] { index.EstimateRangeCount(0, bound, bound, 10); }},
      {20126, [&] { index.IsKeyFree(0, record.data()); }},
      {20127, [&] { index.InsertKey(table_.Cursor(0)); }},
      {20068, [&] { index.GetValueAtPath(0, path, id); }},
      {20069, [&] { index.Next(0, path); }},
      {10384, [&] { index.ComparePaths(nullptr, &path); }},
      {10385, [&] { index.ComparePaths(&path, nullptr); }},
  };
  for (const auto& [code, action] : cases) EXPECT_EQ(NativeErrorOf(action), code);
}

TEST_F(RecordIndex, AKeyMustFitTwiceIntoAPage) {
  TestIndexTable wide({{"TEXT", adtString, 3000}});
  EXPECT_ENGINE_ERROR(
      wide.AddIndex("WHOLE", {{"TEXT", false, false, 3000}}), 20026,
      "Cannot create index. Key is too large to fit in current database page. Please increase page "
      "size of database file or decrease key size");
  EXPECT_EQ(wide.Manager().IndexDefs.GetCount(), 0);
  wide.AddIndex("PREFIX", {{"TEXT"}});
  EXPECT_EQ(wide.Manager().IndexDefs.GetCount(), 1);
}

}  // namespace
