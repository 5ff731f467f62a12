#pragma once
// DES and the two triple-DES forms, all with big-endian block words.
// TCipher_1DES: single DES with an 8-byte key (parity bits ignored).
// TCipher_3DES: 8-byte blocks; keys K1, K2, K3 are bytes 0-7, 8-15, 16-23 of
//   the zero-padded 24-byte key; encipher = E(K1), D(K2), E(K3).
// TCipher_3TDES: the same keys on a 24-byte block of three DES blocks, with
//   the second and third 32-bit words of the block traded between the stages
//   (the engine's algorithm 3, where K3 is eight zero bytes).
#include <array>

#include "engine/foundation/cipher/Cipher.h"

// The 48-bit subkey of each round of one DES key, as eight 6-bit values.
struct TDESKey {
  uint8_t subkeys[16][8];
};

class TCipher_1DES : public TCipher {
 public:
  explicit TCipher_1DES(std::shared_ptr<TProtection> protection = nullptr);
  ~TCipher_1DES() override;

  static TCipherClass Class();
  TCipherClass ClassType() const override { return Class(); }

  void EncryptBlock(uint8_t* block) const override;
  void DecryptBlock(uint8_t* block) const override;

 protected:
  TCipher_1DES(TCipherSizes sizes, std::shared_ptr<TProtection> protection);
  // One DES key per 8 key bytes.
  void SetKeySchedule(const uint8_t* key, int32_t length) override;
  std::span<uint8_t> KeySchedule() override;

  // Enciphers (or deciphers) one 8-byte block in place with keys_[key].
  void DesBlock(uint8_t* block, int key, bool decipher) const;

 private:
  std::array<TDESKey, 3> keys_{};
};

class TCipher_3DES : public TCipher_1DES {
 public:
  explicit TCipher_3DES(std::shared_ptr<TProtection> protection = nullptr);

  static TCipherClass Class();
  TCipherClass ClassType() const override { return Class(); }

  void EncryptBlock(uint8_t* block) const override;
  void DecryptBlock(uint8_t* block) const override;

 protected:
  TCipher_3DES(TCipherSizes sizes, std::shared_ptr<TProtection> protection)
      : TCipher_1DES(sizes, std::move(protection)) {}
};

class TCipher_3TDES : public TCipher_3DES {
 public:
  explicit TCipher_3TDES(std::shared_ptr<TProtection> protection = nullptr);

  static TCipherClass Class();
  TCipherClass ClassType() const override { return Class(); }

  void EncryptBlock(uint8_t* block) const override;
  void DecryptBlock(uint8_t* block) const override;
};
