#pragma once
// Twofish with 128-, 192- or 256-bit keys (keys of up to 16 or 24 bytes are
// zero-padded to those sizes, longer ones to 32); little-endian block words.
// The key-dependent S-boxes are folded with the MDS matrix into four tables
// when the key is set.
#include <array>

#include "engine/foundation/cipher/Cipher.h"

class TCipher_Twofish : public TCipher {
 public:
  explicit TCipher_Twofish(std::shared_ptr<TProtection> protection = nullptr);
  ~TCipher_Twofish() override;

  static TCipherClass Class();
  TCipherClass ClassType() const override { return Class(); }

  void EncryptBlock(uint8_t* block) const override;
  void DecryptBlock(uint8_t* block) const override;

 protected:
  void SetKeySchedule(const uint8_t* key, int32_t length) override;
  std::span<uint8_t> KeySchedule() override;

 private:
  struct Schedule {
    std::array<uint32_t, 40> subkeys;
    std::array<std::array<uint32_t, 256>, 4> sbox_mds;
  };
  uint32_t G(uint32_t x) const;

  Schedule schedule_{};
};
