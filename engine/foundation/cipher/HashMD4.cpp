#include "engine/foundation/cipher/HashMD4.h"

#include <cstring>

#include "engine/foundation/cipher/ByteUtil.h"

namespace {

constexpr std::array<uint32_t, 4> kInitialState = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476};

const THashClassInfo kMD4Class{"THash_MD4", [] { return std::unique_ptr<THash>(new THash_MD4()); }};

}  // namespace

THash_MD4::THash_MD4(std::shared_ptr<TProtection> linked) : THash(std::move(linked)) {
  BeginDigest();
}

THash_MD4::~THash_MD4() {
  SecureWipe(state_.data(), sizeof(state_));
  SecureWipe(buffer_.data(), buffer_.size());
}

THashClass THash_MD4::Class() {
  return &kMD4Class;
}

void THash_MD4::BeginDigest() {
  count_ = 0;
  state_.fill(0);
  std::copy(kInitialState.begin(), kInitialState.end(), state_.begin());
  for (size_t i = 0; i < state_.size() && i * 4 < digest_.size(); ++i) StoreLE32(&digest_[i * 4], state_[i]);
}

void THash_MD4::AddData(const void* buffer, size_t size) {
  const auto* p = static_cast<const uint8_t*>(buffer);
  size_t used = size_t(count_ % kBlockSize);
  count_ += size;
  if (used > 0) {
    const size_t n = std::min(size, kBlockSize - used);
    std::memcpy(&buffer_[used], p, n);
    p += n;
    size -= n;
    used += n;
    if (used < kBlockSize) return;
    HashBlock(buffer_.data());
  }
  for (; size >= kBlockSize; p += kBlockSize, size -= kBlockSize) HashBlock(p);
  if (size > 0) std::memcpy(buffer_.data(), p, size);
}

void THash_MD4::FinishDigest() {
  const uint64_t bit_count = count_ * 8;
  size_t used = size_t(count_ % kBlockSize);
  buffer_[used++] = 0x80;
  if (used > kBlockSize - 8) {
    std::fill(buffer_.begin() + used, buffer_.end(), 0);
    HashBlock(buffer_.data());
    used = 0;
  }
  std::fill(buffer_.begin() + used, buffer_.end() - 8, 0);
  StoreLE32(&buffer_[kBlockSize - 8], uint32_t(bit_count));
  StoreLE32(&buffer_[kBlockSize - 4], uint32_t(bit_count >> 32));
  HashBlock(buffer_.data());

  std::array<uint8_t, kMaxDigestSize> digest{};
  for (int32_t i = 0; i < DigestSize() / 4; ++i) StoreLE32(&digest[size_t(i) * 4], state_[size_t(i)]);
  BeginDigest();
  digest_ = digest;
  SecureWipe(digest.data(), digest.size());
  SecureWipe(buffer_.data(), buffer_.size());
}

void THash_MD4::HashBlock(const uint8_t* block) {
  uint32_t x[16];
  for (int i = 0; i < 16; ++i) x[i] = LoadLE32(block + 4 * i);
  uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];

  auto round1 = [&](uint32_t& v, uint32_t p, uint32_t q, uint32_t r, int k, int s) {
    v = RotateLeft32(v + ((p & q) | (~p & r)) + x[k], s);
  };
  auto round2 = [&](uint32_t& v, uint32_t p, uint32_t q, uint32_t r, int k, int s) {
    v = RotateLeft32(v + ((p & q) | (p & r) | (q & r)) + x[k] + 0x5A827999, s);
  };
  auto round3 = [&](uint32_t& v, uint32_t p, uint32_t q, uint32_t r, int k, int s) {
    v = RotateLeft32(v + (p ^ q ^ r) + x[k] + 0x6ED9EBA1, s);
  };
  for (int k = 0; k < 16; k += 4) {
    round1(a, b, c, d, k, 3);
    round1(d, a, b, c, k + 1, 7);
    round1(c, d, a, b, k + 2, 11);
    round1(b, c, d, a, k + 3, 19);
  }
  for (int k = 0; k < 4; ++k) {
    round2(a, b, c, d, k, 3);
    round2(d, a, b, c, k + 4, 5);
    round2(c, d, a, b, k + 8, 9);
    round2(b, c, d, a, k + 12, 13);
  }
  static constexpr int kRound3Order[4] = {0, 2, 1, 3};
  for (const int k : kRound3Order) {
    round3(a, b, c, d, k, 3);
    round3(d, a, b, c, k + 8, 9);
    round3(c, d, a, b, k + 4, 11);
    round3(b, c, d, a, k + 12, 15);
  }
  state_[0] += a;
  state_[1] += b;
  state_[2] += c;
  state_[3] += d;
}
