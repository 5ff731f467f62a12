// Damaged database files never crash the engine, never make it touch memory
// out of bounds (the sanitizers watch) and never keep it walking in circles:
// every read ends with the data or an engine error.
// tests/fuzz/database_file_fuzz.cpp explores further.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "tests/support/DatabaseFileExercise.h"
#include "tests/support/ScratchFolder.h"

namespace {

using namespace database_exercise;
using Bytes = std::vector<uint8_t>;

class DamagedFile : public ::testing::Test {
 protected:
  const Bytes& SeedFile(bool encrypted) { return Seed(encrypted, folder_.File("seed.vtr")); }

  WalkReport Walk(const Bytes& file, bool multi_user = false, bool write = false) {
    const std::filesystem::path path = folder_.File("damaged.vtr");
    WriteFileBytes(path, file.data(), file.size());
    return WalkDatabaseFile(path, multi_user, write);
  }

  ScratchFolder folder_;
};

TEST_F(DamagedFile, TheWalkReadsAndWritesEveryTableOfAnIntactFile) {
  const int64_t kept = kExerciseRecords - (kExerciseRecords + 2) / 3;
  for (const bool encrypted : {false, true}) {
    for (const bool multi_user : {false, true}) {
      SCOPED_TRACE(testing::Message() << "encrypted " << encrypted << ", multi-user " << multi_user);
      const WalkReport report = Walk(SeedFile(encrypted), multi_user);
      EXPECT_EQ(report.fault, "");
      EXPECT_EQ(report.tables, 2);
      EXPECT_EQ(report.records, kept);
      EXPECT_EQ(report.index_entries, 2 * kept);
      EXPECT_GT(report.blob_bytes, 0);
    }
  }
  // Each table gains two records and loses one.
  const std::filesystem::path path = folder_.File("written.vtr");
  WriteFileBytes(path, SeedFile(false).data(), SeedFile(false).size());
  EXPECT_EQ(WalkDatabaseFile(path, false, true).fault, "");
  const WalkReport report = WalkDatabaseFile(path, false);
  EXPECT_EQ(report.fault, "");
  EXPECT_EQ(report.records, kept + 2);
  EXPECT_EQ(report.index_entries, 2 * (kept + 2));
}

TEST_F(DamagedFile, RandomDamageEndsInDataOrEngineErrors) {
  std::mt19937 random(2567);
  const Bytes& seed = SeedFile(false);
  const size_t page_count = (seed.size() - kPagesOffset) / kExercisePageSize;
  for (int i = 0; i < 300; ++i) {
    Bytes patches;
    for (int n = 1 + static_cast<int>(random() % 6); n > 0; --n) {
      // Mostly the page and B-tree headers, where the links and counts are;
      // a third of them links to another page, or to none.
      uint16_t offset = random() % 4 ? random() % 64 : random() % kExercisePageSize;
      uint8_t value = static_cast<uint8_t>(1 + random() % 255);
      if (random() % 3 == 0) {
        offset |= 0x8000;
        value = random() % 8 ? static_cast<uint8_t>(random() % page_count) : 0xFF;
      }
      patches.insert(patches.end(), {static_cast<uint8_t>(1 + random() % page_count),
                                     static_cast<uint8_t>(offset), static_cast<uint8_t>(offset >> 8), value});
    }
    ASSERT_EQ(Walk(Damaged(seed, patches.data(), patches.size()), i % 2 == 1, i % 3 == 1).fault, "")
        << "case " << i;
  }
}

// Inputs of tests/fuzz/database_file_fuzz.cpp that once crashed or hung the
// engine, kept whole and zlib-compressed in
// tests/fuzz/regressions/database_file_fuzz, each named after its damage.
// The fuzzer runs one after: python3 -c 'import sys, zlib;
// sys.stdout.buffer.write(zlib.decompress(open(sys.argv[1], "rb").read()))' NAME.zlib > input
TEST_F(DamagedFile, FuzzerFindingsEndInDataOrEngineErrors) {
  int found = 0;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(VTR_FUZZ_REGRESSIONS) /
                                                               "database_file_fuzz")) {
    const Bytes packed = ReadFileBytes(entry.path());
    Bytes input;
    ASSERT_TRUE(DecompressBuffer(cmZlib, packed.data(), packed.size(), size_t{1} << 24, input))
        << entry.path().filename();
    EXPECT_EQ(ExerciseDatabaseInput(input.data(), input.size(), folder_.File("found.vtr")), "")
        << entry.path().filename();
    ++found;
  }
  EXPECT_GT(found, 0) << "no regression inputs were found";
}

}  // namespace
