#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/engine/storage/StorageFixtures.h"
#include "engine/foundation/VTRCompression.h"
#include "engine/storage/pager/ByteOrder.h"

namespace {

constexpr int32_t kPageSize = 4096;
constexpr int32_t kDataSize = kPageSize - 40;

std::unique_ptr<TVTRDiskPageManager> OpenWithPassword(const std::string& name, const std::string& password) {
  auto manager = std::make_unique<TVTRDiskPageManager>();
  bool multi_user = false;
  bool needs_repair = false;
  bool read_only = false;
  manager->OpenDatabase(name, TVTRPassword{password, 0}, multi_user, false, needs_repair, read_only);
  return manager;
}

class Encryption : public ::testing::TestWithParam<uint8_t> {
 protected:
  // A database enciphered with the algorithm, holding page 2 filled with text.
  void CreateEncrypted(uint8_t algorithm) {
    {
      TVTRDiskPageManager creator;
      creator.CreateDatabase(name_, TVTRPassword{"secret", algorithm}, kPageSize, 8);
    }
    auto manager = OpenWithPassword(name_, "secret");
    HeldPage page(manager->AddPage(0, ptTableRecord));
    for (int32_t i = 0; i < kDataSize; ++i) page->Data()[i] = static_cast<uint8_t>('a' + i % 26);
    page.Release();
    manager->Commit(0);
  }
  const uint8_t* StoredPage(const std::vector<uint8_t>& bytes, int32_t page_no) {
    return &bytes.at(static_cast<size_t>(380 + int64_t{page_no} * kPageSize));
  }

  ScratchFolder folder_;
  std::string name_ = folder_.File("secret.vtr");
};

TEST_P(Encryption, DataAreasAreEncipheredWithACRCAndReadBackPlain) {
  const uint8_t algorithm = GetParam();
  CreateEncrypted(algorithm);
  const std::vector<uint8_t> bytes = FileBytes(name_);
  EXPECT_EQ(bytes[43], 0xFF);
  EXPECT_EQ(bytes[76 + 2], algorithm);
  const uint8_t* stored = StoredPage(bytes, 2);
  std::vector<uint8_t> plain(static_cast<size_t>(kDataSize));
  for (int32_t i = 0; i < kDataSize; ++i) plain[static_cast<size_t>(i)] = static_cast<uint8_t>('a' + i % 26);
  EXPECT_EQ(std::string(stored, stored + 4), "VTRP") << "the page header was enciphered";
  EXPECT_EQ(PageCipherAlgorithmOf(stored), algorithm);
  EXPECT_EQ(PageCRCOf(stored), CalcCRC32(0, plain.data(), kDataSize));
  EXPECT_NE(std::memcmp(stored + 40, plain.data(), plain.size()), 0) << "the data area is plain on disk";
  // The free-space maps stay plain.
  EXPECT_EQ(PageTypeOf(StoredPage(bytes, 0)), ptPFS);
  EXPECT_EQ(StoredPage(bytes, 0)[40], 0b111);

  auto manager = OpenWithPassword(name_, "secret");
  EXPECT_EQ(manager->GetPassword().Algorithm, algorithm);
  HeldPage page(manager->GetPage(0, 2, ptTableRecord));
  EXPECT_EQ(std::memcmp(page->Data(), plain.data(), plain.size()), 0);
}

INSTANTIATE_TEST_SUITE_P(AllAlgorithms, Encryption, ::testing::Range<uint8_t>(0, 8));

class EncryptedDatabase : public Encryption {
 protected:
  EncryptedDatabase() { CreateEncrypted(0); }
};

TEST_F(EncryptedDatabase, AWrongOrEmptyPasswordIsRefusedBeforeAnyPageIsRead) {
  std::vector<uint8_t> bytes = FileBytes(name_);
  bytes.resize(380);  // no pages at all: the check may not depend on them
  WriteFileBytes(name_, bytes);
  for (const std::string password : {"Secret", "", "secret "}) {
    try {
      OpenWithPassword(name_, password);
      FAIL() << password;
    } catch (const EVTRException& e) {
      EXPECT_EQ(e.Message(), "Cannot open database because incorrect password - Native error: 30445");
    }
  }
  EXPECT_NO_THROW(OpenWithPassword(name_, "secret"));
}

TEST_F(EncryptedDatabase, AFlippedByteInAnEncipheredPageIsReported) {
  std::vector<uint8_t> bytes = FileBytes(name_);
  bytes[380 + 2 * kPageSize + 1000] ^= 0x01;
  WriteFileBytes(name_, bytes);
  auto manager = OpenWithPassword(name_, "secret");
  try {
    manager->GetPage(0, 2, ptTableRecord);
    FAIL();
  } catch (const EVTRException& e) {
    EXPECT_EQ(e.Message(), "Decrypt page error. Check CRC failed. PageNo: 2 - Native error: 30446");
  }
  EXPECT_EQ(manager->SharedPageList().Find(2), nullptr) << "the damaged page stayed cached";
}

TEST_F(EncryptedDatabase, PagesMarkedPlainStayPlainOnDisk) {
  auto manager = OpenWithPassword(name_, "secret");
  HeldPage page(manager->AddPage(kSystemSessionID, ptActiveSessionList));
  page->SetMayEncipher(false);
  std::memcpy(page->Data(), "slots", 5);
  const int32_t page_no = page->PageNo();
  page.Release();
  manager->Commit(kSystemSessionID);
  const std::vector<uint8_t> bytes = FileBytes(name_);
  EXPECT_EQ(std::string(StoredPage(bytes, page_no) + 40, StoredPage(bytes, page_no) + 45), "slots");
}

TEST_F(EncryptedDatabase, TheCachedCopyOfAWrittenPageStaysPlain) {
  auto manager = OpenWithPassword(name_, "secret");
  ChangePage(*manager, 0, 2, 'Z');
  manager->Commit(0);
  ASSERT_NE(manager->SharedPageList().Find(2), nullptr);
  HeldPage page(manager->GetPage(0, 2, ptTableRecord));
  EXPECT_EQ(page->Data()[0], 'Z');
  EXPECT_EQ(page->Data()[1], 'b');
}

TEST_F(EncryptedDatabase, AnUnknownAlgorithmIsRefusedAtCreation) {
  TVTRDiskPageManager creator;
  EXPECT_EQ(NativeErrorOf([&] {
              creator.CreateDatabase(folder_.File("x.vtr"), TVTRPassword{"pw", 8}, kPageSize, 8);
            }),
            20237);
}

}  // namespace
