#include <cryptopp/aes.h>
#include <cryptopp/blowfish.h>
#include <cryptopp/des.h>
#include <cryptopp/ripemd.h>
#include <cryptopp/square.h>
#include <cryptopp/twofish.h>
#include <gtest/gtest.h>

#include <functional>

#include "engine/foundation/VTRCipher.h"
#include "engine/foundation/VTRSecurity.h"
#include "tests/engine/foundation/cipher/CipherTestUtil.h"

namespace {

// Enciphers one block with the oracle.
using OracleEncipher = std::function<void(const Bytes& key, uint8_t* block)>;

template <typename Cipher>
OracleEncipher OracleOf() {
  return [](const Bytes& key, uint8_t* block) {
    typename Cipher::Encryption(key.data(), key.size()).ProcessBlock(block);
  };
}

// Algorithm 3's block: three DES blocks, the middle words traded between stages.
void TripleDes24(const Bytes& key, uint8_t* block) {
  auto stage = [&](int k, bool decipher) {
    const Bytes sub(key.begin() + 8 * k, key.begin() + 8 * k + 8);
    for (int i = 0; i < 24; i += 8) {
      if (decipher) {
        CryptoPP::DES::Decryption(sub.data(), 8).ProcessBlock(block + i);
      } else {
        CryptoPP::DES::Encryption(sub.data(), 8).ProcessBlock(block + i);
      }
    }
  };
  auto trade = [&] { std::swap_ranges(block + 4, block + 8, block + 8); };
  stage(0, false);
  trade();
  stage(1, true);
  trade();
  stage(2, false);
}

struct Algorithm {
  TVTREncryptionAlgorithm number;
  size_t block_size;
  bool ripemd256;
  size_t key_bytes;  // taken from the digest; the rest of the cipher key is zero
  size_t cipher_key_size;
  OracleEncipher encipher;
};

const Algorithm kAlgorithms[] = {
    {0, 16, false, 16, 16, OracleOf<CryptoPP::AES>()},
    {1, 16, true, 32, 32, OracleOf<CryptoPP::AES>()},
    {2, 8, false, 8, 8, OracleOf<CryptoPP::DES>()},
    {3, 24, false, 16, 24, TripleDes24},
    {4, 8, true, 32, 32, OracleOf<CryptoPP::Blowfish>()},
    {5, 16, false, 16, 16, OracleOf<CryptoPP::Twofish>()},
    {6, 16, true, 32, 32, OracleOf<CryptoPP::Twofish>()},
    {7, 16, false, 16, 16, OracleOf<CryptoPP::Square>()},
};

Bytes OracleKey(const Algorithm& a, std::string_view password) {
  Bytes digest;
  if (a.ripemd256) {
    digest.resize(CryptoPP::RIPEMD256::DIGESTSIZE);
    CryptoPP::RIPEMD256().CalculateDigest(digest.data(), reinterpret_cast<const uint8_t*>(password.data()),
                                          password.size());
  } else {
    digest.resize(CryptoPP::RIPEMD128::DIGESTSIZE);
    CryptoPP::RIPEMD128().CalculateDigest(digest.data(), reinterpret_cast<const uint8_t*>(password.data()),
                                          password.size());
  }
  digest.resize(a.key_bytes);
  digest.resize(a.cipher_key_size, 0);
  return digest;
}

// The feedback construction computed over the oracle's block cipher.
Bytes OracleEncipherBuffer(const Algorithm& a, std::string_view password, const Bytes& plain) {
  const Bytes key = OracleKey(a, password);
  const size_t b = a.block_size;
  Bytes feedback(b, 0xFF);
  Bytes out(plain.size());
  size_t pos = 0;
  for (; pos + b <= plain.size(); pos += b) {
    Bytes block(b);
    for (size_t i = 0; i < b; ++i) block[i] = plain[pos + i] ^ feedback[i];
    a.encipher(key, block.data());
    for (size_t i = 0; i < b; ++i) {
      out[pos + i] = block[i];
      feedback[i] ^= block[i];
    }
  }
  if (pos < plain.size()) {
    Bytes t = feedback;
    a.encipher(key, t.data());
    for (size_t i = pos; i < plain.size(); ++i) out[i] = plain[i] ^ t[i - pos];
  }
  return out;
}

const size_t kSizes[] = {0, 1, 15, 16, 17, 256, 4056};

TEST(EngineCipher, EveryAlgorithmMatchesTheConstructionAndRoundTrips) {
  std::mt19937 random(17);
  for (const std::string_view password : {"abc", "", "\xCA\xC7\xD1\xCA\xB4\xD5"}) {
    for (const Algorithm& a : kAlgorithms) {
      TVTREngineCipher cipher(a.number, password);
      for (const size_t size : kSizes) {
        const Bytes plain = RandomBytes(random, size);
        const Bytes expected = OracleEncipherBuffer(a, password, plain);
        // The same object twice: every buffer starts from a fresh feedback register.
        for (int pass = 0; pass < 2; ++pass) {
          Bytes buffer = plain;
          cipher.Encipher(buffer.data(), buffer.size());
          ASSERT_EQ(ToHex(expected), ToHex(buffer))
              << "algorithm " << int(a.number) << ", " << size << " bytes, password \"" << password << "\"";
          cipher.Decipher(buffer.data(), buffer.size());
          ASSERT_EQ(ToHex(plain), ToHex(buffer)) << "algorithm " << int(a.number) << ", " << size << " bytes";
        }
      }
    }
  }
}

// The way each engine call builds its cipher, step by step, gives the same bytes.
TEST(EngineCipher, EqualsAFreshCipherKeyedFromThePassword) {
  std::mt19937 random(19);
  const Bytes plain = RandomBytes(random, 4056);
  for (TVTREncryptionAlgorithm algorithm = 0; algorithm < kEncryptionAlgorithmCount; ++algorithm) {
    const TVTREncryptionAlgorithmInfo& info = EncryptionAlgorithmInfo(algorithm);
    std::unique_ptr<TCipher> fresh = TCipher::Create(info.cipher_class, "abc");
    fresh->SetKeyHashClass(info.key_hash_class);
    fresh->InitFromPassword("abc", fresh->InitVector());
    Bytes expected = plain;
    fresh->EncryptBuffer(expected.data(), expected.data(), expected.size());

    Bytes buffer = plain;
    TVTREngineCipher(algorithm, "abc").Encipher(buffer.data(), buffer.size());
    EXPECT_EQ(ToHex(expected), ToHex(buffer)) << int(algorithm);
  }
}

TEST(EngineCipher, AWrongPasswordDeciphersToOtherBytes) {
  std::mt19937 random(23);
  const Bytes plain = RandomBytes(random, 256);
  for (TVTREncryptionAlgorithm algorithm = 0; algorithm < kEncryptionAlgorithmCount; ++algorithm) {
    Bytes buffer = plain;
    TVTREngineCipher(algorithm, "abc").Encipher(buffer.data(), buffer.size());
    TVTREngineCipher(algorithm, "abd").Decipher(buffer.data(), buffer.size());
    EXPECT_NE(ToHex(plain), ToHex(buffer)) << int(algorithm);
  }
}

TEST(EngineCipher, RefusesAnUnknownAlgorithm) {
  EXPECT_FALSE(IsEncryptionAlgorithm(8));
  try {
    TVTREngineCipher(8, "abc");
    FAIL() << "no exception";
  } catch (const ECipherException& e) {
    EXPECT_EQ(1, e.ErrorCode());
  }
}

TEST(Cipher, RaisesErrorThreeBeforeAKeySetup) {
  TCipher_Twofish cipher;
  uint8_t buffer[16] = {};
  try {
    cipher.EncryptBuffer(buffer, buffer, sizeof(buffer));
    FAIL() << "no exception";
  } catch (const ECipherException& e) {
    EXPECT_EQ(3, e.ErrorCode());
    EXPECT_EQ("TCipher_Twofish is not initialized call Init() or InitKey() before.", e.Message());
  }
  EXPECT_THROW(cipher.DecryptBuffer(buffer, buffer, sizeof(buffer)), ECipherException);
}

TEST(Cipher, KeySetupWithoutVectorStartsFromTheEnciphermentOfAllOnes) {
  const Bytes key(16, 0x42);
  TCipher_Square cipher;
  cipher.SetKey(key.data(), 16, nullptr);
  Bytes ones(16, 0xFF);
  cipher.EncryptBlock(ones.data());
  EXPECT_EQ(ToHex(ones), ToHex(cipher.InitVector(), 16));
  EXPECT_EQ(ToHex(ones), ToHex(cipher.Feedback(), 16));

  const Bytes vector(16, 0x07);
  cipher.SetKey(key.data(), 16, vector.data());
  EXPECT_EQ(ToHex(vector), ToHex(cipher.Feedback(), 16));
}

TEST(Cipher, SeparateDestinationGivesTheInPlaceResult) {
  std::mt19937 random(29);
  const Bytes plain = RandomBytes(random, 100);
  TCipher_Blowfish cipher;
  cipher.InitFromPassword("secret", nullptr);
  Bytes in_place = plain;
  cipher.EncryptBuffer(in_place.data(), in_place.data(), in_place.size());
  cipher.ResetFeedback();
  Bytes separate(plain.size());
  cipher.EncryptBuffer(plain.data(), separate.data(), plain.size());
  EXPECT_EQ(ToHex(in_place), ToHex(separate));
  cipher.ResetFeedback();
  Bytes back(plain.size());
  cipher.DecryptBuffer(separate.data(), back.data(), back.size());
  EXPECT_EQ(ToHex(plain), ToHex(back));
  EXPECT_TRUE(cipher.KeyedFromPassword());
}

}  // namespace
