#include "engine/foundation/cipher/EngineCipher.h"

#include "engine/foundation/cipher/CipherBlowfish.h"
#include "engine/foundation/cipher/CipherDES.h"
#include "engine/foundation/cipher/CipherRijndael.h"
#include "engine/foundation/cipher/CipherSquare.h"
#include "engine/foundation/cipher/CipherTwofish.h"
#include "engine/foundation/cipher/HashRipeMD.h"
#include "platform/rtl/Format.h"

const std::array<std::string_view, kEncryptionAlgorithmCount> EncryptionAlgorithmNames = {
    "Rijndael_128", "Rijndael_256", "DES_Single",  "DES_Triple",
    "Blowfish",     "Twofish_128",  "Twofish_256", "Square"};

bool IsEncryptionAlgorithm(int algorithm) {
  return algorithm >= 0 && algorithm < kEncryptionAlgorithmCount;
}

const TVTREncryptionAlgorithmInfo& EncryptionAlgorithmInfo(TVTREncryptionAlgorithm algorithm) {
  static const std::array<TVTREncryptionAlgorithmInfo, kEncryptionAlgorithmCount> kAlgorithms = {{
      {TCipher_Rijndael::Class(), THash_RipeMD128::Class()},
      {TCipher_Rijndael::Class(), THash_RipeMD256::Class()},
      {TCipher_1DES::Class(), THash_RipeMD128::Class()},
      {TCipher_3TDES::Class(), THash_RipeMD128::Class()},
      {TCipher_Blowfish::Class(), THash_RipeMD256::Class()},
      {TCipher_Twofish::Class(), THash_RipeMD128::Class()},
      {TCipher_Twofish::Class(), THash_RipeMD256::Class()},
      {TCipher_Square::Class(), THash_RipeMD128::Class()},
  }};
  return kAlgorithms[algorithm];
}

TVTREngineCipher::TVTREngineCipher(TVTREncryptionAlgorithm algorithm, std::string_view password)
    : algorithm_(algorithm) {
  if (!IsEncryptionAlgorithm(algorithm)) {
    throw ECipherException(1, Format("Unknown encryption algorithm %d", int(algorithm)));
  }
  const TVTREncryptionAlgorithmInfo& info = EncryptionAlgorithmInfo(algorithm);
  cipher_ = TCipher::Create(info.cipher_class);
  cipher_->SetKeyHashClass(info.key_hash_class);
  cipher_->InitFromPassword(password, cipher_->InitVector());
}

void TVTREngineCipher::Encipher(void* buffer, size_t size) {
  cipher_->ResetFeedback();
  cipher_->EncryptBuffer(buffer, buffer, size);
}

void TVTREngineCipher::Decipher(void* buffer, size_t size) {
  cipher_->ResetFeedback();
  cipher_->DecryptBuffer(buffer, buffer, size);
}
