// New pages past a session's bound of changed pages are written to their
// place before the commit and read back when needed; the pages of committed
// structures stay in the session's list until its commit.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "tests/engine/storage/StorageFixtures.h"
#include "tests/engine/storage/common/MapsCheck.h"
#include "tests/engine/storage/common/RecordingFileSeam.h"

namespace {

constexpr int32_t kBound = 32;
constexpr int64_t kPagesOffset = 380;

class EarlyWrites : public ::testing::Test {
 protected:
  EarlyWrites() {
    CreateDatabaseFile(name_);
    Reopen();
  }
  void Reopen() {
    manager_.reset();
    manager_ = OpenDatabaseFile(name_);
    manager_->SetEarlyWriteBound(kBound);
  }
  // New pages holding content + their index in their first data bytes.
  std::vector<int32_t> Add(int count, uint8_t content) {
    std::vector<int32_t> added;
    for (int i = 0; i < count; ++i) {
      HeldPage page(manager_->AddPage(0, ptTableRecord));
      page->Data()[0] = content;
      page->Data()[1] = static_cast<uint8_t>(i);
      added.push_back(page->PageNo());
    }
    return added;
  }
  void ExpectContents(const std::vector<int32_t>& pages, uint8_t content) {
    for (size_t i = 0; i < pages.size(); ++i) {
      HeldPage page(manager_->GetPage(0, pages[i], ptTableRecord));
      ASSERT_EQ(page->Data()[0], content) << "page " << pages[i];
      ASSERT_EQ(page->Data()[1], static_cast<uint8_t>(i)) << "page " << pages[i];
    }
  }
  // How often each page was written among the seam's events.
  static std::map<int32_t, int> PageWrites(const std::vector<FileEvent>& events, size_t end) {
    std::map<int32_t, int> writes;
    for (size_t i = 0; i < end; ++i) {
      const FileEvent& event = events[i];
      if (event.kind == FileEvent::kWrite && event.position >= kPagesOffset && event.bytes.size() == 4096)
        ++writes[static_cast<int32_t>((event.position - kPagesOffset) / 4096)];
    }
    return writes;
  }

  ScratchFolder folder_;
  std::string name_ = folder_.File("dat_temple.vtr");
  std::unique_ptr<TVTRDiskPageManager> manager_;
};

TEST_F(EarlyWrites, NewPagesPastTheBoundReachTheFileOnceBeforeTheCommitAndAreReadBack) {
  const int32_t committed = AddCommittedPage(*manager_, 0, 1);
  RecordingFileSeam seam(name_);
  std::vector<int32_t> added;
  size_t before_commit = 0;
  {
    ScopedFileSeam installed(seam);
    ChangePage(*manager_, 0, committed, 2);
    added = Add(10 * kBound, 3);
    before_commit = seam.events.size();
    ExpectContents(added, 3);
    manager_->Commit(0);
  }
  const std::map<int32_t, int> early = PageWrites(seam.events, before_commit);
  EXPECT_GE(early.size(), 8u * kBound) << "new pages kept in memory past the bound";
  EXPECT_EQ(early.count(committed), 0u) << "a committed page went out before its commit";
  const std::map<int32_t, int> all = PageWrites(seam.events, seam.events.size());
  for (const int32_t page_no : added) EXPECT_EQ(all.at(page_no), 1) << "page " << page_no;
  Reopen();
  ExpectContents(added, 3);
  EXPECT_EQ(PageContent(*manager_, 0, committed), 2);
}

TEST_F(EarlyWrites, APageWrittenEarlyAndChangedAgainIsWrittenAgainAtTheCommit) {
  const std::vector<int32_t> added = Add(4 * kBound, 4);
  ChangePage(*manager_, 0, added.front(), 5);
  manager_->Commit(0);
  Reopen();
  EXPECT_EQ(PageContent(*manager_, 0, added.front()), 5);
  EXPECT_EQ(PageContent(*manager_, 0, added.back()), 4);
}

TEST_F(EarlyWrites, ARollbackGivesBackPagesWrittenEarly) {
  AddCommittedPage(*manager_, 0, 1);
  const std::vector<int32_t> added = Add(4 * kBound, 6);
  manager_->Rollback(0);
  const int32_t again = Add(1, 7).front();
  EXPECT_EQ(again, added.front()) << "the first page given back is the next one handed out";
  EXPECT_EQ(PageContent(*manager_, 0, again), 7) << "the copy written early was served";
  manager_->Rollback(0);
  manager_.reset();
  ExpectHeaderAgreesWithMaps(name_);
}

// Under a mark only pages allocated since the mark go early, so a rollback
// to the mark brings back every page as it stood at the mark.
TEST_F(EarlyWrites, ARollbackToAMarkBringsBackPagesChangedSinceWhateverWentEarly) {
  const std::vector<int32_t> before = Add(4 * kBound, 8);
  manager_->MarkSession(0);
  for (const int32_t page_no : before) ChangePage(*manager_, 0, page_no, 9);
  const std::vector<int32_t> since = Add(4 * kBound, 10);
  manager_->RollbackToMark(0);
  ExpectContents(before, 8);
  manager_->Commit(0);
  Reopen();
  ExpectContents(before, 8);
  const int32_t next = Add(1, 11).front();
  EXPECT_NE(std::find(since.begin(), since.end(), next), since.end()) << "the pages since the mark are free again";
  manager_->Rollback(0);
}

}  // namespace
