#include <gtest/gtest.h>

#include "app/core/ZeroPadding.h"

namespace {

TEST(ZeroPadding, RunningNumbersArePaddedButNeverCut) {
  struct Case {
    const char* text;
    int width;
    const char* padded;
  };
  for (const Case& c :
       {Case{"42", 6, "000042"}, Case{" 42 ", 8, "00000042"}, Case{"123456", 6, "123456"},
        Case{"1234567", 6, "1234567"}, Case{"  ", 6, ""}, Case{"", 6, ""}, Case{"ก1", 4, "00ก1"}}) {
    EXPECT_EQ(PadLeftZeros(c.text, c.width), c.padded) << '"' << c.text << "\" " << c.width;
  }
}

}  // namespace
