#pragma once
// The bytes of a database's journal, the file "<database file name>-journal"
// beside it: the before-images of what a commit overwrites in place, so that
// a commit cut short can be put back (TVTRJournal, TVTRDiskPageManager). All
// integers are little-endian.
//
//   offset  size  content
//   0       68    JournalHeader
//   68      ...   entries, one after another; the journal ends at the first
//                 entry that is not intact (or at the end of the file)
//
// JournalHeader (68 bytes):
//   0   16  signature "VANTORJOURNAL001"; a cleared header (zeros) is no journal
//   16  4   u32 salt: a random non-zero number of this journal, which seeds
//           every entry's checksum, so entries left from an older journal
//           further on in the file are never taken for this one's
//   20  4   i32 page size of the database
//   24  8   i64 header offset (base) of the database inside its file
//   32  8   u64 device of the database file
//   40  8   u64 inode of the database file
//   48  4   i32 change counter of the database when the commit began
//   52  4   i32 page count of the database when the commit began
//   56  8   i64 size of the database file when the commit began
//   64  4   u32 checksum of bytes 0..63, seeded with 0
//
// Entry (12 + n bytes), the before-image of the file header or of one page:
//   0    4  i32 page number; -1 for the file header (76 bytes at base)
//   4    4  i32 n: 76 for the file header; for a page the page size, or what
//           lay in the file when it ended inside the page
//   8    n  the bytes as they stood in the file (an enciphered page as stored)
//   8+n  4  u32 checksum of bytes 0 .. 8+n-1, seeded with the salt
//
// The checksum is JournalChecksum: fast enough to run over every page a
// commit writes, and it tells a torn or stale write from a whole one.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/os/OSFile.h"

inline constexpr std::string_view kJournalSignature = "VANTORJOURNAL001";
inline constexpr int32_t kJournalHeaderSize = 68;
inline constexpr int32_t kJournalEntryHeadSize = 8;
inline constexpr int32_t kJournalEntryTrailerSize = 4;
// The page number of the entry that holds the file header.
inline constexpr int32_t kJournalFileHeaderEntry = -1;

struct JournalHeader {
  uint32_t Salt = 0;
  int32_t PageSize = 0;
  int64_t HeaderOffset = 0;
  FileIdentity Database{};
  int32_t ChangeCounter = 0;
  int32_t PageCount = 0;
  int64_t FileSize = 0;

  friend bool operator==(const JournalHeader&, const JournalHeader&) = default;
};

struct JournalEntryHead {
  int32_t PageNo = 0;
  int32_t Length = 0;
};

std::string JournalFileName(const std::string& database_file_name);

void EncodeJournalHeader(const JournalHeader& header, std::span<uint8_t, kJournalHeaderSize> out);
// The header, or nullopt when the bytes are none: cleared, torn, of another
// file kind, or with a salt of 0.
std::optional<JournalHeader> DecodeJournalHeader(std::span<const uint8_t, kJournalHeaderSize> in);

void EncodeJournalEntryHead(const JournalEntryHead& head, std::span<uint8_t, kJournalEntryHeadSize> out);
JournalEntryHead DecodeJournalEntryHead(std::span<const uint8_t, kJournalEntryHeadSize> in);
// An entry whose head and image are in place (kJournalEntryHeadSize + its
// length + kJournalEntryTrailerSize bytes): writes its checksum.
void SealJournalEntry(uint32_t salt, uint8_t* entry);
// Whether the entry (head, `length` image bytes, checksum) is whole and of the journal of this salt.
bool IsJournalEntryIntact(uint32_t salt, const uint8_t* entry, int32_t length);

// A 32-bit checksum over 64-bit little-endian words in four lanes: each
// word is multiplied into its lane, the lanes are mixed together with the
// length and the tail bytes, and the result is folded to 32 bits.
uint32_t JournalChecksum(uint32_t seed, const uint8_t* bytes, int64_t size);
