#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "platform/rtl/Exception.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/FormatFloat.h"
#include "platform/rtl/NumberText.h"
#include "platform/rtl/TextCase.h"

namespace {

TEST(StrToInt, AcceptsDecimalAndHexadecimalWithinRange) {
  struct Case {
    const char* text;
    bool valid;
    int32_t value;
  };
  for (const Case& c :
       {Case{"12", true, 12}, Case{"  -12", true, -12}, Case{"+7", true, 7}, Case{"$FF", true, 255},
        Case{"0x10", true, 16}, Case{"-$10", true, -16}, Case{"$FFFFFFFF", true, -1},
        Case{"2147483647", true, INT32_MAX}, Case{"-2147483648", true, INT32_MIN},
        Case{"2147483648", false, 0}, Case{"-2147483649", false, 0}, Case{"$100000000", false, 0},
        Case{"12 ", false, 0}, Case{"", false, 0}, Case{"-", false, 0}, Case{"1.5", false, 0},
        Case{"$", false, 0}, Case{"99999999999999999999999", false, 0}}) {
    int32_t value = 0;
    EXPECT_EQ(TryStrToInt(c.text, value), c.valid) << c.text;
    if (c.valid) {
      EXPECT_EQ(value, c.value) << c.text;
    }
    EXPECT_EQ(StrToIntDef(c.text, -99), c.valid ? c.value : -99) << c.text;
  }
  try {
    StrToInt("12x");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'12x' is not a valid integer value");
  }
  EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
  EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
  EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
}

TEST(IntToText, DecimalAndHexadecimal) {
  EXPECT_EQ(IntToStr(-1234567890123), "-1234567890123");
  EXPECT_EQ(IntToHex(255, 4), "00FF");
  EXPECT_EQ(IntToHex(0x1234, 2), "1234");
  EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
  EXPECT_EQ(IntToHex(int64_t{-1}, 4), "FFFFFFFFFFFFFFFF");
}

TEST(StrToFloat, ParsesOnlyPlainDecimalText) {
  struct Case {
    const char* text;
    bool valid;
    double value;
  };
  for (const Case& c :
       {Case{"12.5", true, 12.5}, Case{" -1.5e3 ", true, -1500}, Case{".5", true, 0.5}, Case{"5.", true, 5},
        Case{"+2E-2", true, 0.02}, Case{"1e-400", true, 0}, Case{"1e400", false, 0}, Case{"1,5", false, 0},
        Case{"1.2.3", false, 0}, Case{"inf", false, 0}, Case{"nan", false, 0}, Case{"0x1p3", false, 0},
        Case{"", false, 0}, Case{".", false, 0}, Case{"1e", false, 0}, Case{"e5", false, 0}}) {
    double value = -1;
    EXPECT_EQ(TryStrToFloat(c.text, value), c.valid) << c.text;
    if (c.valid) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
  try {
    StrToFloat("1,5");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'1,5' is not a valid floating point value");
  }
}

TEST(FloatToStr, GivesTheShortestGeneralText) {
  EXPECT_EQ(FloatToStr(0.1 + 0.2), "0.3");
  EXPECT_EQ(FloatToStr(1.5), "1.5");
  EXPECT_EQ(FloatToStr(-250), "-250");
  EXPECT_EQ(FloatToStr(1e20), "1E20");
  EXPECT_EQ(FloatToStr(0.0001), "0.0001");
  EXPECT_EQ(FloatToStr(0.00001), "1E-5");
  EXPECT_EQ(FloatToStr(123456789012345678.0), "1.23456789012346E17");
}

// The machine's locale must never change how numbers read or print.
TEST(NumberText, IgnoresTheMachinesDecimalComma) {
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ru_RU.UTF-8", "C"}) {
    if (!std::setlocale(LC_ALL, name)) continue;
    SCOPED_TRACE(name);
    EXPECT_EQ(StrToFloat("12.5"), 12.5);
    EXPECT_THROW(StrToFloat("12,5"), EConvertError);
    EXPECT_EQ(FloatToStr(12.5), "12.5");
    EXPECT_EQ(FormatFloat("#,##0.00", 1234.5), "1,234.50");
    EXPECT_EQ(Format("%.2f %n %e", 1234.5, 1234.5, 1234.5), "1234.50 1,234.50 1.23450000000000E+003");
  }
  std::setlocale(LC_ALL, previous.c_str());
}

TEST(TextCase, FoldsAndTrimsOnlyAsciiBytes) {
  EXPECT_EQ(UpperCase("abc\xA1z"), "ABC\xA1Z");
  EXPECT_EQ(LowerCase("ABC\xA1Z"), "abc\xA1z");
  EXPECT_TRUE(SameText("Select", "SELECT"));
  EXPECT_FALSE(SameText("abc", "abcd"));
  EXPECT_EQ(CompareText("apple", "BANANA") < 0, true);
  EXPECT_EQ(CompareText("b", "\xA1") < 0, true) << "Thai bytes sort after ASCII";
  EXPECT_EQ(CompareText("ab", "AB"), 0);
  EXPECT_GT(CompareStr("a", "B"), 0);
  EXPECT_EQ(Trim(" \t\xA1\xA2\r\n"), "\xA1\xA2");
  EXPECT_EQ(TrimLeft("  x  "), "x  ");
  EXPECT_EQ(TrimRight("  x  "), "  x");
  EXPECT_EQ(Trim(" \x01 "), "");
}

}  // namespace
