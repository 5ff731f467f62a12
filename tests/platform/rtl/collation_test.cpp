#include "platform/rtl/Collation.h"

#include <gtest/gtest.h>
#include <thai/thcoll.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "platform/rtl/Unicode.h"

namespace {

// Thai letters of UTF-8 text as code page 874 bytes; ASCII as it is.
std::string Cp874(const std::string& utf8) {
  std::string bytes;
  for (char16_t c : Utf8ToUtf16(utf8)) bytes += static_cast<char>(c < 0x80 ? c : c - 0x0E00 + 0xA0);
  return bytes;
}

int Sign(int value) {
  return (value > 0) - (value < 0);
}

int LibThai(const std::string& a, const std::string& b) {
  return Sign(
      th_strcoll(reinterpret_cast<const thchar_t*>(a.c_str()), reinterpret_cast<const thchar_t*>(b.c_str())));
}

std::string RandomText(std::mt19937& random, const std::string& alphabet, int max_length) {
  std::string text(random() % (max_length + 1), ' ');
  for (char& c : text) c = alphabet[random() % alphabet.size()];
  return text;
}

TEST(Collation, SortsThaiInDictionaryOrder) {
  std::vector<std::string> words;
  for (const char* w : {"กา", "ไก่", "เกม", "แกะ", "ขวด", "กก", "ก้อน", "กรุงเทพ", "โกง", "เก่ง", "เก้า"})
    words.push_back(Cp874(w));
  std::sort(words.begin(), words.end(),
            [](const std::string& a, const std::string& b) { return CollateText(a, b, false) < 0; });
  std::vector<std::string> expected;
  for (const char* w : {"กก", "กรุงเทพ", "ก้อน", "กา", "เก่ง", "เกม", "เก้า", "แกะ", "โกง", "ไก่", "ขวด"})
    expected.push_back(Cp874(w));
  EXPECT_EQ(expected, words);
}

TEST(Collation, IgnoringCaseFoldsAsciiLettersOnly) {
  const struct {
    std::string a, b;
    int sensitive, insensitive;
  } cases[] = {
      {"abc", "ABC", -1, 0},
      {"ABC", "abd", -1, -1},
      {Cp874("กabc"), Cp874("กABC"), -1, 0},
      {"a-b", "ab", 1, 1},
      {"", "", 0, 0},
      {"", "a", -1, -1},
      {Cp874("ก"), "z", 1, 1},
      // libthai reads past the end of a text that ends in a leading vowel.
      {Cp874("เ") + "\xa0", "\xa0" + Cp874("เ"), -1, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.a + " / " + c.b);
    EXPECT_EQ(c.sensitive, Sign(CollateText(c.a, c.b, false)));
    EXPECT_EQ(-c.sensitive, Sign(CollateText(c.b, c.a, false)));
    EXPECT_EQ(c.insensitive, Sign(CollateText(c.a, c.b, true)));
    EXPECT_EQ(-c.insensitive, Sign(CollateText(c.b, c.a, true)));
  }
}

TEST(Collation, EqualOnlyForEqualBytes) {
  std::mt19937 random(7);
  const std::string alphabet = "aAbB1 -\x01\x7f" + Cp874("กขเ่้ะ") + "\x80\xa0";
  for (int i = 0; i < 20000; ++i) {
    const std::string a = RandomText(random, alphabet, 4), b = RandomText(random, alphabet, 4);
    std::string fa = a, fb = b;
    for (std::string* s : {&fa, &fb})
      for (char& c : *s)
        if (c >= 'a' && c <= 'z') c -= 32;
    ASSERT_EQ(a == b, CollateText(a, b, false) == 0) << a << " / " << b;
    ASSERT_EQ(fa == fb, CollateText(a, b, true) == 0) << a << " / " << b;
    ASSERT_EQ(Sign(CollateText(a, b, false)), -Sign(CollateText(b, a, false)));
  }
}

TEST(Collation, AsciiTextsFollowLibThai) {
  std::mt19937 random(11);
  std::string all_ascii;
  for (int c = 1; c < 128; ++c) all_ascii += static_cast<char>(c);
  const std::string dense = "aAbBzZ09 _-.,'\x01\x7f~|";
  for (int i = 0; i < 100000; ++i) {
    const std::string& alphabet = i % 2 ? all_ascii : dense;
    const std::string a = RandomText(random, alphabet, 6);
    std::string b = i % 3 ? RandomText(random, alphabet, 6) : a;
    if (!b.empty() && i % 3 == 0) b[random() % b.size()] = alphabet[random() % alphabet.size()];
    const int expected = LibThai(a, b) != 0 ? LibThai(a, b) : Sign(a.compare(b));
    ASSERT_EQ(expected, Sign(CollateText(a, b, false))) << a << " / " << b;
  }
}

TEST(Collation, ComparesTextsThatAreNotZeroTerminated) {
  const std::string long_a = Cp874(std::string(300, 'x') + "ก"), long_b = Cp874(std::string(300, 'x') + "ข");
  EXPECT_LT(CollateText(long_a, long_b, false), 0);
  EXPECT_EQ(0, CollateText(std::string_view(long_a).substr(0, 300), std::string_view(long_b).substr(0, 300),
                           false));
  const char buffer[] = {'a', 'b', 'c', 'd'};
  EXPECT_EQ(0, CollateText(std::string_view(buffer, 3), "abc", false));
  EXPECT_GT(CollateText(std::string_view(buffer, 4), "abc", false), 0);
  // Collation stops at a zero byte, the tie-break does not.
  EXPECT_GT(CollateText(std::string_view("a\0z", 3), "a", false), 0);
  EXPECT_LT(CollateText(std::string_view("a\0z", 3), "b", false), 0);
}

}  // namespace
