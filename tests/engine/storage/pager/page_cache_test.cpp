#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/engine/storage/StorageFixtures.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/storage/VTRPage.h"

namespace {

// Pages kept in memory, with a log of the writes and frees and switches
// that make reads and writes fail.
class FakePageManager : public TVTRPageManager {
 public:
  static constexpr int32_t kPageSize = 64;

  FakePageManager() : TVTRPageManager(kPageSize, kPageHeaderSize) {}

  void Put(int32_t page_no, uint16_t type, uint8_t content) {
    std::vector<uint8_t>& image = store_[page_no];
    image.assign(kPageSize, 0);
    image[0] = 'V';
    SetPageTypeOf(image.data(), type);
    image[kPageHeaderSize] = content;
    next_page_ = std::max(next_page_, page_no + 1);
  }
  uint8_t Stored(int32_t page_no) const { return store_.at(page_no)[kPageHeaderSize]; }

  void AllocatePage(TVTRPage& page) override {
    page.SetPageNo(hand_out_ >= 0 ? hand_out_ : next_page_++);
    page.AllocBuffer();
  }
  void FreePage(int32_t page_no) override {
    if (!freed_.insert(page_no).second)
      throw EVTRException::CreateFmt(30427, "Page: %d already free", page_no);
    log_.push_back("free " + std::to_string(page_no));
  }
  bool ReadPage(TVTRPage& page) override {
    ++reads_;
    if (fail_reads_) return false;
    const std::vector<uint8_t>& image = store_.at(page.PageNo());
    std::copy(image.begin(), image.end(), page.Buffer());
    return true;
  }
  void WritePage(TVTRPage& page) override {
    if (writes_left_ == 0) throw EVTRException(10469, "write failed");
    if (writes_left_ > 0) --writes_left_;
    store_[page.PageNo()].assign(page.Buffer(), page.Buffer() + kPageSize);
    log_.push_back("write " + std::to_string(page.PageNo()));
  }

  std::vector<std::string> log_;
  std::set<int32_t> freed_;
  int reads_ = 0;
  bool fail_reads_ = false;
  int writes_left_ = -1;  // -1: no limit
  int32_t hand_out_ = -1;  // the number every allocation gives, as a damaged map may; -1: the next one

 private:
  std::map<int32_t, std::vector<uint8_t>> store_;
  int32_t next_page_ = 0;
};

// Sets the first data byte of a page of the session and releases it dirty.
void Change(TVTRPageManager& manager, int32_t session, int32_t page_no, uint8_t value) {
  HeldPage page(manager.GetPage(session, page_no, kAnyPageType));
  page->Data()[0] = value;
  page->SetDirty(true);
}

uint8_t Read(TVTRPageManager& manager, int32_t session, int32_t page_no) {
  HeldPage page(manager.GetPage(session, page_no, kAnyPageType));
  return page->Data()[0];
}

class PageCache : public ::testing::Test {
 protected:
  PageCache() {
    for (int32_t page_no = 0; page_no < 20; ++page_no) pages_.Put(page_no, ptTableRecord, 100);
  }
  FakePageManager pages_;
};

TEST_F(PageCache, AChangeStaysInvisibleToOtherSessionsUntilItsCommit) {
  EXPECT_EQ(Read(pages_, 1, 10), 100);  // session 1 has the page cached
  Change(pages_, 0, 10, 7);
  EXPECT_EQ(Read(pages_, 0, 10), 7);
  EXPECT_EQ(Read(pages_, 1, 10), 100);
  EXPECT_EQ(pages_.Stored(10), 100);
  pages_.Commit(0);
  EXPECT_EQ(pages_.Stored(10), 7);
  EXPECT_EQ(Read(pages_, 1, 10), 7) << "a stale copy was served after the commit";
  EXPECT_FALSE(pages_.HasSessionChanges(0));
}

TEST_F(PageCache, APageInUseIsRefusedToAnotherSession) {
  HeldPage held(pages_.GetPage(0, 5, kAnyPageType));
  EXPECT_EQ(NativeErrorOf([&] { pages_.GetPage(1, 5, kAnyPageType); }), 20090);
  HeldPage again(pages_.GetPage(0, 5, kAnyPageType));
  EXPECT_EQ(held->UseCount(), 2);
  again.Release();
  held.Release();
  EXPECT_EQ(Read(pages_, 1, 5), 100);
  EXPECT_EQ(NativeErrorOf([&] { pages_.GetPage(kInvalidSessionID, 5, kAnyPageType); }), 20186);
}

TEST_F(PageCache, CommitWritesNewPagesFirstThenChangedPagesInOrderThenFreesTheDeletedPages) {
  Change(pages_, 0, 12, 1);
  Change(pages_, 0, 3, 1);
  Change(pages_, 0, 8, 1);
  pages_.DeletePage(0, 8);  // changed, then deleted: never written
  pages_.DeletePage(0, 15);
  HeldPage added(pages_.AddPage(0, ptTableIndex));
  const int32_t added_no = added->PageNo();
  EXPECT_TRUE(added->Dirty());
  added.Release();
  pages_.Commit(0);
  const std::vector<std::string> expected = {"write " + std::to_string(added_no), "write 3", "write 12",
                                             "free 8", "free 15"};
  EXPECT_EQ(pages_.log_, expected);
  HeldPage reread(pages_.GetPage(1, added_no, ptTableIndex));
  EXPECT_EQ(reread->PageType(), ptTableIndex);
}

TEST_F(PageCache, AFailedCommitKeepsEveryChangeForARetry) {
  Change(pages_, 0, 1, 11);
  Change(pages_, 0, 2, 22);
  pages_.DeletePage(0, 9);
  pages_.writes_left_ = 1;
  EXPECT_EQ(NativeErrorOf([&] { pages_.Commit(0); }), 10469);
  EXPECT_TRUE(pages_.freed_.empty()) << "a page was freed before the changes were written";
  EXPECT_TRUE(pages_.HasSessionChanges(0));
  EXPECT_EQ(Read(pages_, 0, 2), 22);
  pages_.writes_left_ = -1;
  pages_.Commit(0);
  EXPECT_EQ(pages_.Stored(2), 22);
  EXPECT_EQ(pages_.freed_, std::set<int32_t>{9});
  EXPECT_FALSE(pages_.HasSessionChanges(0));
}

// A damaged map may call free a page that the session holds changed: the
// new page is refused with an engine error and the change stays as it was.
TEST_F(PageCache, AnAllocationOfAPageTheSessionHoldsIsRefused) {
  Change(pages_, 0, 7, 70);
  pages_.hand_out_ = 7;
  EXPECT_EQ(NativeErrorOf([&] { pages_.AddPage(0, ptTableBlob); }), 30425);
  pages_.Commit(0);
  EXPECT_EQ(pages_.Stored(7), 70);
}

TEST_F(PageCache, RollbackDropsTheChangesAndFreesTheAddedPages) {
  Change(pages_, 0, 4, 44);
  HeldPage added(pages_.AddPage(0, ptTableBlob));
  const int32_t added_no = added->PageNo();
  added.Release();
  pages_.DeletePage(0, 6);
  pages_.Rollback(0);
  EXPECT_EQ(pages_.freed_, std::set<int32_t>{added_no});
  EXPECT_FALSE(pages_.HasSessionChanges(0));
  EXPECT_EQ(Read(pages_, 0, 4), 100);
  pages_.Commit(0);
  EXPECT_TRUE(pages_.log_ == std::vector<std::string>{"free " + std::to_string(added_no)});
}

// A statement inside a transaction that fails goes back to its mark: what
// the transaction changed before the statement stays, the rest is undone.
TEST_F(PageCache, RollbackToTheMarkKeepsTheChangesMadeBeforeIt) {
  Change(pages_, 0, 1, 11);  // before the mark, changed again after it
  Change(pages_, 0, 2, 22);  // before the mark, only read after it
  pages_.DeletePage(0, 9);
  pages_.MarkSession(0);
  Change(pages_, 0, 1, 111);
  EXPECT_EQ(Read(pages_, 0, 2), 22);
  Change(pages_, 0, 3, 33);  // clean at the mark
  HeldPage added(pages_.AddPage(0, ptTableBlob));
  const int32_t added_no = added->PageNo();
  added.Release();
  pages_.DeletePage(0, 5);
  pages_.RollbackToMark(0);

  EXPECT_EQ(pages_.freed_, std::set<int32_t>{added_no});
  EXPECT_EQ(Read(pages_, 0, 1), 11);
  EXPECT_EQ(Read(pages_, 0, 2), 22);
  EXPECT_EQ(Read(pages_, 0, 3), 100);
  pages_.freed_.clear();
  pages_.log_.clear();
  pages_.Commit(0);
  EXPECT_EQ(pages_.log_, (std::vector<std::string>{"write 1", "write 2", "free 9"}));
  EXPECT_EQ(pages_.Stored(1), 11);
}

TEST_F(PageCache, AReleasedMarkKeepsEveryChangeAndAPageHeldAcrossTheMarkIsRestored) {
  Change(pages_, 0, 4, 44);
  pages_.MarkSession(0);
  Change(pages_, 0, 4, 45);
  pages_.ReleaseMark(0);
  pages_.RollbackToMark(0);  // no mark: nothing
  EXPECT_EQ(Read(pages_, 0, 4), 45);

  HeldPage held(pages_.GetPage(0, 4, kAnyPageType));
  pages_.MarkSession(0);
  held->Data()[0] = 46;  // changed without being taken again
  EXPECT_EQ(NativeErrorOf([&] { pages_.RollbackToMark(0); }), 20088);
  held.Release();
  pages_.RollbackToMark(0);
  EXPECT_EQ(Read(pages_, 0, 4), 45);
}

TEST_F(PageCache, AStaleCopyInUseIsRetiredAtCommit) {
  Change(pages_, 0, 10, 7);
  Change(pages_, 0, 11, 3);
  HeldPage stale(pages_.GetPage(1, 10, kAnyPageType));
  HeldPage changed_stale(pages_.GetPage(1, 11, kAnyPageType));
  pages_.Commit(0);
  EXPECT_EQ(stale->Data()[0], 100) << "the copy in use changed under its user";
  stale.Release();
  EXPECT_EQ(Read(pages_, 1, 10), 7);
  // A change made to a retired copy still belongs to its session.
  changed_stale->Data()[0] = 9;
  changed_stale->SetDirty(true);
  changed_stale.Release();
  EXPECT_TRUE(pages_.HasSessionChanges(1));
  EXPECT_EQ(Read(pages_, 1, 11), 9);
  EXPECT_EQ(Read(pages_, 0, 11), 3);
}

TEST_F(PageCache, ReleasingPastTheCapacityEvictsTheLeastRecentlyUsedFreePage) {
  pages_.SetCacheCapacity(1);
  Read(pages_, 0, 10);
  Read(pages_, 0, 11);
  EXPECT_EQ(pages_.SharedPageList().Count(), 1);
  EXPECT_NE(pages_.SharedPageList().Find(11), nullptr);
  const int reads = pages_.reads_;
  Read(pages_, 0, 11);
  EXPECT_EQ(pages_.reads_, reads) << "a cached page was read again";
  // A page in use is never evicted.
  HeldPage held(pages_.GetPage(0, 12, kAnyPageType));
  Read(pages_, 0, 13);
  EXPECT_NE(pages_.SharedPageList().Find(12), nullptr);
}

TEST_F(PageCache, APageThatCouldNotBeReadIsNotCached) {
  pages_.fail_reads_ = true;
  EXPECT_EQ(NativeErrorOf([&] { pages_.GetPage(0, 3, kAnyPageType); }), 10474);
  EXPECT_EQ(pages_.SharedPageList().Find(3), nullptr);
  pages_.fail_reads_ = false;
  EXPECT_EQ(NativeErrorOf([&] { pages_.GetPage(0, 3, ptTableIndex); }), 20153);
  EXPECT_EQ(pages_.SharedPageList().Find(3), nullptr);
  HeldPage page(pages_.GetPage(0, 3, ptTableRecord));
  EXPECT_EQ(page->Data()[0], 100);
}

TEST_F(PageCache, MisuseIsReportedWithItsCode) {
  HeldPage held(pages_.GetPage(0, 2, kAnyPageType));
  held->SetDirty(true);
  Change(pages_, 0, 3, 1);
  EXPECT_EQ(NativeErrorOf([&] { pages_.Commit(0); }), 20152);
  HeldPage dirty(pages_.GetPage(0, 3, kAnyPageType));
  EXPECT_EQ(NativeErrorOf([&] { pages_.Commit(0); }), 20086);
  EXPECT_EQ(NativeErrorOf([&] { pages_.Rollback(0); }), 20088);
  EXPECT_EQ(NativeErrorOf([&] { pages_.CheckAllCommitted(); }), 20097);
  dirty.Release();
  held.Release();
  EXPECT_TRUE(pages_.log_.empty());
  pages_.Rollback(0);
  EXPECT_NO_THROW(pages_.CheckAllCommitted());
}

TEST(Page, ResizeKeepsTheContentOfOwnedAndBorrowedBuffers) {
  FakePageManager manager;
  TVTRPage page(manager, 1, 0);
  EXPECT_EQ(NativeErrorOf([&] { page.ResizeBuffer(128); }), 20038);
  page.AllocBuffer();
  EXPECT_EQ(page.NextPage(), -1);
  page.Data()[0] = 42;
  EXPECT_EQ(NativeErrorOf([&] { page.ResizeBuffer(63); }), 20039);
  page.ResizeBuffer(200);
  EXPECT_EQ(page.Data()[0], 42);
  std::vector<uint8_t> stored(FakePageManager::kPageSize, 5);
  page.UseBuffer(stored.data());
  EXPECT_FALSE(page.OwnsBuffer());
  page.ResizeBuffer(128);
  EXPECT_TRUE(page.OwnsBuffer());
  page.Buffer()[0] = 6;
  EXPECT_EQ(stored[0], 5);
  EXPECT_EQ(page.Buffer()[1], 5);
}

}  // namespace
