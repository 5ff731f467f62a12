#include "engine/storage/pager/PageCipher.h"

#include <algorithm>
#include <utility>

TVTRPageCipher::TVTRPageCipher(std::string password) : password_(std::move(password)) {}

TVTRPageCipher::~TVTRPageCipher() {
  std::fill(password_.begin(), password_.end(), '\0');
}

TVTREngineCipher* TVTRPageCipher::CipherFor(uint8_t algorithm) {
  if (!IsEncryptionAlgorithm(algorithm)) return nullptr;
  std::unique_ptr<TVTREngineCipher>& cipher = ciphers_[algorithm];
  if (cipher == nullptr) cipher = std::make_unique<TVTREngineCipher>(algorithm, password_);
  return cipher.get();
}

bool TVTRPageCipher::EncipherPageData(uint8_t algorithm, void* buffer, size_t size) {
  try {
    TVTREngineCipher* cipher = CipherFor(algorithm);
    if (cipher == nullptr) return false;
    cipher->Encipher(buffer, size);
    return true;
  } catch (...) {
    // A cipher that fails answers false; the callers check the CRC or the result.
    return false;
  }
}

bool TVTRPageCipher::DecipherPageData(uint8_t algorithm, void* buffer, size_t size) {
  try {
    TVTREngineCipher* cipher = CipherFor(algorithm);
    if (cipher == nullptr) return false;
    cipher->Decipher(buffer, size);
    return true;
  } catch (...) {
    // A cipher that fails answers false; the callers check the CRC or the result.
    return false;
  }
}
