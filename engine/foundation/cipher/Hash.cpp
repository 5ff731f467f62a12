#include "engine/foundation/cipher/Hash.h"

#include <algorithm>
#include <cstring>

#include "engine/foundation/cipher/ByteUtil.h"

THash::~THash() {
  SecureWipe(digest_.data(), digest_.size());
}

void THash::StartPass(TProtectionAction action) {
  if (action == TProtectionAction::Wipe)
    RandomXorFill(TimeRandomSeed(), digest_.data(), size_t(DigestSize()));
  TProtection::StartPass(action);
}

void THash::EndPass(TProtectionAction action) {
  if (action == TProtectionAction::Digest) {
    FinishDigest();
  } else {
    BeginDigest();
  }
  TProtection::EndPass(action);
}

void THash::ProcessChunk(uint8_t* buffer, size_t size, TProtectionAction action) {
  const bool own = ActionEnabled(action);
  if (action == TProtectionAction::Decipher) {
    if (own) ProcessOwnChunk(buffer, size, action);
    TProtection::ProcessChunk(buffer, size, action);
  } else {
    TProtection::ProcessChunk(buffer, size, action);
    if (own) ProcessOwnChunk(buffer, size, action);
  }
}

void THash::ProcessOwnChunk(uint8_t* buffer, size_t size, TProtectionAction action) {
  if (action == TProtectionAction::Digest) {
    AddData(buffer, size);
    return;
  }
  const auto digest_size = size_t(DigestSize());
  for (size_t done = 0; done < size; done += digest_size) {
    uint8_t* piece = buffer + done;
    const size_t n = std::min(digest_size, size - done);
    if (action == TProtectionAction::Scramble || action == TProtectionAction::Wipe) {
      AddData(piece, n);
      FinishDigest();
      std::memcpy(piece, digest_.data(), n);
    } else {
      AddData(digest_.data(), digest_size);
      FinishDigest();
      XorBytes(piece, digest_.data(), n, piece);
    }
  }
}
