#include "engine/foundation/CRC32.h"

#include <array>
#include <cstddef>

namespace {

// Slicing by eight: table k gives the CRC of a byte followed by k zero bytes,
// so eight bytes are folded with eight look-ups and no per-byte dependency.
using CRCTables = std::array<std::array<uint32_t, 256>, 8>;

constexpr CRCTables MakeTables() {
  CRCTables tables{};
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n;
    for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    tables[0][n] = c;
  }
  for (uint32_t n = 0; n < 256; ++n) {
    for (size_t k = 1; k < 8; ++k)
      tables[k][n] = (tables[k - 1][n] >> 8) ^ tables[0][tables[k - 1][n] & 0xFF];
  }
  return tables;
}

constexpr CRCTables kTables = MakeTables();

uint32_t LoadLittleEndian32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

}  // namespace

uint32_t CalcCRC32(uint32_t crc, const void* buffer, int64_t size) {
  if (buffer == nullptr || size <= 0) return crc;
  const auto* p = static_cast<const uint8_t*>(buffer);
  const uint8_t* const end = p + size;
  while (end - p >= 8) {
    const uint32_t low = LoadLittleEndian32(p) ^ crc;
    const uint32_t high = LoadLittleEndian32(p + 4);
    crc = kTables[7][low & 0xFF] ^ kTables[6][(low >> 8) & 0xFF] ^ kTables[5][(low >> 16) & 0xFF] ^
          kTables[4][low >> 24] ^ kTables[3][high & 0xFF] ^ kTables[2][(high >> 8) & 0xFF] ^
          kTables[1][(high >> 16) & 0xFF] ^ kTables[0][high >> 24];
    p += 8;
  }
  while (p < end) crc = (crc >> 8) ^ kTables[0][(crc ^ *p++) & 0xFF];
  return crc;
}
