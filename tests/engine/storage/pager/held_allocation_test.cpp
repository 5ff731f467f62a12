// Allocations in a file that only this process can allocate in stay in
// memory until the next commit writes them ahead of its journal, and new
// pages past the session's bound are written before the commit. A kill at
// any write of those roads must lose no committed page and hand no page out
// twice; a page that a cut commit allocated may stay marked used (a leak).
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/os/FileSystem.h"
#include "tests/engine/storage/StorageFixtures.h"
#include "tests/engine/storage/common/DiskHistory.h"
#include "tests/engine/storage/common/MapsCheck.h"
#include "tests/engine/storage/common/RecordingFileSeam.h"

namespace {

// The first data byte of each live page after a commit.
using PageContents = std::map<int32_t, uint8_t>;

bool Holds(TVTRPageManager& manager, const PageContents& pages) {
  try {
    return std::all_of(pages.begin(), pages.end(),
                       [&](const auto& page) { return PageContent(manager, 0, page.first) == page.second; });
  } catch (const EVTRException&) {
    return false;
  }
}

std::vector<int32_t> AddPages(TVTRPageManager& manager, int count, uint8_t content, PageContents* pages) {
  std::vector<int32_t> added;
  for (int i = 0; i < count; ++i) {
    HeldPage page(manager.AddPage(0, ptTableRecord));
    page->Data()[0] = content;
    added.push_back(page->PageNo());
    if (pages != nullptr) (*pages)[page->PageNo()] = content;
  }
  return added;
}

class HeldAllocations : public ::testing::Test {
 protected:
  HeldAllocations() { CreateDatabaseFile(name_); }

  ScratchFolder folder_;
  std::string name_ = folder_.File("dat_temple.vtr");
};

TEST_F(HeldAllocations, AllocationsWriteNothingUntilTheCommitWritesTheirMapsBeforeItsMark) {
  auto manager = OpenDatabaseFile(name_);
  AddCommittedPage(*manager, 0, 1);
  RecordingFileSeam seam(name_);
  {
    ScopedFileSeam installed(seam);
    AddPages(*manager, 300, 2, nullptr);
    EXPECT_TRUE(std::none_of(seam.events.begin(), seam.events.end(),
                             [](const FileEvent& event) { return event.kind == FileEvent::kWrite; }))
        << "an allocation wrote to the file";
    EXPECT_TRUE(std::any_of(seam.events.begin(), seam.events.end(),
                            [](const FileEvent& event) { return event.kind == FileEvent::kSetSize; }))
        << "300 pages fit in the file as it was";
    manager->Commit(0, false);
  }
  const auto is_header = [](const FileEvent& event, uint8_t state) {
    return event.kind == FileEvent::kWrite && event.position == 0 && event.bytes.size() == 76 &&
           event.bytes[42] == state;
  };
  const auto held = std::find_if(seam.events.begin(), seam.events.end(),
                                 [&](const FileEvent& event) { return is_header(event, 2); });
  const auto marked = std::find_if(seam.events.begin(), seam.events.end(),
                                   [&](const FileEvent& event) { return is_header(event, 1); });
  ASSERT_LT(held, marked) << "the allocations' header goes out before the commit marks the file";
  EXPECT_EQ(std::count_if(seam.events.begin(), held,
                          [](const FileEvent& event) { return event.kind == FileEvent::kWrite; }),
            2)
      << "one PFS and one EAM page, each written once";
  manager.reset();
  ExpectHeaderAgreesWithMaps(name_);
}

TEST_F(HeldAllocations, MultiUserAllocationsReachTheFileAtOnce) {
  auto manager = OpenDatabaseFile(name_, true);
  AddCommittedPage(*manager, 0, 1);
  const int32_t page_no = AddPages(*manager, 1, 2, nullptr).front();
  const std::vector<uint8_t> bytes = FileBytes(name_);
  EXPECT_EQ(LoadI32(&bytes[34]), page_no) << "LastUsedPage on disk";
  manager->Rollback(0);
}

// A session allocates, changes and gives back pages over three
// transactions (committed, rolled back, committed with a flush), with new
// pages written early past a bound of 16 changed pages. The files
// are rebuilt as a kill before each of their writes leaves them; each must
// open without a repair at a commit boundary, hand out none of its live
// pages again, and have its header and maps agree.
TEST_F(HeldAllocations, AKillAtAnyWriteLosesNoCommittedPageAndHandsNoneOutTwice) {
  std::vector<PageContents> states(1);
  {
    auto manager = OpenDatabaseFile(name_);
    AddPages(*manager, 3, 1, &states.back());
    manager->Commit(0);
  }
  const std::vector<uint8_t> start = FileBytes(name_);
  DiskCacheSeam seam(name_);
  std::vector<size_t> returned_at;
  {
    auto manager = OpenDatabaseFile(name_);
    manager->SetEarlyWriteBound(16);
    ScopedFileSeam installed(seam);
    PageContents pages = states.back();
    ChangePage(*manager, 0, pages.begin()->first, 2);
    pages.begin()->second = 2;
    manager->DeletePage(0, pages.rbegin()->first);
    pages.erase(pages.rbegin()->first);
    AddPages(*manager, 60, 2, &pages);
    manager->Commit(0, false);
    states.push_back(pages);
    returned_at.push_back(seam.events.size());

    AddPages(*manager, 60, 3, nullptr);
    manager->Rollback(0);
    AddPages(*manager, 20, 4, &pages);
    manager->Commit(0, true);
    states.push_back(pages);
    returned_at.push_back(seam.events.size());
  }
  const std::string journal_name = JournalFileName(name_);
  for (size_t end = 0; end <= seam.events.size(); ++end) {
    const std::string where = "killed before event " + std::to_string(end);
    const size_t returned = static_cast<size_t>(
        std::count_if(returned_at.begin(), returned_at.end(), [end](size_t at) { return at <= end; }));
    WriteFileBytes(name_, *Replayed(start, seam.events, end, false));
    DeleteFileIfPresent(journal_name);
    if (const auto journal = Replayed({}, seam.events, end, true)) WriteFileBytes(journal_name, *journal);
    {
      OpenResult result{};
      auto manager = OpenDatabaseFile(name_, false, &result);
      ASSERT_FALSE(result.needs_repair) << where;
      std::optional<size_t> found;
      for (size_t c = returned; c <= std::min(returned + 1, states.size() - 1) && !found; ++c)
        if (Holds(*manager, states[c])) found = c;
      ASSERT_TRUE(found) << where << ": the pages are of no commit from " << returned << " on";
      for (const int32_t page_no : AddPages(*manager, 80, 9, nullptr))
        ASSERT_EQ(states[*found].count(page_no), 0u) << where << ": live page " << page_no << " handed out";
      manager->Rollback(0);
    }
    ExpectHeaderAgreesWithMaps(name_);
    if (HasFailure()) return;
  }
}

}  // namespace
