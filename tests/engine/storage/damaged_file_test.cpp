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

  WalkReport Walk(const Bytes& file, bool multi_user = false) {
    const std::filesystem::path path = folder_.File("damaged.vtr");
    WriteFileBytes(path, file.data(), file.size());
    return WalkDatabaseFile(path, multi_user);
  }

  ScratchFolder folder_;
};

TEST_F(DamagedFile, TheWalkReadsEveryRecordAndEveryIndexEntryOfAnIntactFile) {
  const int64_t kept = kExerciseRecords - (kExerciseRecords + 2) / 3;
  for (const bool encrypted : {false, true}) {
    for (const bool multi_user : {false, true}) {
      SCOPED_TRACE(testing::Message() << "encrypted " << encrypted << ", multi-user " << multi_user);
      const WalkReport report = Walk(SeedFile(encrypted), multi_user);
      EXPECT_EQ(report.fault, "");
      EXPECT_EQ(report.tables, 2);
      EXPECT_EQ(report.records, kept);
      EXPECT_EQ(report.index_entries, 2 * kept);
    }
  }
}

TEST_F(DamagedFile, RandomDamageEndsInDataOrEngineErrors) {
  std::mt19937 random(2567);
  const Bytes& seed = SeedFile(false);
  const size_t page_count = (seed.size() - kPagesOffset) / kExercisePageSize;
  for (int i = 0; i < 300; ++i) {
    Bytes patches;
    for (int n = 1 + static_cast<int>(random() % 6); n > 0; --n) {
      // Mostly the page and B-tree headers, where the links and counts are.
      const uint16_t offset = random() % 4 ? random() % 64 : random() % kExercisePageSize;
      patches.insert(patches.end(),
                     {static_cast<uint8_t>(1 + random() % page_count), static_cast<uint8_t>(offset),
                      static_cast<uint8_t>(offset >> 8), static_cast<uint8_t>(1 + random() % 255)});
    }
    ASSERT_EQ(Walk(Damaged(seed, patches.data(), patches.size()), i % 2 == 1).fault, "") << "case " << i;
  }
}

// Inputs of tests/fuzz/database_file_fuzz.cpp that once crashed or hung the engine.
TEST_F(DamagedFile, FuzzerFindingsEndInDataOrEngineErrors) {
  const struct {
    const char* damage;
    Bytes input;
  } findings[] = {
      {"a leaf's previous link runs in a circle (record numbers)", {0x9c, 0x2c, 0x2a, 0xa8, 0x0d, 0xd6}},
      {"a record page map entry out of order (storage order)", {0x80, 0x08, 0x6a, 0xc2, 0x32}},
      {"two map entries out of order", {0xc0, 0x08, 0x6a, 0xc2, 0x6a, 0xce}},
      {"a map entry out of order, twice", {0xc0, 0x08, 0x6a, 0xce, 0x6a, 0xce}},
      {"the system directory's size claims 4 GB (allocation)",
       {0xa4, 0x03, 0x30, 0x14, 0x14, 0xe5, 0x10, 0xff, 0xff, 0xff, 0xff, 0xff, 0x00, 0x00, 0x00, 0xa7}},
  };
  for (const auto& finding : findings) {
    EXPECT_EQ(ExerciseDatabaseInput(finding.input.data(), finding.input.size(), folder_.File("found.vtr")),
              "")
        << finding.damage;
  }
}

}  // namespace
