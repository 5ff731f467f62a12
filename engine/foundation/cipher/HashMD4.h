#pragma once
// MD4 (RFC 1320) and the block buffering, padding and little-endian digest
// that the RIPEMD hashes share with it. The message length is counted in 64
// bits, so any input size gives the published digest.
#include <array>
#include <cstdint>

#include "engine/foundation/cipher/Hash.h"

class THash_MD4 : public THash {
 public:
  static constexpr size_t kBlockSize = 64;

  explicit THash_MD4(std::shared_ptr<TProtection> linked = nullptr);
  ~THash_MD4() override;

  static THashClass Class();
  THashClass ClassType() const override { return Class(); }

  void BeginDigest() override;
  void AddData(const void* buffer, size_t size) override;
  void FinishDigest() override;
  int32_t DigestSize() const override { return 16; }

 protected:
  // Compresses one 64-byte block into state_.
  virtual void HashBlock(const uint8_t* block);

  // Chaining words; DigestSize / 4 of them are in use.
  std::array<uint32_t, 10> state_{};

 private:
  uint64_t count_ = 0;
  std::array<uint8_t, kBlockSize> buffer_{};
};
