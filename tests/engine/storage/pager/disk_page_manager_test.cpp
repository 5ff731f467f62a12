#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "tests/engine/storage/StorageFixtures.h"
#include "engine/storage/pager/ByteOrder.h"
#include "tests/engine/storage/common/RecordingFileSeam.h"

namespace {

constexpr int32_t kPageSize = 4096;

class DiskPages : public ::testing::Test {
 protected:
  DiskPages() { CreateDatabaseFile(name_); }

  int64_t PageAt(int32_t page_no) const { return 380 + int64_t{page_no} * kPageSize; }

  ScratchFolder folder_;
  std::string name_ = folder_.File("db.vtr");
};

TEST_F(DiskPages, ANewFileHasTheHeaderLayoutAndItsPagesFollowAt380) {
  std::vector<uint8_t> bytes = FileBytes(name_);
  ASSERT_EQ(bytes.size(), 380u);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 16), "VANTORDATABASE00");
  EXPECT_EQ(LoadI16(&bytes[16]), 76);
  EXPECT_EQ(LoadF64(&bytes[18]), 4.81);
  EXPECT_EQ(LoadI16(&bytes[26]), kPageSize);
  EXPECT_EQ(LoadU16(&bytes[28]), 8);
  EXPECT_EQ(LoadI32(&bytes[30]), 0);
  EXPECT_EQ(LoadI32(&bytes[34]), -1);
  EXPECT_EQ(bytes[42], 2);
  EXPECT_EQ(LoadI16(&bytes[76]), 280);
  EXPECT_EQ(LoadI16(&bytes[356]), 20);
  EXPECT_EQ(LoadI32(&bytes[376]), 0);

  auto manager = OpenDatabaseFile(name_);
  const int32_t page_no = AddCommittedPage(*manager, kSystemSessionID, 0xAB, ptFileSystemDirectory);
  EXPECT_EQ(page_no, 2);
  manager.reset();
  bytes = FileBytes(name_);
  ASSERT_EQ(bytes.size(), static_cast<size_t>(PageAt(6)));
  for (const auto& [page, type] :
       {std::pair{0, ptPFS}, std::pair{1, ptEAM}, std::pair{2, ptFileSystemDirectory}}) {
    const uint8_t* image = &bytes[static_cast<size_t>(PageAt(page))];
    EXPECT_EQ(std::string(image, image + 4), "VTRP") << page;
    EXPECT_EQ(PageTypeOf(image), type) << page;
  }
  EXPECT_EQ(bytes[static_cast<size_t>(PageAt(2) + 40)], 0xAB);
  EXPECT_EQ(LoadI32(&bytes[30]), 6);
  EXPECT_EQ(LoadI32(&bytes[34]), 2);
  EXPECT_EQ(LoadI32(&bytes[38]), 1) << "the commit did not count";
  EXPECT_EQ(bytes[42], 2);
}

TEST_F(DiskPages, ACommitWithoutChangesWritesNothing) {
  auto manager = OpenDatabaseFile(name_);
  AddCommittedPage(*manager, 0, 1);
  const std::vector<uint8_t> before = FileBytes(name_);
  EXPECT_EQ(PageContent(*manager, 0, 2), 1);
  manager->Commit(0, true);
  manager->Commit(5);
  EXPECT_EQ(FileBytes(name_), before);
}

TEST_F(DiskPages, CommittedPagesSurviveReopening) {
  auto manager = OpenDatabaseFile(name_);
  std::vector<int32_t> pages;
  for (uint8_t i = 0; i < 20; ++i) pages.push_back(AddCommittedPage(*manager, 0, i));
  ChangePage(*manager, 0, pages[3], 99);
  manager->Commit(0, true);
  manager.reset();
  manager = OpenDatabaseFile(name_);
  for (uint8_t i = 0; i < 20; ++i) EXPECT_EQ(PageContent(*manager, 0, pages[i]), i == 3 ? 99 : i);
  EXPECT_EQ(manager->GetPageCount(), manager->GetDatabaseHeader().PageCount);
}

TEST_F(DiskPages, OpeningReportsFilesThatNeedRepair) {
  struct Case {
    uint8_t state;
    double version;
    bool needs_repair;
  };
  const std::vector<uint8_t> original = FileBytes(name_);
  for (const Case& c : {Case{2, 4.81, false}, Case{1, 4.81, true}, Case{2, 2.5, true}, Case{0, 4.81, true}}) {
    std::vector<uint8_t> bytes = original;
    bytes[42] = c.state;
    StoreF64(&bytes[18], c.version);
    WriteFileBytes(name_, bytes);
    OpenResult result{};
    OpenDatabaseFile(name_, false, &result);
    EXPECT_EQ(result.needs_repair, c.needs_repair) << int(c.state) << " " << c.version;
  }
}

TEST_F(DiskPages, OpeningRefusesFilesThatAreNoDatabase) {
  WriteFileBytes(name_, {});
  try {
    OpenDatabaseFile(name_);
    FAIL();
  } catch (const EVTRException& e) {
    EXPECT_EQ(e.Message(),
              "Invalid file format. Found signature: '', expected: 'VANTORDATABASE00' - Native error: 10470");
  }
  CreateDatabaseFile(name_);
  std::vector<uint8_t> bytes = FileBytes(name_);
  StoreI16(&bytes[76], 300);  // crypto header size
  WriteFileBytes(name_, bytes);
  EXPECT_EQ(NativeErrorOf([&] { OpenDatabaseFile(name_); }), 20237);
  StoreI16(&bytes[76], 280);
  StoreI16(&bytes[26], 40);  // no room for data in a page
  WriteFileBytes(name_, bytes);
  EXPECT_EQ(NativeErrorOf([&] { OpenDatabaseFile(name_); }), 20237);
  EXPECT_EQ(NativeErrorOf([&] { OpenDatabaseFile(folder_.File("missing.vtr")); }), 30364);
}

TEST_F(DiskPages, ADatabaseInsideALargerFileIsFoundAfterItsJunk) {
  {
    auto manager = OpenDatabaseFile(name_);
    AddCommittedPage(*manager, 0, 0x5C);
  }
  std::vector<uint8_t> bytes(5000, 'J');
  const std::vector<uint8_t> database = FileBytes(name_);
  bytes.insert(bytes.end(), database.begin(), database.end());
  const std::string embedded = folder_.File("embedded.bin");
  WriteFileBytes(embedded, bytes);
  auto manager = OpenDatabaseFile(embedded);
  EXPECT_EQ(manager->HeaderOffset(), 5000);
  EXPECT_EQ(manager->GetPageOffset(0), 5380);
  EXPECT_EQ(PageContent(*manager, 0, 2), 0x5C);
  AddCommittedPage(*manager, 0, 0x5D);
  manager.reset();
  const std::vector<uint8_t> after = FileBytes(embedded);
  EXPECT_EQ(std::string(after.begin(), after.begin() + 5000), std::string(5000, 'J'));
  EXPECT_EQ(LoadI32(&after[5000 + 38]), 2);
}

TEST_F(DiskPages, ObjectIDsCountUpAndAReadOnlyOpenLeavesTheFileAlone) {
  {
    auto manager = OpenDatabaseFile(name_);
    EXPECT_EQ(manager->GetNextObjectID(), 1);
    EXPECT_EQ(manager->GetNextObjectID(), 2);
  }
  const std::vector<uint8_t> before = FileBytes(name_);
  OpenResult result{};
  auto reader = OpenDatabaseFile(name_, true, &result, true);
  EXPECT_TRUE(result.read_only);
  EXPECT_GT(reader->GetNextObjectID(), 2);
  EXPECT_EQ(FileBytes(name_), before);
}

TEST_F(DiskPages, AFileThisProcessMayNotWriteOpensReadOnlyAndSingleUser) {
  ASSERT_EQ(::chmod(folder_.Path().c_str(), 0755), 0);
  ASSERT_EQ(::chmod(name_.c_str(), 0444), 0);
  const std::vector<uint8_t> before = FileBytes(name_);
  // In a child process without root rights, which would ignore the mode.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(10);
    try {
      OpenResult result{};
      auto manager = OpenDatabaseFile(name_, true, &result);
      if (!result.read_only) ::_exit(11);
      if (result.multi_user) ::_exit(12);
      if (manager->GetNextObjectID() <= 0) ::_exit(13);
    } catch (...) {
      ::_exit(14);
    }
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(FileBytes(name_), before);
}

TEST_F(DiskPages, AVersionAtTheTopOfItsRangeIsWrittenAsZero) {
  auto manager = OpenDatabaseFile(name_);
  HeldPage page(manager->AddPage(0, ptTableRecord));
  page->SetVersion(0x7FFFFFFC);
  const int32_t page_no = page->PageNo();
  page.Release();
  manager->Commit(0);
  EXPECT_EQ(LoadI32(&FileBytes(name_)[static_cast<size_t>(PageAt(page_no) + 4)]), 0);
}

TEST_F(DiskPages, MapPagesAreRefusedToTheCache) {
  auto manager = OpenDatabaseFile(name_);
  AddCommittedPage(*manager, 0, 1);
  EXPECT_EQ(NativeErrorOf([&] { manager->GetPage(0, 0, kAnyPageType); }), 30434);
  EXPECT_EQ(NativeErrorOf([&] { manager->DeletePage(0, 1); }), 30434);
  // The type is checked when a page comes from the file.
  manager = OpenDatabaseFile(name_);
  EXPECT_EQ(NativeErrorOf([&] { manager->GetPage(0, 2, ptTableIndex); }), 20153);
}

TEST_F(DiskPages, PageBytesBypassTheCacheWithinOnePage) {
  auto manager = OpenDatabaseFile(name_);
  const int32_t page_no = AddCommittedPage(*manager, 0, 1);
  manager->WritePageBytes("lock", page_no, 4, kPageSize - 4);
  char read[4];
  manager->ReadPageBytes(read, page_no, 4, kPageSize - 4);
  EXPECT_EQ(std::string(read, 4), "lock");
  EXPECT_EQ(NativeErrorOf([&] { manager->ReadPageBytes(read, page_no, 4, kPageSize - 3); }), 10476);
  EXPECT_EQ(NativeErrorOf([&] { manager->WritePageBytes(read, page_no, 4, kPageSize - 3); }), 10477);
  EXPECT_EQ(NativeErrorOf([&] { manager->GetPageOffset(-1); }), 10471);
}

TEST_F(DiskPages, AnUncommittedChangeIsInvisibleToOtherSessions) {
  for (const bool multi_user : {false, true}) {
    CreateDatabaseFile(name_);
    auto manager = OpenDatabaseFile(name_, multi_user);
    const int32_t page_no = AddCommittedPage(*manager, 0, 10);
    EXPECT_EQ(PageContent(*manager, 1, page_no), 10);
    ChangePage(*manager, 0, page_no, 20);
    EXPECT_EQ(PageContent(*manager, 1, page_no), 10) << "multi-user " << multi_user;
    manager->Commit(0);
    EXPECT_EQ(PageContent(*manager, 1, page_no), 20) << "multi-user " << multi_user;
  }
}

TEST_F(DiskPages, AMultiUserReaderSeesWhatAnotherFileObjectCommitted) {
  auto writer = OpenDatabaseFile(name_, true);
  const int32_t page_no = AddCommittedPage(*writer, 0, 1);
  auto reader = OpenDatabaseFile(name_, true);
  EXPECT_EQ(PageContent(*reader, 0, page_no), 1);
  ChangePage(*writer, 0, page_no, 2);
  EXPECT_EQ(PageContent(*reader, 0, page_no), 1);
  writer->Commit(0);
  EXPECT_EQ(PageContent(*reader, 0, page_no), 2) << "the cached page was not checked against the file";
}

// A flushed commit syncs the header that marks the file (state 1) before its
// first page write, and every page write (the maps of pages it gives back
// too) before the header that says the file is consistent again (state 2).
TEST_F(DiskPages, AFlushedCommitSyncsItsMarkBeforeThePagesAndThePagesBeforeTheConsistentState) {
  auto manager = OpenDatabaseFile(name_);
  const int32_t kept = AddCommittedPage(*manager, 0, 1);
  const int32_t dropped = AddCommittedPage(*manager, 0, 2);
  ChangePage(*manager, 0, kept, 3);
  HeldPage(manager->AddPage(0, ptTableRecord))->SetDirty(true);
  manager->DeletePage(0, dropped);
  // The new page's map writes, held in memory, precede the commit's own.
  manager->FreeSpaceManager().WriteHeldAllocations();
  RecordingFileSeam seam(name_);
  {
    ScopedFileSeam installed(seam);
    manager->Commit(0, true);
  }
  const auto is_header = [](const FileEvent& event, uint8_t state) {
    return event.kind == FileEvent::kWrite && event.position == 0 && event.bytes.size() == 76 &&
           event.bytes[42] == state;
  };
  const auto is_page = [](const FileEvent& event) {
    return event.kind == FileEvent::kWrite && event.position >= 380;
  };
  const auto flushed = [&](size_t from, size_t to) {
    return std::any_of(seam.events.begin() + from, seam.events.begin() + to,
                       [](const FileEvent& event) { return event.kind == FileEvent::kFlush; });
  };
  const auto& events = seam.events;
  const auto marked = std::find_if(events.begin(), events.end(), [&](const auto& e) { return is_header(e, 1); });
  const auto first_page = std::find_if(events.begin(), events.end(), is_page);
  const auto last_page = std::find_if(events.rbegin(), events.rend(), is_page).base();
  const auto consistent = std::find_if(events.begin(), events.end(), [&](const auto& e) { return is_header(e, 2); });
  ASSERT_NE(first_page, events.end());
  ASSERT_LT(marked, first_page) << "the mark goes out before the pages";
  ASSERT_LE(last_page, consistent) << "the pages go out before the consistent state";
  EXPECT_GE(std::count_if(first_page, last_page, is_page), 4) << "two changed pages, one new, two map pages";
  EXPECT_TRUE(flushed(marked - events.begin(), first_page - events.begin())) << "the mark was not synced first";
  EXPECT_TRUE(flushed(last_page - events.begin(), consistent - events.begin()))
      << "the pages were not synced before state 2";
  EXPECT_EQ(events.back().kind, FileEvent::kFlush) << "state 2 itself is synced";
}

TEST_F(DiskPages, ACommitAfterACrashKeepsTheRepairMark) {
  {
    auto manager = OpenDatabaseFile(name_);
    AddCommittedPage(*manager, 0, 1);
  }
  std::vector<uint8_t> bytes = FileBytes(name_);
  bytes[42] = 1;
  WriteFileBytes(name_, bytes);
  OpenResult result{};
  auto manager = OpenDatabaseFile(name_, false, &result);
  EXPECT_TRUE(result.needs_repair);
  ChangePage(*manager, 0, 2, 5);
  manager->Commit(0);
  bytes = FileBytes(name_);
  EXPECT_EQ(bytes[42], 1);
  EXPECT_EQ(LoadI32(&bytes[38]), 2);
}

TEST_F(DiskPages, TheHeaderLockNestsAndTheOtherLockBytesConflict) {
  auto first = OpenDatabaseFile(name_, true);
  auto second = OpenDatabaseFile(name_, true);
  EXPECT_TRUE(first->LockHeader());
  EXPECT_TRUE(first->LockHeader());
  EXPECT_FALSE(second->LockHeader());
  EXPECT_TRUE(first->UnlockHeader());
  EXPECT_FALSE(second->LockHeader()) << "the inner unlock released the byte";
  EXPECT_TRUE(first->UnlockHeader());
  EXPECT_TRUE(second->LockHeader());
  EXPECT_TRUE(second->UnlockHeader());

  EXPECT_TRUE(first->LockTables());
  EXPECT_FALSE(second->LockTables());
  EXPECT_TRUE(first->UnlockTables());
  EXPECT_TRUE(second->LockNextObjectID());
  {
    ScopedRetryCaps caps({2, 1});
    EXPECT_EQ(NativeErrorOf([&] { first->GetNextObjectID(); }), 30401);
  }
  EXPECT_TRUE(second->LockPageByte(3, 40));
  EXPECT_TRUE(first->IsPageByteLocked(3, 40));
  EXPECT_TRUE(first->IsPageRegionLocked(3, 30, 20));
  EXPECT_FALSE(first->LockPageByte(3, 40));
  EXPECT_TRUE(second->UnlockPageByte(3, 40));
  EXPECT_FALSE(first->IsPageByteLocked(3, 40));
}

}  // namespace
