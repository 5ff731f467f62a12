#include <gtest/gtest.h>

#include <random>

#include "tests/engine/storage/StorageFixtures.h"
#include "tests/engine/storage/blob/BlobTestSupport.h"

namespace {

// The free-space maps as they are in the file: the data areas of the first
// PFS page (page 0) and the first EAM page (page 1), which cover every page of
// a small file. An extent the allocator has looked at since reads "has a free
// page" where it read "never computed"; both mean room, so the EAM entries are
// compared by that meaning.
Bytes MapPages(const std::string& file_name, TVTRDiskPageManager& manager) {
  const Bytes file = FileBytes(file_name);
  const auto pfs = static_cast<size_t>(manager.GetPageOffset(0) + kPageHeaderSize);
  const auto eam = static_cast<size_t>(manager.GetPageOffset(1) + kPageHeaderSize);
  Bytes maps(file.begin() + pfs, file.begin() + pfs + manager.PageDataSize());
  for (size_t i = 0; i < static_cast<size_t>(manager.PageDataSize()); ++i) {
    uint8_t byte = file[eam + i];
    for (int shift = 0; shift < 8; shift += 2) {
      if ((byte >> shift & 3) == 0) byte |= static_cast<uint8_t>(1 << shift);
    }
    maps.push_back(byte);
  }
  return maps;
}

size_t ValueSize(std::mt19937& random) {
  switch (random() % 3) {
    case 0:
      return random() % 2000;
    case 1:
      return 4000 + random() % 100;  // around the shared-page limit and the page size
    default:
      return 4100 + random() % 30000;
  }
}

TEST(BlobFreeSpace, RandomStoresAndDeletesLeaveTheMapsWhereTheyStarted) {
  ScratchFolder folder;
  const std::string name = folder.File("blobs.vtr");
  CreateDatabaseFile(name, 4096);
  auto pages = OpenDatabaseFile(name);
  BlobTable table;
  TVTRDiskBlobManager manager(*pages, table.fields, table.records);
  manager.CreateStorage();
  pages->Commit(kSystemSessionID);
  const Bytes before = MapPages(name, *pages);

  std::mt19937 random(20240611);
  std::vector<std::pair<TVTRBlobReference, Bytes>> stored;
  auto read = [&](const TVTRBlobReference& reference) {
    CachedBlobValue value;
    manager.ReadBlobValue(kBlobSession, value, reference);
    return BytesOf(value);
  };
  for (int round = 0; round < 1000; ++round) {
    if (stored.empty() || random() % 2 == 0) {
      const Bytes bytes = Noise(ValueSize(random), static_cast<uint32_t>(round));
      stored.emplace_back(manager.StoreBlobValue(kBlobSession, StoredValue(bytes)), bytes);
    } else {
      const size_t victim = random() % stored.size();
      ASSERT_EQ(read(stored[victim].first), stored[victim].second) << "round " << round;
      manager.DeleteBlobValue(kBlobSession, stored[victim].first);
      stored.erase(stored.begin() + static_cast<std::ptrdiff_t>(victim));
    }
    pages->Commit(kBlobSession);
  }
  ASSERT_GT(pages->GetPageCount(), 20) << "the rounds left values on many pages";
  for (auto& [reference, bytes] : stored) {
    ASSERT_EQ(read(reference), bytes);
    manager.DeleteBlobValue(kBlobSession, reference);
  }
  pages->Commit(kBlobSession);

  EXPECT_EQ(MapPages(name, *pages), before);
  TVTRKeyPath path;
  EXPECT_FALSE(manager.BlobPageIndex.First(kBlobSession, path)) << "the page map is empty again";
}

}  // namespace
