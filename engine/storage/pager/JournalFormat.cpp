#include "engine/storage/pager/JournalFormat.h"

#include <algorithm>
#include <bit>

#include "engine/storage/pager/ByteOrder.h"

namespace {

constexpr int32_t kSignatureSize = 16;
constexpr int32_t kHeaderChecksumOffset = 64;
constexpr uint64_t kPrime1 = 0x9E3779B185EBCA87ull;
constexpr uint64_t kPrime2 = 0xC2B2AE3D27D4EB4Full;
constexpr uint64_t kPrime3 = 0x165667B19E3779F9ull;

uint64_t MixWord(uint64_t lane, uint64_t word) {
  return std::rotl(lane + word * kPrime2, 31) * kPrime1;
}

}  // namespace

std::string JournalFileName(const std::string& database_file_name) {
  return database_file_name + "-journal";
}

uint32_t JournalChecksum(uint32_t seed, const uint8_t* bytes, int64_t size) {
  std::array<uint64_t, 4> lanes = {seed + kPrime1 + kPrime2, seed + kPrime2, seed, seed - kPrime1};
  const uint8_t* p = bytes;
  const uint8_t* const end = bytes + std::max<int64_t>(size, 0);
  for (; end - p >= 32; p += 32) {
    for (size_t i = 0; i < lanes.size(); ++i) lanes[i] = MixWord(lanes[i], LoadU64(p + 8 * i));
  }
  uint64_t hash = std::rotl(lanes[0], 1) + std::rotl(lanes[1], 7) + std::rotl(lanes[2], 12) +
                  std::rotl(lanes[3], 18) + static_cast<uint64_t>(end - bytes);
  for (; p < end; ++p) hash = std::rotl(hash ^ (*p * kPrime3), 11) * kPrime1;
  hash ^= hash >> 33;
  hash *= kPrime2;
  hash ^= hash >> 29;
  hash *= kPrime3;
  hash ^= hash >> 32;
  return static_cast<uint32_t>(hash);
}

void EncodeJournalHeader(const JournalHeader& header, std::span<uint8_t, kJournalHeaderSize> out) {
  uint8_t* p = out.data();
  std::copy(kJournalSignature.begin(), kJournalSignature.end(), p);
  StoreU32(p + 16, header.Salt);
  StoreI32(p + 20, header.PageSize);
  StoreU64(p + 24, static_cast<uint64_t>(header.HeaderOffset));
  StoreU64(p + 32, header.Database.device);
  StoreU64(p + 40, header.Database.inode);
  StoreI32(p + 48, header.ChangeCounter);
  StoreI32(p + 52, header.PageCount);
  StoreU64(p + 56, static_cast<uint64_t>(header.FileSize));
  StoreU32(p + kHeaderChecksumOffset, JournalChecksum(0, p, kHeaderChecksumOffset));
}

std::optional<JournalHeader> DecodeJournalHeader(std::span<const uint8_t, kJournalHeaderSize> in) {
  const uint8_t* p = in.data();
  if (!std::equal(kJournalSignature.begin(), kJournalSignature.end(), p) ||
      LoadU32(p + kHeaderChecksumOffset) != JournalChecksum(0, p, kHeaderChecksumOffset)) {
    return std::nullopt;
  }
  JournalHeader header;
  header.Salt = LoadU32(p + 16);
  header.PageSize = LoadI32(p + 20);
  header.HeaderOffset = static_cast<int64_t>(LoadU64(p + 24));
  header.Database.device = LoadU64(p + 32);
  header.Database.inode = LoadU64(p + 40);
  header.ChangeCounter = LoadI32(p + 48);
  header.PageCount = LoadI32(p + 52);
  header.FileSize = static_cast<int64_t>(LoadU64(p + 56));
  if (header.Salt == 0) return std::nullopt;
  return header;
}

void EncodeJournalEntryHead(const JournalEntryHead& head, std::span<uint8_t, kJournalEntryHeadSize> out) {
  StoreI32(out.data(), head.PageNo);
  StoreI32(out.data() + 4, head.Length);
}

void SealJournalEntry(uint32_t salt, uint8_t* entry) {
  const int64_t covered = int64_t{kJournalEntryHeadSize} + LoadI32(entry + 4);
  StoreU32(entry + covered, JournalChecksum(salt, entry, covered));
}

JournalEntryHead DecodeJournalEntryHead(std::span<const uint8_t, kJournalEntryHeadSize> in) {
  return JournalEntryHead{LoadI32(in.data()), LoadI32(in.data() + 4)};
}

bool IsJournalEntryIntact(uint32_t salt, const uint8_t* entry, int32_t length) {
  const int64_t covered = int64_t{kJournalEntryHeadSize} + length;
  return length >= 0 && LoadI32(entry + 4) == length &&
         LoadU32(entry + covered) == JournalChecksum(salt, entry, covered);
}
