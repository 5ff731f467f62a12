#pragma once
// Rijndael with a 128-bit block (AES): a key of up to 16 bytes runs 10 rounds,
// up to 24 bytes 12, longer keys 14; shorter keys are padded with zeros.
#include "engine/foundation/cipher/Cipher.h"

class TCipher_Rijndael : public TCipher {
 public:
  explicit TCipher_Rijndael(std::shared_ptr<TProtection> protection = nullptr);
  ~TCipher_Rijndael() override;

  static TCipherClass Class();
  TCipherClass ClassType() const override { return Class(); }
  int32_t Rounds() const { return rounds_; }

  void EncryptBlock(uint8_t* block) const override;
  void DecryptBlock(uint8_t* block) const override;

 protected:
  void SetKeySchedule(const uint8_t* key, int32_t length) override;
  std::span<uint8_t> KeySchedule() override;

 private:
  struct Schedule {
    uint32_t encrypt[60];
    uint32_t decrypt[60];
  };
  Schedule schedule_{};
  int32_t rounds_ = 0;
};
