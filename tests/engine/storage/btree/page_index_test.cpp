#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "tests/engine/storage/btree/BTreeTestSupport.h"
#include "tests/support/EngineErrors.h"

namespace {

constexpr int32_t kSession = 0;

class RecordPageMap : public ::testing::Test {
 protected:
  RecordPageMap() : map_(pages_) {
    map_.Capacity = 3;
    map_.CreateTree(kSession);
  }

  // Enters `records` records on a page.
  void Fill(int32_t page_no, int records) {
    for (int i = 0; i < records; ++i) map_.AddRecord(kSession, page_no);
  }
  std::optional<int32_t> PageWithRoom() {
    int32_t page_no = -1;
    return map_.FindPageWithRoom(kSession, page_no) ? std::optional<int32_t>(page_no) : std::nullopt;
  }

  MemoryPageManager pages_;
  TVTRBTreeRecordPageIndex map_;
};

TEST_F(RecordPageMap, AFullPageIsNeverOfferedAndRefusesAnotherRecord) {
  Fill(7, 3);
  EXPECT_EQ(PageWithRoom(), std::nullopt);
  EXPECT_EQ(NativeErrorOf([&] { map_.AddRecord(kSession, 7); }), 20106);
  map_.RemoveRecord(kSession, 7);
  EXPECT_EQ(PageWithRoom(), 7);
}

TEST_F(RecordPageMap, TheTwoPassesOverASingleLeafLookAtEveryEntryFavouringTheHighestPages) {
  const int32_t pages[] = {10, 20, 30, 40};
  for (const int32_t open : pages) {
    for (const int32_t page_no : pages) {
      TVTRKeyPath path;
      if (map_.Find(kSession, page_no, path)) {
        map_.SetValue(kSession, path, page_no == open ? 2 : 3);
      } else {
        Fill(page_no, page_no == open ? 2 : 3);
      }
    }
    EXPECT_EQ(PageWithRoom(), open);
  }
  TVTRKeyPath path;
  ASSERT_TRUE(map_.Find(kSession, 10, path));
  map_.SetValue(kSession, path, 1);
  EXPECT_EQ(PageWithRoom(), 40) << "the last leaf is searched from its end first";
}

TEST_F(RecordPageMap, APageLeavesTheMapWithItsLastRecord) {
  Fill(5, 2);
  Fill(9, 1);
  map_.RemoveRecord(kSession, 5);
  map_.RemoveRecord(kSession, 5);
  TVTRKeyPath path;
  EXPECT_FALSE(map_.Find(kSession, 5, path));
  EXPECT_EQ(NativeErrorOf([&] { map_.RemoveRecord(kSession, 5); }), 20111);
  ASSERT_TRUE(map_.Find(kSession, 9, path));
  map_.SetValue(kSession, path, 0);
  EXPECT_EQ(NativeErrorOf([&] { map_.RemoveRecord(kSession, 9); }), 20112);
  map_.SetValue(kSession, path, 2);
  map_.SubtractAmount(kSession, 5, 9);
  EXPECT_FALSE(map_.Find(kSession, 9, path)) << "taking more than stored empties the page";
}

TEST_F(RecordPageMap, RecordNumbersWalkThePagesInPageOrderAcrossLeaves) {
  // Enough pages for several leaves, entered out of order, with 1 to 3 records each.
  std::mt19937 random(11);
  std::vector<int32_t> page_numbers;
  for (int32_t page_no = -5; page_no < 2000; page_no += 2) page_numbers.push_back(page_no);
  std::shuffle(page_numbers.begin(), page_numbers.end(), random);
  std::map<int32_t, int> records;
  for (const int32_t page_no : page_numbers) Fill(page_no, records[page_no] = 1 + random() % 3);
  TVTRPageKeyRef key_ref;
  WithTreeRoot(pages_, key_ref, kSession, map_.Root(), [](TVTRBTreePage& root) {
    EXPECT_FALSE(root.Leaf()) << "the map should span several leaves";
  });

  int64_t number = 0;
  for (const auto& [page_no, count] : records) {
    for (int32_t ordinal = 0; ordinal < count; ++ordinal, ++number) {
      int32_t found_page = -1, found_ordinal = -1;
      map_.LocateRecordNo(kSession, found_page, found_ordinal, number);
      ASSERT_EQ(found_page, page_no);
      ASSERT_EQ(found_ordinal, ordinal);
      int64_t back = -1;
      map_.GetRecordNo(kSession, page_no, back, ordinal);
      ASSERT_EQ(back, number);
    }
  }
  EXPECT_EQ(NativeErrorOf([&] {
              int32_t page_no, ordinal;
              map_.LocateRecordNo(kSession, page_no, ordinal, number);
            }),
            20113);
  int32_t first = 0, last = 0, next = 0, prior = 0;
  ASSERT_TRUE(map_.FirstPage(kSession, first));
  ASSERT_TRUE(map_.LastPage(kSession, last));
  EXPECT_EQ(first, records.begin()->first);
  EXPECT_EQ(last, records.rbegin()->first);
  EXPECT_FALSE(map_.NextPage(kSession, last, next));
  EXPECT_FALSE(map_.PriorPage(kSession, first, prior));
  int32_t walked = 0;
  for (int32_t page_no = first; map_.NextPage(kSession, page_no, next); page_no = next) ++walked;
  EXPECT_EQ(walked, static_cast<int32_t>(records.size()) - 1);
  EXPECT_EQ(NativeErrorOf([&] { map_.NextPage(kSession, 0, next); }), 20104);
  EXPECT_EQ(NativeErrorOf([&] { map_.PriorPage(kSession, 0, prior); }), 20105);
  EXPECT_EQ(NativeErrorOf([&] { map_.GetRecordNo(kSession, 0, number, 0); }), 20114);
}

TEST_F(RecordPageMap, EmptyingKeepsOnlyTheRootAndDroppingFreesIt) {
  for (int32_t page_no = 0; page_no < 1500; ++page_no) Fill(page_no, 1);
  const int32_t root = map_.Root();
  map_.EmptyTree(kSession);
  EXPECT_EQ(map_.Root(), root);
  pages_.Commit(kSession);
  EXPECT_EQ(pages_.LivePages(), 1);
  EXPECT_EQ(PageWithRoom(), std::nullopt);
  map_.DropTree(kSession);
  pages_.Commit(kSession);
  EXPECT_EQ(pages_.LivePages(), 0);
  EXPECT_EQ(map_.Root(), -1);
}

// A record page map of one node over a dozen leaves, damaged the way a
// damaged file holds it: links and child pointers that lead elsewhere.
class DamagedPageMap : public RecordPageMap {
 protected:
  DamagedPageMap() {
    for (int32_t page_no = 0; page_no < kPages; ++page_no) Fill(page_no, 1);
    pages_.Commit(kSession);
    WithTreeRoot(pages_, key_ref_, kSession, map_.Root(), [&](TVTRBTreePage& root) {
      EXPECT_FALSE(root.Leaf());
      for (int32_t i = 0; i < root.Count(); ++i) leaves_.push_back(root.ChildPage(i));
    });
  }

  void SetI32(int32_t page_no, int32_t offset, int32_t value) {
    {
      HeldPage page(pages_.GetPage(kSession, page_no, ptTableIndex));
      StoreI32(page->Data() + offset, value);
      page->SetDirty(true);
    }
    pages_.Commit(kSession);
  }
  void SetPrev(int32_t page_no, int32_t prev) { SetI32(page_no, 2, prev); }
  void SetNext(int32_t page_no, int32_t next) { SetI32(page_no, 6, next); }
  // A node entry is a 4-byte key and the 4-byte child page.
  void SetChild(int32_t entry, int32_t child) { SetI32(map_.Root(), 18 + entry * 8 + 4, child); }
  int32_t FirstKeyOf(int32_t leaf_no) {
    return WithTreeRoot(pages_, key_ref_, kSession, leaf_no,
                        [](TVTRBTreePage& leaf) { return LoadI32(leaf.EntryKey(0)); });
  }
  // The entries in index order from the first, as far as the walk goes.
  int64_t WalkForward() {
    TVTRKeyPath path;
    int64_t steps = 0;
    for (bool found = map_.First(kSession, path); found; found = map_.Next(kSession, path)) ++steps;
    return steps;
  }

  static constexpr int32_t kPages = 4000;
  TVTRPageKeyRef key_ref_;
  std::vector<int32_t> leaves_;
};

TEST_F(DamagedPageMap, WalksAlongALinkBackToAnEarlierLeafEnd) {
  ASSERT_GE(leaves_.size(), 4u);
  SetNext(leaves_[2], leaves_[0]);
  const auto locate = [&](int64_t number) {
    int32_t page_no, ordinal;
    map_.LocateRecordNo(kSession, page_no, ordinal, number);
  };
  EXPECT_EQ(NativeErrorOf([&] { locate(kPages - 1); }), 20032);
  EXPECT_EQ(EngineErrorMessageOf([&] { WalkForward(); }).substr(0, 44),
            "Index integrity violated. Invlaid leaf link.");
  EXPECT_EQ(NativeErrorOf([&] { WalkForward(); }), 20034);
}

TEST_F(DamagedPageMap, WalksAlongALeafThatIsItsOwnPreviousPageEnd) {
  SetPrev(leaves_[1], leaves_[1]);
  int64_t number;
  EXPECT_EQ(NativeErrorOf([&] { map_.GetRecordNo(kSession, FirstKeyOf(leaves_[1]), number, 0); }), 20032);
  TVTRKeyPath path;
  EXPECT_EQ(NativeErrorOf([&] {
              for (bool found = map_.Last(kSession, path); found; found = map_.Prior(kSession, path)) {
              }
            }),
            20033);
}

TEST_F(DamagedPageMap, AnEntryOutOfOrderEndsAWalkInStorageOrder) {
  const int32_t first_of_second_leaf = FirstKeyOf(leaves_[1]);
  int32_t page_no;
  SetI32(leaves_[1], 18, 0);  // the second leaf's first entry now names page 0 again
  EXPECT_EQ(NativeErrorOf([&] { map_.NextPage(kSession, first_of_second_leaf - 1, page_no); }), 20104);
  SetI32(leaves_[1], 18, kPages * 2);
  EXPECT_EQ(NativeErrorOf([&] { map_.PriorPage(kSession, first_of_second_leaf + 1, page_no); }), 20105);
}

TEST_F(DamagedPageMap, NodesSharingAChildAreWalkedOnceAndReported) {
  // Every child is one of two leaves that link to each other both ways, so
  // the links agree with the node and only the sharing tells the damage.
  for (size_t i = 0; i < leaves_.size(); ++i) SetChild(static_cast<int32_t>(i), leaves_[i % 2]);
  SetNext(leaves_[1], leaves_[0]);
  SetPrev(leaves_[0], leaves_[1]);
  EXPECT_EQ(NativeErrorOf([&] {
              TVTRKeyPath path;
              WithTreeRoot(pages_, key_ref_, kSession, map_.Root(),
                           [&](TVTRBTreePage& root) { root.CheckIntegrity(kSession, path); });
            }),
            20032);
  EXPECT_EQ(NativeErrorOf([&] { map_.EmptyTree(kSession); }), 20032);
  pages_.Rollback(kSession);
  EXPECT_EQ(NativeErrorOf([&] {
              TVTRKeyPath path;
              map_.First(kSession, path);
              TVTRPathWalk walk(path);
              while (map_.Next(kSession, path)) walk.Moved(path);
            }),
            20032);
  // A search that finds nothing in a subtree does not search it again.
  for (const int32_t leaf : {leaves_[0], leaves_[1]}) SetI32(leaf, 14, 0);  // no entries, no extra header
  EXPECT_EQ(NativeErrorOf([&] {
              TVTRKeyPath path;
              WithTreeRoot(pages_, key_ref_, kSession, map_.Root(),
                           [&](TVTRBTreePage& root) { root.FindKey(kSession, true, path, scNone, nullptr); });
            }),
            20032);
}

TEST(PageMap, OperationsWithoutATreeRaiseTheirCodes) {
  MemoryPageManager pages;
  TVTRBTreeRecordPageIndex map(pages);
  TVTRKeyPath path;
  const std::pair<int32_t, std::function<void()>> cases[] = {
      {20115, [&] { map.First(kSession, path); }},     {20116, [&] { map.Last(kSession, path); }},
      {20117, [&] { map.Find(kSession, 1, path); }},   {20118, [&] { map.AddRecord(kSession, 1); }},
      {20110, [&] { map.RemoveRecord(kSession, 1); }}, {20099, [&] { map.Next(kSession, path); }},
      {20101, [&] { map.Prior(kSession, path); }},     {20103, [&] { map.GetKey(kSession, path); }},
      {20107, [&] { map.GetValue(kSession, path); }},  {20108, [&] { map.SetValue(kSession, path, 1); }},
  };
  for (const auto& [code, action] : cases) EXPECT_EQ(NativeErrorOf(action), code);
}

TEST(BlobPageMap, APageHasRoomWhileItsBytesStayBelowTheDataSizeLessTwo) {
  MemoryPageManager pages;
  TVTRBTreeBlobPageIndex map(pages);
  map.CreateTree(kSession);
  const int32_t limit = pages.PageDataSize() - 2;
  map.AddAmount(kSession, limit - 4, 3);
  map.AddAmount(kSession, 3, 3);
  int32_t page_no = -1;
  EXPECT_FALSE(map.FindPageWithRoom(kSession, 1, page_no));
  EXPECT_EQ(NativeErrorOf([&] { map.AddAmount(kSession, 1, 3); }), 20106);
  map.SubtractAmount(kSession, 100, 3);
  ASSERT_TRUE(map.FindPageWithRoom(kSession, 99, page_no));
  EXPECT_EQ(page_no, 3);
}

}  // namespace
