#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <vector>

#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/VTRVariant.h"
#include "platform/rtl/ArithmeticError.h"
#include "tests/support/EngineErrors.h"

namespace {

// A memory stream just big enough for the tests: reads and writes at a position.
class ByteStream : public TStream {
 public:
  explicit ByteStream(std::vector<uint8_t> bytes = {}, size_t limit = SIZE_MAX)
      : bytes_(std::move(bytes)), limit_(limit) {}
  int32_t Read(void* buffer, int32_t count) override {
    const int32_t n = static_cast<int32_t>(std::min<int64_t>(count, bytes_.size() - position_));
    if (n > 0) std::memcpy(buffer, bytes_.data() + position_, n);
    position_ += n;
    return n;
  }
  int32_t Write(const void* buffer, int32_t count) override {
    const int32_t n = static_cast<int32_t>(std::min<size_t>(count, limit_ - bytes_.size()));
    bytes_.insert(bytes_.end(), static_cast<const uint8_t*>(buffer), static_cast<const uint8_t*>(buffer) + n);
    position_ += n;
    return n;
  }
  int64_t Seek(int64_t offset, TSeekOrigin origin) override {
    position_ = (origin == TSeekOrigin::soBeginning ? 0
                 : origin == TSeekOrigin::soCurrent ? position_
                                                    : bytes_.size()) +
                offset;
    return position_;
  }
  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
  size_t limit_;
  int64_t position_ = 0;
};

TEST(Value, KeepsItsTypeAndConvertsOnTheWayInAndOut) {
  TVTRVariant integer(bdtInteger);
  integer.SetAsString("42");
  EXPECT_EQ(bdtInteger, integer.DataType());
  EXPECT_EQ(42, integer.GetAsInteger());
  EXPECT_EQ("42", integer.GetAsString());
  EXPECT_EQ(30051, NativeErrorOf([&] { integer.SetAsString("4x"); }));

  TVTRVariant text(bdtString);
  text.SetAsInteger(-7);
  EXPECT_EQ("-7", text.GetAsString());
  EXPECT_EQ(3, text.Size());
  EXPECT_EQ(2, text.GetStringLength());

  TVTRVariant untyped;
  untyped.SetAsDouble(2.5);
  EXPECT_EQ(bdtDouble, untyped.DataType());
  EXPECT_EQ(2, untyped.GetAsInteger());
}

TEST(Value, EmptyTextLeavesTheValueNull) {
  TVTRVariant text(bdtString);
  text.SetAsString("abc");
  text.SetAsString("");
  EXPECT_TRUE(text.IsNull());
  EXPECT_EQ(-1, text.GetStringLength());
  EXPECT_EQ(30016, NativeErrorOf([&] { text.GetAsString(); }));
  TVTRVariant wide(bdtWideString);
  wide.SetAsWideString(u"");
  EXPECT_TRUE(wide.IsNull());
}

TEST(Value, BorrowsOrCopiesBuffers) {
  int32_t stored = 5;
  TVTRVariant borrowed;
  borrowed.SetBuffer(&stored, 4, bdtInteger, TVTRBufferMode::Borrow);
  EXPECT_TRUE(borrowed.IsBorrowed());
  stored = 6;
  EXPECT_EQ(6, borrowed.GetAsInteger());
  // Arithmetic on a borrowed value takes its own buffer and leaves the lender alone.
  TVTRVariant one(bdtInteger);
  one.SetAsInteger(1);
  borrowed.Add(one);
  EXPECT_EQ(7, borrowed.GetAsInteger());
  EXPECT_EQ(6, stored);
  EXPECT_FALSE(borrowed.IsBorrowed());

  TVTRVariant copy;
  copy.Assign(borrowed, true);
  borrowed.SetAsInteger(100);
  EXPECT_EQ(7, copy.GetAsInteger());

  TVTRVariant reference;
  reference.Assign(copy, false);
  EXPECT_EQ(copy.Data(), reference.Data());

  int32_t target = 0;
  EXPECT_TRUE(copy.CopyToBuffer(&target, 4));
  EXPECT_EQ(7, target);
  EXPECT_EQ(20056, NativeErrorOf([&] { copy.CopyToBuffer(&target, 3); }));
  EXPECT_FALSE(TVTRVariant(bdtInteger).CopyToBuffer(&target, -1));
}

TEST(Value, StreamImageIsFieldByFieldLittleEndian) {
  TVTRVariant seven(bdtInteger);
  seven.SetAsInteger(7);
  ByteStream out;
  seven.SaveToStream(out);
  EXPECT_EQ((std::vector<uint8_t>{0x07, 0x00, 0x04, 0x00, 0x00, 0x00, 0x07, 0x00, 0x00, 0x00}), out.bytes());

  ByteStream null_out;
  TVTRVariant(bdtString).SaveToStream(null_out);
  EXPECT_EQ((std::vector<uint8_t>{0x03, 0xFF}), null_out.bytes());

  ByteStream in(out.bytes());
  TVTRVariant loaded(bdtString);
  loaded.LoadFromStream(in);
  EXPECT_EQ(bdtInteger, loaded.DataType());
  EXPECT_EQ(7, loaded.GetAsInteger());

  ByteStream null_in(null_out.bytes());
  loaded.LoadFromStream(null_in);
  EXPECT_TRUE(loaded.IsNull());
  EXPECT_EQ(bdtString, loaded.DataType());
}

TEST(Value, StreamFailuresRaiseTheirCodes) {
  const std::vector<uint8_t> image = {0x07, 0x00, 0x04, 0x00, 0x00, 0x00, 0x07, 0x00, 0x00, 0x00};
  const struct {
    size_t length;
    int32_t code;
  } reads[] = {{0, 10183}, {1, 10184}, {4, 10185}, {8, 10186}};
  for (const auto& r : reads) {
    ByteStream in(std::vector<uint8_t>(image.begin(), image.begin() + r.length));
    TVTRVariant value;
    EXPECT_EQ(r.code, NativeErrorOf([&] { value.LoadFromStream(in); })) << r.length;
  }
  // A damaged size larger than the stream allocates nothing.
  ByteStream huge({0x07, 0x00, 0xFF, 0xFF, 0xFF, 0x7F, 0x01});
  TVTRVariant value;
  EXPECT_EQ(10186, NativeErrorOf([&] { value.LoadFromStream(huge); }));

  TVTRVariant seven(bdtInteger);
  seven.SetAsInteger(7);
  const struct {
    size_t room;
    int32_t code;
  } writes[] = {{0, 10179}, {1, 10180}, {2, 10181}, {6, 10182}};
  for (const auto& w : writes) {
    ByteStream out({}, w.room);
    EXPECT_EQ(w.code, NativeErrorOf([&] { seven.SaveToStream(out); })) << w.room;
  }
}

}  // namespace

namespace {

TVTRVariant Integer(int32_t value) {
  TVTRVariant v(bdtInteger);
  v.SetAsInteger(value);
  return v;
}

TVTRVariant Text(const char* value) {
  TVTRVariant v(bdtString);
  v.SetAsString(value);
  return v;
}

TEST(ValueArithmetic, NullOperandsAndPromotion) {
  TVTRVariant ab = Text("ab");
  ab.Add(TVTRVariant(bdtInteger));
  EXPECT_EQ("ab", ab.GetAsString());
  TVTRVariant five = Integer(5);
  five.Add(TVTRVariant(bdtInteger));
  EXPECT_TRUE(five.IsNull());
  TVTRVariant null(bdtInteger);
  null.Add(Integer(5));
  EXPECT_EQ(5, null.GetAsInteger());
  TVTRVariant product = Integer(5);
  product.Multiply(TVTRVariant(bdtInteger));
  EXPECT_TRUE(product.IsNull());

  TVTRVariant concat = Text("n=");
  concat.Add(Integer(7));
  EXPECT_EQ("n=7", concat.GetAsString());
  TVTRVariant mixed = Integer(7);
  mixed.Add(Text("1"));
  EXPECT_EQ(bdtString, mixed.DataType());
  EXPECT_EQ("71", mixed.GetAsString());

  TVTRVariant real = Integer(3);
  TVTRVariant half(bdtDouble);
  half.SetAsDouble(0.5);
  real.Multiply(half);
  EXPECT_EQ(bdtDouble, real.DataType());
  EXPECT_EQ(1.5, real.GetAsDouble());
}

TEST(ValueArithmetic, WorksInTheWidthOfTheType) {
  TVTRVariant small(bdtShortInt);
  small.SetAsShortInt(100);
  TVTRVariant more(bdtShortInt);
  more.SetAsShortInt(100);
  small.Add(more);
  EXPECT_EQ(-56, small.GetAsShortInt());

  TVTRVariant quotient = Integer(7);
  quotient.Divide(Integer(2));
  EXPECT_EQ(3, quotient.GetAsInteger());
  TVTRVariant negative = Integer(-7);
  negative.Divide(Integer(2));
  EXPECT_EQ(-3, negative.GetAsInteger());

  TVTRVariant stamp(bdtDateTime);
  stamp.SetAsTimeStamp({10, 80000000});
  TVTRVariant other(bdtDateTime);
  other.SetAsTimeStamp({1, 10000000});
  stamp.Add(other);
  EXPECT_EQ((TVTRTimeStamp{12, 3600000}), stamp.GetAsTimeStamp());

  TVTRVariant yes(bdtLogical);
  yes.SetAsLogical(false);
  TVTRVariant no(bdtLogical);
  no.SetAsLogical(true);
  yes.Multiply(no);
  EXPECT_TRUE(yes.GetAsLogical());
}

TEST(ValueArithmetic, DivisionFailuresRaise30128) {
  const struct {
    TVTRBaseDataType type;
    double dividend;
    const char* message;
  } cases[] = {
      {bdtInteger, 7, "Division error: Division by zero - Native error: 30128"},
      {bdtCardinal, 7, "Division error: Division by zero - Native error: 30128"},
      {bdtDouble, 7, "Division error: Floating point division by zero - Native error: 30128"},
      {bdtDouble, 0, "Division error: Invalid floating point operation - Native error: 30128"},
  };
  for (const auto& c : cases) {
    TVTRVariant a(c.type), zero(c.type);
    a.SetAsDouble(c.dividend);
    zero.SetAsDouble(0);
    try {
      a.Divide(zero);
      ADD_FAILURE() << int{c.type};
    } catch (const EVTRException& e) {
      EXPECT_STREQ(c.message, e.what());
    }
  }
  TVTRVariant smallest = Integer(std::numeric_limits<int32_t>::min());
  EXPECT_EQ(30128, NativeErrorOf([&] { smallest.Divide(Integer(-1)); }));
  TVTRVariant text = Text("a");
  EXPECT_EQ(30127, NativeErrorOf([&] { text.Divide(Text("b")); }));
  EXPECT_EQ(30126, NativeErrorOf([&] { text.Multiply(Text("b")); }));
  TVTRVariant blob;
  blob.SetBuffer("x", 1, bdtBlob, TVTRBufferMode::Copy);
  EXPECT_EQ(30124, NativeErrorOf([&] { blob.Add(Integer(1)); }));
}

TEST(ValueArithmetic, NegatesNumbersAndInvertsLogicals) {
  TVTRVariant v = Integer(5);
  v.Negate();
  EXPECT_EQ(-5, v.GetAsInteger());
  TVTRVariant lowest(bdtShortInt);
  lowest.SetAsShortInt(-128);
  lowest.Negate();
  EXPECT_EQ(-128, lowest.GetAsShortInt());
  TVTRVariant byte(bdtByte);
  byte.SetAsByte(1);
  byte.Negate();
  EXPECT_EQ(255, byte.GetAsByte());
  TVTRVariant logical(bdtLogical);
  logical.SetAsLogical(false);
  logical.Negate();
  EXPECT_TRUE(logical.GetAsLogical());
  TVTRVariant smallest = Integer(std::numeric_limits<int32_t>::min());
  EXPECT_THROW(smallest.Negate(), EIntOverflow);
  TVTRVariant cardinal(bdtCardinal);
  cardinal.SetAsCardinal(1);
  EXPECT_THROW(cardinal.Negate(), EIntOverflow);
  TVTRVariant text = Text("a");
  EXPECT_EQ(30123, NativeErrorOf([&] { text.Negate(); }));
  TVTRVariant null(bdtInteger);
  null.Negate();
  EXPECT_TRUE(null.IsNull());
}

TEST(ValueCompare, MapsNullsUnlessRaw) {
  const TVTRVariant null_a(bdtInteger), null_b(bdtInteger);
  EXPECT_EQ(crBothNull, null_a.Compare(null_b, {.raw_result = true}));
  EXPECT_EQ(crEqual, null_a.Compare(null_b, {}));
  EXPECT_EQ(crLess, null_a.Compare(Integer(1), {}));
  EXPECT_EQ(crFirstNull, null_a.Compare(Integer(1), {.raw_result = true}));
  EXPECT_EQ(crGreater, Integer(1).Compare(null_a, {}));
  EXPECT_EQ(crEqual, Text("ABC").Compare(Text("AB"), {.partial_key = true}));
  EXPECT_EQ(crGreater, Text("ABC").Compare(Text("AB"), {}));
  EXPECT_EQ(crEqual, Text("abc").Compare(Text("ABC"), {.case_insensitive = true}));
  EXPECT_NE(crEqual, Text("abc").Compare(Text("ABC"), {}));
  EXPECT_EQ(crEqual, Text("ab").Compare(Text("AB"),
                                        {.raw_result = true, .case_insensitive = true, .partial_key = true}));
}

TEST(ValueCast, ConvertsInPlace) {
  TVTRVariant memo;
  memo.SetBuffer("abc", 3, bdtMemo, TVTRBufferMode::Copy);
  memo.CastTo(bdtString);
  EXPECT_EQ(4, memo.Size());
  EXPECT_EQ("abc", memo.GetAsString());

  TVTRVariant number = Text("12.5");
  number.CastTo(bdtDouble);
  EXPECT_EQ(12.5, number.GetAsDouble());
  TVTRVariant logical(bdtLogical);
  logical.SetAsLogical(true);
  EXPECT_EQ(30052, NativeErrorOf([&] { logical.CastTo(bdtDate); }));
  logical.SetDataType(bdtDate);
  EXPECT_TRUE(logical.IsNull());
  EXPECT_EQ(bdtDate, logical.DataType());

  TVTRVariant date(bdtDate);
  date.SetAsDate(EncodeDate(2007, 3, 5));
  EXPECT_EQ("05/03/2007", date.GetAsString());
  EXPECT_EQ(732740, date.GetAsDayNumber());
  TVTRVariant when(bdtDateTime);
  when.SetAsDateTime(ComposeDateTime(EncodeDate(1, 1, 1), EncodeTime(23, 59, 59, 999)));
  EXPECT_EQ((TVTRTimeStamp{1, 86399999}), when.GetAsTimeStamp());
  EXPECT_EQ(ComposeDateTime(EncodeDate(1, 1, 1), EncodeTime(23, 59, 59, 999)), when.GetAsDateTime());
  TVTRVariant extended(bdtExtended);
  extended.SetAsExtended(1.0L / 3);
  EXPECT_EQ(1.0L / 3, extended.GetAsExtended());
  EXPECT_EQ(10, extended.Size());
}

TEST(ValueVariantBridge, MapsThePlatformTypes) {
  const struct {
    Variant in;
    TVTRBaseDataType type;
    uint16_t out_type;
  } cases[] = {
      {Variant::SmallInt(-3), bdtSmallInt, Variant::varSmallint},
      {Variant(7), bdtInteger, Variant::varInteger},
      {Variant(int64_t{1} << 40), bdtLargeInt, Variant::varInt64},
      {Variant::ShortInt(-1), bdtShortInt, Variant::varShortInt},
      {Variant::Byte(200), bdtByte, Variant::varByte},
      {Variant::Word(60000), bdtWord, Variant::varWord},
      {Variant::LongWord(4000000000u), bdtCardinal, Variant::varLongWord},
      {Variant::Single(0.5f), bdtSingle, Variant::varDouble},
      {Variant(2.25), bdtDouble, Variant::varDouble},
      {Variant::Currency(12.5), bdtCurrency, Variant::varDouble},
      {Variant::Date(EncodeDate(2007, 3, 5) + 0.5), bdtDateTime, Variant::varDate},
      {Variant(true), bdtLogical, Variant::varBoolean},
      {Variant("abc"), bdtString, Variant::varString},
      {Variant(std::u16string(u"\u0E01")), bdtWideString, Variant::varOleStr},
  };
  for (const auto& c : cases) {
    TVTRVariant value;
    value.SetAsVariant(c.in);
    EXPECT_EQ(c.type, value.DataType()) << c.in.VarType();
    const Variant out = value.GetAsVariant();
    EXPECT_EQ(c.out_type, out.VarType()) << c.in.VarType();
    EXPECT_EQ(c.in.AsString(), out.AsString()) << c.in.VarType();
  }
  TVTRVariant value(bdtInteger);
  value.SetAsVariant(Variant::Null());
  EXPECT_TRUE(value.GetAsVariant().IsNull());
  EXPECT_EQ(30113, NativeErrorOf([&] { value.SetAsVariant(Variant::Array({Variant(1)})); }));
  TVTRVariant memo;
  memo.SetBuffer("m", 1, bdtMemo, TVTRBufferMode::Copy);
  EXPECT_EQ(30114, NativeErrorOf([&] { memo.GetAsVariant(); }));
  TVTRVariant blob;
  blob.SetBuffer("\x01\x02", 2, bdtBlob, TVTRBufferMode::Copy);
  EXPECT_EQ((std::vector<uint8_t>{1, 2}), blob.GetAsVariant().ByteArray());
}

TEST(SQLParam, IsANamedValue) {
  TVTRSQLParam param;
  EXPECT_EQ(bdtUnknown, param.DataType());
  param.SetName("amount");
  param.SetAsCurrency(12.5);
  EXPECT_EQ("amount", param.Name());
  EXPECT_EQ(bdtCurrency, param.DataType());
  TVTRSQLParam copy = param;
  EXPECT_EQ(12.5, copy.GetAsCurrency());
  EXPECT_NE(param.Data(), copy.Data());
}

}  // namespace
