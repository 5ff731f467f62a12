#pragma once
// The Square block cipher: 128-bit block and key, 8 rounds. The block is a
// 4 × 4 byte matrix whose rows are the four little-endian words of the block.
#include <array>

#include "engine/foundation/cipher/Cipher.h"

class TCipher_Square : public TCipher {
 public:
  explicit TCipher_Square(std::shared_ptr<TProtection> protection = nullptr);
  ~TCipher_Square() override;

  static TCipherClass Class();
  TCipherClass ClassType() const override { return Class(); }

  void EncryptBlock(uint8_t* block) const override;
  void DecryptBlock(uint8_t* block) const override;

 protected:
  void SetKeySchedule(const uint8_t* key, int32_t length) override;
  std::span<uint8_t> KeySchedule() override;

 private:
  static constexpr int kRounds = 8;
  using RoundKey = std::array<uint32_t, 4>;
  // Round keys in the order each direction applies them, with the linear
  // layer folded in where the table rounds need it.
  struct Schedule {
    std::array<RoundKey, kRounds + 1> encrypt;
    std::array<RoundKey, kRounds + 1> decrypt;
  };
  Schedule schedule_{};
};
