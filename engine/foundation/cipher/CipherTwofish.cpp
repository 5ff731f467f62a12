#include "engine/foundation/cipher/CipherTwofish.h"

#include <utility>

#include "engine/foundation/cipher/ByteUtil.h"
#include "engine/foundation/cipher/GaloisField.h"

namespace {

constexpr uint16_t kMdsPolynomial = 0x169;
constexpr uint16_t kRsPolynomial = 0x14D;

// The 4-bit permutations from which q0 and q1 are built.
constexpr uint8_t kQ0Nibbles[4][16] = {
    {0x8, 0x1, 0x7, 0xD, 0x6, 0xF, 0x3, 0x2, 0x0, 0xB, 0x5, 0x9, 0xE, 0xC, 0xA, 0x4},
    {0xE, 0xC, 0xB, 0x8, 0x1, 0x2, 0x3, 0x5, 0xF, 0x4, 0xA, 0x6, 0x7, 0x0, 0x9, 0xD},
    {0xB, 0xA, 0x5, 0xE, 0x6, 0xD, 0x9, 0x0, 0xC, 0x8, 0xF, 0x3, 0x2, 0x4, 0x7, 0x1},
    {0xD, 0x7, 0xF, 0x4, 0x1, 0x2, 0x6, 0xE, 0x9, 0xB, 0x3, 0x0, 0x8, 0x5, 0xC, 0xA}};
constexpr uint8_t kQ1Nibbles[4][16] = {
    {0x2, 0x8, 0xB, 0xD, 0xF, 0x7, 0x6, 0xE, 0x3, 0x1, 0x9, 0x4, 0x0, 0xA, 0xC, 0x5},
    {0x1, 0xE, 0x2, 0xB, 0x4, 0xC, 0x3, 0x7, 0x6, 0xD, 0xA, 0x5, 0xF, 0x9, 0x0, 0x8},
    {0x4, 0xC, 0x7, 0x5, 0x1, 0x6, 0x9, 0xA, 0x0, 0xE, 0xD, 0x8, 0x2, 0xB, 0x3, 0xF},
    {0xB, 0x9, 0x5, 0x1, 0xC, 0x3, 0xD, 0xE, 0x6, 0x4, 0x7, 0xF, 0x2, 0x0, 0x8, 0xA}};

constexpr uint8_t kMds[4][4] = {
    {0x01, 0xEF, 0x5B, 0x5B}, {0x5B, 0xEF, 0xEF, 0x01}, {0xEF, 0x5B, 0x01, 0xEF}, {0xEF, 0x01, 0xEF, 0x5B}};
constexpr uint8_t kRs[4][8] = {{0x01, 0xA4, 0x55, 0x87, 0x5A, 0x58, 0xDB, 0x9E},
                               {0xA4, 0x56, 0x82, 0xF3, 0x1E, 0xC6, 0x68, 0xE5},
                               {0x02, 0xA1, 0xFC, 0xC1, 0x47, 0xAE, 0x3D, 0x19},
                               {0xA4, 0x55, 0x87, 0x5A, 0x58, 0xDB, 0x9E, 0x03}};

constexpr uint8_t RotateRight4(uint8_t x) {
  return uint8_t(((x >> 1) | (x << 3)) & 15);
}

constexpr std::array<uint8_t, 256> MakeQ(const uint8_t (&t)[4][16]) {
  std::array<uint8_t, 256> q{};
  for (int x = 0; x < 256; ++x) {
    uint8_t a = uint8_t(x >> 4), b = uint8_t(x & 15);
    for (int stage = 0; stage < 2; ++stage) {
      const uint8_t a1 = a ^ b;
      const uint8_t b1 = uint8_t(a ^ RotateRight4(b) ^ ((8 * a) & 15));
      a = t[2 * stage][a1];
      b = t[2 * stage + 1][b1];
    }
    q[x] = uint8_t(b << 4 | a);
  }
  return q;
}

constexpr std::array<uint8_t, 256> kQ0 = MakeQ(kQ0Nibbles);
constexpr std::array<uint8_t, 256> kQ1 = MakeQ(kQ1Nibbles);

// Which permutation each byte position passes through at each stage of h,
// from the stage applied first (only with a 256-bit key) to the last.
constexpr const std::array<uint8_t, 256>* kQOrder[5][4] = {{&kQ1, &kQ0, &kQ0, &kQ1},
                                                           {&kQ1, &kQ1, &kQ0, &kQ0},
                                                           {&kQ0, &kQ1, &kQ0, &kQ1},
                                                           {&kQ0, &kQ0, &kQ1, &kQ1},
                                                           {&kQ1, &kQ0, &kQ1, &kQ0}};

uint8_t Byte(uint32_t word, int i) {
  return uint8_t(word >> (8 * i));
}

// Byte i of x through the q-permutations keyed by the words l[0..k).
uint8_t SBoxByte(uint8_t x, int i, const uint32_t* l, int k) {
  for (int stage = 4 - k, j = k - 1; j >= 0; ++stage, --j) x = (*kQOrder[stage][i])[x] ^ Byte(l[j], i);
  return (*kQOrder[4][i])[x];
}

// Column i of the MDS matrix times y, as a little-endian word.
uint32_t MdsColumn(uint8_t y, int i) {
  uint32_t z = 0;
  for (int row = 0; row < 4; ++row) z |= uint32_t(GfMultiply(kMds[row][i], y, kMdsPolynomial)) << (8 * row);
  return z;
}

uint32_t H(uint32_t x, const uint32_t* l, int k) {
  uint32_t z = 0;
  for (int i = 0; i < 4; ++i) z ^= MdsColumn(SBoxByte(Byte(x, i), i, l, k), i);
  return z;
}

// The Reed-Solomon code of eight key bytes.
uint32_t RsWord(const uint8_t* key) {
  uint32_t s = 0;
  for (int row = 0; row < 4; ++row) {
    uint8_t v = 0;
    for (int j = 0; j < 8; ++j) v ^= GfMultiply(kRs[row][j], key[j], kRsPolynomial);
    s |= uint32_t(v) << (8 * row);
  }
  return s;
}

}  // namespace

TCipherClass TCipher_Twofish::Class() {
  static const TCipherClassInfo info{
      "TCipher_Twofish", {16, 32}, [] { return std::unique_ptr<TCipher>(new TCipher_Twofish()); }};
  return &info;
}

TCipher_Twofish::TCipher_Twofish(std::shared_ptr<TProtection> protection)
    : TCipher(Class()->sizes, std::move(protection)) {}

TCipher_Twofish::~TCipher_Twofish() {
  SecureWipe(&schedule_, sizeof(schedule_));
}

std::span<uint8_t> TCipher_Twofish::KeySchedule() {
  return {reinterpret_cast<uint8_t*>(&schedule_), sizeof(schedule_)};
}

void TCipher_Twofish::SetKeySchedule(const uint8_t* key, int32_t length) {
  const int k = length <= 16 ? 2 : length <= 24 ? 3 : 4;
  uint32_t even[4], odd[4], sbox_keys[4];
  for (int i = 0; i < k; ++i) {
    even[i] = LoadLE32(key + 8 * i);
    odd[i] = LoadLE32(key + 8 * i + 4);
    sbox_keys[k - 1 - i] = RsWord(key + 8 * i);
  }
  constexpr uint32_t kRho = 0x01010101;
  for (uint32_t i = 0; i < 20; ++i) {
    const uint32_t a = H(2 * i * kRho, even, k);
    const uint32_t b = RotateLeft32(H((2 * i + 1) * kRho, odd, k), 8);
    schedule_.subkeys[2 * i] = a + b;
    schedule_.subkeys[2 * i + 1] = RotateLeft32(a + 2 * b, 9);
  }
  for (int i = 0; i < 4; ++i) {
    for (int x = 0; x < 256; ++x) {
      schedule_.sbox_mds[size_t(i)][size_t(x)] = MdsColumn(SBoxByte(uint8_t(x), i, sbox_keys, k), i);
    }
  }
  SecureWipe(even, sizeof(even));
  SecureWipe(odd, sizeof(odd));
  SecureWipe(sbox_keys, sizeof(sbox_keys));
}

inline uint32_t TCipher_Twofish::G(uint32_t x) const {
  const auto& s = schedule_.sbox_mds;
  return s[0][x & 255] ^ s[1][(x >> 8) & 255] ^ s[2][(x >> 16) & 255] ^ s[3][x >> 24];
}

void TCipher_Twofish::EncryptBlock(uint8_t* block) const {
  const auto& k = schedule_.subkeys;
  uint32_t x0 = LoadLE32(block) ^ k[0];
  uint32_t x1 = LoadLE32(block + 4) ^ k[1];
  uint32_t x2 = LoadLE32(block + 8) ^ k[2];
  uint32_t x3 = LoadLE32(block + 12) ^ k[3];
  for (size_t r = 0; r < 16; r += 2) {
    uint32_t t0 = G(x0);
    uint32_t t1 = G(RotateLeft32(x1, 8));
    x2 = RotateRight32(x2 ^ (t0 + t1 + k[8 + 2 * r]), 1);
    x3 = RotateLeft32(x3, 1) ^ (t0 + 2 * t1 + k[9 + 2 * r]);
    t0 = G(x2);
    t1 = G(RotateLeft32(x3, 8));
    x0 = RotateRight32(x0 ^ (t0 + t1 + k[10 + 2 * r]), 1);
    x1 = RotateLeft32(x1, 1) ^ (t0 + 2 * t1 + k[11 + 2 * r]);
  }
  StoreLE32(block, x2 ^ k[4]);
  StoreLE32(block + 4, x3 ^ k[5]);
  StoreLE32(block + 8, x0 ^ k[6]);
  StoreLE32(block + 12, x1 ^ k[7]);
}

void TCipher_Twofish::DecryptBlock(uint8_t* block) const {
  const auto& k = schedule_.subkeys;
  uint32_t x2 = LoadLE32(block) ^ k[4];
  uint32_t x3 = LoadLE32(block + 4) ^ k[5];
  uint32_t x0 = LoadLE32(block + 8) ^ k[6];
  uint32_t x1 = LoadLE32(block + 12) ^ k[7];
  for (size_t r = 16; r > 0;) {
    r -= 2;
    uint32_t t0 = G(x2);
    uint32_t t1 = G(RotateLeft32(x3, 8));
    x0 = RotateLeft32(x0, 1) ^ (t0 + t1 + k[10 + 2 * r]);
    x1 = RotateRight32(x1 ^ (t0 + 2 * t1 + k[11 + 2 * r]), 1);
    t0 = G(x0);
    t1 = G(RotateLeft32(x1, 8));
    x2 = RotateLeft32(x2, 1) ^ (t0 + t1 + k[8 + 2 * r]);
    x3 = RotateRight32(x3 ^ (t0 + 2 * t1 + k[9 + 2 * r]), 1);
  }
  StoreLE32(block, x0 ^ k[0]);
  StoreLE32(block + 4, x1 ^ k[1]);
  StoreLE32(block + 8, x2 ^ k[2]);
  StoreLE32(block + 12, x3 ^ k[3]);
}
