#pragma once
// The bytes of a database's journal, the file "<database file name>-journal"
// beside it: the before-images of what a commit overwrites in place, so that
// a commit cut short can be put back (TVTRJournal, TVTRDiskPageManager). The
// layout, field by field, is in doc/file-format.md (Journal): a 68-byte
// header (signature, salt, the database's page size, header offset, device,
// inode, change counter, page count and file size at the commit's start,
// checksum), then entries (page number, -1 for the file header; length;
// the bytes; a checksum seeded with the salt) up to the first that is not
// intact.
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
