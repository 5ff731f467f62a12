#include "engine/foundation/cipher/Cipher.h"

#include <algorithm>
#include <cstring>

#include "engine/foundation/cipher/ByteUtil.h"
#include "engine/foundation/cipher/HashRipeMD.h"
#include "platform/rtl/Format.h"

namespace {

// Xors B bytes (a multiple of 8) of a and b into dest.
inline void XorBlock(const uint8_t* a, const uint8_t* b, uint8_t* dest, size_t block_size) {
  for (size_t i = 0; i < block_size; i += 8) {
    uint64_t x, y;
    std::memcpy(&x, a + i, 8);
    std::memcpy(&y, b + i, 8);
    x ^= y;
    std::memcpy(dest + i, &x, 8);
  }
}

}  // namespace

THashClass DefaultKeyHashClass() {
  return THash_RipeMD256::Class();
}

std::unique_ptr<TCipher> TCipher::Create(TCipherClass cipher_class, std::string_view password,
                                         std::shared_ptr<TProtection> protection) {
  std::unique_ptr<TCipher> cipher = cipher_class->create();
  cipher->SetLinked(std::move(protection));
  if (!password.empty()) cipher->InitFromPassword(password, nullptr);
  return cipher;
}

TCipher::TCipher(TCipherSizes sizes, std::shared_ptr<TProtection> protection)
    : TProtection(std::move(protection)), sizes_(sizes), key_hash_class_(DefaultKeyHashClass()) {
  init_vector_.fill(0xFF);
  feedback_.fill(0xFF);
}

TCipher::~TCipher() {
  SecureWipe(work_.data(), work_.size());
  SecureWipe(init_vector_.data(), init_vector_.size());
  SecureWipe(feedback_.data(), feedback_.size());
}

void TCipher::SetKeyHashClass(THashClass hash_class) {
  if (hash_class == nullptr) hash_class = DefaultKeyHashClass();
  if (hash_class != key_hash_class_) {
    key_hash_.reset();
    key_hash_class_ = hash_class;
  }
}

THash& TCipher::KeyHash() {
  if (!key_hash_) key_hash_ = key_hash_class_->create();
  return *key_hash_;
}

void TCipher::Wipe() {
  flags_ = 0;
  SecureWipe(work_.data(), work_.size());
  const std::span<uint8_t> schedule = KeySchedule();
  SecureWipe(schedule.data(), schedule.size());
  init_vector_.fill(0xFF);
  feedback_.fill(0xFF);
}

void TCipher::SetKey(const void* key, int32_t length, const void* vector) {
  Wipe();
  length = std::clamp(length, 0, KeySize());
  std::array<uint8_t, kMaxKeySize> padded{};
  if (length > 0) std::memcpy(padded.data(), key, size_t(length));
  SetKeySchedule(padded.data(), length);
  SecureWipe(padded.data(), padded.size());

  const auto block_size = size_t(BlockSize());
  if (vector != nullptr) {
    std::memmove(init_vector_.data(), vector, block_size);
  } else {
    EncryptBlock(init_vector_.data());
  }
  std::memcpy(feedback_.data(), init_vector_.data(), block_size);
  flags_ |= kInitialized;
}

void TCipher::InitFromPassword(std::string_view password, const void* vector) {
  THash& hash = KeyHash();
  hash.BeginDigest();
  hash.AddData(password.data(), password.size());
  hash.FinishDigest();
  SetKey(hash.DigestBytes(), std::min(hash.DigestSize(), KeySize()), vector);
  // The digest is the key: leave only its encipherment behind.
  EncryptBuffer(hash.DigestBytes(), hash.DigestBytes(), size_t(hash.DigestSize()));
  ResetFeedback();
  flags_ |= kFromPassword;
}

void TCipher::CheckInitialized() const {
  if (!Initialized()) {
    throw ECipherException(3, Format("%s is not initialized call Init() or InitKey() before.", ClassName()));
  }
}

void TCipher::ResetFeedback() {
  const auto block_size = size_t(BlockSize());
  if (std::memcmp(feedback_.data(), init_vector_.data(), block_size) != 0) {
    std::memcpy(work_.data(), feedback_.data(), block_size);
    std::memcpy(feedback_.data(), init_vector_.data(), block_size);
  }
}

void TCipher::EncryptBuffer(const void* source, void* dest, size_t size) {
  CheckInitialized();
  const auto block_size = size_t(BlockSize());
  const auto* in = static_cast<const uint8_t*>(source);
  auto* out = static_cast<uint8_t*>(dest);
  uint8_t* const work = work_.data();
  uint8_t* const feedback = feedback_.data();
  for (; size >= block_size; size -= block_size, in += block_size, out += block_size) {
    XorBlock(in, feedback, work, block_size);
    EncryptBlock(work);
    XorBlock(feedback, work, feedback, block_size);
    std::memcpy(out, work, block_size);
  }
  if (size > 0) ProcessTail(in, out, size);
}

void TCipher::DecryptBuffer(const void* source, void* dest, size_t size) {
  CheckInitialized();
  const auto block_size = size_t(BlockSize());
  const auto* in = static_cast<const uint8_t*>(source);
  auto* out = static_cast<uint8_t*>(dest);
  uint8_t* const work = work_.data();
  uint8_t* const feedback = feedback_.data();
  for (; size >= block_size; size -= block_size, in += block_size, out += block_size) {
    std::memcpy(work, in, block_size);
    DecryptBlock(work);
    // Reads the cipher block before out, which may be the same memory, is written.
    for (size_t i = 0; i < block_size; ++i) {
      const uint8_t c = in[i];
      out[i] = work[i] ^ feedback[i];
      feedback[i] ^= c;
    }
  }
  if (size > 0) ProcessTail(in, out, size);
}

void TCipher::ProcessTail(const uint8_t* in, uint8_t* out, size_t r) {
  const auto block_size = size_t(BlockSize());
  std::memcpy(work_.data(), feedback_.data(), block_size);
  EncryptBlock(work_.data());
  for (size_t i = 0; i < r; ++i) out[i] = in[i] ^ work_[i];
  XorBlock(feedback_.data(), work_.data(), feedback_.data(), block_size);
}

void TCipher::ResetFeedbackForPass(TProtectionAction action) {
  if (action == TProtectionAction::Wipe) {
    RandomXorFill(TimeRandomSeed(), feedback_.data(), size_t(BlockSize()));
  } else if (action != TProtectionAction::Digest) {
    ResetFeedback();
  }
}

void TCipher::StartPass(TProtectionAction action) {
  CheckInitialized();
  ResetFeedbackForPass(action);
  TProtection::StartPass(action);
}

void TCipher::EndPass(TProtectionAction action) {
  ResetFeedbackForPass(action);
  TProtection::EndPass(action);
}

void TCipher::ProcessChunk(uint8_t* buffer, size_t size, TProtectionAction action) {
  const bool own = ActionEnabled(action);
  if (action == TProtectionAction::Decipher) {
    if (own) DecryptBuffer(buffer, buffer, size);
    TProtection::ProcessChunk(buffer, size, action);
  } else {
    TProtection::ProcessChunk(buffer, size, action);
    if (own) EncryptBuffer(buffer, buffer, size);
  }
}
