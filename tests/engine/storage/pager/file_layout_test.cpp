#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/pager/ByteOrder.h"
#include "engine/storage/pager/DatabaseHeader.h"
#include "engine/storage/pager/PageHeader.h"

namespace {

TEST(FileHeader, NewDatabaseHeaderHasTheStoredLayout) {
  DatabaseFileHeader header = DatabaseFileHeader::NewDatabase();
  header.PageSize = 4096;
  header.PagesPerExtent = 8;
  std::array<uint8_t, kFileHeaderSize> image;
  EncodeFileHeader(header, image);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(image.data()), 16), "VANTORDATABASE00");
  EXPECT_EQ(LoadI16(&image[16]), 76);
  EXPECT_EQ(LoadU64(&image[18]), 0x40133D70A3D70A3Du);  // 4.81
  EXPECT_EQ(LoadI16(&image[26]), 4096);
  EXPECT_EQ(LoadU16(&image[28]), 8);
  EXPECT_EQ(LoadI32(&image[30]), 0);
  EXPECT_EQ(LoadI32(&image[34]), -1);
  EXPECT_EQ(LoadI32(&image[38]), 0);
  EXPECT_EQ(image[42], 2);
  EXPECT_EQ(image[43], 0);
  for (size_t i = 44; i < image.size(); ++i) EXPECT_EQ(image[i], 0) << i;
}

TEST(FileHeader, RoundTripsEveryField) {
  DatabaseFileHeader header = DatabaseFileHeader::NewDatabase();
  header.PageSize = 1024;
  header.PagesPerExtent = 65535;
  header.PageCount = 123456;
  header.LastUsedPage = 123400;
  header.ChangeCounter = -7;
  header.DatabaseState = dsCommitting;
  header.Encrypted = true;
  std::array<uint8_t, kFileHeaderSize> image;
  EncodeFileHeader(header, image);
  EXPECT_EQ(image[43], 0xFF);
  image[43] = 1;  // any non-zero byte reads as true
  const DatabaseFileHeader read = DecodeFileHeader(image);
  EXPECT_TRUE(read.HasSignature());
  EXPECT_EQ(read.Version, 4.81);
  EXPECT_EQ(read.PageSize, 1024);
  EXPECT_EQ(read.PagesPerExtent, 65535);
  EXPECT_EQ(read.PageCount, 123456);
  EXPECT_EQ(read.LastUsedPage, 123400);
  EXPECT_EQ(read.ChangeCounter, -7);
  EXPECT_EQ(read.DatabaseState, dsCommitting);
  EXPECT_TRUE(read.Encrypted);
}

TEST(FileHeader, SignatureTextStopsAtTheFirstZero) {
  std::array<uint8_t, kFileHeaderSize> image{};
  std::memcpy(image.data(), "SQLite", 6);
  const DatabaseFileHeader read = DecodeFileHeader(image);
  EXPECT_FALSE(read.HasSignature());
  EXPECT_EQ(read.SignatureText(), "SQLite");
}

TEST(CryptoHeader, RoundTripsAndPlacesTheCheckBlockAndCRC) {
  DatabaseCryptoHeader header;
  header.Algorithm = 3;
  for (size_t i = 0; i < header.CheckBlock.size(); ++i) header.CheckBlock[i] = static_cast<uint8_t>(i % 255);
  header.CheckCRC = 0xCA6598D0u;
  std::array<uint8_t, kCryptoHeaderSize> image;
  EncodeCryptoHeader(header, image);
  EXPECT_EQ(LoadI16(&image[0]), 280);
  EXPECT_EQ(image[2], 3);
  EXPECT_EQ(image[3], 0);
  EXPECT_EQ(image[4 + 254], 254);
  EXPECT_EQ(LoadU32(&image[260]), 0xCA6598D0u);
  for (size_t i = 264; i < image.size(); ++i) EXPECT_EQ(image[i], 0) << i;
  const DatabaseCryptoHeader read = DecodeCryptoHeader(image);
  EXPECT_EQ(read.BlockSize, 280);
  EXPECT_EQ(read.Algorithm, 3);
  EXPECT_EQ(read.CheckBlock, header.CheckBlock);
  EXPECT_EQ(read.CheckCRC, header.CheckCRC);
}

TEST(LockBlock, HoldsOnlyItsSize) {
  std::array<uint8_t, kLockBlockSize> image;
  image.fill(0xEE);
  EncodeLockBlock(image);
  EXPECT_EQ(DecodeLockBlockSize(std::span<const uint8_t, 2>(image.data(), 2)), 20);
  for (size_t i = 2; i < image.size(); ++i) EXPECT_EQ(image[i], 0) << i;
  EXPECT_EQ(kLockBlockOffset + kTablesLockByteInBlock, 359);
  EXPECT_EQ(kLockBlockOffset + kHeaderLockByteInBlock, 360);
  EXPECT_EQ(kNextObjectIDOffset, 376);
  EXPECT_EQ(kPagesOffset, 380);
}

TEST(PageHeader, DefaultHeaderBytes) {
  std::array<uint8_t, kPageHeaderSize> image;
  image.fill(0xEE);
  EncodePageHeader(PageHeader{}, image);
  const std::array<uint8_t, kPageHeaderSize> expected = {
      'V', 'T', 'R',  'P',  0,    0,    0,    0,    0,    0,    0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0,
      0,   0,   0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0,    0,    0,    0,    0, 0, 0, 0, 0, 0};
  EXPECT_EQ(image, expected);
}

TEST(PageHeader, FieldAccessorsAgreeWithTheCodec) {
  PageHeader header;
  header.Version = 0x12345678;
  header.PageType = ptTableIndex;
  header.NextPage = 77;
  header.CRC = 0xDEADBEEF;
  header.CipherAlgorithm = 6;
  header.Owner = 42;
  std::array<uint8_t, kPageHeaderSize> image;
  EncodePageHeader(header, image);
  EXPECT_EQ(PageVersionOf(image.data()), 0x12345678);
  EXPECT_EQ(PageTypeOf(image.data()), ptTableIndex);
  EXPECT_EQ(NextPageOf(image.data()), 77);
  EXPECT_EQ(PageCRCOf(image.data()), 0xDEADBEEFu);
  EXPECT_EQ(PageCipherAlgorithmOf(image.data()), 6);
  EXPECT_EQ(PageOwnerOf(image.data()), 42);
  SetPageVersionOf(image.data(), 5);
  SetPageTypeOf(image.data(), ptPFS);
  SetNextPageOf(image.data(), -1);
  SetPageCipherOf(image.data(), 1, 99);
  SetPageOwnerOf(image.data(), -1);
  const PageHeader read = DecodePageHeader(image);
  EXPECT_EQ(read.Version, 5);
  EXPECT_EQ(read.PageType, ptPFS);
  EXPECT_EQ(read.NextPage, -1);
  EXPECT_EQ(read.CRC, 99u);
  EXPECT_EQ(read.CipherAlgorithm, 1);
  EXPECT_EQ(read.Owner, -1);
}

TEST(PageHeader, VersionsStayWithinTheLiveRange) {
  struct Case {
    int32_t version;
    int32_t next;
  };
  for (const Case& c : {Case{0, 1}, Case{0x7FFFFFFB, 0x7FFFFFFC}, Case{0x7FFFFFFC, 0}, Case{0x7FFFFFFD, 0},
                        Case{kFreedPageVersion, 0}, Case{-5, 0}}) {
    EXPECT_EQ(NextPageVersion(c.version), c.next) << c.version;
  }
}

TEST(PageTypes, NamesAndTypeChecks) {
  EXPECT_EQ(PageTypeName(ptEAM), "EAM Page");
  EXPECT_EQ(PageTypeName(ptFileSystemDirectory), "FileSystemDirectory Page");
  EXPECT_EQ(PageTypeName(ptTableIndex), "TableIndex Page");
  try {
    PageTypeName(13);
    FAIL();
  } catch (const EVTRException& e) {
    EXPECT_EQ(e.NativeError(), 30382);
    EXPECT_EQ(e.Message(), "Unknown Page Type: (13) - Native error: 30382");
  }
  EXPECT_NO_THROW(CheckPageType(ptPFS, ptPFS, 30423));
  try {
    CheckPageType(ptTableRecord, ptPFS, 30423);
    FAIL();
  } catch (const EVTRException& e) {
    EXPECT_EQ(e.Message(),
              "Wrong page type. Found 'TableRecord Page', but wanted: 'PFS Page' - Native error: 30423");
  }
}

}  // namespace
