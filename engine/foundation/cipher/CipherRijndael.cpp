#include "engine/foundation/cipher/CipherRijndael.h"

#include <array>

#include "engine/foundation/cipher/ByteUtil.h"
#include "engine/foundation/cipher/GaloisField.h"

namespace {

constexpr uint16_t kPolynomial = 0x11B;

// Round tables of the 32-bit formulation: state columns are big-endian words;
// encrypt[k] and decrypt[k] are the first table rotated right by 8k bits.
struct Tables {
  std::array<uint8_t, 256> sbox{};
  std::array<uint8_t, 256> inverse_sbox{};
  std::array<std::array<uint32_t, 256>, 4> encrypt{};
  std::array<std::array<uint32_t, 256>, 4> decrypt{};
};

constexpr uint8_t RotateLeft8(uint8_t v, int n) {
  return uint8_t(v << n | v >> (8 - n));
}

constexpr Tables MakeTables() {
  Tables t;
  for (int x = 0; x < 256; ++x) {
    const uint8_t b = GfInverse(uint8_t(x), kPolynomial);
    const uint8_t s =
        b ^ RotateLeft8(b, 1) ^ RotateLeft8(b, 2) ^ RotateLeft8(b, 3) ^ RotateLeft8(b, 4) ^ 0x63;
    t.sbox[x] = s;
    t.inverse_sbox[s] = uint8_t(x);
  }
  for (int x = 0; x < 256; ++x) {
    const uint8_t s = t.sbox[x];
    const uint8_t i = t.inverse_sbox[x];
    uint32_t e = uint32_t(GfMultiply(s, 2, kPolynomial)) << 24 | uint32_t(s) << 16 | uint32_t(s) << 8 |
                 GfMultiply(s, 3, kPolynomial);
    uint32_t d = uint32_t(GfMultiply(i, 14, kPolynomial)) << 24 |
                 uint32_t(GfMultiply(i, 9, kPolynomial)) << 16 |
                 uint32_t(GfMultiply(i, 13, kPolynomial)) << 8 | GfMultiply(i, 11, kPolynomial);
    for (int k = 0; k < 4; ++k) {
      t.encrypt[k][x] = e;
      t.decrypt[k][x] = d;
      e = e >> 8 | e << 24;
      d = d >> 8 | d << 24;
    }
  }
  return t;
}

constexpr Tables kTables = MakeTables();
constexpr const auto& S = kTables.sbox;
constexpr const auto& Si = kTables.inverse_sbox;
constexpr const auto& Te = kTables.encrypt;
constexpr const auto& Td = kTables.decrypt;

uint32_t SubWord(uint32_t w) {
  return uint32_t(S[w >> 24]) << 24 | uint32_t(S[(w >> 16) & 255]) << 16 | uint32_t(S[(w >> 8) & 255]) << 8 |
         S[w & 255];
}

uint32_t InverseMixColumn(uint32_t w) {
  return Td[0][S[w >> 24]] ^ Td[1][S[(w >> 16) & 255]] ^ Td[2][S[(w >> 8) & 255]] ^ Td[3][S[w & 255]];
}

}  // namespace

TCipherClass TCipher_Rijndael::Class() {
  static const TCipherClassInfo info{
      "TCipher_Rijndael", {16, 32}, [] { return std::unique_ptr<TCipher>(new TCipher_Rijndael()); }};
  return &info;
}

TCipher_Rijndael::TCipher_Rijndael(std::shared_ptr<TProtection> protection)
    : TCipher(Class()->sizes, std::move(protection)) {}

TCipher_Rijndael::~TCipher_Rijndael() {
  SecureWipe(&schedule_, sizeof(schedule_));
}

std::span<uint8_t> TCipher_Rijndael::KeySchedule() {
  return {reinterpret_cast<uint8_t*>(&schedule_), sizeof(schedule_)};
}

void TCipher_Rijndael::SetKeySchedule(const uint8_t* key, int32_t length) {
  const int key_words = length <= 16 ? 4 : length <= 24 ? 6 : 8;
  rounds_ = key_words + 6;
  const int total = 4 * (rounds_ + 1);
  uint32_t* w = schedule_.encrypt;
  for (int i = 0; i < key_words; ++i) w[i] = LoadBE32(key + 4 * i);
  uint32_t round_constant = 1;
  for (int i = key_words; i < total; ++i) {
    uint32_t t = w[i - 1];
    if (i % key_words == 0) {
      t = SubWord(t << 8 | t >> 24) ^ round_constant << 24;
      round_constant = GfMultiply(uint8_t(round_constant), 2, kPolynomial);
    } else if (key_words > 6 && i % key_words == 4) {
      t = SubWord(t);
    }
    w[i] = w[i - key_words] ^ t;
  }
  // The equivalent inverse cipher: round keys in reverse order, the inner
  // ones passed through InvMixColumns.
  uint32_t* d = schedule_.decrypt;
  for (int r = 0; r <= rounds_; ++r) {
    for (int c = 0; c < 4; ++c) {
      const uint32_t k = w[4 * (rounds_ - r) + c];
      d[4 * r + c] = (r == 0 || r == rounds_) ? k : InverseMixColumn(k);
    }
  }
}

void TCipher_Rijndael::EncryptBlock(uint8_t* block) const {
  const uint32_t* k = schedule_.encrypt;
  uint32_t s0 = LoadBE32(block) ^ k[0];
  uint32_t s1 = LoadBE32(block + 4) ^ k[1];
  uint32_t s2 = LoadBE32(block + 8) ^ k[2];
  uint32_t s3 = LoadBE32(block + 12) ^ k[3];
  for (int r = 1; r < rounds_; ++r) {
    k += 4;
    const uint32_t t0 =
        Te[0][s0 >> 24] ^ Te[1][(s1 >> 16) & 255] ^ Te[2][(s2 >> 8) & 255] ^ Te[3][s3 & 255] ^ k[0];
    const uint32_t t1 =
        Te[0][s1 >> 24] ^ Te[1][(s2 >> 16) & 255] ^ Te[2][(s3 >> 8) & 255] ^ Te[3][s0 & 255] ^ k[1];
    const uint32_t t2 =
        Te[0][s2 >> 24] ^ Te[1][(s3 >> 16) & 255] ^ Te[2][(s0 >> 8) & 255] ^ Te[3][s1 & 255] ^ k[2];
    const uint32_t t3 =
        Te[0][s3 >> 24] ^ Te[1][(s0 >> 16) & 255] ^ Te[2][(s1 >> 8) & 255] ^ Te[3][s2 & 255] ^ k[3];
    s0 = t0;
    s1 = t1;
    s2 = t2;
    s3 = t3;
  }
  k += 4;
  auto last = [](uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
    return uint32_t(S[a >> 24]) << 24 | uint32_t(S[(b >> 16) & 255]) << 16 |
           uint32_t(S[(c >> 8) & 255]) << 8 | S[d & 255];
  };
  StoreBE32(block, last(s0, s1, s2, s3) ^ k[0]);
  StoreBE32(block + 4, last(s1, s2, s3, s0) ^ k[1]);
  StoreBE32(block + 8, last(s2, s3, s0, s1) ^ k[2]);
  StoreBE32(block + 12, last(s3, s0, s1, s2) ^ k[3]);
}

void TCipher_Rijndael::DecryptBlock(uint8_t* block) const {
  const uint32_t* k = schedule_.decrypt;
  uint32_t s0 = LoadBE32(block) ^ k[0];
  uint32_t s1 = LoadBE32(block + 4) ^ k[1];
  uint32_t s2 = LoadBE32(block + 8) ^ k[2];
  uint32_t s3 = LoadBE32(block + 12) ^ k[3];
  for (int r = 1; r < rounds_; ++r) {
    k += 4;
    const uint32_t t0 =
        Td[0][s0 >> 24] ^ Td[1][(s3 >> 16) & 255] ^ Td[2][(s2 >> 8) & 255] ^ Td[3][s1 & 255] ^ k[0];
    const uint32_t t1 =
        Td[0][s1 >> 24] ^ Td[1][(s0 >> 16) & 255] ^ Td[2][(s3 >> 8) & 255] ^ Td[3][s2 & 255] ^ k[1];
    const uint32_t t2 =
        Td[0][s2 >> 24] ^ Td[1][(s1 >> 16) & 255] ^ Td[2][(s0 >> 8) & 255] ^ Td[3][s3 & 255] ^ k[2];
    const uint32_t t3 =
        Td[0][s3 >> 24] ^ Td[1][(s2 >> 16) & 255] ^ Td[2][(s1 >> 8) & 255] ^ Td[3][s0 & 255] ^ k[3];
    s0 = t0;
    s1 = t1;
    s2 = t2;
    s3 = t3;
  }
  k += 4;
  auto last = [](uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
    return uint32_t(Si[a >> 24]) << 24 | uint32_t(Si[(b >> 16) & 255]) << 16 |
           uint32_t(Si[(c >> 8) & 255]) << 8 | Si[d & 255];
  };
  StoreBE32(block, last(s0, s3, s2, s1) ^ k[0]);
  StoreBE32(block + 4, last(s1, s0, s3, s2) ^ k[1]);
  StoreBE32(block + 8, last(s2, s1, s0, s3) ^ k[2]);
  StoreBE32(block + 12, last(s3, s2, s1, s0) ^ k[3]);
}
