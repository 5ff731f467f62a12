// Splits, merges and collapses at known places, on trees of page-map keys
// (a leaf holds exactly 673 of them), and damaged pages.
#include <gtest/gtest.h>

#include "engine/storage/pager/ByteOrder.h"
#include "tests/engine/storage/btree/BTreeTestSupport.h"
#include "tests/support/EngineErrors.h"

namespace {

constexpr int32_t kLeafCapacity = (4096 - 40 - 18) / 6;

class PageKeyTree : public ::testing::Test {
 protected:
  PageKeyTree() : tree_(pages_, key_ref_) {}

  void Insert(int32_t key) {
    uint8_t bytes[4], amount[2] = {1, 0};
    StoreI32(bytes, key);
    tree_.Insert(bytes, amount);
  }
  bool Delete(int32_t key) {
    uint8_t bytes[4], amount[2] = {1, 0};
    StoreI32(bytes, key);
    return tree_.Delete(bytes, amount);
  }
  int32_t KeyAt(const TVTRKeyPath& path) {
    TVTRBTreePage leaf(pages_, key_ref_);
    leaf.GetPage(tree_.Session(), path.Deepest().PageNo);
    return LoadI32(leaf.EntryKey(path.Deepest().Position));
  }
  // Runs a check on the page `page_no`.
  template <typename Check>
  void OnPage(int32_t page_no, Check check) {
    TVTRBTreePage page(pages_, key_ref_);
    page.GetPage(tree_.Session(), page_no);
    check(page);
  }
  // Overwrites bytes of a page's data area, as damage on disk would.
  void Damage(int32_t page_no, int32_t offset, std::initializer_list<uint8_t> bytes) {
    HeldPage page(pages_.GetPage(tree_.Session(), page_no, ptTableIndex));
    std::copy(bytes.begin(), bytes.end(), page->Data() + offset);
    page->SetDirty(true);
  }

  MemoryPageManager pages_;
  TVTRPageKeyRef key_ref_;
  TestTree tree_;
};

TEST_F(PageKeyTree, AnEmptyTreeFindsNothing) {
  TVTRKeyPath path;
  uint8_t key[4] = {};
  EXPECT_FALSE(tree_.First(path));
  EXPECT_FALSE(tree_.FindKey(false, scNone, nullptr, path));
  EXPECT_FALSE(tree_.FindKey(true, scNotBefore, key, path));
  EXPECT_FALSE(Delete(0));
}

TEST_F(PageKeyTree, AFullRootLeafSplitsIntoTwoLinkedHalvesAndKeepsItsNumber) {
  for (int32_t key = 0; key < kLeafCapacity; ++key) Insert(key);
  OnPage(tree_.Root(), [](TVTRBTreePage& root) { EXPECT_TRUE(root.Leaf()); });
  Insert(kLeafCapacity);
  const int32_t half = (kLeafCapacity + 1) / 2;
  OnPage(tree_.Root(), [&](TVTRBTreePage& root) {
    ASSERT_FALSE(root.Leaf());
    EXPECT_TRUE(root.Root());
    ASSERT_EQ(root.Count(), 2);
    const int32_t left = root.ChildPage(0), right = root.ChildPage(1);
    OnPage(left, [&](TVTRBTreePage& page) {
      EXPECT_EQ(page.Count(), half);
      EXPECT_EQ(page.NextPage(), right);
      EXPECT_EQ(page.PrevPage(), -1);
      EXPECT_FALSE(page.Root());
    });
    OnPage(right, [&](TVTRBTreePage& page) {
      EXPECT_EQ(page.Count(), kLeafCapacity + 1 - half);
      EXPECT_EQ(page.PrevPage(), left);
      EXPECT_EQ(LoadI32(root.EntryKey(1)), LoadI32(page.EntryKey(0)));
    });
  });
  tree_.CheckIntegrity();
}

TEST_F(PageKeyTree, APageEmptiedBesideAnExactlyFullOneStillMergesAndTheRootCollapses) {
  for (int32_t key = 0; key <= kLeafCapacity; ++key) Insert(key);
  // Fill the left half to the last byte of its page.
  for (int32_t key = -1; key >= -(kLeafCapacity / 2); --key) Insert(key);
  tree_.CheckIntegrity();
  for (int32_t key = kLeafCapacity / 2 + 1; key <= kLeafCapacity; ++key) ASSERT_TRUE(Delete(key));
  tree_.CheckIntegrity();
  TVTRKeyPath path;
  ASSERT_TRUE(tree_.FindKey(false, scNone, nullptr, path));
  EXPECT_EQ(KeyAt(path), kLeafCapacity / 2);
  OnPage(tree_.Root(), [](TVTRBTreePage& root) {
    EXPECT_TRUE(root.Leaf());
    EXPECT_EQ(root.Count(), kLeafCapacity);
    EXPECT_EQ(root.NextPage(), -1);
  });
  pages_.Commit(tree_.Session());
  EXPECT_EQ(pages_.LivePages(), 1);
}

TEST_F(PageKeyTree, ARolledBackMergeLeavesTheCommittedTreeWhole) {
  for (int32_t key = 0; key <= kLeafCapacity; ++key) Insert(key);
  ASSERT_TRUE(Delete(kLeafCapacity));
  pages_.Commit(tree_.Session());
  // The next delete lets the right half fit into the left: it merges away
  // from a clean cached page, and the root collapses.
  ASSERT_TRUE(Delete(kLeafCapacity - 1));
  OnPage(tree_.Root(), [](TVTRBTreePage& root) { ASSERT_TRUE(root.Leaf()); });
  pages_.Rollback(tree_.Session());
  tree_.CheckIntegrity();
  TVTRKeyPath path;
  for (int32_t key = 0; key < kLeafCapacity; ++key) {
    uint8_t bytes[4];
    StoreI32(bytes, key);
    ASSERT_TRUE(tree_.FindKey(true, scEqual, bytes, path)) << key;
  }
}

TEST_F(PageKeyTree, ASplitThatCannotGetAPageIsRolledBackWhole) {
  for (int32_t key = 0; key < kLeafCapacity; ++key) Insert(key);
  pages_.Commit(tree_.Session());
  pages_.full = true;
  EXPECT_NE(NativeErrorOf([&] { Insert(kLeafCapacity); }), 0);
  pages_.Rollback(tree_.Session());
  pages_.full = false;
  OnPage(tree_.Root(), [](TVTRBTreePage& root) { EXPECT_EQ(root.Count(), kLeafCapacity); });
  tree_.CheckIntegrity();
  Insert(kLeafCapacity);
  tree_.CheckIntegrity();
}

TEST_F(PageKeyTree, DamagedPagesRaiseCodedErrors) {
  for (int32_t key = 0; key <= kLeafCapacity; ++key) Insert(key);
  pages_.Commit(tree_.Session());
  int32_t left = -1;
  OnPage(tree_.Root(), [&](TVTRBTreePage& root) { left = root.ChildPage(0); });
  TVTRKeyPath path;
  Damage(left, 14, {0xFF, 0xFF});  // an entry count past the page
  EXPECT_EQ(NativeErrorOf([&] { tree_.First(path); }), 20028);
  pages_.Rollback(tree_.Session());
  Damage(left, 12, {9, 0});  // another tree's key length
  EXPECT_EQ(NativeErrorOf([&] { tree_.First(path); }), 20028);
  pages_.Rollback(tree_.Session());
  // A child link back to the root runs in a circle.
  uint8_t root_no[4];
  StoreI32(root_no, tree_.Root());
  Damage(tree_.Root(), 18 + 8 + 4, {root_no[0], root_no[1], root_no[2], root_no[3]});
  EXPECT_EQ(NativeErrorOf([&] { tree_.FindKey(false, scNone, nullptr, path); }), 20032);
  EXPECT_EQ(NativeErrorOf([&] { tree_.CheckIntegrity(); }), 20034) << "the left child no longer links to it";
}

}  // namespace
