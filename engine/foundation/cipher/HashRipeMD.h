#pragma once
// RIPEMD-128 and RIPEMD-256: MD4's buffering and padding with the RIPEMD
// compression. The engine derives cipher keys from passwords with them.
#include "engine/foundation/cipher/HashMD4.h"

class THash_RipeMD128 : public THash_MD4 {
 public:
  using THash_MD4::THash_MD4;
  static THashClass Class();
  THashClass ClassType() const override { return Class(); }

 protected:
  void HashBlock(const uint8_t* block) override;
};

class THash_RipeMD256 : public THash_MD4 {
 public:
  explicit THash_RipeMD256(std::shared_ptr<TProtection> linked = nullptr);
  static THashClass Class();
  THashClass ClassType() const override { return Class(); }

  void BeginDigest() override;
  int32_t DigestSize() const override { return 32; }

 protected:
  void HashBlock(const uint8_t* block) override;
};
