#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "engine/foundation/VTRCipher.h"
#include "engine/foundation/VTRDecUtil.h"
#include "engine/foundation/VTRSecurity.h"
#include "tests/engine/foundation/cipher/CipherTestUtil.h"

namespace {

// A stream over a byte vector.
class VectorStream : public TStream {
 public:
  explicit VectorStream(Bytes data = {}) : data_(std::move(data)) {}
  int32_t Read(void* buffer, int32_t count) override {
    const auto n = int32_t(std::min<int64_t>(count, int64_t(data_.size()) - position_));
    if (n <= 0) return 0;
    std::memcpy(buffer, data_.data() + position_, size_t(n));
    position_ += n;
    return n;
  }
  int32_t Write(const void* buffer, int32_t count) override {
    if (size_t(position_ + count) > data_.size()) data_.resize(size_t(position_ + count));
    std::memcpy(data_.data() + position_, buffer, size_t(count));
    position_ += count;
    return count;
  }
  int64_t Seek(int64_t offset, TSeekOrigin origin) override {
    const int64_t base = origin == TSeekOrigin::soBeginning ? 0
                         : origin == TSeekOrigin::soCurrent ? position_
                                                            : int64_t(data_.size());
    position_ = base + offset;
    return position_;
  }
  const Bytes& Data() const { return data_; }

 private:
  Bytes data_;
  int64_t position_ = 0;
};

std::shared_ptr<TCipher> KeyedCipher(TCipherClass cipher_class, std::string_view password) {
  return std::shared_ptr<TCipher>(TCipher::Create(cipher_class, password));
}

TEST(Protection, CipherPassesEncipherAndDecipherLikeTheBufferCalls) {
  std::mt19937 random(37);
  const Bytes plain = RandomBytes(random, 5000);
  const auto cipher = KeyedCipher(TCipher_Rijndael::Class(), "pass");
  Bytes expected = plain;
  cipher->EncryptBuffer(expected.data(), expected.data(), expected.size());

  Bytes buffer = plain;
  EXPECT_EQ(buffer.size(), cipher->ProcessBuffer(buffer.data(), buffer.size(), TProtectionAction::Encipher));
  EXPECT_EQ(ToHex(expected), ToHex(buffer));
  cipher->ProcessBuffer(buffer.data(), buffer.size(), TProtectionAction::Decipher);
  EXPECT_EQ(ToHex(plain), ToHex(buffer));

  VectorStream stream(plain);
  cipher->ProcessStream(stream, nullptr, -1, TProtectionAction::Encipher);
  EXPECT_EQ(ToHex(expected), ToHex(stream.Data()));
  VectorStream source(expected), dest;
  cipher->ProcessStream(source, &dest, -1, TProtectionAction::Decipher);
  EXPECT_EQ(ToHex(plain), ToHex(dest.Data()));
}

TEST(Protection, ALinkedChainDeciphersInReverseOrder) {
  const auto inner = KeyedCipher(TCipher_Blowfish::Class(), "inner");
  const auto outer = KeyedCipher(TCipher_Square::Class(), "outer");
  outer->SetLinked(inner);
  const std::string text = "A chain of protections";
  const std::string encoded = outer->ProcessString(text, TProtectionAction::Encipher, DefaultTextFormat);

  // Enciphering hands the chunk to the linked cipher first.
  Bytes expected(text.begin(), text.end());
  inner->EncryptBuffer(expected.data(), expected.data(), expected.size());
  inner->ResetFeedback();
  outer->EncryptBuffer(expected.data(), expected.data(), expected.size());
  outer->ResetFeedback();
  EXPECT_EQ(TStringFormat_MIME64().EncodeText(std::string(expected.begin(), expected.end())), encoded);

  EXPECT_EQ(text, outer->ProcessString(encoded, TProtectionAction::Decipher, DefaultTextFormat));
}

TEST(Protection, RefusesACircularLink) {
  const auto a = std::make_shared<TProtection>();
  const auto b = std::make_shared<TProtection>(a);
  try {
    a->SetLinked(b);
    FAIL() << "no exception";
  } catch (const EProtection& e) {
    EXPECT_EQ("Circular Protection detected, Protection Object is invalid.", e.Message());
  }
  EXPECT_EQ(nullptr, a->GetLinked());
  EXPECT_THROW(a->SetLinked(a), EProtection);
}

TEST(Protection, DisabledActionLeavesTheDataToTheLinkedProtection) {
  const auto cipher = KeyedCipher(TCipher_1DES::Class(), "x");
  cipher->SetActions(AllProtectionActions & ~(1 << uint8_t(TProtectionAction::Encipher)));
  Bytes buffer(20, 0x33);
  cipher->ProcessBuffer(buffer.data(), buffer.size(), TProtectionAction::Encipher);
  EXPECT_EQ(Bytes(20, 0x33), buffer);
}

TEST(Protection, APassNeedsAKeyedCipher) {
  TCipher_Rijndael cipher;
  uint8_t byte = 0;
  try {
    cipher.ProcessBuffer(&byte, 1, TProtectionAction::Encipher);
    FAIL() << "no exception";
  } catch (const ECipherException& e) {
    EXPECT_EQ(3, e.ErrorCode());
  }
}

TEST(Protection, HashDigestPassGivesTheDigestOfTheData) {
  std::mt19937 random(41);
  const Bytes data = RandomBytes(random, 10000);
  THash_RipeMD128 reference;
  reference.AddData(data.data(), data.size());
  reference.FinishDigest();

  THash_RipeMD128 hash;
  VectorStream stream(data);
  hash.ProcessStream(stream, nullptr, -1, TProtectionAction::Digest);
  EXPECT_EQ(ToHex(reference.DigestBytes(), 16), ToHex(hash.DigestBytes(), 16));
  EXPECT_EQ(ToHex(data), ToHex(stream.Data()));
}

TEST(Protection, HashKeystreamPassesRoundTripAndScrambleOverwritesWithDigests) {
  std::mt19937 random(43);
  const Bytes plain = RandomBytes(random, 100);
  THash_RipeMD256 hash;
  Bytes buffer = plain;
  hash.ProcessBuffer(buffer.data(), buffer.size(), TProtectionAction::Encipher);
  EXPECT_NE(ToHex(plain), ToHex(buffer));
  hash.ProcessBuffer(buffer.data(), buffer.size(), TProtectionAction::Decipher);
  EXPECT_EQ(ToHex(plain), ToHex(buffer));

  hash.ProcessBuffer(buffer.data(), buffer.size(), TProtectionAction::Scramble);
  THash_RipeMD256 first_piece;
  first_piece.AddData(plain.data(), 32);
  first_piece.FinishDigest();
  EXPECT_EQ(ToHex(first_piece.DigestBytes(), 32), ToHex(buffer.data(), 32));
}

}  // namespace
