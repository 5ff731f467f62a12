#include "engine/foundation/cipher/CipherDES.h"

#include <utility>

#include "engine/foundation/cipher/ByteUtil.h"

namespace {

// The tables of the standard; bit 1 is the most significant bit.
constexpr uint8_t kInitialPermutation[64] = {58, 50, 42, 34, 26, 18, 10, 2, 60, 52, 44, 36, 28, 20, 12, 4,
                                             62, 54, 46, 38, 30, 22, 14, 6, 64, 56, 48, 40, 32, 24, 16, 8,
                                             57, 49, 41, 33, 25, 17, 9,  1, 59, 51, 43, 35, 27, 19, 11, 3,
                                             61, 53, 45, 37, 29, 21, 13, 5, 63, 55, 47, 39, 31, 23, 15, 7};
constexpr uint8_t kPermutation[32] = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
                                      2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25};
constexpr uint8_t kSBoxes[8][64] = {
    {14, 4,  13, 1, 2,  15, 11, 8, 3, 10, 6, 12, 5,  9,  0,  7,  0,  15, 7,  4,  14, 2,
     13, 1,  10, 6, 12, 11, 9,  5, 3, 8,  4, 1,  14, 8,  13, 6,  2,  11, 15, 12, 9,  7,
     3,  10, 5,  0, 15, 12, 8,  2, 4, 9,  1, 7,  5,  11, 3,  14, 10, 0,  6,  13},
    {15, 1,  8,  14, 6,  11, 3,  4, 9,  7,  2, 13, 12, 0,  5,  10, 3,  13, 4,  7, 15, 2,
     8,  14, 12, 0,  1,  10, 6,  9, 11, 5,  0, 14, 7,  11, 10, 4,  13, 1,  5,  8, 12, 6,
     9,  3,  2,  15, 13, 8,  10, 1, 3,  15, 4, 2,  11, 6,  7,  12, 0,  5,  14, 9},
    {10, 0,  9,  14, 6, 3,  15, 5,  1,  13, 12, 7, 11, 4,  2,  8,  13, 7, 0,  9, 3, 4,
     6,  10, 2,  8,  5, 14, 12, 11, 15, 1,  13, 6, 4,  9,  8,  15, 3,  0, 11, 1, 2, 12,
     5,  10, 14, 7,  1, 10, 13, 0,  6,  9,  8,  7, 4,  15, 14, 3,  11, 5, 2,  12},
    {7, 13, 14, 3, 0, 6,  9, 10, 1,  2, 8,  5, 11, 12, 4,  15, 13, 8,  11, 5, 6, 15,
     0, 3,  4,  7, 2, 12, 1, 10, 14, 9, 10, 6, 9,  0,  12, 11, 7,  13, 15, 1, 3, 14,
     5, 2,  8,  4, 3, 15, 0, 6,  10, 1, 13, 8, 9,  4,  5,  11, 12, 7,  2,  14},
    {2,  12, 4, 1,  7,  10, 11, 6, 8, 5,  3, 15, 13, 0,  14, 9,  14, 11, 2,  12, 4,  7,
     13, 1,  5, 0,  15, 10, 3,  9, 8, 6,  4, 2,  1,  11, 10, 13, 7,  8,  15, 9,  12, 5,
     6,  3,  0, 14, 11, 8,  12, 7, 1, 14, 2, 13, 6,  15, 0,  9,  10, 4,  5,  3},
    {12, 1,  10, 15, 9,  2,  6, 8,  0, 13, 3,  4,  14, 7,  5, 11, 10, 15, 4, 2, 7, 12,
     9,  5,  6,  1,  13, 14, 0, 11, 3, 8,  9,  14, 15, 5,  2, 8,  12, 3,  7, 0, 4, 10,
     1,  13, 11, 6,  4,  3,  2, 12, 9, 5,  15, 10, 11, 14, 1, 7,  6,  0,  8, 13},
    {4, 11, 2,  14, 15, 0,  8,  13, 3, 12, 9,  7, 5,  10, 6,  1,  13, 0,  11, 7,  4, 9,
     1, 10, 14, 3,  5,  12, 2,  15, 8, 6,  1,  4, 11, 13, 12, 3,  7,  14, 10, 15, 6, 8,
     0, 5,  9,  2,  6,  11, 13, 8,  1, 4,  10, 7, 9,  5,  0,  15, 14, 2,  3,  12},
    {13, 2, 8,  4, 6, 15, 11, 1,  10, 9,  3, 14, 5,  0,  12, 7,  1,  15, 13, 8, 10, 3,
     7,  4, 12, 5, 6, 11, 0,  14, 9,  2,  7, 11, 4,  1,  9,  12, 14, 2,  0,  6, 10, 13,
     15, 3, 5,  8, 2, 1,  14, 7,  4,  10, 8, 13, 15, 12, 9,  0,  3,  5,  6,  11}};
constexpr uint8_t kPermutedChoice1[56] = {57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18,
                                          10, 2,  59, 51, 43, 35, 27, 19, 11, 3,  60, 52, 44, 36,
                                          63, 55, 47, 39, 31, 23, 15, 7,  62, 54, 46, 38, 30, 22,
                                          14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};
constexpr uint8_t kPermutedChoice2[48] = {14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10, 23, 19, 12, 4,
                                          26, 8,  16, 7,  27, 20, 13, 2,  41, 52, 31, 37, 47, 55, 30, 40,
                                          51, 45, 33, 48, 44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};
constexpr uint8_t kKeyShifts[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};

// Moves bit table[i] of an in_bits wide value to bit i + 1 of the result.
constexpr uint64_t Permute(uint64_t value, const uint8_t* table, int out_bits, int in_bits) {
  uint64_t result = 0;
  for (int i = 0; i < out_bits; ++i) result = result << 1 | ((value >> (in_bits - table[i])) & 1);
  return result;
}

// A 64-bit permutation as eight byte-indexed tables, so that it costs eight lookups.
using ByteTables = std::array<std::array<uint64_t, 256>, 8>;

constexpr ByteTables MakeByteTables(const uint8_t* table) {
  ByteTables t{};
  for (int j = 0; j < 8; ++j) {
    for (int v = 0; v < 256; ++v) t[j][v] = Permute(uint64_t(v) << (56 - 8 * j), table, 64, 64);
  }
  return t;
}

constexpr std::array<uint8_t, 64> InverseOf(const uint8_t* table) {
  std::array<uint8_t, 64> inverse{};
  for (int i = 0; i < 64; ++i) inverse[table[i] - 1] = uint8_t(i + 1);
  return inverse;
}

constexpr std::array<uint8_t, 64> kFinalPermutation = InverseOf(kInitialPermutation);
constexpr ByteTables kInitialTables = MakeByteTables(kInitialPermutation);
constexpr ByteTables kFinalTables = MakeByteTables(kFinalPermutation.data());

// S-box k followed by the permutation P, indexed by the 6-bit S-box input.
constexpr std::array<std::array<uint32_t, 64>, 8> MakeSpTables() {
  std::array<std::array<uint32_t, 64>, 8> t{};
  for (int k = 0; k < 8; ++k) {
    for (int v = 0; v < 64; ++v) {
      const int row = (v >> 4 & 2) | (v & 1);
      const int column = v >> 1 & 15;
      const uint64_t s = uint64_t(kSBoxes[k][row * 16 + column]) << (28 - 4 * k);
      t[k][v] = uint32_t(Permute(s, kPermutation, 32, 32));
    }
  }
  return t;
}

constexpr auto kSpTables = MakeSpTables();

uint64_t ApplyByteTables(const ByteTables& tables, uint64_t value) {
  uint64_t result = 0;
  for (int j = 0; j < 8; ++j) result |= tables[j][(value >> (56 - 8 * j)) & 255];
  return result;
}

// The round function: expansion E takes six bits around each nibble, so S-box
// k reads bits 4k .. 4k + 5 of the half block taken cyclically.
uint32_t RoundFunction(uint32_t r, const uint8_t* subkey) {
  uint32_t f = 0;
  for (int k = 0; k < 8; ++k) f ^= kSpTables[k][(std::rotl(r, 4 * k + 5) & 63) ^ subkey[k]];
  return f;
}

void MakeDesKey(const uint8_t* key, TDESKey& out) {
  const uint64_t cd = Permute(LoadBE64(key), kPermutedChoice1, 56, 64);
  constexpr uint32_t kMask28 = (1u << 28) - 1;
  uint32_t c = uint32_t(cd >> 28) & kMask28;
  uint32_t d = uint32_t(cd) & kMask28;
  for (int round = 0; round < 16; ++round) {
    const int shift = kKeyShifts[round];
    c = ((c << shift) | (c >> (28 - shift))) & kMask28;
    d = ((d << shift) | (d >> (28 - shift))) & kMask28;
    const uint64_t subkey = Permute(uint64_t(c) << 28 | d, kPermutedChoice2, 48, 56);
    for (int k = 0; k < 8; ++k) out.subkeys[round][k] = uint8_t(subkey >> (42 - 6 * k) & 63);
  }
}

// Trades the second and third 32-bit words of a 24-byte block.
void TradeMiddleWords(uint8_t* block) {
  for (int i = 4; i < 8; ++i) std::swap(block[i], block[i + 4]);
}

}  // namespace

TCipherClass TCipher_1DES::Class() {
  static const TCipherClassInfo info{
      "TCipher_1DES", {8, 8}, [] { return std::unique_ptr<TCipher>(new TCipher_1DES()); }};
  return &info;
}

TCipher_1DES::TCipher_1DES(std::shared_ptr<TProtection> protection)
    : TCipher_1DES(Class()->sizes, std::move(protection)) {}

TCipher_1DES::TCipher_1DES(TCipherSizes sizes, std::shared_ptr<TProtection> protection)
    : TCipher(sizes, std::move(protection)) {}

TCipher_1DES::~TCipher_1DES() {
  SecureWipe(keys_.data(), sizeof(keys_));
}

std::span<uint8_t> TCipher_1DES::KeySchedule() {
  return {reinterpret_cast<uint8_t*>(keys_.data()), sizeof(keys_)};
}

void TCipher_1DES::SetKeySchedule(const uint8_t* key, int32_t) {
  for (int i = 0; i < KeySize() / 8; ++i) MakeDesKey(key + 8 * i, keys_[size_t(i)]);
}

void TCipher_1DES::DesBlock(uint8_t* block, int key, bool decipher) const {
  const TDESKey& k = keys_[size_t(key)];
  const uint64_t x = ApplyByteTables(kInitialTables, LoadBE64(block));
  uint32_t left = uint32_t(x >> 32);
  uint32_t right = uint32_t(x);
  for (int round = 0; round < 16; ++round) {
    const uint32_t next = left ^ RoundFunction(right, k.subkeys[decipher ? 15 - round : round]);
    left = right;
    right = next;
  }
  StoreBE64(block, ApplyByteTables(kFinalTables, uint64_t(right) << 32 | left));
}

void TCipher_1DES::EncryptBlock(uint8_t* block) const {
  DesBlock(block, 0, false);
}
void TCipher_1DES::DecryptBlock(uint8_t* block) const {
  DesBlock(block, 0, true);
}

TCipherClass TCipher_3DES::Class() {
  static const TCipherClassInfo info{
      "TCipher_3DES", {8, 24}, [] { return std::unique_ptr<TCipher>(new TCipher_3DES()); }};
  return &info;
}

TCipher_3DES::TCipher_3DES(std::shared_ptr<TProtection> protection)
    : TCipher_1DES(Class()->sizes, std::move(protection)) {}

void TCipher_3DES::EncryptBlock(uint8_t* block) const {
  DesBlock(block, 0, false);
  DesBlock(block, 1, true);
  DesBlock(block, 2, false);
}

void TCipher_3DES::DecryptBlock(uint8_t* block) const {
  DesBlock(block, 2, true);
  DesBlock(block, 1, false);
  DesBlock(block, 0, true);
}

TCipherClass TCipher_3TDES::Class() {
  static const TCipherClassInfo info{
      "TCipher_3TDES", {24, 24}, [] { return std::unique_ptr<TCipher>(new TCipher_3TDES()); }};
  return &info;
}

TCipher_3TDES::TCipher_3TDES(std::shared_ptr<TProtection> protection)
    : TCipher_3DES(Class()->sizes, std::move(protection)) {}

void TCipher_3TDES::EncryptBlock(uint8_t* block) const {
  for (int i = 0; i < 24; i += 8) DesBlock(block + i, 0, false);
  TradeMiddleWords(block);
  for (int i = 0; i < 24; i += 8) DesBlock(block + i, 1, true);
  TradeMiddleWords(block);
  for (int i = 0; i < 24; i += 8) DesBlock(block + i, 2, false);
}

void TCipher_3TDES::DecryptBlock(uint8_t* block) const {
  for (int i = 0; i < 24; i += 8) DesBlock(block + i, 2, true);
  TradeMiddleWords(block);
  for (int i = 0; i < 24; i += 8) DesBlock(block + i, 1, false);
  TradeMiddleWords(block);
  for (int i = 0; i < 24; i += 8) DesBlock(block + i, 0, true);
}
