#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "engine/foundation/VTRTypes.h"
#include "engine/storage/VTRBase.h"
#include "engine/storage/VTRBaseEngine.h"
#include "tests/engine/storage/common/EngineTestSupport.h"

namespace {

class RecordFields : public ::testing::Test {
 protected:
  int32_t Add(TVTRAdvancedDataType type, int32_t size = 0) {
    TVTRFieldDef& field = defs_.AddFieldDef();
    field.Name = "F" + std::to_string(defs_.GetCount());
    field.SetDataType(type, size);
    defs_.CalcOffsets();
    record_.assign(defs_.GetRecordBufferSize(), 0);
    std::memset(record_.data(), 0xFF, defs_.GetNullFlagsSize());
    return defs_.GetCount() - 1;
  }

  const uint8_t* Stored(int32_t field_no) const {
    return record_.data() + defs_.GetFieldDef(field_no).MemoryOffset;
  }

  TVTRFieldDefs defs_;
  Bytes record_;
};

template <typename T>
Bytes BytesOf(T value) {
  Bytes bytes(sizeof value);
  std::memcpy(bytes.data(), &value, sizeof value);
  return bytes;
}

// Each column type: the value as the dataset hands it over, and as the
// record stores it.
struct ExchangeCase {
  TVTRAdvancedDataType type;
  Bytes exchanged;
  Bytes stored;
};

TEST_F(RecordFields, ConvertBetweenTheExchangedAndTheStoredForm) {
  const ExchangeCase cases[] = {
      {adtShortInt, BytesOf<int16_t>(-5), {0xFB}},
      {adtByte, BytesOf<uint16_t>(200), {200}},
      {adtSmallInt, BytesOf<int16_t>(-300), BytesOf<int16_t>(-300)},
      {adtCardinal, BytesOf<int64_t>(4000000000), BytesOf<uint32_t>(4000000000u)},
      {adtAutoIncShortInt, BytesOf<int32_t>(-7), {0xF9}},
      {adtAutoIncSmallInt, BytesOf<int32_t>(-30000), BytesOf<int16_t>(-30000)},
      {adtAutoIncByte, BytesOf<int32_t>(250), {250}},
      {adtAutoIncWord, BytesOf<int32_t>(60000), BytesOf<uint16_t>(60000)},
      {adtSingle, BytesOf<double>(1.5), BytesOf<float>(1.5f)},
      {adtFloat, BytesOf<double>(-2.25), BytesOf<double>(-2.25)},
      {adtLargeInt, BytesOf<int64_t>(-1), BytesOf<int64_t>(-1)},
  };
  for (const ExchangeCase& c : cases) {
    const int32_t field = Add(c.type);
    WriteFieldToRecord(field, defs_, c.exchanged.data(), record_.data());
    EXPECT_FALSE(GetBufferBit(field, record_.data())) << GetAdvancedTypeName(c.type);
    EXPECT_EQ(Bytes(Stored(field), Stored(field) + c.stored.size()), c.stored) << GetAdvancedTypeName(c.type);
    Bytes read(c.exchanged.size(), 0xAA);  // stale bytes the read must overwrite
    EXPECT_TRUE(ReadFieldFromRecord(field, defs_, read.data(), record_.data()));
    EXPECT_EQ(read, c.exchanged) << GetAdvancedTypeName(c.type);
  }
}

TEST_F(RecordFields, ExtendedIsExchangedAsADouble) {
  const int32_t field = Add(adtExtended);
  const double value = 1234.5;
  WriteFieldToRecord(field, defs_, &value, record_.data());
  EXPECT_EQ(DecodeExtended(Stored(field)), 1234.5L);
  double read = 0;
  ReadFieldFromRecord(field, defs_, &read, record_.data());
  EXPECT_EQ(read, 1234.5);
}

TEST_F(RecordFields, NullAndBlobFieldsCopyNothing) {
  const int32_t number = Add(adtInteger);
  const int32_t blob = Add(adtBlob);
  int32_t destination = 77;
  EXPECT_FALSE(ReadFieldFromRecord(number, defs_, &destination, record_.data()));
  EXPECT_EQ(destination, 77);
  SetBufferBit(false, blob, record_.data());
  std::memset(record_.data() + defs_.GetFieldDef(blob).MemoryOffset, 0x11, 10);
  uint8_t blob_destination[10] = {};
  EXPECT_TRUE(ReadFieldFromRecord(blob, defs_, blob_destination, record_.data()));
  EXPECT_EQ(blob_destination[0], 0);
  EXPECT_TRUE(ReadFieldFromRecord(blob, defs_, nullptr, record_.data()))
      << "asks only whether it has a value";
}

TEST_F(RecordFields, EmptyTextAndANilSourceStoreNull) {
  const int32_t text = Add(adtString, 5);
  const int32_t wide = Add(adtWideString, 5);
  const int32_t number = Add(adtInteger);
  const int32_t one = 1;
  WriteFieldToRecord(text, defs_, "ab", record_.data());
  WriteFieldToRecord(wide, defs_, u"ab", record_.data());
  WriteFieldToRecord(number, defs_, &one, record_.data());
  EXPECT_EQ(record_[0] & 0b111, 0);
  WriteFieldToRecord(text, defs_, "", record_.data());
  WriteFieldToRecord(wide, defs_, u"", record_.data());
  WriteFieldToRecord(number, defs_, nullptr, record_.data());
  EXPECT_EQ(record_[0] & 0b111, 0b111);
}

TEST_F(RecordFields, TextIsCopiedUpToItsTerminatorAndTheRestZeroed) {
  const int32_t text = Add(adtString, 20);
  std::memset(record_.data() + defs_.GetFieldDef(text).MemoryOffset, 'x', 21);
  const auto source = std::make_unique<char[]>(4);  // exactly "abc": reading on would overrun it
  std::memcpy(source.get(), "abc", 4);
  WriteFieldToRecord(text, defs_, source.get(), record_.data());
  Bytes expected(21, 0);
  std::memcpy(expected.data(), "abc", 3);
  EXPECT_EQ(Bytes(Stored(text), Stored(text) + 21), expected);

  const auto longer = std::string(30, 'y');
  WriteFieldToRecord(text, defs_, longer.c_str(), record_.data());
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(Stored(text)), 21), std::string(20, 'y') + '\0')
      << "a longer text keeps the field's characters and the terminator";
}

TEST_F(RecordFields, FieldNumbersOutsideTheListFail) {
  Add(adtInteger);
  int32_t value = 0;
  EXPECT_ENGINE_ERROR(ReadFieldFromRecord(1, defs_, &value, record_.data()), 10000,
                      "Invalid field number - FieldNo = 1, FieldCount = 1");
  EXPECT_ENGINE_ERROR(WriteFieldToRecord(-1, defs_, &value, record_.data()), 10004,
                      "Invalid field number - FieldNo = -1, FieldCount = 1");
}

TEST(BuffersEqual, ComparesTheLeadingBytesOfTwoBuffers) {
  const char a[] = "abcX", b[] = "abcY";
  EXPECT_TRUE(BuffersEqual(a, b, 3));
  EXPECT_FALSE(BuffersEqual(a, b, 4));
  EXPECT_ENGINE_ERROR(BuffersEqual(nullptr, b, 1), 10122, "Nil pointer occured");
  EXPECT_ENGINE_ERROR(BuffersEqual(a, nullptr, 1), 10123, "Nil pointer occured");
}

}  // namespace
