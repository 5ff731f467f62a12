#include "engine/storage/pager/DatabaseHeader.h"

#include <algorithm>
#include <cstring>

#include "engine/storage/pager/ByteOrder.h"

DatabaseFileHeader DatabaseFileHeader::NewDatabase() {
  DatabaseFileHeader header;
  std::copy(kDatabaseSignature.begin(), kDatabaseSignature.end(), header.Signature.begin());
  header.HeaderSize = kFileHeaderSize;
  header.Version = kDatabaseVersion;
  header.PageCount = 0;
  header.LastUsedPage = -1;
  header.DatabaseState = dsConsistent;
  return header;
}

bool DatabaseFileHeader::HasSignature() const {
  return std::equal(kDatabaseSignature.begin(), kDatabaseSignature.end(), Signature.begin());
}

std::string_view DatabaseFileHeader::SignatureText() const {
  const auto* text = reinterpret_cast<const char*>(Signature.data());
  return std::string_view(text, strnlen(text, Signature.size()));
}

void EncodeFileHeader(const DatabaseFileHeader& header, std::span<uint8_t, kFileHeaderSize> out) {
  uint8_t* p = out.data();
  std::fill(out.begin(), out.end(), 0);
  std::copy(header.Signature.begin(), header.Signature.end(), p);
  StoreI16(p + 16, header.HeaderSize);
  StoreF64(p + 18, header.Version);
  StoreI16(p + 26, header.PageSize);
  StoreU16(p + 28, header.PagesPerExtent);
  StoreI32(p + 30, header.PageCount);
  StoreI32(p + 34, header.LastUsedPage);
  StoreI32(p + kChangeCounterOffset, header.ChangeCounter);
  p[kDatabaseStateOffset] = header.DatabaseState;
  StoreBool(p + 43, header.Encrypted);
}

DatabaseFileHeader DecodeFileHeader(std::span<const uint8_t, kFileHeaderSize> in) {
  const uint8_t* p = in.data();
  DatabaseFileHeader header;
  std::copy(p, p + kSignatureSize, header.Signature.begin());
  header.HeaderSize = LoadI16(p + 16);
  header.Version = LoadF64(p + 18);
  header.PageSize = LoadI16(p + 26);
  header.PagesPerExtent = LoadU16(p + 28);
  header.PageCount = LoadI32(p + 30);
  header.LastUsedPage = LoadI32(p + 34);
  header.ChangeCounter = LoadI32(p + kChangeCounterOffset);
  header.DatabaseState = p[kDatabaseStateOffset];
  header.Encrypted = LoadBool(p + 43);
  return header;
}

void EncodeCryptoHeader(const DatabaseCryptoHeader& header, std::span<uint8_t, kCryptoHeaderSize> out) {
  uint8_t* p = out.data();
  std::fill(out.begin(), out.end(), 0);
  StoreI16(p, header.BlockSize);
  p[2] = header.Algorithm;
  std::copy(header.CheckBlock.begin(), header.CheckBlock.end(), p + 4);
  StoreU32(p + 260, header.CheckCRC);
}

DatabaseCryptoHeader DecodeCryptoHeader(std::span<const uint8_t, kCryptoHeaderSize> in) {
  const uint8_t* p = in.data();
  DatabaseCryptoHeader header;
  header.BlockSize = LoadI16(p);
  header.Algorithm = p[2];
  std::copy(p + 4, p + 4 + kCheckBlockSize, header.CheckBlock.begin());
  header.CheckCRC = LoadU32(p + 260);
  return header;
}

void EncodeLockBlock(std::span<uint8_t, kLockBlockSize> out) {
  std::fill(out.begin(), out.end(), 0);
  StoreI16(out.data(), kLockBlockSize);
}

int16_t DecodeLockBlockSize(std::span<const uint8_t, kLockBlockSizeFieldSize> in) {
  return LoadI16(in.data());
}
