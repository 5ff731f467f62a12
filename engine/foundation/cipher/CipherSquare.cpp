#include "engine/foundation/cipher/CipherSquare.h"

#include <utility>

#include "engine/foundation/cipher/ByteUtil.h"
#include "engine/foundation/cipher/GaloisField.h"

// A round is theta (each row times c(x) = 2 + x + x^2 + 3x^3 modulo x^4 + 1),
// gamma (the S-box on every byte), pi (transposition) and the key addition;
// the cipher is theta^-1 and the key addition of round key 0, then 8 rounds.
// With the linear layer folded into the round keys, a round is four lookups
// per row in tables that combine gamma and theta.

namespace {

constexpr uint16_t kPolynomial = 0x1F5;
constexpr uint8_t kTheta[4] = {0x02, 0x01, 0x01, 0x03};
constexpr uint8_t kInverseTheta[4] = {0x0E, 0x09, 0x0D, 0x0B};

// The S-box is the inverse in GF(2^8) followed by an affine map: output bit i
// is the parity of the inverse masked with kAffineRows[i], xored with 0xB1.
constexpr uint8_t kAffineRows[8] = {0x01, 0x03, 0x05, 0x0F, 0x1F, 0x3D, 0x7B, 0xD6};
constexpr uint8_t kAffineConstant = 0xB1;

struct Tables {
  std::array<uint8_t, 256> sbox{};
  std::array<uint8_t, 256> inverse_sbox{};
  // encrypt[j][x]: the row contribution of S(x) at position j after theta;
  // decrypt[j][x] the same for the inverse S-box and theta^-1.
  std::array<std::array<uint32_t, 256>, 4> encrypt{};
  std::array<std::array<uint32_t, 256>, 4> decrypt{};
};

// The word whose byte k is coefficient[k] × value.
constexpr uint32_t ScaledRow(const uint8_t* coefficient, uint8_t value) {
  uint32_t row = 0;
  for (int k = 0; k < 4; ++k) row |= uint32_t(GfMultiply(coefficient[k], value, kPolynomial)) << (8 * k);
  return row;
}

constexpr Tables MakeTables() {
  Tables t;
  for (int x = 0; x < 256; ++x) {
    const uint8_t inverse = GfInverse(uint8_t(x), kPolynomial);
    uint8_t s = 0;
    for (int bit = 0; bit < 8; ++bit)
      s |= uint8_t((std::popcount(uint8_t(inverse & kAffineRows[bit])) & 1) << bit);
    s ^= kAffineConstant;
    t.sbox[x] = s;
    t.inverse_sbox[s] = uint8_t(x);
  }
  for (int x = 0; x < 256; ++x) {
    const uint32_t e = ScaledRow(kTheta, t.sbox[x]);
    const uint32_t d = ScaledRow(kInverseTheta, t.inverse_sbox[x]);
    for (int j = 0; j < 4; ++j) {
      t.encrypt[j][x] = std::rotl(e, 8 * j);
      t.decrypt[j][x] = std::rotl(d, 8 * j);
    }
  }
  return t;
}

constexpr Tables kTables = MakeTables();

// theta on one row: the row polynomial times c(x) modulo x^4 + 1.
uint32_t ThetaRow(uint32_t row) {
  uint32_t result = 0;
  for (int j = 0; j < 4; ++j) result ^= std::rotl(ScaledRow(kTheta, uint8_t(row >> (8 * j))), 8 * j);
  return result;
}

// One table round: row i of the result takes column i of the state.
void TableRound(uint32_t* state, const std::array<std::array<uint32_t, 256>, 4>& t, const uint32_t* key) {
  uint32_t next[4];
  for (int i = 0; i < 4; ++i) {
    const int shift = 8 * i;
    next[i] = t[0][(state[0] >> shift) & 255] ^ t[1][(state[1] >> shift) & 255] ^
              t[2][(state[2] >> shift) & 255] ^ t[3][(state[3] >> shift) & 255] ^ key[i];
  }
  std::copy(next, next + 4, state);
}

// The last round: S-box (or inverse) on every byte and transposition.
void ByteRound(uint32_t* state, const std::array<uint8_t, 256>& box, const uint32_t* key) {
  uint32_t next[4];
  for (int i = 0; i < 4; ++i) {
    const int shift = 8 * i;
    next[i] =
        (uint32_t(box[(state[0] >> shift) & 255]) | uint32_t(box[(state[1] >> shift) & 255]) << 8 |
         uint32_t(box[(state[2] >> shift) & 255]) << 16 | uint32_t(box[(state[3] >> shift) & 255]) << 24) ^
        key[i];
  }
  std::copy(next, next + 4, state);
}

void Load(const uint8_t* block, uint32_t* state) {
  for (int i = 0; i < 4; ++i) state[i] = LoadLE32(block + 4 * i);
}

void Store(const uint32_t* state, uint8_t* block) {
  for (int i = 0; i < 4; ++i) StoreLE32(block + 4 * i, state[i]);
}

}  // namespace

TCipherClass TCipher_Square::Class() {
  static const TCipherClassInfo info{
      "TCipher_Square", {16, 16}, [] { return std::unique_ptr<TCipher>(new TCipher_Square()); }};
  return &info;
}

TCipher_Square::TCipher_Square(std::shared_ptr<TProtection> protection)
    : TCipher(Class()->sizes, std::move(protection)) {}

TCipher_Square::~TCipher_Square() {
  SecureWipe(&schedule_, sizeof(schedule_));
}

std::span<uint8_t> TCipher_Square::KeySchedule() {
  return {reinterpret_cast<uint8_t*>(&schedule_), sizeof(schedule_)};
}

// k[0] is the key; k[t] row 0 = k[t-1] row 0 xor the byte rotation of k[t-1]
// row 3 xor the round constant 2^(t-1), and each further row xors the row
// before it.
void TCipher_Square::SetKeySchedule(const uint8_t* key, int32_t) {
  std::array<RoundKey, kRounds + 1> k;
  Load(key, k[0].data());
  uint8_t constant = 1;
  for (int t = 1; t <= kRounds; ++t) {
    const RoundKey& p = k[size_t(t) - 1];
    RoundKey& n = k[size_t(t)];
    n[0] = p[0] ^ std::rotr(p[3], 8) ^ constant;
    n[1] = p[1] ^ n[0];
    n[2] = p[2] ^ n[1];
    n[3] = p[3] ^ n[2];
    constant = GfMultiply(constant, 2, kPolynomial);
  }
  auto theta = [](const RoundKey& key_rows) {
    return RoundKey{ThetaRow(key_rows[0]), ThetaRow(key_rows[1]), ThetaRow(key_rows[2]),
                    ThetaRow(key_rows[3])};
  };
  for (int t = 0; t < kRounds; ++t) schedule_.encrypt[size_t(t)] = theta(k[size_t(t)]);
  schedule_.encrypt[kRounds] = k[kRounds];
  for (int t = 0; t < kRounds; ++t) schedule_.decrypt[size_t(t)] = k[size_t(kRounds - t)];
  schedule_.decrypt[kRounds] = theta(k[0]);
  SecureWipe(k.data(), sizeof(k));
}

void TCipher_Square::EncryptBlock(uint8_t* block) const {
  const auto& k = schedule_.encrypt;
  uint32_t state[4];
  Load(block, state);
  for (int i = 0; i < 4; ++i) state[i] ^= k[0][size_t(i)];
  for (size_t t = 1; t < kRounds; ++t) TableRound(state, kTables.encrypt, k[t].data());
  ByteRound(state, kTables.sbox, k[kRounds].data());
  Store(state, block);
}

void TCipher_Square::DecryptBlock(uint8_t* block) const {
  const auto& k = schedule_.decrypt;
  uint32_t state[4];
  Load(block, state);
  for (int i = 0; i < 4; ++i) state[i] ^= k[0][size_t(i)];
  for (size_t t = 1; t < kRounds; ++t) TableRound(state, kTables.decrypt, k[t].data());
  ByteRound(state, kTables.inverse_sbox, k[kRounds].data());
  Store(state, block);
}
