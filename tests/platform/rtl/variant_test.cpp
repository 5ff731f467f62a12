#include "platform/rtl/Variant.h"

#include <gtest/gtest.h>

#include "platform/rtl/Unicode.h"

namespace {

TEST(Variant, KeepsThePlatformTypeCodes) {
  EXPECT_EQ(Variant::varEmpty, Variant().VarType());
  EXPECT_EQ(Variant::varNull, Variant::Null().VarType());
  EXPECT_EQ(Variant::varSmallint, Variant::SmallInt(5).VarType());
  EXPECT_EQ(Variant::varInteger, Variant(5).VarType());
  EXPECT_EQ(Variant::varDouble, Variant(1.5).VarType());
  EXPECT_EQ(Variant::varBoolean, Variant(true).VarType());
  EXPECT_EQ(Variant::varInt64, Variant(int64_t{5}).VarType());
  EXPECT_EQ(Variant::varString, Variant("x").VarType());
  EXPECT_EQ(Variant::varOleStr, Variant(std::u16string(u"x")).VarType());
  EXPECT_EQ(Variant::varArray | Variant::varVariant, Variant::Array({Variant(1), Variant("a")}).VarType());
}

TEST(Variant, ConvertsBetweenKinds) {
  EXPECT_EQ(12, Variant("12").AsInteger());
  EXPECT_DOUBLE_EQ(12.5, Variant("12.5").AsDouble());
  EXPECT_EQ("2.5", Variant(2.5).AsString());
  EXPECT_EQ("True", Variant(true).AsString());
  EXPECT_EQ(-1, Variant(true).AsInteger());
  EXPECT_EQ(0, Variant().AsInteger());
  EXPECT_EQ("", Variant().AsString());
  EXPECT_THROW(Variant("12,5").AsDouble(), EVariantError);
  EXPECT_THROW(Variant("abc").AsInteger(), EVariantError);
  EXPECT_THROW(Variant::Null().AsInteger(), EVariantError);
  EXPECT_EQ(2u, Variant::Array({Variant(1), Variant("a")}).Elements().size());
}

TEST(Unicode, RoundTripsThaiAndSurrogates) {
  const std::string thai = "กขค";
  EXPECT_EQ(u"\u0E01\u0E02\u0E04", Utf8ToUtf16(thai));
  EXPECT_EQ(thai, Utf16ToUtf8(Utf8ToUtf16(thai)));
  const std::string emoji = "\xF0\x9F\x98\x80";
  EXPECT_EQ(2u, Utf8ToUtf16(emoji).size());
  EXPECT_EQ(emoji, Utf16ToUtf8(Utf8ToUtf16(emoji)));
  EXPECT_THROW(Utf8ToUtf16("\xE0\xB8"), EConvertError);
  EXPECT_THROW(Utf8ToUtf16("\xFF"), EConvertError);
}

}  // namespace
