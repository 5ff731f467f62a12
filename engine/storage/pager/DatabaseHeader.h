#pragma once
// The bytes of a database file before its pages. Offsets are counted from the
// header offset `base`: 0 for an ordinary file, else where the signature was
// found inside a larger file.
//
//   offset  size  content
//   0       76    DatabaseFileHeader
//   76      280   DatabaseCryptoHeader (in every file, encrypted or not)
//   356     20    DatabaseLockBlock (its bytes 3 and 4 are lock bytes)
//   376     4     NextObjectID, i32 (its first byte is a lock byte)
//   380     ...   page n at 380 + n × page size
//
// DatabaseFileHeader (76 bytes):
//   0   16  signature "VANTORDATABASE00"
//   16  2   i16 header size, 76
//   18  8   f64 format version, 4.81
//   26  2   i16 page size
//   28  2   u16 PagesPerExtent
//   30  4   i32 PageCount
//   34  4   i32 LastUsedPage, -1 in a new file
//   38  4   i32 ChangeCounter
//   42  1   u8  DatabaseState: 1 commit being written, 2 consistent
//   43  1   u8  encrypted: 0xFF with a password, else 0
//   44  32  zero
//
// DatabaseCryptoHeader (280 bytes):
//   0   2   i16 block size, 280
//   2   1   u8  cipher algorithm 0..7
//   3   1   zero
//   4   256 password-check block, enciphered with the password
//   260 4   u32 CRC-32 of the check block before enciphering
//   264 16  zero
//
// DatabaseLockBlock (20 bytes): i16 block size 20, then 18 zero bytes.
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

inline constexpr std::string_view kDatabaseSignature = "VANTORDATABASE00";
inline constexpr int32_t kSignatureSize = 16;
inline constexpr double kDatabaseVersion = 4.81;
// Files below this version are of an old format and need conversion.
inline constexpr double kOldFormatVersion = 2.99;

inline constexpr int32_t kFileHeaderSize = 76;
inline constexpr int32_t kCryptoHeaderSize = 280;
inline constexpr int32_t kCheckBlockSize = 256;
inline constexpr int32_t kLockBlockSize = 20;
inline constexpr int32_t kLockBlockSizeFieldSize = 2;  // the part of the lock block that is ever read
inline constexpr int32_t kNextObjectIDSize = 4;

// The change counter and the state byte after it, which a multi-user reader
// reads alone, relative to the header.
inline constexpr int32_t kChangeCounterOffset = 38;
inline constexpr int32_t kDatabaseStateOffset = 42;
inline constexpr int32_t kCounterAndStateSize = 5;

// Default offsets from base, as in every file this engine creates.
inline constexpr int64_t kCryptoHeaderOffset = kFileHeaderSize;
inline constexpr int64_t kLockBlockOffset = kCryptoHeaderOffset + kCryptoHeaderSize;
inline constexpr int64_t kNextObjectIDOffset = kLockBlockOffset + kLockBlockSize;
inline constexpr int64_t kPagesOffset = kNextObjectIDOffset + kNextObjectIDSize;

// Lock bytes relative to the lock block and to NextObjectID.
inline constexpr int64_t kTablesLockByteInBlock = 3;
inline constexpr int64_t kHeaderLockByteInBlock = 4;

enum TVTRDatabaseState : uint8_t {
  dsCommitting = 1,
  dsConsistent = 2,
};

struct DatabaseFileHeader {
  std::array<uint8_t, kSignatureSize> Signature{};
  int16_t HeaderSize = 0;
  double Version = 0;
  int16_t PageSize = 0;
  uint16_t PagesPerExtent = 0;
  int32_t PageCount = 0;
  int32_t LastUsedPage = 0;
  int32_t ChangeCounter = 0;
  uint8_t DatabaseState = 0;
  bool Encrypted = false;

  // The header of a new, empty database.
  static DatabaseFileHeader NewDatabase();
  bool HasSignature() const;
  // The signature up to its first zero byte, for messages.
  std::string_view SignatureText() const;
};

void EncodeFileHeader(const DatabaseFileHeader& header, std::span<uint8_t, kFileHeaderSize> out);
DatabaseFileHeader DecodeFileHeader(std::span<const uint8_t, kFileHeaderSize> in);

struct DatabaseCryptoHeader {
  int16_t BlockSize = kCryptoHeaderSize;
  uint8_t Algorithm = 0;
  std::array<uint8_t, kCheckBlockSize> CheckBlock{};
  uint32_t CheckCRC = 0;
};

void EncodeCryptoHeader(const DatabaseCryptoHeader& header, std::span<uint8_t, kCryptoHeaderSize> out);
DatabaseCryptoHeader DecodeCryptoHeader(std::span<const uint8_t, kCryptoHeaderSize> in);

// The lock block's bytes are locked by other processes, so only its size
// field is ever read; the whole block is written once, when a file is created.
void EncodeLockBlock(std::span<uint8_t, kLockBlockSize> out);
int16_t DecodeLockBlockSize(std::span<const uint8_t, kLockBlockSizeFieldSize> in);
