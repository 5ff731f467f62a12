#pragma once
// THash: the base of the engine's message digests. A digest is begun, fed with
// AddData and finished; FinishDigest leaves the result in DigestBytes and the
// hash begun again, ready for the next message.
#include <array>
#include <memory>
#include <string_view>

#include "engine/foundation/cipher/Protection.h"

class THash;

// Stands for a hash class: its name and how to make one.
struct THashClassInfo {
  std::string_view class_name;
  std::unique_ptr<THash> (*create)();
};
using THashClass = const THashClassInfo*;

class THash : public TProtection {
 public:
  static constexpr int32_t kMaxDigestSize = 32;

  using TProtection::TProtection;
  // Overwrites the digest with zeros.
  ~THash() override;

  virtual THashClass ClassType() const = 0;
  std::string_view ClassName() const override { return ClassType()->class_name; }

  virtual void BeginDigest() = 0;
  virtual void AddData(const void* buffer, size_t size) = 0;
  virtual void FinishDigest() = 0;
  // DigestSize bytes: after BeginDigest the initial state, after FinishDigest
  // the digest. Writable, so that key material can be overwritten in place.
  uint8_t* DigestBytes() { return digest_.data(); }
  virtual int32_t DigestSize() const = 0;

  // In a pass a hash works on a chunk after its linked protection (before it
  // when deciphering). Digest passes add the data and finish at the end;
  // scramble and wipe passes overwrite each digest-sized piece with the digest
  // of that piece; encipher and decipher passes xor each piece with the next
  // digest of a chain of digests. The end of any other than a digest pass
  // begins the digest again.
  void StartPass(TProtectionAction action) override;
  void EndPass(TProtectionAction action) override;
  void ProcessChunk(uint8_t* buffer, size_t size, TProtectionAction action) override;

 protected:
  std::array<uint8_t, kMaxDigestSize> digest_{};

 private:
  void ProcessOwnChunk(uint8_t* buffer, size_t size, TProtectionAction action);
};
