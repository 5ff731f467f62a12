#include "platform/rtl/Format.h"

#include <gtest/gtest.h>

#include "platform/rtl/Exception.h"

namespace {

struct FormatCase {
  std::string expected;
  std::string actual;
};

TEST(Format, ConvertsEachArgumentKind) {
  const FormatCase cases[] = {
      {"30286", Format("%.5d", 30286)},
      {"01234", Format("%.5d", 1234)},
      {" 1234", Format("%5d", 1234)},
      {"-0012", Format("%.4d", -12)},
      {"7   |", Format("%-4d|", 7)},
      {"FF", Format("%x", 255)},
      {"FFFFFFFF", Format("%x", -1)},
      {"4294967295", Format("%u", -1)},
      {"1.50", Format("%f", 1.5)},
      {"1.01", Format("%.2f", 1.005)},
      {"0.30", Format("%.2f", 0.1 + 0.2)},
      {"-2.5", Format("%.1f", -2.45)},
      {"1,234,567.89", Format("%n", 1234567.891)},
      {"1.50000000000000E+000", Format("%e", 1.5)},
      {"0.25", Format("%g", 0.25)},
      {"1E20", Format("%g", 1e20)},
      {"abc", Format("%s", "abc")},
      {"ab", Format("%.2s", "abc")},
      {"  x", Format("%3s", 'x')},
      {"b a", Format("%1:s %0:s", "a", "b")},
      {"100%", Format("%d%%", 100)},
      {"   42", Format("%*d", 5, 42)},
      {"no placeholders", Format("no placeholders")},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, c.actual);
}

TEST(Format, RefusesArgumentsThatDoNotFit) {
  EXPECT_THROW(Format("%s", 12), EConvertError);
  EXPECT_THROW(Format("%d", "12"), EConvertError);
  EXPECT_THROW(Format("%d", 1.5), EConvertError);
  EXPECT_THROW(Format("%f", 3), EConvertError);
  EXPECT_THROW(Format("%d", true), EConvertError);
  EXPECT_THROW(Format("%d %d", 1), EConvertError);
  EXPECT_THROW(Format("%q", 1), EConvertError);
  EXPECT_THROW(Format("trailing %"), EConvertError);
}

}  // namespace
