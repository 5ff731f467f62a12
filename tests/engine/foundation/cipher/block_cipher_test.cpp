#include <cryptopp/aes.h>
#include <cryptopp/blowfish.h>
#include <cryptopp/des.h>
#include <cryptopp/square.h>
#include <cryptopp/twofish.h>
#include <gtest/gtest.h>

#include <functional>

#include "engine/foundation/VTRCipher.h"
#include "tests/engine/foundation/cipher/CipherTestUtil.h"

namespace {

std::unique_ptr<TCipher> Keyed(TCipherClass cipher_class, const Bytes& key) {
  std::unique_ptr<TCipher> cipher = TCipher::Create(cipher_class);
  cipher->SetKey(key.data(), int32_t(key.size()), nullptr);
  return cipher;
}

struct BlockVector {
  TCipherClass cipher_class;
  const char* key;
  const char* plain;
  const char* cipher;
};

TEST(BlockCipher, KnownAnswers) {
  const BlockVector vectors[] = {
      // FIPS-197, appendix C
      {TCipher_Rijndael::Class(), "000102030405060708090a0b0c0d0e0f", "00112233445566778899aabbccddeeff",
       "69c4e0d86a7b0430d8cdb78070b4c55a"},
      {TCipher_Rijndael::Class(), "000102030405060708090a0b0c0d0e0f1011121314151617",
       "00112233445566778899aabbccddeeff", "dda97ca4864cdfe06eaf70a0ec0d7191"},
      {TCipher_Rijndael::Class(), "000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f",
       "00112233445566778899aabbccddeeff", "8ea2b7ca516745bfeafc49904b496089"},
      // FIPS-197, appendix B
      {TCipher_Rijndael::Class(), "2b7e151628aed2a6abf7158809cf4f3c", "3243f6a8885a308d313198a2e0370734",
       "3925841d02dc09fbdc118597196a0b32"},
      // DES: the classic worked example and the "Now is t" vector
      {TCipher_1DES::Class(), "133457799bbcdff1", "0123456789abcdef", "85e813540f0ab405"},
      {TCipher_1DES::Class(), "0123456789abcdef", "4e6f772069732074", "3fa40e8a984d4815"},
      // Triple DES, the example of NIST SP 800-67
      {TCipher_3DES::Class(), "0123456789abcdef23456789abcdef01456789abcdef0123", "5468652071756663",
       "a826fd8ce53b855f"},
      // Blowfish, Schneier's test vectors
      {TCipher_Blowfish::Class(), "0000000000000000", "0000000000000000", "4ef997456198dd78"},
      {TCipher_Blowfish::Class(), "ffffffffffffffff", "ffffffffffffffff", "51866fd5b85ecb8a"},
      {TCipher_Blowfish::Class(), "3000000000000000", "1000000000000001", "7d856f9a613063f2"},
      {TCipher_Blowfish::Class(), "0123456789abcdef", "1111111111111111", "61f9c3802281b096"},
      // Twofish, the authors' test values
      {TCipher_Twofish::Class(), "00000000000000000000000000000000", "00000000000000000000000000000000",
       "9f589f5cf6122c32b6bfec2f2ae8c35a"},
      {TCipher_Twofish::Class(), "0123456789abcdeffedcba98765432100011223344556677",
       "00000000000000000000000000000000", "cfd1d2e5a9be9cdf501f13b892bd2248"},
      {TCipher_Twofish::Class(), "0123456789abcdeffedcba987654321000112233445566778899aabbccddeeff",
       "00000000000000000000000000000000", "37527be0052334b89f0cfccae87cfa20"},
      // Square, the authors' reference vector
      {TCipher_Square::Class(), "000102030405060708090a0b0c0d0e0f", "000102030405060708090a0b0c0d0e0f",
       "7c3491d94994e70f0ec2e7a5ccb5a14f"},
  };
  for (const BlockVector& v : vectors) {
    std::unique_ptr<TCipher> cipher = Keyed(v.cipher_class, FromHex(v.key));
    Bytes block = FromHex(v.plain);
    cipher->EncryptBlock(block.data());
    EXPECT_EQ(v.cipher, ToHex(block)) << v.cipher_class->class_name << " key " << v.key;
    cipher->DecryptBlock(block.data());
    EXPECT_EQ(v.plain, ToHex(block)) << v.cipher_class->class_name << " key " << v.key;
  }
}

TEST(BlockCipher, RijndaelRoundsFollowTheKeyLength) {
  const std::pair<int, int> cases[] = {{0, 10},  {5, 10},  {16, 10}, {17, 12},
                                       {24, 12}, {25, 14}, {32, 14}, {40, 14}};
  const Bytes key(40, 0x5A);
  for (const auto& [length, rounds] : cases) {
    TCipher_Rijndael cipher;
    cipher.SetKey(key.data(), length, nullptr);
    EXPECT_EQ(rounds, cipher.Rounds()) << length;
  }
}

// An over-long key is cut to the key size; a short one is padded with zeros.
TEST(BlockCipher, KeysAreCutOrZeroPaddedToTheKeySize) {
  std::mt19937 random(11);
  const Bytes long_key = RandomBytes(random, 40);
  Bytes block = RandomBytes(random, 16);
  Bytes expected = block;
  Keyed(TCipher_Rijndael::Class(), Bytes(long_key.begin(), long_key.begin() + 32))
      ->EncryptBlock(expected.data());
  Keyed(TCipher_Rijndael::Class(), long_key)->EncryptBlock(block.data());
  EXPECT_EQ(ToHex(expected), ToHex(block));

  Bytes des_block = RandomBytes(random, 8);
  Bytes single = des_block;
  Keyed(TCipher_1DES::Class(), Bytes(long_key.begin(), long_key.begin() + 8))->EncryptBlock(single.data());
  Bytes padded = des_block;
  Bytes k16(long_key.begin(), long_key.begin() + 16);
  Bytes k24 = k16;
  k24.resize(24, 0);
  Keyed(TCipher_3DES::Class(), k16)->EncryptBlock(des_block.data());
  Keyed(TCipher_3DES::Class(), k24)->EncryptBlock(padded.data());
  EXPECT_EQ(ToHex(padded), ToHex(des_block));
}

// One oracle run: encipher and decipher a block with the key.
using OracleBlock = std::function<void(const Bytes& key, const uint8_t* in, uint8_t* out, bool decipher)>;

template <typename Cipher>
OracleBlock OracleOf() {
  return [](const Bytes& key, const uint8_t* in, uint8_t* out, bool decipher) {
    if (decipher) {
      typename Cipher::Decryption(key.data(), key.size()).ProcessBlock(in, out);
    } else {
      typename Cipher::Encryption(key.data(), key.size()).ProcessBlock(in, out);
    }
  };
}

TEST(BlockCipher, MatchesTheOracleOnRandomKeysAndBlocks) {
  struct Case {
    TCipherClass cipher_class;
    size_t key_length;
    OracleBlock oracle;
  };
  const Case cases[] = {
      {TCipher_Rijndael::Class(), 16, OracleOf<CryptoPP::AES>()},
      {TCipher_Rijndael::Class(), 24, OracleOf<CryptoPP::AES>()},
      {TCipher_Rijndael::Class(), 32, OracleOf<CryptoPP::AES>()},
      {TCipher_1DES::Class(), 8, OracleOf<CryptoPP::DES>()},
      {TCipher_3DES::Class(), 24, OracleOf<CryptoPP::DES_EDE3>()},
      {TCipher_Blowfish::Class(), 32, OracleOf<CryptoPP::Blowfish>()},
      {TCipher_Blowfish::Class(), 56, OracleOf<CryptoPP::Blowfish>()},
      {TCipher_Blowfish::Class(), 5, OracleOf<CryptoPP::Blowfish>()},
      {TCipher_Twofish::Class(), 16, OracleOf<CryptoPP::Twofish>()},
      {TCipher_Twofish::Class(), 24, OracleOf<CryptoPP::Twofish>()},
      {TCipher_Twofish::Class(), 32, OracleOf<CryptoPP::Twofish>()},
      {TCipher_Square::Class(), 16, OracleOf<CryptoPP::Square>()},
  };
  std::mt19937 random(3);
  for (const Case& c : cases) {
    const auto block_size = size_t(c.cipher_class->sizes.block_size);
    for (int trial = 0; trial < 20; ++trial) {
      const Bytes key = RandomBytes(random, c.key_length);
      const Bytes plain = RandomBytes(random, block_size);
      Bytes expected(block_size);
      c.oracle(key, plain.data(), expected.data(), false);
      std::unique_ptr<TCipher> cipher = Keyed(c.cipher_class, key);
      Bytes block = plain;
      cipher->EncryptBlock(block.data());
      ASSERT_EQ(ToHex(expected), ToHex(block)) << c.cipher_class->class_name << " key " << ToHex(key);
      c.oracle(key, expected.data(), block.data(), true);
      ASSERT_EQ(ToHex(plain), ToHex(block));
      cipher->DecryptBlock(expected.data());
      ASSERT_EQ(ToHex(plain), ToHex(expected)) << c.cipher_class->class_name << " key " << ToHex(key);
    }
  }
}

// The 24-byte block: three DES blocks under K1, then K2 deciphering, then K3,
// with the second and third words traded between the stages.
TEST(BlockCipher, TripleDesOnTwentyFourBytesTradesTheMiddleWords) {
  std::mt19937 random(5);
  const Bytes key = RandomBytes(random, 24);
  const Bytes plain = RandomBytes(random, 24);
  auto des = [&](int k, bool decipher, Bytes& b) {
    const Bytes sub(key.begin() + 8 * k, key.begin() + 8 * k + 8);
    for (int i = 0; i < 24; i += 8) OracleOf<CryptoPP::DES>()(sub, b.data() + i, b.data() + i, decipher);
  };
  auto trade = [](Bytes& b) { std::swap_ranges(b.begin() + 4, b.begin() + 8, b.begin() + 8); };
  Bytes expected = plain;
  des(0, false, expected);
  trade(expected);
  des(1, true, expected);
  trade(expected);
  des(2, false, expected);

  std::unique_ptr<TCipher> cipher = Keyed(TCipher_3TDES::Class(), key);
  Bytes block = plain;
  cipher->EncryptBlock(block.data());
  EXPECT_EQ(ToHex(expected), ToHex(block));
  cipher->DecryptBlock(block.data());
  EXPECT_EQ(ToHex(plain), ToHex(block));
}

}  // namespace
