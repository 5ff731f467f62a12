#include "engine/foundation/cipher/CipherBlowfish.h"

#include <utility>

#include "engine/foundation/cipher/BlowfishTables.h"
#include "engine/foundation/cipher/ByteUtil.h"

TCipherClass TCipher_Blowfish::Class() {
  static const TCipherClassInfo info{
      "TCipher_Blowfish", {8, 56}, [] { return std::unique_ptr<TCipher>(new TCipher_Blowfish()); }};
  return &info;
}

TCipher_Blowfish::TCipher_Blowfish(std::shared_ptr<TProtection> protection)
    : TCipher(Class()->sizes, std::move(protection)) {}

TCipher_Blowfish::~TCipher_Blowfish() {
  SecureWipe(&schedule_, sizeof(schedule_));
}

std::span<uint8_t> TCipher_Blowfish::KeySchedule() {
  return {reinterpret_cast<uint8_t*>(&schedule_), sizeof(schedule_)};
}

inline uint32_t TCipher_Blowfish::F(uint32_t x) const {
  const auto& s = schedule_.s;
  return ((s[0][x >> 24] + s[1][(x >> 16) & 255]) ^ s[2][(x >> 8) & 255]) + s[3][x & 255];
}

void TCipher_Blowfish::Encrypt(uint32_t& left, uint32_t& right) const {
  const auto& p = schedule_.p;
  uint32_t l = left, r = right;
  for (int i = 0; i < 16; i += 2) {
    l ^= p[size_t(i)];
    r ^= F(l);
    r ^= p[size_t(i) + 1];
    l ^= F(r);
  }
  left = r ^ p[17];
  right = l ^ p[16];
}

void TCipher_Blowfish::SetKeySchedule(const uint8_t* key, int32_t length) {
  const size_t key_length = length > 0 ? size_t(length) : 1;
  schedule_.p = kBlowfishInitialP;
  schedule_.s = kBlowfishInitialS;
  size_t k = 0;
  for (uint32_t& word : schedule_.p) {
    uint32_t data = 0;
    for (int i = 0; i < 4; ++i, k = (k + 1) % key_length) data = data << 8 | key[k];
    word ^= data;
  }
  uint32_t left = 0, right = 0;
  for (size_t i = 0; i < schedule_.p.size(); i += 2) {
    Encrypt(left, right);
    schedule_.p[i] = left;
    schedule_.p[i + 1] = right;
  }
  for (auto& box : schedule_.s) {
    for (size_t i = 0; i < box.size(); i += 2) {
      Encrypt(left, right);
      box[i] = left;
      box[i + 1] = right;
    }
  }
}

void TCipher_Blowfish::EncryptBlock(uint8_t* block) const {
  uint32_t left = LoadBE32(block), right = LoadBE32(block + 4);
  Encrypt(left, right);
  StoreBE32(block, left);
  StoreBE32(block + 4, right);
}

void TCipher_Blowfish::DecryptBlock(uint8_t* block) const {
  const auto& p = schedule_.p;
  uint32_t l = LoadBE32(block), r = LoadBE32(block + 4);
  for (int i = 17; i > 1; i -= 2) {
    l ^= p[size_t(i)];
    r ^= F(l);
    r ^= p[size_t(i) - 1];
    l ^= F(r);
  }
  StoreBE32(block, r ^ p[0]);
  StoreBE32(block + 4, l ^ p[1]);
}
