#include "engine/storage/pager/PageHeader.h"

#include <algorithm>
#include <array>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/pager/ByteOrder.h"

namespace {

constexpr std::array<uint8_t, 4> kPageMagic = {'V', 'T', 'R', 'P'};

constexpr int kVersionAt = 4;
constexpr int kTypeAt = 8;
constexpr int kNextPageAt = 10;
constexpr int kCRCAt = 14;
constexpr int kCipherAt = 20;
constexpr int kOwnerAt = 22;
constexpr int kReservedI32At = 26;
static_assert(kVersionAt == kPageVersionOffset);

constexpr std::array<std::string_view, 13> kPageTypeNames = {"Unknown Page",
                                                             "Empty Page",
                                                             "EAM Page",
                                                             "PFS Page",
                                                             "FileSystemDirectory Page",
                                                             "ActiveSessionList Page",
                                                             "TableList Page",
                                                             "TableLocks Page",
                                                             "TableMetaData Page",
                                                             "TableMostUpdated Page",
                                                             "TableRecord Page",
                                                             "TableBlob Page",
                                                             "TableIndex Page"};

}  // namespace

void EncodePageHeader(const PageHeader& header, std::span<uint8_t, kPageHeaderSize> out) {
  uint8_t* p = out.data();
  std::fill(out.begin(), out.end(), 0);
  std::copy(kPageMagic.begin(), kPageMagic.end(), p);
  StoreI32(p + kVersionAt, header.Version);
  StoreU16(p + kTypeAt, header.PageType);
  StoreI32(p + kNextPageAt, header.NextPage);
  StoreU32(p + kCRCAt, header.CRC);
  p[kCipherAt] = header.CipherAlgorithm;
  StoreI32(p + kOwnerAt, header.Owner);
  StoreI32(p + kReservedI32At, -1);
}

PageHeader DecodePageHeader(std::span<const uint8_t, kPageHeaderSize> in) {
  const uint8_t* p = in.data();
  PageHeader header;
  header.Version = LoadI32(p + kVersionAt);
  header.PageType = LoadU16(p + kTypeAt);
  header.NextPage = LoadI32(p + kNextPageAt);
  header.CRC = LoadU32(p + kCRCAt);
  header.CipherAlgorithm = p[kCipherAt];
  header.Owner = LoadI32(p + kOwnerAt);
  return header;
}

int32_t PageVersionOf(const uint8_t* page) {
  return LoadI32(page + kVersionAt);
}
void SetPageVersionOf(uint8_t* page, int32_t version) {
  StoreI32(page + kVersionAt, version);
}
uint16_t PageTypeOf(const uint8_t* page) {
  return LoadU16(page + kTypeAt);
}
void SetPageTypeOf(uint8_t* page, uint16_t type) {
  StoreU16(page + kTypeAt, type);
}
int32_t NextPageOf(const uint8_t* page) {
  return LoadI32(page + kNextPageAt);
}
void SetNextPageOf(uint8_t* page, int32_t next_page) {
  StoreI32(page + kNextPageAt, next_page);
}
uint32_t PageCRCOf(const uint8_t* page) {
  return LoadU32(page + kCRCAt);
}
uint8_t PageCipherAlgorithmOf(const uint8_t* page) {
  return page[kCipherAt];
}
void SetPageCipherOf(uint8_t* page, uint8_t algorithm, uint32_t crc) {
  page[kCipherAt] = algorithm;
  StoreU32(page + kCRCAt, crc);
}
int32_t PageOwnerOf(const uint8_t* page) {
  return LoadI32(page + kOwnerAt);
}
void SetPageOwnerOf(uint8_t* page, int32_t owner) {
  StoreI32(page + kOwnerAt, owner);
}

int32_t NextPageVersion(int32_t version) {
  return version < 0 || version >= kMaxPageVersion ? 0 : version + 1;
}

std::string_view PageTypeName(uint16_t type) {
  if (type >= kPageTypeNames.size()) throw EVTRException::CreateFmt(30382, "Unknown Page Type: (%d)", type);
  return kPageTypeNames[type];
}

void CheckPageType(uint16_t found, uint16_t wanted, int32_t native_error) {
  if (found == wanted) return;
  throw EVTRException::CreateFmt(native_error, "Wrong page type. Found '%s', but wanted: '%s'",
                                 PageTypeName(found), PageTypeName(wanted));
}
