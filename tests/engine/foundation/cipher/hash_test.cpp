#define CRYPTOPP_ENABLE_NAMESPACE_WEAK 1
#include <cryptopp/md4.h>
#include <cryptopp/ripemd.h>
#include <gtest/gtest.h>

#include "engine/foundation/VTRSecurity.h"
#include "tests/engine/foundation/cipher/CipherTestUtil.h"

namespace {

std::string DigestOf(THash& hash, std::string_view message) {
  hash.BeginDigest();
  hash.AddData(message.data(), message.size());
  hash.FinishDigest();
  return ToHex(hash.DigestBytes(), size_t(hash.DigestSize()));
}

struct HashVector {
  THashClass hash_class;
  std::string message;
  const char* digest;
};

const std::string kMillionA(1000000, 'a');
const std::string kDigits80 =
    "12345678901234567890123456789012345678901234567890123456789012345678901234567890";

TEST(Hash, KnownAnswers) {
  const HashVector vectors[] = {
      // RFC 1320
      {THash_MD4::Class(), "", "31d6cfe0d16ae931b73c59d7e0c089c0"},
      {THash_MD4::Class(), "a", "bde52cb31de33e46245e05fbdbd6fb24"},
      {THash_MD4::Class(), "abc", "a448017aaf21d8525fc10ae87aa6729d"},
      {THash_MD4::Class(), "message digest", "d9130a8164549fe818874806e1c7014b"},
      {THash_MD4::Class(), "abcdefghijklmnopqrstuvwxyz", "d79e1c308aa5bbcdeea8ed63df412da9"},
      {THash_MD4::Class(), "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       "043f8582f241db351ce627e153e7f0e4"},
      {THash_MD4::Class(), kDigits80, "e33b4ddc9c38f2199c3e7b164fcc0536"},
      // RIPEMD-128 and RIPEMD-256 test values of their authors
      {THash_RipeMD128::Class(), "", "cdf26213a150dc3ecb610f18f6b38b46"},
      {THash_RipeMD128::Class(), "a", "86be7afa339d0fc7cfc785e72f578d33"},
      {THash_RipeMD128::Class(), "abc", "c14a12199c66e4ba84636b0f69144c77"},
      {THash_RipeMD128::Class(), "message digest", "9e327b3d6e523062afc1132d7df9d1b8"},
      {THash_RipeMD128::Class(), "abcdefghijklmnopqrstuvwxyz", "fd2aa607f71dc8f510714922b371834e"},
      {THash_RipeMD128::Class(), kDigits80, "3f45ef194732c2dbb2c4a2c769795fa3"},
      {THash_RipeMD128::Class(), kMillionA, "4a7f5723f954eba1216c9d8f6320431f"},
      {THash_RipeMD256::Class(), "", "02ba4c4e5f8ecd1877fc52d64d30e37a2d9774fb1e5d026380ae0168e3c5522d"},
      {THash_RipeMD256::Class(), "a", "f9333e45d857f5d90a91bab70a1eba0cfb1be4b0783c9acfcd883a9134692925"},
      {THash_RipeMD256::Class(), "abc", "afbd6e228b9d8cbbcef5ca2d03e6dba10ac0bc7dcbe4680e1e42d2e975459b65"},
      {THash_RipeMD256::Class(), "message digest",
       "87e971759a1ce47a514d5c914c392c9018c7c46bc14465554afcdf54a5070c0e"},
      {THash_RipeMD256::Class(), kDigits80,
       "06fdcc7a409548aaf91368c06a6275b553e3f099bf0ea4edfd6778df89a890dd"},
      {THash_RipeMD256::Class(), kMillionA,
       "ac953744e10e31514c150d4d8d7b677342e33399788296e43ae4850ce4f97978"},
  };
  for (const HashVector& v : vectors) {
    std::unique_ptr<THash> hash = v.hash_class->create();
    EXPECT_EQ(v.digest, DigestOf(*hash, v.message))
        << v.hash_class->class_name << " of " << v.message.size() << " bytes";
  }
}

template <typename Oracle>
std::string OracleDigest(const Bytes& message) {
  Oracle oracle;
  Bytes digest(Oracle::DIGESTSIZE);
  oracle.CalculateDigest(digest.data(), message.data(), message.size());
  return ToHex(digest);
}

// Every length around the block and padding boundaries, fed in uneven pieces.
TEST(Hash, MatchesTheOracleForEveryLengthAndPieceSize) {
  std::mt19937 random(7);
  THash_MD4 md4;
  THash_RipeMD128 ripemd128;
  THash_RipeMD256 ripemd256;
  for (size_t length = 0; length <= 200; ++length) {
    const Bytes message = RandomBytes(random, length);
    const size_t piece = 1 + length % 13;
    auto digest_in_pieces = [&](THash& hash) {
      for (size_t i = 0; i < length; i += piece)
        hash.AddData(message.data() + i, std::min(piece, length - i));
      hash.FinishDigest();
      return ToHex(hash.DigestBytes(), size_t(hash.DigestSize()));
    };
    EXPECT_EQ(OracleDigest<CryptoPP::Weak::MD4>(message), digest_in_pieces(md4)) << length;
    EXPECT_EQ(OracleDigest<CryptoPP::RIPEMD128>(message), digest_in_pieces(ripemd128)) << length;
    EXPECT_EQ(OracleDigest<CryptoPP::RIPEMD256>(message), digest_in_pieces(ripemd256)) << length;
  }
}

TEST(Hash, FinishDigestLeavesTheHashBegunForTheNextMessage) {
  THash_RipeMD256 hash;
  hash.AddData("abc", 3);
  hash.FinishDigest();
  hash.AddData("abc", 3);
  hash.FinishDigest();
  EXPECT_EQ("afbd6e228b9d8cbbcef5ca2d03e6dba10ac0bc7dcbe4680e1e42d2e975459b65",
            ToHex(hash.DigestBytes(), 32));
  EXPECT_EQ("THash_RipeMD256", hash.ClassName());
}

}  // namespace
