// Multi-user reads inside a checked read: one read of the file's change
// counter stands for every cached page until another process commits, and a
// page another process changed is never served stale.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/engine/storage/HelperProcess.h"
#include "tests/engine/storage/StorageFixtures.h"
#include "engine/storage/pager/FileSeam.h"

namespace {

// Counts the reads of one database file.
class ReadCounter : public TVTRFileSeam {
 public:
  explicit ReadCounter(std::string file) : file_(std::move(file)) {}
  void BeforeRead(const std::string& file, int64_t, int64_t) override {
    if (file == file_) ++reads_;
  }
  int64_t Take() { return std::exchange(reads_, 0); }

 private:
  std::string file_;
  int64_t reads_ = 0;
};

class CheckedReads : public ::testing::Test {
 protected:
  CheckedReads() {
    CreateDatabaseFile(name_);
    auto writer = OpenDatabaseFile(name_);
    for (uint8_t content = 1; content <= 3; ++content) pages_.push_back(AddCommittedPage(*writer, 0, content));
  }

  // The pages' first bytes, read in one checked read; `reads` gets the file reads it made.
  std::vector<uint8_t> ReadChecked(TVTRPageManager& manager, int64_t& reads) {
    counter_.Take();
    std::vector<uint8_t> contents;
    {
      CheckedReadScope checked(manager);
      for (const int32_t page_no : pages_) contents.push_back(PageContent(manager, 0, page_no));
    }
    reads = counter_.Take();
    return contents;
  }

  ScratchFolder folder_;
  std::string name_ = folder_.File("shared.vtr");
  std::vector<int32_t> pages_;
  ReadCounter counter_{name_};
};

TEST_F(CheckedReads, CachedPagesCostOneCounterReadUntilAnotherProcessCommits) {
  auto reader = OpenDatabaseFile(name_, true);
  const ScopedFileSeam installed(counter_);
  int64_t reads = 0;
  EXPECT_EQ(ReadChecked(*reader, reads), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(reads, 4) << "the counter and the three pages";
  EXPECT_EQ(ReadChecked(*reader, reads), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(reads, 1) << "nothing changed: only the counter";

  // Outside a checked read each cached page's version is read.
  counter_.Take();
  EXPECT_EQ(PageContent(*reader, 0, pages_[0]), 1);
  EXPECT_EQ(counter_.Take(), 1);

  HelperProcess writer({name_, "change", std::to_string(pages_[1]), "7"});
  ASSERT_EQ(writer.Answer(), "changed");
  EXPECT_EQ(ReadChecked(*reader, reads), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(reads, 1) << "an uncommitted change counts for nothing";
  writer.Send("commit");
  ASSERT_EQ(writer.Answer(), "committed");
  EXPECT_EQ(ReadChecked(*reader, reads), (std::vector<uint8_t>{1, 7, 3}));
  EXPECT_EQ(reads, 5) << "the counter, the three versions and the changed page";
  EXPECT_EQ(ReadChecked(*reader, reads), (std::vector<uint8_t>{1, 7, 3}));
  EXPECT_EQ(reads, 1);

  // This process's own commit leaves what it had checked current.
  ChangePage(*reader, 0, pages_[2], 9);
  reader->Commit(0);
  EXPECT_EQ(ReadChecked(*reader, reads), (std::vector<uint8_t>{1, 7, 9}));
  EXPECT_EQ(reads, 1);
}

// A reader that read a page while another process's commit stood half
// written, and that commit was then rolled back, must not keep what it read.
TEST_F(CheckedReads, APageReadFromACommitCutShortIsReadAgainOnceItIsRolledBack) {
  auto reader = OpenDatabaseFile(name_, true);
  const int32_t page_no = pages_[0];
  {
    CheckedReadScope checked(*reader);
    ASSERT_EQ(PageContent(*reader, 0, pages_[1]), 2);
    // Killed after its page write, before the header's state 2.
    HelperProcess victim({name_, "stop-commit", std::to_string(page_no), "5", "4", "pause"});
    ASSERT_EQ(victim.Answer(), "paused");
    ASSERT_EQ(FileBytes(name_)[42], 1);
    // Not cached yet: the reader reads what the commit wrote.
    EXPECT_EQ(PageContent(*reader, 0, page_no), 5);
    victim.Kill();
  }
  OpenResult result{};
  OpenDatabaseFile(name_, true, &result);
  ASSERT_FALSE(result.needs_repair);
  int64_t reads = 0;
  EXPECT_EQ(ReadChecked(*reader, reads), (std::vector<uint8_t>{1, 2, 3}));
}

}  // namespace
