// A power loss, played by a file seam that keeps every write, size change
// and flush of a database file and its journal in order: the disk after the
// power went at event k holds, of each file, what its last flush before k
// forced to it, and nothing written since. The file is rebuilt so for every
// k of a run of commits and opened as the next user would.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "engine/storage/pager/FileSeam.h"
#include "engine/storage/pager/JournalFormat.h"
#include "platform/os/FileSystem.h"
#include "tests/engine/storage/StorageFixtures.h"
#include "tests/engine/storage/common/DiskHistory.h"
#include "tests/engine/storage/common/MapsCheck.h"

namespace {

// The first data byte of each live page after a commit.
using PageContents = std::map<int32_t, uint8_t>;

class PowerLoss : public ::testing::Test {
 protected:
  // Commits that change, add and give back pages, each flushed when
  // `flushed` says so for its number, recorded by the seam.
  void RunCommits(bool (*flushed)(int)) {
    CreateDatabaseFile(name_);
    start_ = FileBytes(name_);
    auto manager = OpenDatabaseFile(name_);
    ScopedFileSeam installed(seam_);
    std::mt19937 random(25);
    states_.emplace_back();
    for (int commit = 1; commit <= kCommits; ++commit) {
      PageContents pages = states_.back();
      const auto value = static_cast<uint8_t>(commit);
      for (const auto& [page_no, content] : states_.back()) {
        if (random() % 3 == 0) {
          ChangePage(*manager, 0, page_no, value);
          pages[page_no] = value;
        }
      }
      if (commit % 4 == 0 && !pages.empty()) {
        auto victim = std::next(pages.begin(), static_cast<long>(random() % pages.size()));
        manager->DeletePage(0, victim->first);
        pages.erase(victim);
      }
      for (uint32_t added = random() % 3 + 1; added > 0; --added) {
        HeldPage page(manager->AddPage(0, ptTableRecord));
        page->Data()[0] = value;
        pages[page->PageNo()] = value;
      }
      manager->Commit(0, flushed(commit));
      states_.push_back(pages);
      returned_at_.push_back(seam_.events.size());
      was_flushed_.push_back(flushed(commit));
    }
  }

  // For each moment of the run: the file rebuilt as the disk holds it after
  // a power loss then must open without a repair and hold the pages of a
  // commit between the last flushed one that returned and the one then in
  // flight, with its header and maps agreeing.
  void ExpectEveryPowerLossLeavesACommit() {
    for (size_t end = 0; end <= seam_.events.size(); ++end) {
      const std::string where = "power lost before event " + std::to_string(end);
      size_t returned = 0;
      size_t durable = 0;
      for (size_t c = 0; c < returned_at_.size(); ++c) {
        if (returned_at_[c] > end) break;
        returned = c + 1;
        if (was_flushed_[c]) durable = c + 1;
      }
      WriteFileBytes(name_, *OnDisk(start_, seam_.events, end, false));
      const auto journal = OnDisk({}, seam_.events, end, true);
      DeleteFileIfPresent(JournalFileName(name_));
      if (journal) WriteFileBytes(JournalFileName(name_), *journal);
      {
        OpenResult result{};
        auto manager = OpenDatabaseFile(name_, false, &result);
        ASSERT_FALSE(result.needs_repair) << where;
        std::optional<size_t> found;
        for (size_t c = durable; c <= std::min(returned + 1, states_.size() - 1) && !found; ++c)
          if (Holds(*manager, states_[c])) found = c;
        EXPECT_TRUE(found) << where << ": the pages are of no commit from " << durable << " on";
      }
      ExpectHeaderAgreesWithMaps(name_);
      if (HasFailure()) return;
    }
  }

  // False as well when a page cannot be read (it lies past the file's end).
  static bool Holds(TVTRPageManager& manager, const PageContents& pages) {
    try {
      return std::all_of(pages.begin(), pages.end(),
                         [&](const auto& page) { return PageContent(manager, 0, page.first) == page.second; });
    } catch (const EVTRException&) {
      return false;
    }
  }

  static constexpr int kCommits = 16;
  ScratchFolder folder_;
  std::string name_ = folder_.File("dat_temple.vtr");
  DiskCacheSeam seam_{name_};
  std::vector<uint8_t> start_;
  std::vector<PageContents> states_;  // after commit 0, 1, ...
  std::vector<size_t> returned_at_;   // the events recorded when commit 1, 2, ... returned
  std::vector<bool> was_flushed_;
};

TEST_F(PowerLoss, FlushedCommitsSurviveWholeAndNothingHalfWrittenIsFound) {
  RunCommits([](int) { return true; });
  ExpectEveryPowerLossLeavesACommit();
}

// Unflushed commits may be lost, but only whole, back to an earlier commit.
TEST_F(PowerLoss, UnflushedCommitsBetweenFlushedOnesAreLostOnlyWhole) {
  RunCommits([](int commit) { return commit % 3 == 0; });
  ExpectEveryPowerLossLeavesACommit();
}

}  // namespace
