#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <functional>
#include <string>

#include "engine/foundation/LikePattern.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/VTRTypes.h"
#include "engine/foundation/ValueCompare.h"
#include "engine/foundation/ValueConversion.h"
#include "tests/support/EngineErrors.h"

namespace {

TEST(CommonDataType, FollowsThePromotionRules) {
  const struct {
    int a, b;
    bool prefer_date;
    int common;
  } cases[] = {
      {3, 7, false, 3},    {7, 3, false, 3},    {3, 15, false, 3},   {3, 15, true, 15},   {17, 1, true, 17},
      {22, 7, false, 22},  {7, 22, false, 22},  {21, 22, false, 0},  {19, 19, false, 1},  {19, 3, false, 3},
      {4, 19, false, 4},   {19, 7, false, 0},   {1, 3, false, 3},    {1, 1, false, 1},    {1, 2, false, 2},
      {3, 2, false, 2},    {4, 1, false, 4},    {5, 10, false, 10},  {10, 5, false, 7},   {6, 11, false, 11},
      {11, 6, false, 8},   {9, 9, false, 9},    {9, 5, false, 6},    {7, 11, false, 8},   {8, 9, false, 8},
      {7, 13, false, 13},  {12, 14, false, 14}, {13, 12, false, 13}, {7, 15, false, 15},  {16, 13, false, 16},
      {15, 16, false, 17}, {16, 15, false, 17}, {15, 17, false, 17}, {15, 15, false, 15}, {21, 7, false, 7},
      {12, 21, false, 12}, {21, 21, false, 21}, {21, 15, false, 0},  {22, 15, false, 0},  {22, 22, false, 22},
      {18, 18, false, 0},  {20, 3, false, 0},   {23, 23, false, 0},  {0, 7, false, 0},    {3, 21, false, 3},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.common, GetCommonDataType(static_cast<TVTRBaseDataType>(c.a),
                                          static_cast<TVTRBaseDataType>(c.b), c.prefer_date))
        << c.a << ", " << c.b << (c.prefer_date ? " preferring dates" : "");
}

TEST(CommonDataType, ResultColumnKeepsTheSideOfTheCommonType) {
  EXPECT_EQ(adtAutoInc, ChooseResultDataType(adtAutoInc, adtSmallInt, false));
  EXPECT_EQ(adtString, ChooseResultDataType(adtString, adtMemo, false));
  EXPECT_EQ(adtTimeStamp, ChooseResultDataType(adtTimeStamp, adtDate, false));
  EXPECT_EQ(adtDateTime, ChooseResultDataType(adtDate, adtTime, false));
  EXPECT_EQ(adtUnknown, ChooseResultDataType(adtBlob, adtInteger, false));
}

// A raw value and its size, built from a typed C++ value.
struct Raw {
  std::string bytes;
  TVTRBaseDataType type;
  bool is_null = false;
  static Raw Null(TVTRBaseDataType type) { return {"", type, true}; }
  template <typename T>
  static Raw Of(TVTRBaseDataType type, T value) {
    return {std::string(reinterpret_cast<const char*>(&value), sizeof value), type};
  }
  static Raw Text(const std::string& text, TVTRBaseDataType type = bdtString) { return {text + '\0', type}; }
  int32_t size() const { return static_cast<int32_t>(bytes.size()); }
};

std::string AsText(const Raw& raw) {
  const TVTRValueBuffer b = ConvertValueBuffer(raw.bytes.data(), raw.size(), raw.type, bdtString);
  return std::string(reinterpret_cast<const char*>(b.data.get()), b.size - 1);
}

template <typename T>
T As(const Raw& raw, TVTRBaseDataType target) {
  const TVTRValueBuffer b = ConvertValueBuffer(raw.bytes.data(), raw.size(), raw.type, target);
  T value;
  EXPECT_EQ(static_cast<int32_t>(sizeof value), b.size);
  std::memcpy(&value, b.data.get(), sizeof value);
  return value;
}

TEST(ConvertValue, GivesTextInTheFixedLocale) {
  const TVTRTimeStamp noon{693594 + 31, 43200000};
  const struct {
    Raw raw;
    const char* text;
  } cases[] = {
      {Raw::Of<int32_t>(bdtInteger, -42), "-42"},
      {Raw::Of<uint32_t>(bdtCardinal, 4000000000u), "4000000000"},
      {Raw::Of<int8_t>(bdtShortInt, -5), "-5"},
      {Raw::Of<double>(bdtDouble, 12.5), "12.5"},
      {Raw::Of<double>(bdtDouble, 0.1 + 0.2), "0.3"},
      {Raw::Of<float>(bdtSingle, 0.5f), "0.5"},
      {Raw::Of<double>(bdtCurrency, 1234.56789), "1234.5679"},
      {Raw::Of<double>(bdtCurrency, 12.5), "12.5"},
      {Raw::Of<int16_t>(bdtLogical, -1), "True"},
      {Raw::Of<int16_t>(bdtLogical, 0), "False"},
      {Raw::Of<int32_t>(bdtDate, 693594), "30/12/1899"},
      {Raw::Of<int32_t>(bdtDate, kMissingDayNumber), ""},
      {Raw::Of<int32_t>(bdtTime, 0), ""},
      {Raw::Of<int32_t>(bdtTime, 50400000), "14:00:00"},
      {Raw::Of<TVTRTimeStamp>(bdtDateTime, noon), "30/01/1900 12:00:00"},
      {Raw::Of<TVTRTimeStamp>(bdtDateTime, TVTRTimeStamp{kMissingDayNumber, 0}), ""},
      {Raw::Of<TVTRTimeStamp>(bdtDateTime, TVTRTimeStamp{kMissingDayNumber, 3600000}), "01:00:00"},
      {{"ab\0cd", bdtMemo}, "ab"},
      {{std::string("\x01\x0E\x00\x00", 4), bdtWideString}, "\xA1"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.text, AsText(c.raw)) << int{c.raw.type};
}

TEST(ConvertValue, ReadsNumbersWithAPointWhateverTheLocale) {
  const char* comma_locales[] = {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE", "nl_NL.UTF-8"};
  const char* previous = std::setlocale(LC_ALL, nullptr);
  const std::string saved = previous ? previous : "C";
  bool switched = false;
  for (const char* name : comma_locales)
    if (std::setlocale(LC_ALL, name)) {
      switched = true;
      break;
    }
  if (!switched) GTEST_SKIP() << "no comma-decimal locale installed (Debian package locales-all)";
  ASSERT_STREQ(",", std::localeconv()->decimal_point);
  EXPECT_EQ(12.5, As<double>(Raw::Text("12.5"), bdtDouble));
  EXPECT_EQ(12.5f, As<float>(Raw::Text(" 12.5 "), bdtSingle));
  EXPECT_EQ(12.5, As<double>(Raw::Text("12.5"), bdtCurrency));
  EXPECT_EQ("12.5", AsText(Raw::Of<double>(bdtDouble, 12.5)));
  EXPECT_EQ(30051, NativeErrorOf([] { As<double>(Raw::Text("12,5"), bdtDouble); }));
  std::setlocale(LC_ALL, saved.c_str());
}

TEST(ConvertValue, FollowsTheConversionMatrix) {
  EXPECT_EQ(42, As<int32_t>(Raw::Text(" 42"), bdtInteger));
  EXPECT_EQ(-9000000000LL, As<int64_t>(Raw::Text("-9000000000"), bdtLargeInt));
  EXPECT_EQ(44, As<uint8_t>(Raw::Text("300"), bdtByte));  // cut to the width, no range check
  EXPECT_EQ(-1, As<int8_t>(Raw::Of<int32_t>(bdtInteger, 255), bdtShortInt));
  EXPECT_EQ(-2, As<int32_t>(Raw::Of<double>(bdtDouble, -2.9), bdtInteger));
  EXPECT_EQ(3, As<int32_t>(Raw::Of<double>(bdtCurrency, 3.99), bdtInteger));
  EXPECT_EQ(1, As<int16_t>(Raw::Of<int16_t>(bdtLogical, -1), bdtSmallInt));
  EXPECT_EQ(693594.5, As<double>(Raw::Of<TVTRTimeStamp>(bdtDateTime, {693594, 43200000}), bdtDouble));
  EXPECT_EQ(0.5, As<double>(Raw::Of<TVTRTimeStamp>(bdtDateTime, {kMissingDayNumber, 43200000}), bdtDouble));
  EXPECT_EQ(3.0, As<double>(Raw::Of<int32_t>(bdtInteger, 3), bdtDouble));
  // Text reads as a double, also for EXTENDED.
  EXPECT_EQ(static_cast<long double>(0.1),
            DecodeExtended(ConvertValueBuffer("0.1", -1, bdtString, bdtExtended).data.get()));

  EXPECT_EQ(732740, As<int32_t>(Raw::Text("05/03/2007"), bdtDate));
  EXPECT_EQ(50400000, As<int32_t>(Raw::Text("14:00"), bdtTime));
  EXPECT_EQ((TVTRTimeStamp{732740, 50400000}), As<TVTRTimeStamp>(Raw::Text("05/03/2007 14:00"), bdtDateTime));
  EXPECT_EQ((TVTRTimeStamp{732740, 0}), As<TVTRTimeStamp>(Raw::Of<int32_t>(bdtDate, 732740), bdtDateTime));
  EXPECT_EQ((TVTRTimeStamp{kMissingDayNumber, 5}),
            As<TVTRTimeStamp>(Raw::Of<int32_t>(bdtTime, 5), bdtDateTime));
  EXPECT_EQ((TVTRTimeStamp{-1, 21600000}), As<TVTRTimeStamp>(Raw::Of<double>(bdtDouble, -1.25), bdtDateTime));
  EXPECT_EQ(-3600000, As<int32_t>(Raw::Of<double>(bdtDouble, -86400000.0 - 3600000.0), bdtTime));
  EXPECT_EQ(732740, As<int32_t>(Raw::Of<TVTRTimeStamp>(bdtDateTime, {732740, 5}), bdtDate));

  for (const char* yes : {"true", "TRUE", "1"}) EXPECT_EQ(-1, As<int16_t>(Raw::Text(yes), bdtLogical)) << yes;
  for (const char* no : {"yes", "0", "False", " 1"})
    EXPECT_EQ(0, As<int16_t>(Raw::Text(no), bdtLogical)) << no;
  EXPECT_EQ(0, As<int16_t>(Raw::Of<int32_t>(bdtDate, kMissingDayNumber), bdtLogical));
  EXPECT_EQ(12.3457, As<double>(Raw::Text("12.34567"), bdtCurrency));

  const TVTRValueBuffer blob = ConvertValueBuffer("ab", -1, bdtString, bdtBlob);
  EXPECT_EQ(3, blob.size);
  const TVTRValueBuffer wide = ConvertValueBuffer("\xA1z", -1, bdtString, bdtWideString);
  ASSERT_EQ(6, wide.size);
  EXPECT_EQ(0, std::memcmp("\x01\x0E"
                           "z\0\0\0",
                           wide.data.get(), 6));
}

TEST(ConvertValue, RaisesCastErrorsWithTypeNames) {
  const struct {
    Raw raw;
    TVTRBaseDataType target;
    int32_t code;
    const char* message;
  } cases[] = {
      {Raw::Of<int16_t>(bdtLogical, -1), bdtDate, 30052,
       "Cannot cast from 'LOGICAL' to 'DATE' - Native error: 30052"},
      {Raw::Text("4x"), bdtInteger, 30051, "Cannot cast from 'STRING' to 'INTEGER' - Native error: 30051"},
      {Raw::Text("3000000000"), bdtCardinal, 30051, nullptr},
      {Raw::Text("31/02/2007"), bdtDate, 30051, nullptr},
      {Raw::Of<double>(bdtDouble, 1e300), bdtSingle, 30051, nullptr},
      {Raw::Of<double>(bdtDouble, 1e300), bdtInteger, 30051, nullptr},
      {{std::string("\x00\x01\x00\x00", 4), bdtWideString}, bdtString, 30051, nullptr},
      {Raw::Text("ab"), bdtMemo, 30052, nullptr},
      {Raw::Text("ab"), bdtBytes, 30052, nullptr},
      {{"ab", bdtBlob}, bdtString, 30052, nullptr},
      {Raw::Of<double>(bdtCurrency, 1), bdtTime, 30052, nullptr},
      {Raw::Of<int32_t>(bdtInteger, 1), bdtBlob, 30052, nullptr},
  };
  for (const auto& c : cases) {
    try {
      ConvertValueBuffer(c.raw.bytes.data(), c.raw.size(), c.raw.type, c.target);
      ADD_FAILURE() << int{c.raw.type} << " -> " << int{c.target};
    } catch (const EVTRException& e) {
      EXPECT_EQ(c.code, e.NativeError()) << int{c.raw.type} << " -> " << int{c.target};
      if (c.message) {
        EXPECT_STREQ(c.message, e.what());
      }
    }
  }
}

TVTRValueRef Ref(const Raw& raw) {
  return {raw.is_null ? nullptr : raw.bytes.data(), raw.size(), raw.type, raw.is_null};
}

TEST(CompareValues, GivesResultCodes) {
  const Raw five = Raw::Of<int32_t>(bdtInteger, 5);
  const struct {
    Raw first, second;
    TVTRCompareOptions options;
    TVTRCompareResult result;
  } cases[] = {
      {Raw::Null(bdtInteger), Raw::Null(bdtString), {}, crBothNull},
      {Raw::Null(bdtInteger), five, {}, crFirstNull},
      {five, Raw::Null(bdtInteger), {}, crSecondNull},
      {five, Raw::Text("5"), {}, crEqual},
      {five, Raw::Text("10"), {}, crGreater},  // 5 becomes the text "5"
      {five, Raw::Of<double>(bdtDouble, 5.5), {}, crLess},
      {Raw::Of<uint32_t>(bdtCardinal, 4000000000u), Raw::Of<uint32_t>(bdtCardinal, 1), {}, crGreater},
      {Raw::Of<int16_t>(bdtLogical, 0), Raw::Of<int16_t>(bdtLogical, 7), {}, crLess},
      {Raw::Text("abc"), Raw::Text("ABC"), {.case_insensitive = true}, crEqual},
      {Raw::Text("abc"), Raw::Text("ABC"), {}, crLess},
      {Raw::Text("ABC"), Raw::Text("AB"), {.length = 2}, crEqual},
      {Raw::Of<int32_t>(bdtDate, 10), Raw::Of<TVTRTimeStamp>(bdtDateTime, {10, 1}), {}, crLess},
      {Raw::Of<TVTRTimeStamp>(bdtDateTime, {11, 0}),
       Raw::Of<TVTRTimeStamp>(bdtDateTime, {10, 9}),
       {},
       crGreater},
      {Raw::Text("05/03/2007"), Raw::Of<int32_t>(bdtDate, 732740), {}, crEqual},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(c.result, CompareValueBuffers(Ref(c.first), Ref(c.second), c.options));
  }
  EXPECT_EQ(-1, CompareValueBuffersSign({nullptr, -1, bdtInteger, true}, Ref(five), {}));
  EXPECT_EQ(0, CompareValueBuffersSign({nullptr, -1, bdtInteger, true}, {nullptr, -1, bdtInteger, true}, {}));
}

TEST(CompareValues, RaisesForTypesWithoutOrder) {
  const Raw five = Raw::Of<int32_t>(bdtInteger, 5);
  EXPECT_EQ(30044, NativeErrorOf([&] { CompareValueBuffers(Ref(five), Ref({"ab", bdtBlob}), {}); }));
  EXPECT_EQ(30044, NativeErrorOf([&] {
              CompareValueBuffers(Ref(Raw::Of<int16_t>(bdtLogical, 0)), Ref(Raw::Of<int32_t>(bdtDate, 1)),
                                  {});
            }));
  EXPECT_EQ(30047, NativeErrorOf([&] {
              CompareValueBuffers(Ref({"ab", bdtBlob}), Ref({"ab", bdtBlob}), {});
            }));
  EXPECT_EQ(30140, NativeErrorOf([&] {
              CompareValueBuffers(Ref(five), {nullptr, 4, bdtInteger, false}, {});
            }));
}

TEST(CompareValues, ReadsMemosOnlyWithinTheirSize) {
  // Memo contents carry no terminator: each lives in a block of exactly its
  // size, so a read past the end is caught by AddressSanitizer.
  auto block = [](const char* text) {
    const auto size = static_cast<int32_t>(std::strlen(text));
    VTRBufferPtr data(static_cast<uint8_t*>(EngineMemoryManager().GetMem(size)));
    std::memcpy(data.get(), text, size);
    return std::make_pair(std::move(data), size);
  };
  const auto abc = block("abc"), abd = block("abd"), abc2 = block("abc");
  const TVTRValueRef memo_abc{abc.first.get(), abc.second, bdtMemo, false};
  EXPECT_EQ(crLess, CompareValueBuffers(memo_abc, {abd.first.get(), abd.second, bdtMemo, false}, {}));
  EXPECT_EQ(crEqual, CompareValueBuffers(memo_abc, {abc2.first.get(), abc2.second, bdtMemo, false}, {}));
  EXPECT_EQ(crEqual, CompareValueBuffers(memo_abc, Ref(Raw::Text("abc")), {}));
  EXPECT_EQ(crGreater, CompareValueBuffers(Ref(Raw::Text("abd")), memo_abc, {}));
}

TEST(CompareValues, WideTextIsAStrictOrder) {
  auto wide = [](std::u16string text) {
    return Raw{std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * 2),
               bdtWideString};
  };
  const Raw a = wide(u"\u0E01"), b = wide(u"\u0E02"), upper = wide(u"ABC"), lower = wide(u"abc"),
            han = wide(u"\u4E00"), han2 = wide(u"\u4E01");
  EXPECT_EQ(crLess, CompareValueBuffers(Ref(a), Ref(b), {}));
  EXPECT_EQ(crEqual, CompareValueBuffers(Ref(upper), Ref(lower), {.case_insensitive = true}));
  EXPECT_NE(crEqual, CompareValueBuffers(Ref(upper), Ref(lower), {}));
  EXPECT_EQ(crLess, CompareValueBuffers(Ref(han), Ref(han2), {}));
  EXPECT_EQ(crGreater, CompareValueBuffers(Ref(han2), Ref(han), {}));
}

// The matching rules as stated, by plain recursion: the reference for the
// backtracking matcher.
bool ReferenceLike(std::string_view t, std::string_view p) {
  if (p == "%") return true;
  if (t.empty()) return p.empty();
  if (p.empty()) return false;
  if (p[0] == '%') {
    for (size_t i = 0; i < t.size(); ++i)
      if (ReferenceLike(t.substr(i), p.substr(1))) return true;
    return false;
  }
  return (p[0] == '_' || p[0] == t[0]) && ReferenceLike(t.substr(1), p.substr(1));
}

TEST(LikePattern, MatchesWholeTexts) {
  const struct {
    const char* text;
    const char* pattern;
    bool match;
  } cases[] = {
      {"abc", "a%", true},  {"abc", "%c", true},   {"abc", "_b_", true},     {"abc", "%", true},
      {"abc", "ab", false}, {"", "%", true},       {"", "%%", false},        {"", "_", false},
      {"", "", true},       {"abc", "abc%", true}, {"abc", "abc%%", false},  {"abc", "a%%", true},
      {"abc", "%b%", true}, {"abc", "%d%", false}, {"aXbXc", "a%b%c", true}, {"abc", "abcd", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.match, MatchLikePattern(c.text, c.pattern, false)) << c.text << " ~ " << c.pattern;
  EXPECT_TRUE(MatchLikePattern("ABC", "a_c", true));
  EXPECT_FALSE(MatchLikePattern("ABC", "a_c", false));
  EXPECT_TRUE(MatchLikePatternWide(u"\u0E01\u0E02", u"%\u0E02", false));
  EXPECT_FALSE(MatchLikePatternWide(u"", u"%%", false));
  EXPECT_TRUE(MatchLikePatternWide(u"Ab", u"a%", true));
}

TEST(LikePattern, AgreesWithTheRulesOnEveryShortCase) {
  const std::string alphabet = "ab%_";
  std::vector<std::string> strings = {""};
  for (size_t begin = 0, length = 0; length < 5; ++length) {
    const size_t end = strings.size();
    for (size_t i = begin; i < end; ++i)
      for (char c : alphabet) strings.push_back(strings[i] + c);
    begin = end;
  }
  for (const auto& p : strings)
    for (const auto& t : strings) {
      if (t.find_first_of("%_") != std::string::npos || t.size() > 4) continue;
      ASSERT_EQ(ReferenceLike(t, p), MatchLikePattern(t, p, false)) << t << " ~ " << p;
    }
  // Many "%" stay fast.
  EXPECT_FALSE(MatchLikePattern(std::string(2000, 'a'), "%a%a%a%a%a%a%a%a%b", false));
}

}  // namespace
