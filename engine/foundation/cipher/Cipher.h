#pragma once
// TCipher: a block cipher with its key schedule, run in the one feedback mode
// the engine uses. With block size B, block encipher E and decipher D, and the
// feedback register F (the initial vector after a key setup):
//   whole block, enciphering:  C = E(P xor F), then F = C xor F
//   whole block, deciphering:  P = D(C) xor F, then F = C xor F
//   final r < B bytes, either way: T = E(F); out = in xor T[0..r); F = T xor F
// The output is exactly as long as the input.
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "engine/foundation/cipher/Hash.h"
#include "engine/foundation/cipher/Protection.h"

// A cipher failure with its error code (3: used before a key setup).
class ECipherException : public Exception {
 public:
  ECipherException(int32_t error_code, std::string message)
      : Exception(std::move(message)), error_code_(error_code) {}
  int32_t ErrorCode() const noexcept { return error_code_; }

 private:
  int32_t error_code_;
};

class TCipher;

// Block size and largest key size of a cipher class, in bytes.
struct TCipherSizes {
  int32_t block_size;
  int32_t key_size;
};

// Stands for a cipher class: its name, sizes and how to make one.
struct TCipherClassInfo {
  std::string_view class_name;
  TCipherSizes sizes;
  std::unique_ptr<TCipher> (*create)();
};
using TCipherClass = const TCipherClassInfo*;

// The key hash of a cipher created without one.
THashClass DefaultKeyHashClass();

class TCipher : public TProtection {
 public:
  static constexpr int32_t kMaxBlockSize = 24;
  static constexpr int32_t kMaxKeySize = 56;

  // A cipher of the class; keyed from the password with the default key hash
  // when the password is not empty.
  static std::unique_ptr<TCipher> Create(TCipherClass cipher_class, std::string_view password = {},
                                         std::shared_ptr<TProtection> protection = nullptr);
  // Wipes the vectors; each class wipes its key schedule.
  ~TCipher() override;

  virtual TCipherClass ClassType() const = 0;
  std::string_view ClassName() const override { return ClassType()->class_name; }
  int32_t BlockSize() const { return sizes_.block_size; }
  int32_t KeySize() const { return sizes_.key_size; }
  bool Initialized() const { return (flags_ & kInitialized) != 0; }
  bool KeyedFromPassword() const { return (flags_ & kFromPassword) != 0; }

  // nullptr means DefaultKeyHashClass; another class drops the current hash object.
  void SetKeyHashClass(THashClass hash_class);
  THashClass KeyHashClass() const { return key_hash_class_; }
  // The key hash object, made on first use.
  THash& KeyHash();

  // Key setup: a negative length counts as 0, a length above KeySize is cut
  // to it. The initial vector becomes the BlockSize bytes at vector, or, with
  // nullptr, the encipherment of a block of 0xFF bytes. Vector may be the
  // cipher's own InitVector, which holds 0xFF bytes when the key setup copies it.
  void SetKey(const void* key, int32_t length, const void* vector);
  // Key = the key hash's digest of the password bytes, cut to KeySize. The
  // hash object's digest is left enciphered, so the key does not linger there.
  void InitFromPassword(std::string_view password, const void* vector);

  // Source and dest are the same buffer or do not overlap. Both raise
  // ECipherException 3 before a key setup.
  void EncryptBuffer(const void* source, void* dest, size_t size);
  void DecryptBuffer(const void* source, void* dest, size_t size);
  // Feedback register := initial vector.
  void ResetFeedback();
  // Clears both flags, the key schedule and the work block, and fills the
  // initial vector and the feedback register with 0xFF.
  void Wipe();

  // One block in place with the key schedule; block holds BlockSize bytes.
  virtual void EncryptBlock(uint8_t* block) const = 0;
  virtual void DecryptBlock(uint8_t* block) const = 0;

  uint8_t* InitVector() { return init_vector_.data(); }
  const uint8_t* Feedback() const { return feedback_.data(); }

  // In a pass a cipher resets its feedback register at the start and the end
  // (a digest pass leaves it, a wipe pass fills it with random bytes), raises
  // error 3 at the start without a key, and deciphers a chunk before its
  // linked protection sees it, or enciphers it after that, for every other action.
  void StartPass(TProtectionAction action) override;
  void EndPass(TProtectionAction action) override;
  void ProcessChunk(uint8_t* buffer, size_t size, TProtectionAction action) override;

 protected:
  TCipher(TCipherSizes sizes, std::shared_ptr<TProtection> protection);

  // Builds the key schedule from key[0..KeySize), of which the first length
  // bytes were given and the rest are zero.
  virtual void SetKeySchedule(const uint8_t* key, int32_t length) = 0;
  // The key schedule's bytes, for wiping.
  virtual std::span<uint8_t> KeySchedule() = 0;

 private:
  static constexpr uint32_t kFromPassword = 1;
  static constexpr uint32_t kInitialized = 2;

  void CheckInitialized() const;
  // Enciphers or deciphers the final r < BlockSize bytes.
  void ProcessTail(const uint8_t* in, uint8_t* out, size_t r);
  void ResetFeedbackForPass(TProtectionAction action);

  TCipherSizes sizes_;
  THashClass key_hash_class_;
  std::unique_ptr<THash> key_hash_;
  uint32_t flags_ = 0;
  std::array<uint8_t, kMaxBlockSize> work_{};
  std::array<uint8_t, kMaxBlockSize> init_vector_{};
  std::array<uint8_t, kMaxBlockSize> feedback_{};
};
