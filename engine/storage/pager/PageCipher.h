#pragma once
// TVTRPageCipher: enciphers and deciphers the data areas of a database's
// pages and its password-check block with the database password. Each buffer
// is enciphered on its own, exactly as a freshly keyed cipher would; the key
// schedule of an algorithm is built once, on its first use.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/foundation/cipher/EngineCipher.h"

class TVTRPageCipher {
 public:
  explicit TVTRPageCipher(std::string password);
  ~TVTRPageCipher();
  TVTRPageCipher(const TVTRPageCipher&) = delete;
  TVTRPageCipher& operator=(const TVTRPageCipher&) = delete;

  // False, with the buffer unchanged, for an algorithm above 7 or when the
  // cipher fails.
  bool EncipherPageData(uint8_t algorithm, void* buffer, size_t size);
  bool DecipherPageData(uint8_t algorithm, void* buffer, size_t size);

 private:
  TVTREngineCipher* CipherFor(uint8_t algorithm);

  std::string password_;
  std::array<std::unique_ptr<TVTREngineCipher>, kEncryptionAlgorithmCount> ciphers_;
};
