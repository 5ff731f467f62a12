#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "tests/engine/storage/StorageFixtures.h"
#include "engine/storage/pager/ByteOrder.h"
#include "tests/engine/storage/common/RecordingFileSeam.h"

namespace {

// Pages of 48 bytes hold 8 data bytes: a PFS page maps P = 64 pages and an
// EAM page X = 32 extents of 4 pages, Q = 128 pages. PFS pages lie at
// multiples of 64, EAM pages at 1, 129, 257, ... (one after the PFS page
// that takes their place).
constexpr int32_t kPageSize = 48;
constexpr int32_t kExtent = 4;
constexpr int32_t kP = 64;
constexpr int32_t kQ = 128;

class FreeSpace : public ::testing::Test {
 protected:
  FreeSpace() {
    CreateDatabaseFile(name_, kPageSize, kExtent);
    manager_ = OpenDatabaseFile(name_);
  }

  TVTRDatabaseFreeSpaceManager& Maps() { return manager_->FreeSpaceManager(); }
  // One allocation as it reaches the file (a single-user open holds it in memory until then).
  int32_t Allocate() {
    const int32_t page_no = Maps().AllocatePage();
    Maps().WriteHeldAllocations();
    return page_no;
  }
  const DatabaseFileHeader& Header() { return manager_->GetDatabaseHeader(); }
  // Allocates until every page of the file is used.
  void FillFile() {
    do Allocate();
    while (Header().LastUsedPage != Header().PageCount - 1);
  }
  // Puts the header bytes back as they were: what a process leaves that
  // dies between an allocation's map writes and its header write.
  std::vector<uint8_t> HeaderBytes() {
    std::vector<uint8_t> bytes = FileBytes(name_);
    bytes.resize(76);
    return bytes;
  }
  void RestoreHeader(const std::vector<uint8_t>& header) {
    OSFile::Open(name_, OSFileAccess::kReadWrite).WriteAt(header.data(), header.size(), 0);
  }

  const uint8_t* StoredPage(const std::vector<uint8_t>& bytes, int32_t page_no) {
    return &bytes.at(static_cast<size_t>(380 + int64_t{page_no} * kPageSize));
  }
  bool UsedBit(const std::vector<uint8_t>& bytes, int32_t page_no) {
    const uint8_t* pfs = StoredPage(bytes, page_no / kP * kP) + 40;
    return (pfs[(page_no % kP) / 8] >> (page_no % 8) & 1) != 0;
  }
  int ExtentEntry(const std::vector<uint8_t>& bytes, int32_t extent) {
    const int32_t eam_index = extent / 32;
    const uint8_t* eam = StoredPage(bytes, eam_index * kQ + 1) + 40;
    return eam[(extent % 32) / 4] >> (2 * (extent % 4)) & 3;
  }

  ScratchFolder folder_;
  std::string name_ = folder_.File("maps.vtr");
  std::unique_ptr<TVTRDiskPageManager> manager_;
};

TEST_F(FreeSpace, TheFirstAllocationCreatesTheFirstMapPages) {
  EXPECT_EQ(Allocate(), 2);
  EXPECT_EQ(Header().PageCount, 6);
  const std::vector<uint8_t> bytes = FileBytes(name_);
  EXPECT_EQ(bytes.size(), 380u + 6 * kPageSize);
  EXPECT_EQ(PageTypeOf(StoredPage(bytes, 0)), ptPFS);
  EXPECT_EQ(PageTypeOf(StoredPage(bytes, 1)), ptEAM);
  EXPECT_EQ(StoredPage(bytes, 0)[40], 0b111);
  EXPECT_EQ(ExtentEntry(bytes, 0), 1);
  EXPECT_EQ(Allocate(), 3);
  EXPECT_EQ(Allocate(), 4);
  EXPECT_EQ(Allocate(), 5);
  EXPECT_EQ(Header().PageCount, 6);
  EXPECT_EQ(Header().LastUsedPage, 5);
  EXPECT_EQ(Allocate(), 6);
  EXPECT_EQ(Header().PageCount, 10) << "growth by max(PageCount div 10, PagesPerExtent)";
  EXPECT_EQ(ExtentEntry(FileBytes(name_), 0), 3);
}

TEST_F(FreeSpace, AllocationSkipsMapPagesAndGrowsByTheStep) {
  std::set<int32_t> pages;
  for (int i = 0; i < 600; ++i) {
    const int32_t before = Header().PageCount;
    const int32_t page_no = Allocate();
    EXPECT_FALSE(Maps().IsMapPage(page_no)) << page_no;
    EXPECT_TRUE(pages.insert(page_no).second) << page_no << " handed out twice";
    EXPECT_LT(page_no, Header().PageCount);
    if (Header().PageCount != before) {
      EXPECT_EQ(Header().PageCount - before, before == 0 ? 6 : std::max(before / 10, kExtent)) << before;
    }
  }
  const std::vector<uint8_t> bytes = FileBytes(name_);
  for (const int32_t pfs : {0, 64, 128, 192, 256, 320, 384, 448, 512, 576}) {
    EXPECT_EQ(PageTypeOf(StoredPage(bytes, pfs)), ptPFS) << pfs;
    EXPECT_TRUE(UsedBit(bytes, pfs)) << pfs;
  }
  for (const int32_t eam : {1, 129, 257, 385, 513}) {
    EXPECT_EQ(PageTypeOf(StoredPage(bytes, eam)), ptEAM) << eam;
    EXPECT_TRUE(UsedBit(bytes, eam)) << eam;
  }
  for (const int32_t page_no : pages) EXPECT_TRUE(UsedBit(bytes, page_no)) << page_no;
  for (int32_t extent = 0; extent < Header().LastUsedPage / kExtent; ++extent) {
    EXPECT_EQ(ExtentEntry(bytes, extent), 3) << extent;
  }
}

TEST_F(FreeSpace, FreeingTheLastPagesTrimsTheFileInWholeSteps) {
  for (int i = 0; i < 5; ++i) Allocate();  // pages 2..6 in 10 pages
  Maps().FreePage(6);
  EXPECT_EQ(Header().LastUsedPage, 5);
  EXPECT_EQ(Header().PageCount, 6) << "four free pages at the end are one step of 4";
  Maps().FreePage(5);
  EXPECT_EQ(Header().LastUsedPage, 4);
  EXPECT_EQ(Header().PageCount, 6) << "one free page is less than a step";
  EXPECT_FALSE(UsedBit(FileBytes(name_), 5));
  EXPECT_EQ(ExtentEntry(FileBytes(name_), 1), 1);
  Maps().FreePage(3);
  EXPECT_EQ(Header().LastUsedPage, 4) << "a page below the last one does not move it";
  EXPECT_EQ(Allocate(), 3);
}

TEST_F(FreeSpace, TheLastUsedPageSkipsMapPagesWhenItDrops) {
  int32_t page_no = 0;
  while (page_no < 130) page_no = Allocate();  // up to 130, past PFS 128 and EAM 129
  Maps().FreePage(130);
  EXPECT_EQ(Header().LastUsedPage, 127);
  EXPECT_LT(Header().PageCount - Header().LastUsedPage - 1, std::max(Header().PageCount / 10, kExtent));
}

TEST_F(FreeSpace, FreeingWhatIsNotInUseIsRefused) {
  Allocate();
  Maps().FreePage(2);
  Allocate();
  Allocate();
  try {
    Maps().FreePage(2);
    Maps().FreePage(2);
    FAIL();
  } catch (const EVTRException& e) {
    EXPECT_EQ(e.Message(), "Page: 2 already free - Native error: 30427");
  }
  EXPECT_EQ(NativeErrorOf([&] { Maps().FreePage(500); }), 30430);
  EXPECT_EQ(NativeErrorOf([&] { Maps().FreePage(1); }), 30434);
  EXPECT_EQ(NativeErrorOf([&] { Maps().FreePage(kP); }), 30434);
}

TEST_F(FreeSpace, AHeaderClaimingNearlyEveryPageNumberCannotGrowTheFilePastThem) {
  Allocate();
  manager_.reset();
  std::vector<uint8_t> bytes = FileBytes(name_);
  StoreI32(&bytes.at(30), INT32_MAX - 3);                              // page count
  std::fill_n(&bytes.at(380 + kPageSize + 40), kPageSize - 40, 0xFF);  // every extent full
  WriteFileBytes(name_, bytes);
  manager_ = OpenDatabaseFile(name_);
  EXPECT_EQ(NativeErrorOf([&] { Allocate(); }), 30431);
}

// A disk without room for a growth: the allocation fails with 30370 naming
// the file, the file stays as it was, and the next allocation works once
// there is room, in this file object as in a new one.
TEST_F(FreeSpace, AGrowthTheDiskHasNoRoomForLeavesTheFileAsItWas) {
  FillFile();
  const std::vector<uint8_t> before = FileBytes(name_);
  RecordingFileSeam disk(name_);
  disk.disk_full = true;
  {
    ScopedFileSeam installed(disk);
    try {
      Allocate();
      ADD_FAILURE() << "the file grew on a full disk";
    } catch (const EVTRException& e) {
      EXPECT_EQ(e.NativeError(), 30370);
      EXPECT_NE(e.Message().find(name_), std::string::npos) << e.Message();
    }
  }
  EXPECT_EQ(FileBytes(name_), before) << "the header or the maps changed";
  const int32_t next = Header().PageCount;
  EXPECT_EQ(Allocate(), next);
  manager_ = OpenDatabaseFile(name_);
  EXPECT_EQ(Allocate(), next + 1);
}

// Writes of one page of the file fail, as on a disk with a bad spot.
class BadPage : public TVTRFileSeam {
 public:
  BadPage(std::string file, int64_t offset) : file_(std::move(file)), offset_(offset) {}
  int BeforeWrite(const std::string& file, int64_t position, const uint8_t*, int64_t) override {
    return file == file_ && position == offset_ ? EIO : 0;
  }

 private:
  std::string file_;
  int64_t offset_;
};

// A growth that fails once the file has grown (here at the write of the new
// PFS page) leaves the header as it was, so no later allocation meets a map
// page that was never written.
TEST_F(FreeSpace, AGrowthThatFailsAfterTheFileGrewLeavesTheHeaderAsItWas) {
  BadPage disk(name_, 380 + int64_t{kP} * kPageSize);
  std::vector<uint8_t> header;
  {
    ScopedFileSeam installed(disk);
    for (;;) {
      header = HeaderBytes();
      try {
        Allocate();
      } catch (const EVTRException& e) {
        EXPECT_EQ(e.NativeError(), 10469);
        break;
      }
      ASSERT_LT(Header().LastUsedPage, kP) << "the PFS page was never written";
    }
  }
  EXPECT_EQ(HeaderBytes(), header);
  EXPECT_GT(Allocate(), kP);
  EXPECT_EQ(PageTypeOf(StoredPage(FileBytes(name_), kP)), ptPFS);
  EXPECT_GT(Allocate(), kP) << "the next allocation after it works too";
}

// A page marked used above LastUsedPage (its allocation's header write never
// came) is neither handed out again when the file grows nor cut off.
TEST_F(FreeSpace, APageMarkedUsedAboveTheLastUsedPageIsKept) {
  FillFile();
  Allocate();  // a growth, so that the file has free pages to take without one
  while (Header().LastUsedPage < Header().PageCount - 2) Allocate();
  const std::vector<uint8_t> header = HeaderBytes();
  const int32_t cut_short = Allocate();
  ASSERT_EQ(cut_short, Header().PageCount - 1);
  RestoreHeader(header);

  manager_->TruncateFreeTail();
  EXPECT_GT(Header().PageCount, cut_short) << "the page was cut off";
  EXPECT_EQ(Header().LastUsedPage, cut_short);
  const int32_t next = Allocate();
  EXPECT_GT(next, cut_short);
  EXPECT_TRUE(UsedBit(FileBytes(name_), cut_short));
}

// A growth cut short after its map writes leaves marks past PageCount; the
// next growth takes those pages as the free pages they are.
TEST_F(FreeSpace, MarksPastTheEndOfTheFileDoNotBlockTheNextGrowth) {
  FillFile();
  const std::vector<uint8_t> header = HeaderBytes();
  const int32_t grown = Allocate();
  RestoreHeader(header);
  EXPECT_EQ(Allocate(), grown);
  EXPECT_EQ(Header().LastUsedPage, grown);
}

TEST_F(FreeSpace, AFullLastMapGroupSendsTheSearchToAnEarlierOne) {
  while (!(Header().LastUsedPage >= kQ && Header().LastUsedPage == Header().PageCount - 1)) Allocate();
  const int32_t page_count = Header().PageCount;
  Maps().FreePage(10);
  EXPECT_EQ(Allocate(), 10);
  EXPECT_EQ(Header().PageCount, page_count) << "grew although an earlier page was free";
}

TEST_F(FreeSpace, ARolledBackSessionGivesItsPagesBack) {
  AddCommittedPage(*manager_, 0, 1);
  std::vector<int32_t> added;
  for (int i = 0; i < 3; ++i) {
    HeldPage page(manager_->AddPage(0, ptTableBlob));
    added.push_back(page->PageNo());
  }
  EXPECT_EQ(Header().LastUsedPage, added.back());
  manager_->Rollback(0);
  const std::vector<uint8_t> bytes = FileBytes(name_);
  for (const int32_t page_no : added) EXPECT_FALSE(UsedBit(bytes, page_no)) << page_no;
  EXPECT_EQ(Header().LastUsedPage, 2);
}

TEST_F(FreeSpace, ACommitGivesDeletedPagesBackAndMarksThemFreed) {
  const int32_t kept = AddCommittedPage(*manager_, 0, 1);
  const int32_t dropped = AddCommittedPage(*manager_, 0, 2);
  manager_->DeletePage(0, kept);
  manager_->Commit(0);
  const std::vector<uint8_t> bytes = FileBytes(name_);
  EXPECT_FALSE(UsedBit(bytes, kept));
  EXPECT_EQ(PageVersionOf(StoredPage(bytes, kept)), kFreedPageVersion);
  EXPECT_TRUE(UsedBit(bytes, dropped));
  EXPECT_EQ(Maps().AllocatePage(), kept);
}

// Map pages of 64 data bytes, so the search for a free page passes whole
// runs of full bytes before it finds one.
TEST(FreeSpaceSearch, AFreedPageAnywhereInTheMapsIsTheNextOneHandedOut) {
  ScratchFolder folder;
  const std::string name = folder.File("maps.vtr");
  CreateDatabaseFile(name, 40 + 64, kExtent);
  auto manager = OpenDatabaseFile(name);
  TVTRDatabaseFreeSpaceManager& maps = manager->FreeSpaceManager();
  for (int i = 0; i < 400; ++i) maps.AllocatePage();
  for (const int32_t page_no : {237, 9, 70, 391, 63, 64}) {
    maps.FreePage(page_no);
    EXPECT_EQ(maps.AllocatePage(), page_no);
  }
}

}  // namespace
