#pragma once
// The engine's encryption algorithms, numbered 0 to 7 as the database file
// stores them, and the cipher that enciphers a database's data areas.
//
//   number  name            cipher            key hash          key bytes
//   0       "Rijndael_128"  TCipher_Rijndael  THash_RipeMD128   16 (AES-128)
//   1       "Rijndael_256"  TCipher_Rijndael  THash_RipeMD256   32 (AES-256)
//   2       "DES_Single"    TCipher_1DES      THash_RipeMD128   8 of 16
//   3       "DES_Triple"    TCipher_3TDES     THash_RipeMD128   16 (K3 all zero)
//   4       "Blowfish"      TCipher_Blowfish  THash_RipeMD256   32
//   5       "Twofish_128"   TCipher_Twofish   THash_RipeMD128   16
//   6       "Twofish_256"   TCipher_Twofish   THash_RipeMD256   32
//   7       "Square"        TCipher_Square    THash_RipeMD128   16
//
// The key is the first key-size bytes of the key hash of the password bytes
// (an empty password included); every buffer is enciphered on its own, with
// the feedback register starting as a block of 0xFF bytes.
#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

#include "engine/foundation/cipher/Cipher.h"

using TVTREncryptionAlgorithm = uint8_t;

inline constexpr int kEncryptionAlgorithmCount = 8;
extern const std::array<std::string_view, kEncryptionAlgorithmCount> EncryptionAlgorithmNames;

struct TVTREncryptionAlgorithmInfo {
  TCipherClass cipher_class;
  THashClass key_hash_class;
};

bool IsEncryptionAlgorithm(int algorithm);
// Requires IsEncryptionAlgorithm(algorithm).
const TVTREncryptionAlgorithmInfo& EncryptionAlgorithmInfo(TVTREncryptionAlgorithm algorithm);

// A cipher keyed once from the password, which enciphers and deciphers any
// number of buffers in place, each exactly as a fresh cipher would. Not for
// use by two threads at once.
class TVTREngineCipher {
 public:
  // Raises ECipherException 1 for an algorithm above 7.
  TVTREngineCipher(TVTREncryptionAlgorithm algorithm, std::string_view password);

  TVTREncryptionAlgorithm Algorithm() const { return algorithm_; }
  void Encipher(void* buffer, size_t size);
  void Decipher(void* buffer, size_t size);

 private:
  TVTREncryptionAlgorithm algorithm_;
  std::unique_ptr<TCipher> cipher_;
};
