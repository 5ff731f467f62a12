#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/foundation/VTRCompression.h"
#include "engine/storage/pager/ByteOrder.h"
#include "tests/engine/storage/StorageFixtures.h"

namespace {

constexpr int32_t kPageSize = 4096;
constexpr int32_t kDataSize = kPageSize - 40;
constexpr int32_t kSession = 0;

int64_t PageOffset(int32_t page_no) {
  return 380 + int64_t{page_no} * kPageSize;
}

// Bytes that do not compress.
std::vector<uint8_t> NoiseBytes(size_t count, uint32_t seed) {
  std::vector<uint8_t> bytes(count);
  for (uint8_t& byte : bytes) {
    seed = seed * 1664525u + 1013904223u;
    byte = static_cast<uint8_t>(seed >> 24);
  }
  return bytes;
}

// The pages of an internal file, following the links from its start page.
std::vector<int32_t> Chain(TVTRPageManager& manager, int32_t start_page, uint16_t type) {
  std::vector<int32_t> pages;
  for (int32_t page_no = start_page; page_no != -1 && pages.size() < 100;) {
    pages.push_back(page_no);
    HeldPage page(manager.GetPage(kSession, page_no, type));
    page_no = page->NextPage();
  }
  return pages;
}

bool IsPageInUse(const std::vector<uint8_t>& file, int32_t page_no) {
  // Page 0 is the first PFS page: one bit per page from data byte 0 on.
  return (file.at(static_cast<size_t>(PageOffset(0) + 40 + page_no / 8)) >> (page_no % 8) & 1) != 0;
}

std::string Created(const std::string& name) {
  CreateDatabaseFile(name, kPageSize);
  return name;
}

class InternalFiles : public ::testing::Test {
 protected:
  // A transacted file of page type 8 holding the bytes, committed.
  int32_t WriteTransacted(const std::vector<uint8_t>& bytes, uint8_t algorithm = cmNone) {
    TVTRInternalDBTransactedAccessFile file(*manager_, ptTableMetaData);
    file.CreateFile(kSession);
    file.WriteFile(kSession, bytes.data(), 1, algorithm, static_cast<int32_t>(bytes.size()));
    manager_->Commit(kSession);
    return file.StartPage();
  }
  // A direct file of page type 7, committed and opened.
  TVTRInternalDBDirectAccessFile& CreateDirect(int32_t size) {
    direct_ = std::make_unique<TVTRInternalDBDirectAccessFile>(*manager_, ptTableLocks);
    direct_->CreateFile(size);
    manager_->Commit(kSystemSessionID);
    direct_->OpenFile(direct_->StartPage());
    return *direct_;
  }

  ScratchFolder folder_;
  std::string name_ = Created(folder_.File("files.vtr"));
  std::unique_ptr<TVTRDiskPageManager> manager_ = OpenDatabaseFile(name_);
  std::unique_ptr<TVTRInternalDBDirectAccessFile> direct_;
};

struct RoundTripCase {
  const char* name;
  int32_t size;
  uint8_t algorithm;
};

class TransactedRoundTrip : public InternalFiles, public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(TransactedRoundTrip, ContentComesBackFromTheFileOverAsManyPagesAsItNeeds) {
  const RoundTripCase& c = GetParam();
  const std::vector<uint8_t> content = NoiseBytes(static_cast<size_t>(c.size), 7);
  const int32_t start = WriteTransacted(content, c.algorithm);

  auto reopened = OpenDatabaseFile(name_);
  TVTRInternalDBTransactedAccessFile file(*reopened, ptTableMetaData);
  file.OpenFile(start);
  const InternalFileHeader header = file.GetSize(kSession);
  EXPECT_EQ(header.UncompressedSize, c.size);
  EXPECT_EQ(header.Algorithm, c.algorithm);
  if (c.algorithm == cmNone) {
    EXPECT_EQ(header.StoredSize, c.size);
  }
  const size_t pages = static_cast<size_t>((header.StoredSize + 10 + kDataSize - 1) / kDataSize);
  EXPECT_EQ(Chain(*reopened, start, ptTableMetaData).size(), pages);
  std::vector<uint8_t> read(content.size());
  file.ReadFile(kSession, read.data(), c.size);
  EXPECT_EQ(read, content);
}

INSTANTIATE_TEST_SUITE_P(Sizes, TransactedRoundTrip,
                         ::testing::Values(RoundTripCase{"Empty", 0, cmNone},
                                           RoundTripCase{"OnePageFull", kDataSize - 10, cmNone},
                                           RoundTripCase{"OneByteMore", kDataSize - 9, cmNone},
                                           RoundTripCase{"FourPages", 3 * kDataSize, cmNone},
                                           RoundTripCase{"Zlib", 3 * kDataSize, cmZlib},
                                           RoundTripCase{"Bzip", 3 * kDataSize, cmBzip}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(InternalFiles, TheFirstPageHoldsTheSizesAndTheContentFromDataOffsetTen) {
  const std::vector<uint8_t> content = NoiseBytes(kDataSize, 3);
  const int32_t start = WriteTransacted(content);
  const std::vector<uint8_t> file = FileBytes(name_);
  const uint8_t* data = &file.at(static_cast<size_t>(PageOffset(start) + 40));
  EXPECT_EQ(data[0], 10);
  EXPECT_EQ(LoadI32(data + 1), kDataSize);
  EXPECT_EQ(LoadI32(data + 5), kDataSize);
  EXPECT_EQ(data[9], 0);
  EXPECT_EQ(std::memcmp(data + 10, content.data(), kDataSize - 10), 0);
  const int32_t second = NextPageOf(&file.at(static_cast<size_t>(PageOffset(start))));
  EXPECT_EQ(std::memcmp(&file.at(static_cast<size_t>(PageOffset(second) + 40)),
                        content.data() + kDataSize - 10, 10),
            0);
}

TEST_F(InternalFiles, AShrunkFileGivesItsCutPagesBackAtCommitButNotOnRollback) {
  const int32_t start = WriteTransacted(NoiseBytes(2 * kDataSize, 1));
  const std::vector<int32_t> pages = Chain(*manager_, start, ptTableMetaData);
  ASSERT_EQ(pages.size(), 3u);
  const std::vector<uint8_t> small = NoiseBytes(100, 2);
  TVTRInternalDBTransactedAccessFile file(*manager_, ptTableMetaData);
  file.OpenFile(start);

  file.WriteFile(kSession, small.data(), 0, cmNone, 100);
  manager_->Rollback(kSession);
  EXPECT_EQ(Chain(*manager_, start, ptTableMetaData), pages);
  EXPECT_EQ(file.GetUncompressedSize(kSession), 2 * kDataSize);

  file.WriteFile(kSession, small.data(), 0, cmNone, 100);
  manager_->Commit(kSession);
  EXPECT_EQ(Chain(*manager_, start, ptTableMetaData), std::vector<int32_t>{start});
  const std::vector<uint8_t> bytes = FileBytes(name_);
  EXPECT_TRUE(IsPageInUse(bytes, pages[0]));
  EXPECT_FALSE(IsPageInUse(bytes, pages[1]));
  EXPECT_FALSE(IsPageInUse(bytes, pages[2]));
  std::vector<uint8_t> read(100);
  file.ReadFile(kSession, read.data(), 100);
  EXPECT_EQ(read, small);
}

TEST_F(InternalFiles, TransactedFilesRefuseWhatTheyCannotDo) {
  TVTRInternalDBTransactedAccessFile closed(*manager_, ptTableMetaData);
  std::vector<uint8_t> buffer(5000);
  try {
    closed.ReadFile(kSession, buffer.data(), 1);
    FAIL() << "a closed file was read";
  } catch (const EVTRException& e) {
    EXPECT_EQ(e.Message(),
              "Cannot perform this operation (ReadFile) on closed internal file - Native error: 30389");
  }

  const int32_t start = WriteTransacted(NoiseBytes(5000, 4));
  TVTRInternalDBTransactedAccessFile file(*manager_, ptTableMetaData);
  file.OpenFile(start);
  EXPECT_EQ(NativeErrorOf([&] { file.CreateFile(kSession); }), 30383);
  EXPECT_EQ(NativeErrorOf([&] { file.WriteFile(kSession, buffer.data(), 1, cmZlib, 0); }), 20187);
  try {
    file.ReadFile(kSession, buffer.data(), 5001);
    FAIL() << "read past the end";
  } catch (const EVTRException& e) {
    EXPECT_EQ(e.Message(), "Cannot Read internal file. FileSize=5000. ReadSize=5001 - Native error: 30387");
  }

  // Links that end before the size is reached.
  {
    HeldPage first(manager_->GetPage(kSession, start, ptTableMetaData));
    first->SetNextPage(-1);
    first->SetDirty(true);
  }
  try {
    file.ReadFile(kSession, buffer.data(), 5000);
    FAIL() << "a file with a missing page was read";
  } catch (const EVTRException& e) {
    EXPECT_EQ(
        e.Message(),
        "Cannot Read 5000 bytes from internal file. FileSize=4046. ReadSize=5000 - Native error: 30388");
  }
  manager_->Rollback(kSession);
}

TEST_F(InternalFiles, DamagedLinksAndSizesEndTransactedReadsAndWritesWithErrors) {
  for (const uint8_t algorithm : {cmNone, cmZlib}) {
    SCOPED_TRACE(static_cast<int>(algorithm));
    const std::vector<uint8_t> content = NoiseBytes(3 * kDataSize, 9);
    const int32_t start = WriteTransacted(content, algorithm);
    TVTRInternalDBTransactedAccessFile file(*manager_, ptTableMetaData);
    file.OpenFile(start);
    EXPECT_EQ(file.ReadContent(kSession), content);
    const std::vector<int32_t> pages = Chain(*manager_, start, ptTableMetaData);
    const auto link = [&](int32_t page_no, int32_t next) {
      HeldPage page(manager_->GetPage(kSession, page_no, ptTableMetaData));
      page->SetNextPage(next);
      page->SetDirty(true);
    };
    const auto set_header = [&](InternalFileHeader header) {
      HeldPage first(manager_->GetPage(kSession, start, ptTableMetaData));
      SetHeaderOfPage(*first, header);
    };
    const InternalFileHeader header = file.GetSize(kSession);

    // The third page leads back to the second: the content would never end.
    link(pages[2], pages[1]);
    set_header({INT32_MAX, algorithm == cmNone ? INT32_MAX : header.UncompressedSize, algorithm});
    EXPECT_EQ(NativeErrorOf([&] { file.ReadContent(kSession); }), 30388);
    std::vector<uint8_t> buffer(10);
    EXPECT_EQ(NativeErrorOf([&] { file.ReadFile(kSession, buffer.data(), 10); }),
              algorithm == cmNone ? 0 : 30388);
    manager_->Rollback(kSession);

    // A write over pages whose links come back is cut short.
    link(pages[1], start);
    EXPECT_EQ(NativeErrorOf([&] {
                file.WriteFile(kSession, content.data(), 1, cmNone, static_cast<int32_t>(content.size()));
              }),
              20158);
    manager_->Rollback(kSession);
  }
}

TEST_F(InternalFiles, DirectLockBytesLieWhereTheirPositionsMapAndProbesLeaveThemLocked) {
  TVTRInternalDBDirectAccessFile& file = CreateDirect(6000);
  const int32_t first = file.StartPage();
  const int32_t second = NextPageOf(&FileBytes(name_).at(static_cast<size_t>(PageOffset(first))));
  const OSFile observer = OSFile::Open(name_, OSFileAccess::kReadOnly);
  const auto locked = [&observer](int64_t offset) {
    return observer.ProbeLock(offset, 1) == RegionState::kLocked;
  };

  ASSERT_TRUE(file.LockFile());
  EXPECT_TRUE(locked(PageOffset(first)));
  EXPECT_TRUE(file.UnlockFile());
  EXPECT_FALSE(locked(PageOffset(first)));

  const struct {
    int32_t position;
    int64_t offset;
  } places[] = {{0, PageOffset(first) + 50},
                {4045, PageOffset(first) + kPageSize - 1},
                {4046, PageOffset(second) + 40},
                {5999, PageOffset(second) + 40 + 1953}};
  for (const auto& place : places) {
    SCOPED_TRACE(place.position);
    ASSERT_TRUE(file.LockByte(place.position));
    EXPECT_TRUE(locked(place.offset));
    EXPECT_TRUE(file.IsByteLocked(place.position));
    EXPECT_TRUE(locked(place.offset)) << "a probe dropped the lock";
    EXPECT_FALSE(file.LockByte(place.position));
    EXPECT_TRUE(file.UnlockByte(place.position));
    EXPECT_FALSE(locked(place.offset));
  }
  EXPECT_EQ(NativeErrorOf([&] { file.LockByte(6001); }), 20159);
}

TEST_F(InternalFiles, DirectRegionProbesCoverEveryPageOfTheRange) {
  TVTRInternalDBDirectAccessFile& file = CreateDirect(6000);
  ASSERT_TRUE(file.LockByte(5000));
  EXPECT_TRUE(file.IsRegionLocked(4000, 1001));
  EXPECT_FALSE(file.IsRegionLocked(4000, 1000));
  EXPECT_TRUE(file.IsRegionLocked(5000, 1));
  EXPECT_FALSE(file.IsRegionLocked(5000, 0));
  EXPECT_TRUE(file.IsRegionLocked(0, 6000));
  EXPECT_FALSE(file.LockByte(5000)) << "a probe released the lock";
}

TEST_F(InternalFiles, ADirectFileWhoseLinksComeBackEndsAtItsDistinctPages) {
  TVTRInternalDBDirectAccessFile& file = CreateDirect(6000);
  const int32_t first = file.StartPage();
  const int32_t second = NextPageOf(&FileBytes(name_).at(static_cast<size_t>(PageOffset(first))));
  // The second page leads back to the first, and the size claims 2 GB.
  uint8_t link[4], size[4];
  StoreI32(link, first);
  StoreI32(size, INT32_MAX - 100);
  manager_->WritePageBytes(link, second, 4, 10);
  manager_->WritePageBytes(size, first, 4, 41);
  file.OpenFile(first);
  EXPECT_EQ(file.Size(), 2 * kDataSize - 10);
  EXPECT_EQ(NativeErrorOf([&] { file.LockByte(2 * kDataSize - 11); }), 0);
  EXPECT_EQ(NativeErrorOf([&] { file.LockByte(2 * kDataSize - 10); }), 20159);
  file.DeleteFile();
  manager_->Commit(kSystemSessionID);  // each page freed once
}

TEST_F(InternalFiles, DirectBytesCrossPageBoundariesStraightInTheFile) {
  TVTRInternalDBDirectAccessFile& file = CreateDirect(6000);
  const int32_t first = file.StartPage();
  const uint8_t written[6] = {1, 2, 3, 4, 5, 6};
  file.DirectWriteBuffer(written, 6, 4044);
  const std::vector<uint8_t> bytes = FileBytes(name_);
  const int32_t second = NextPageOf(&bytes.at(static_cast<size_t>(PageOffset(first))));
  EXPECT_EQ(bytes.at(static_cast<size_t>(PageOffset(first) + kPageSize - 2)), 1);
  EXPECT_EQ(bytes.at(static_cast<size_t>(PageOffset(first) + kPageSize - 1)), 2);
  EXPECT_EQ(std::memcmp(&bytes.at(static_cast<size_t>(PageOffset(second) + 40)), written + 2, 4), 0);
  uint8_t read[6] = {};
  file.DirectReadBuffer(read, 6, 4044);
  EXPECT_EQ(std::memcmp(read, written, 6), 0);
  EXPECT_EQ(file.GetSize(), 6000);
  EXPECT_EQ(NativeErrorOf([&] { file.DirectWriteBuffer(written, 6, 5995); }), 20158);
}

TEST_F(InternalFiles, ADirectFileOfOnePageOffersTheWholePage) {
  TVTRInternalDBDirectAccessFile& file = CreateDirect(500);
  EXPECT_EQ(file.GetSize(), 500);
  EXPECT_EQ(file.Size(), kDataSize - 10);
  EXPECT_TRUE(file.LockByte(kDataSize - 11));
}

TEST_F(InternalFiles, ADirectFileRefusesALinkToAPageOfAnotherType) {
  const int32_t transacted = WriteTransacted(NoiseBytes(10, 5));
  TVTRInternalDBDirectAccessFile file(*manager_, ptTableLocks);
  try {
    file.OpenFile(transacted);
    FAIL() << "a metadata page was taken for a lock area";
  } catch (const EVTRException& e) {
    EXPECT_EQ(e.Message(), "Invalid PageType found: 8 but wanted: 7 - Native error: 20155");
  }
  EXPECT_EQ(NativeErrorOf([&] { file.GetSize(); }), 20156);
}

TEST_F(InternalFiles, DirectFilesStayPlainInAnEncryptedDatabase) {
  manager_.reset();
  const std::string name = folder_.File("secret.vtr");
  TVTRDiskPageManager creator;
  creator.CreateDatabase(name, TVTRPassword{"secret", 0}, kPageSize, 8);
  TVTRInternalDBDirectAccessFile file(creator, ptActiveSessionList);
  file.CreateFile(100);
  creator.Commit(kSystemSessionID);
  file.OpenFile(file.StartPage());
  file.DirectWriteBuffer("ABCDEF", 6, 0);
  const std::vector<uint8_t> bytes = FileBytes(name);
  const uint8_t* page = &bytes.at(static_cast<size_t>(PageOffset(file.StartPage())));
  EXPECT_EQ(LoadI32(page + 41), 100);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(page + 50), 6), "ABCDEF");
}

}  // namespace
