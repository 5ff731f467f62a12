#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/VTRVariant.h"

namespace {

template <typename F>
int32_t NativeErrorOf(F&& f) {
  try {
    f();
  } catch (const EVTRException& e) {
    return e.NativeError();
  }
  return 0;
}

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
