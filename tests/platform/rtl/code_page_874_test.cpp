#include <gtest/gtest.h>

#include "platform/rtl/CodePage874.h"
#include "platform/rtl/Exception.h"

namespace {

TEST(CodePage874, ThaiLettersMapToTis620Bytes) {
  EXPECT_EQ(Utf8ToCp874("กขค"), "\xA1\xA2\xA4");
  EXPECT_EQ(Cp874ToUtf8("\xA1\xA2\xA4"), "กขค");
  EXPECT_EQ(Utf8ToCp874("ABC 123"), "ABC 123");
}

TEST(CodePage874, EveryDefinedByteRoundTripsAndTheWindowsAdditionsAreThere) {
  int defined = 0;
  for (int b = 0; b < 256; ++b) {
    char32_t c;
    if (!Cp874ToUnicode(static_cast<uint8_t>(b), c)) continue;
    ++defined;
    uint8_t back;
    ASSERT_TRUE(UnicodeToCp874(c, back)) << b;
    EXPECT_EQ(back, b);
  }
  EXPECT_EQ(defined, 128 + 10 + 58 + 29);  // ASCII, Windows additions, two Thai runs

  struct Pair {
    const char* utf8;
    const char* cp874;
  };
  for (const Pair& p :
       {Pair{"€", "\x80"}, Pair{"…", "\x85"}, Pair{"‘’“”", "\x91\x92\x93\x94"}, Pair{"•–—", "\x95\x96\x97"},
        Pair{"\u00A0", "\xA0"}, Pair{"ฺ", "\xDA"}, Pair{"฿", "\xDF"}, Pair{"๙๚๛", "\xF9\xFA\xFB"}}) {
    EXPECT_EQ(Utf8ToCp874(p.utf8), p.cp874) << p.utf8;
    EXPECT_EQ(Cp874ToUtf8(p.cp874), p.utf8) << p.utf8;
  }
}

TEST(CodePage874, TextItCannotHoldIsRefusedNeverReplaced) {
  try {
    Utf8ToCp874("ราคา 中 บาท");
    FAIL() << "a Chinese character was accepted";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "The character \"中\" (U+4E2D) cannot be stored in code page 874");
  }
  EXPECT_THROW(Utf8ToCp874("é"), EConvertError);
  EXPECT_THROW(Utf8ToCp874("\xE0\xB8"), EConvertError) << "truncated UTF-8";
  EXPECT_THROW(Utf8ToCp874("\xC0\xA1"), EConvertError) << "overlong UTF-8";
  try {
    Cp874ToUtf8("ab\xDB");
    FAIL() << "an undefined byte was accepted";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Byte $DB at position 3 has no character in code page 874");
  }
}

}  // namespace
