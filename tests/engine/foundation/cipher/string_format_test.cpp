#include <gtest/gtest.h>

#include <functional>

#include "engine/foundation/VTRDecUtil.h"
#include "tests/engine/foundation/cipher/CipherTestUtil.h"

namespace {

TEST(StringFormat, Mime64DecodeSkipsForeignCharactersAndKeepsToThePaddedLength) {
  const std::pair<const char*, std::string> cases[] = {
      {"QQ==", "A"},
      {"QUJD", "ABC"},
      {"QU JD", "ABC"},
      {"QUJ", "AB"},
      {"QU\r\nJD\r\n", "ABC"},
      {"====", ""},
      {"", ""},
      {"!!!", ""},
      {"SGVsbG8sIHdvcmxk", "Hello, world"},
      {"AP8A/w==", std::string("\x00\xFF\x00\xFF", 4)},
  };
  const TStringFormat_MIME64 mime64;
  for (const auto& [text, bytes] : cases) EXPECT_EQ(bytes, mime64.DecodeText(text)) << text;
}

TEST(StringFormat, EncodeThenDecodeReturnsTheBytesInEveryFormat) {
  std::mt19937 random(31);
  for (const int32_t number : {1, 16, 1016, 4196, 21845, 22616}) {
    const TStringFormat* format = FindStringFormat(number);
    ASSERT_NE(nullptr, format) << number;
    EXPECT_EQ(number, format->FormatNumber());
    for (const size_t size : {0, 1, 2, 3, 44, 45, 46, 91, 200}) {
      const Bytes bytes = RandomBytes(random, size);
      const std::string data(bytes.begin(), bytes.end());
      const std::string text = format->EncodeText(data);
      EXPECT_TRUE(format->CheckText(text, TTextDirection::Decode)) << number << " " << size;
      EXPECT_EQ(data, format->DecodeText(text)) << format->DisplayName() << ", " << size << " bytes";
    }
  }
}

TEST(StringFormat, EncodingsOfKnownBytes) {
  EXPECT_EQ("4142FF", TStringFormat_HEX().EncodeText("AB\xFF"));
  EXPECT_EQ("4142ff", TStringFormat_HEXL().EncodeText("AB\xFF"));
  EXPECT_EQ("QUJD", TStringFormat_MIME64().EncodeText("ABC"));
  EXPECT_EQ("QQ==", TStringFormat_MIME64().EncodeText("A"));
  EXPECT_EQ("#0V%T", TStringFormat_UU().EncodeText("Cat"));
  EXPECT_EQ("!````", TStringFormat_UU().EncodeText(std::string(1, '\0')));
  // 46 bytes: a full piece of 45, then a piece of one.
  const std::string text = TStringFormat_UU().EncodeText(std::string(46, '\0'));
  EXPECT_EQ(1u + 60u + 1u + 4u, text.size());
  EXPECT_EQ('M', text[0]);
  EXPECT_EQ('!', text[61]);
}

TEST(StringFormat, HexDecodeDropsAPrefixAndIgnoresSeparators) {
  const std::pair<const char*, const char*> cases[] = {
      {"0x4142", "AB"}, {"$41 42", "AB"}, {"41-42h", "AB"}, {"4a4B", "JK"}, {"414", "A"}, {"41x42", "B"},
  };
  for (const auto& [text, bytes] : cases) {
    EXPECT_EQ(bytes, TStringFormat_HEX().DecodeText(text)) << text;
    EXPECT_EQ(bytes, TStringFormat_HEXL().DecodeText(text)) << text;
  }
}

TEST(StringFormat, RegistryLooksFormatsUpByNumber) {
  EXPECT_EQ(4196, FindStringFormat(-1)->FormatNumber());
  EXPECT_EQ("MIME Base 64", FindStringFormat(-1)->DisplayName());
  EXPECT_EQ(nullptr, FindStringFormat(17));
  EXPECT_EQ("", EncodeToTextFormat("AB", 0));
  EXPECT_EQ("", DecodeFromTextFormat("", 17));
  EXPECT_EQ("4142", EncodeToTextFormat("AB", 16));
  EXPECT_EQ("AB", DecodeFromTextFormat("QUI=", -1));
}

TEST(StringFormat, ConversionErrorsNameTheFormat) {
  const std::tuple<std::function<void()>, const char*> cases[] = {
      {[] { EncodeToTextFormat("AB", 17); }, "String Format \"17\" not exists."},
      {[] { DecodeFromTextFormat("41G2", 16); }, "Input is not an valid Hexadecimal Format."},
      {[] { DecodeFromTextFormat("QU?D", 4196); }, "Input is not an valid MIME Base 64 Format."},
      {[] { TStringFormat_UU().DecodeText("N"); }, "Input is not an valid UU Coding Format."},
      {[] { TStringFormat_XX().DecodeText("z"); }, "Input is not an valid XX Coding Format."},
  };
  for (const auto& [call, message] : cases) {
    try {
      call();
      ADD_FAILURE() << "no exception for " << message;
    } catch (const EStringFormat& e) {
      EXPECT_EQ(message, e.Message());
    }
  }
}

}  // namespace
