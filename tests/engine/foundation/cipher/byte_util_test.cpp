#include <gtest/gtest.h>

#include <algorithm>

#include "engine/foundation/VTRCipher.h"
#include "engine/foundation/VTRDecUtil.h"
#include "tests/engine/foundation/cipher/CipherTestUtil.h"

namespace {

TEST(ByteUtil, WordAndByteRoutines) {
  EXPECT_EQ(0x78563412u, SwapBytes32(0x12345678u));
  EXPECT_EQ(0x23456781u, RotateLeft32(0x12345678u, 4));
  EXPECT_EQ(0x81234567u, RotateRight32(0x12345678u, 4));

  Bytes words = FromHex("0102030405060708");
  SwapBytes32Buffer(words.data(), words.data(), 2);
  EXPECT_EQ("0403020108070605", ToHex(words));

  const Bytes a = FromHex("0f0f0f"), b = FromHex("ff00f0");
  Bytes x(3);
  XorBytes(a.data(), b.data(), 3, x.data());
  EXPECT_EQ("f00fff", ToHex(x));

  EXPECT_EQ(0, CompareBytes("abc", "abc", 3));
  EXPECT_EQ('b' - 'd', CompareBytes("abc", "adc", 3));
  EXPECT_GT(CompareBytes("\xFF", "\x01", 1), 0);
}

// seed := ((seed xor byte) * 134775813 + 1) mod 2^32, byte := top byte of seed.
TEST(ByteUtil, RandomXorFillMixesEachByteIntoTheSequence) {
  uint8_t bytes[2] = {0x00, 0x01};
  const uint32_t seed = RandomXorFill(0, bytes, 2);
  const uint32_t s1 = 1;
  const uint32_t s2 = (s1 ^ 1u) * 134775813u + 1u;
  EXPECT_EQ(uint8_t(s1 >> 24), bytes[0]);
  EXPECT_EQ(uint8_t(s2 >> 24), bytes[1]);
  EXPECT_EQ(s2, seed);
}

TEST(CipherClassList, StartsWithRijndaelAndNamesClassesByDefault) {
  const auto& list = CipherClassList();
  ASSERT_FALSE(list.empty());
  EXPECT_EQ("Rijndael=", list[0].text);
  EXPECT_EQ(TCipher_Rijndael::Class(), list[0].cipher_class);

  RegisterCipherClass(TCipher_Twofish::Class(), "", "first");
  RegisterCipherClass(TCipher_Twofish::Class(), "", "Twofish cipher");
  const auto twofish = [&] {
    return std::count_if(list.begin(), list.end(), [](const TCipherClassEntry& e) {
      return e.cipher_class == TCipher_Twofish::Class();
    });
  };
  EXPECT_EQ(1, twofish());
  EXPECT_EQ("Twofish=Twofish cipher", list.back().text);

  RegisterCipherClass(TCipher_Rijndael::Class(), "AES", "");
  EXPECT_EQ("AES=", list[0].text);
  RegisterCipherClass(TCipher_Rijndael::Class(), "", "");
  EXPECT_EQ("Rijndael=", list[0].text);
}

}  // namespace
