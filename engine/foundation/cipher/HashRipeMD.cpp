#include "engine/foundation/cipher/HashRipeMD.h"

#include "engine/foundation/cipher/ByteUtil.h"

namespace {

// Message word and rotation of each of the 64 steps, left and right line.
constexpr uint8_t kWordLeft[64] = {0, 1,  2,  3,  4,  5,  6,  7, 8,  9, 10, 11, 12, 13, 14, 15,
                                   7, 4,  13, 1,  10, 6,  15, 3, 12, 0, 9,  5,  2,  14, 11, 8,
                                   3, 10, 14, 4,  9,  15, 8,  1, 2,  7, 0,  6,  13, 11, 5,  12,
                                   1, 9,  11, 10, 0,  8,  12, 4, 13, 3, 7,  15, 14, 5,  6,  2};
constexpr uint8_t kWordRight[64] = {5,  14, 7, 0, 9, 2,  11, 4,  13, 6,  15, 8,  1,  10, 3,  12,
                                    6,  11, 3, 7, 0, 13, 5,  10, 14, 15, 8,  12, 4,  9,  1,  2,
                                    15, 5,  1, 3, 7, 14, 6,  9,  11, 8,  12, 2,  10, 0,  4,  13,
                                    8,  6,  4, 1, 3, 11, 15, 0,  5,  12, 2,  13, 9,  7,  10, 14};
constexpr uint8_t kShiftLeft[64] = {11, 14, 15, 12, 5,  8,  7,  9,  11, 13, 14, 15, 6,  7,  9,  8,
                                    7,  6,  8,  13, 11, 9,  7,  15, 7,  12, 15, 9,  11, 7,  13, 12,
                                    11, 13, 6,  7,  14, 9,  13, 15, 14, 8,  13, 6,  5,  12, 7,  5,
                                    11, 12, 14, 15, 14, 15, 9,  8,  9,  14, 5,  6,  8,  6,  5,  12};
constexpr uint8_t kShiftRight[64] = {8,  9,  9,  11, 13, 15, 15, 5,  7,  7,  8,  11, 14, 14, 12, 6,
                                     9,  13, 15, 7,  12, 8,  9,  11, 7,  7,  12, 7,  6,  15, 13, 11,
                                     9,  7,  15, 11, 8,  6,  6,  14, 12, 13, 5,  14, 13, 13, 7,  5,
                                     15, 5,  8,  11, 14, 14, 6,  14, 6,  9,  12, 9,  12, 5,  15, 8};
constexpr uint32_t kConstLeft[4] = {0x00000000, 0x5A827999, 0x6ED9EBA1, 0x8F1BBCDC};
constexpr uint32_t kConstRight[4] = {0x50A28BE6, 0x5C4DD124, 0x6D703EF3, 0x00000000};

constexpr uint32_t F(int round, uint32_t x, uint32_t y, uint32_t z) {
  switch (round) {
    case 0:
      return x ^ y ^ z;
    case 1:
      return (x & y) | (~x & z);
    case 2:
      return (x | ~y) ^ z;
    default:
      return (x & z) | (y & ~z);
  }
}

struct Line {
  uint32_t a, b, c, d;
};

// Steps 16 × round to 16 × round + 15 of both lines; the right line uses the
// boolean functions in reverse order.
void RunRound(int round, const uint32_t* x, Line& left, Line& right) {
  for (int j = 16 * round; j < 16 * round + 16; ++j) {
    uint32_t t = RotateLeft32(left.a + F(round, left.b, left.c, left.d) + x[kWordLeft[j]] + kConstLeft[round],
                              kShiftLeft[j]);
    left = {left.d, t, left.b, left.c};
    t = RotateLeft32(
        right.a + F(3 - round, right.b, right.c, right.d) + x[kWordRight[j]] + kConstRight[round],
        kShiftRight[j]);
    right = {right.d, t, right.b, right.c};
  }
}

void LoadWords(const uint8_t* block, uint32_t* x) {
  for (int i = 0; i < 16; ++i) x[i] = LoadLE32(block + 4 * i);
}

const THashClassInfo kRipeMD128Class{"THash_RipeMD128",
                                     [] { return std::unique_ptr<THash>(new THash_RipeMD128()); }};
const THashClassInfo kRipeMD256Class{"THash_RipeMD256",
                                     [] { return std::unique_ptr<THash>(new THash_RipeMD256()); }};

}  // namespace

THashClass THash_RipeMD128::Class() {
  return &kRipeMD128Class;
}

void THash_RipeMD128::HashBlock(const uint8_t* block) {
  uint32_t x[16];
  LoadWords(block, x);
  Line left{state_[0], state_[1], state_[2], state_[3]};
  Line right = left;
  for (int round = 0; round < 4; ++round) RunRound(round, x, left, right);
  const uint32_t t = state_[1] + left.c + right.d;
  state_[1] = state_[2] + left.d + right.a;
  state_[2] = state_[3] + left.a + right.b;
  state_[3] = state_[0] + left.b + right.c;
  state_[0] = t;
}

THash_RipeMD256::THash_RipeMD256(std::shared_ptr<TProtection> linked) : THash_MD4(std::move(linked)) {
  BeginDigest();
}

THashClass THash_RipeMD256::Class() {
  return &kRipeMD256Class;
}

void THash_RipeMD256::BeginDigest() {
  THash_MD4::BeginDigest();
  static constexpr uint32_t kRightInitial[4] = {0x76543210, 0xFEDCBA98, 0x89ABCDEF, 0x01234567};
  for (size_t i = 0; i < 4; ++i) {
    state_[4 + i] = kRightInitial[i];
    StoreLE32(&digest_[16 + 4 * i], kRightInitial[i]);
  }
}

// The two lines keep separate chaining words and trade one register after
// each round.
void THash_RipeMD256::HashBlock(const uint8_t* block) {
  uint32_t x[16];
  LoadWords(block, x);
  Line left{state_[0], state_[1], state_[2], state_[3]};
  Line right{state_[4], state_[5], state_[6], state_[7]};
  uint32_t Line::*const traded[4] = {&Line::a, &Line::b, &Line::c, &Line::d};
  for (int round = 0; round < 4; ++round) {
    RunRound(round, x, left, right);
    std::swap(left.*traded[round], right.*traded[round]);
  }
  state_[0] += left.a;
  state_[1] += left.b;
  state_[2] += left.c;
  state_[3] += left.d;
  state_[4] += right.a;
  state_[5] += right.b;
  state_[6] += right.c;
  state_[7] += right.d;
}
