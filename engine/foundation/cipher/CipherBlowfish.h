#pragma once
// Blowfish: 16 rounds, big-endian block words; the key schedule cycles over
// the given key bytes (up to 56).
#include <array>

#include "engine/foundation/cipher/Cipher.h"

class TCipher_Blowfish : public TCipher {
 public:
  explicit TCipher_Blowfish(std::shared_ptr<TProtection> protection = nullptr);
  ~TCipher_Blowfish() override;

  static TCipherClass Class();
  TCipherClass ClassType() const override { return Class(); }

  void EncryptBlock(uint8_t* block) const override;
  void DecryptBlock(uint8_t* block) const override;

 protected:
  // A key of length 0 counts as one zero byte.
  void SetKeySchedule(const uint8_t* key, int32_t length) override;
  std::span<uint8_t> KeySchedule() override;

 private:
  struct Schedule {
    std::array<uint32_t, 18> p;
    std::array<std::array<uint32_t, 256>, 4> s;
  };
  uint32_t F(uint32_t x) const;
  void Encrypt(uint32_t& left, uint32_t& right) const;

  Schedule schedule_{};
};
