// The commit's journal where it cannot be written, and on an enciphered file.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/storage/pager/JournalFormat.h"
#include "platform/os/FileSystem.h"
#include "tests/engine/storage/StorageFixtures.h"
#include "tests/engine/storage/common/MapsCheck.h"
#include "tests/engine/storage/common/RecordingFileSeam.h"

namespace {

class Journal : public ::testing::Test {
 protected:
  Journal() {
    CreateDatabaseFile(name_);
    auto manager = OpenDatabaseFile(name_);
    page_no_ = AddCommittedPage(*manager, 0, 1);
  }

  ScratchFolder folder_;
  std::string name_ = folder_.File("dat_temple.vtr");
  std::string journal_ = JournalFileName(name_);
  int32_t page_no_ = -1;
};

// A journal that cannot be written fails the commit before the database file
// changes, with an error that names the journal; the session keeps its
// change, and the commit goes through once the journal can be written.
TEST_F(Journal, ACommitWhoseJournalCannotBeWrittenFailsBeforeAnyChange) {
  struct Case {
    const char* what;
    int32_t code;
  };
  for (const Case& c : {Case{"a full disk", 30493}, Case{"a journal that cannot be made", 30495}}) {
    SCOPED_TRACE(c.what);
    auto manager = OpenDatabaseFile(name_);
    const uint8_t before = PageContent(*manager, 0, page_no_);
    ChangePage(*manager, 0, page_no_, before + 1);
    const std::vector<uint8_t> file_before = FileBytes(name_);
    RecordingFileSeam disk(journal_);
    disk.disk_full = c.code == 30493;
    // A folder in the journal's place: as a folder without write rights would, it refuses the file.
    if (c.code == 30495) std::filesystem::create_directory(journal_);
    std::string message;
    {
      ScopedFileSeam installed(disk);
      try {
        manager->Commit(0, true);
        ADD_FAILURE() << "the commit went through";
      } catch (const EVTRException& e) {
        EXPECT_EQ(e.NativeError(), c.code) << e.Message();
        message = e.Message();
      }
    }
    EXPECT_NE(message.find("'" + journal_ + "'"), std::string::npos) << message;
    EXPECT_EQ(FileBytes(name_), file_before) << "the database file changed";

    std::filesystem::remove(journal_);
    manager->Commit(0, true);
    manager.reset();
    OpenResult result{};
    manager = OpenDatabaseFile(name_, false, &result);
    EXPECT_FALSE(result.needs_repair);
    EXPECT_EQ(PageContent(*manager, 0, page_no_), before + 1);
  }
  ExpectHeaderAgreesWithMaps(name_);
}

// Keeps the bytes of the database file and its journal as they stand just
// before write `at` to either: what a kill there would leave.
class KeepAtWrite : public TVTRFileSeam {
 public:
  KeepAtWrite(std::string database, int at) : database_(std::move(database)), at_(at) {}

  int BeforeWrite(const std::string& file, int64_t position, const uint8_t* data, int64_t count) override {
    if ((file == database_ || file == JournalFileName(database_)) && ++writes_ == at_) {
      database_bytes = FileBytes(database_);
      journal_bytes = FileBytes(JournalFileName(database_));
    }
    return 0;
  }

  std::vector<uint8_t> database_bytes;
  std::vector<uint8_t> journal_bytes;

 private:
  std::string database_;
  int at_;
  int writes_ = 0;
};

std::unique_ptr<TVTRDiskPageManager> OpenEnciphered(const std::string& name, OpenResult& result) {
  auto manager = std::make_unique<TVTRDiskPageManager>();
  result = {false, false, false};
  manager->OpenDatabase(name, TVTRPassword{"secret", 0}, result.multi_user, false, result.needs_repair,
                        result.read_only);
  return manager;
}

// The journal keeps an enciphered page as stored: the rollback puts back
// bytes that decipher and pass their check.
TEST(EncipheredJournal, ACutCommitOfAnEncipheredFileRollsBackToPagesThatDecipher) {
  ScratchFolder folder;
  const std::string name = folder.File("dat_temple.vtr");
  {
    TVTRDiskPageManager creator;
    creator.CreateDatabase(name, TVTRPassword{"secret", 0}, 4096, 8);
  }
  OpenResult result{};
  auto manager = OpenEnciphered(name, result);
  const int32_t page_no = AddCommittedPage(*manager, 0, 1);
  ChangePage(*manager, 0, page_no, 2);
  // Writes: the journal, the header with state 1, the page, the header with state 2.
  KeepAtWrite seam(name, 4);
  {
    ScopedFileSeam installed(seam);
    manager->Commit(0, true);
  }
  manager.reset();
  ASSERT_EQ(seam.database_bytes.at(42), 1) << "the bytes were not kept mid-commit";
  // The same files (the journal applies to no other) put back as the kill left them.
  WriteFileBytes(name, seam.database_bytes);
  WriteFileBytes(JournalFileName(name), seam.journal_bytes);
  manager = OpenEnciphered(name, result);
  EXPECT_FALSE(result.needs_repair);
  EXPECT_EQ(PageContent(*manager, 0, page_no), 1);
  EXPECT_EQ(FileBytes(name)[42], 2);
}

}  // namespace
