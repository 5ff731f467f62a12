#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/VTRTypes.h"
#include "platform/rtl/ArithmeticError.h"
#include "tests/support/EngineErrors.h"

namespace {

TEST(DataTypeTable, EveryRowRoundTripsNameTypeName) {
  for (const auto& row : DataTypeNameTable) {
    SCOPED_TRACE(std::string(row.name));
    const TVTRDataTypeName* found = FindDataTypeName(row.name);
    ASSERT_NE(nullptr, found);
    EXPECT_EQ(row.advanced_type, found->advanced_type);
    EXPECT_EQ(row.advanced_type, FindDataTypeName(GetAdvancedTypeName(row.advanced_type))->advanced_type);
    EXPECT_EQ(row.base_type, AdvancedTypeToBaseType(row.advanced_type));
  }
  EXPECT_EQ(adtString, FindDataTypeName("varchar")->advanced_type);
  EXPECT_EQ(nullptr, FindDataTypeName("VARCHAR3"));
}

TEST(DataTypeTable, NamesAreThoseOfTheFirstRow) {
  const char* base_names[] = {
      "Unknown", "CHAR", "WIDECHAR", "STRING",  "WIDESTRING", "SHORTINT", "SMALLINT", "INTEGER", "LARGEINT",
      "BYTE",    "WORD", "CARDINAL", "SINGLE",  "FLOAT",      "EXTENDED", "DATE",     "TIME",    "DATETIME",
      "BLOB",    "MEMO", "WIDEMEMO", "LOGICAL", "CURRENCY",   "BYTES",    "VARBYTES", "Unknown"};
  for (int type = 0; type <= 25; ++type)
    EXPECT_EQ(base_names[type], GetBaseTypeName(static_cast<TVTRBaseDataType>(type))) << type;
  const char* advanced_names[] = {"Unknown",
                                  "CHAR",
                                  "STRING",
                                  "WIDECHAR",
                                  "WIDESTRING",
                                  "SHORTINT",
                                  "SMALLINT",
                                  "INTEGER",
                                  "LARGEINT",
                                  "BYTE",
                                  "WORD",
                                  "CARDINAL",
                                  "AUTOINC",
                                  "AUTOINCSHORTINT",
                                  "AUTOINCSMALLINT",
                                  "AUTOINCINTEGER",
                                  "AUTOINCLARGEINT",
                                  "AUTOINCBYTE",
                                  "AUTOINCWORD",
                                  "AUTOINCCARDINAL",
                                  "SINGLE",
                                  "FLOAT",
                                  "EXTENDED",
                                  "LOGICAL",
                                  "CURRENCY",
                                  "DATE",
                                  "TIME",
                                  "DATETIME",
                                  "TIMESTAMP",
                                  "BYTES",
                                  "VARBYTES",
                                  "BLOB",
                                  "GRAPHIC",
                                  "MEMO",
                                  "FORMATTEDMEMO",
                                  "WIDEMEMO",
                                  "GUID",
                                  "Unknown"};
  for (int type = 0; type <= 37; ++type)
    EXPECT_EQ(advanced_names[type], GetAdvancedTypeName(static_cast<TVTRAdvancedDataType>(type))) << type;
}

TEST(DataTypeTable, MappingsTakeTheFirstMatchingRow) {
  const struct {
    TFieldType field;
    TVTRAdvancedDataType advanced;
  } field_cases[] = {{ftWideString, adtWideChar}, {ftWord, adtWord},       {ftLargeint, adtLargeInt},
                     {ftFloat, adtFloat},         {ftBCD, adtFloat},       {ftTypedBinary, adtBlob},
                     {ftParadoxOle, adtBlob},     {ftAutoInc, adtAutoInc}, {ftGuid, adtGuid}};
  for (const auto& c : field_cases) EXPECT_EQ(c.advanced, FieldTypeToAdvancedType(c.field)) << int{c.field};
  EXPECT_EQ(bdtDateTime, AdvancedTypeToBaseType(adtTimeStamp));
  EXPECT_EQ(adtDateTime, BaseTypeToAdvancedType(bdtDateTime));
  EXPECT_EQ(adtFloat, BaseTypeToAdvancedType(bdtDouble));
  EXPECT_EQ(adtChar, BaseTypeToAdvancedType(bdtFixedChar));
  EXPECT_EQ(adtUnknown, BaseTypeToAdvancedType(static_cast<TVTRBaseDataType>(25)));
  EXPECT_EQ(bdtUnknown, AdvancedTypeToBaseType(static_cast<TVTRAdvancedDataType>(37)));
  EXPECT_EQ(ftBlob, AdvancedTypeToFieldType(adtWideMemo));
  EXPECT_EQ(ftUnknown, AdvancedTypeToFieldType(adtUnknown));
  try {
    FieldTypeToAdvancedType(ftVariant);
    FAIL();
  } catch (const EVTRException& e) {
    EXPECT_EQ(30289, e.NativeError());
    EXPECT_STREQ("Unknown DataType: '32' - Native error: 30289", e.what());
  }
}

TEST(DataTypeTable, GivesStorageSizes) {
  const struct {
    TVTRBaseDataType type;
    int32_t declared, size;
  } cases[] = {{bdtString, 20, 21}, {bdtFixedChar, 0, 1}, {bdtWideString, 20, 42}, {bdtFixedWideChar, 1, 4},
               {bdtBytes, 16, 16},  {bdtVarBytes, 7, 7},  {bdtShortInt, 9, 1},     {bdtWord, 0, 2},
               {bdtLogical, 0, 2},  {bdtCardinal, 0, 4},  {bdtDate, 0, 4},         {bdtTime, 0, 4},
               {bdtLargeInt, 0, 8}, {bdtDateTime, 0, 8},  {bdtCurrency, 0, 8},     {bdtExtended, 0, 10},
               {bdtMemo, 0, 10},    {bdtWideMemo, 0, 10}, {bdtBlob, 0, 10}};
  for (const auto& c : cases) EXPECT_EQ(c.size, GetBaseTypeDataSize(c.type, c.declared)) << int{c.type};
  try {
    GetBaseTypeDataSize(static_cast<TVTRBaseDataType>(25), 0);
    FAIL();
  } catch (const EVTRException& e) {
    EXPECT_STREQ("Unknown DataType: 'Unknown' - Native error: 30050", e.what());
  }
  EXPECT_EQ(30050, NativeErrorOf([] { GetBaseTypeDataSize(bdtUnknown, 0); }));
  EXPECT_THROW(GetBaseTypeDataSize(bdtWideString, std::numeric_limits<int32_t>::max()), EIntOverflow);
}

TEST(DataTypeTable, ClassifiesTypes) {
  auto set_of = [](auto predicate, int last) {
    std::string members;
    for (int type = 0; type <= last; ++type)
      if (predicate(type)) members += std::to_string(type) + " ";
    return members;
  };
  auto base = [](bool (*p)(TVTRBaseDataType)) {
    return [p](int t) { return p(static_cast<TVTRBaseDataType>(t)); };
  };
  auto advanced = [](bool (*p)(TVTRAdvancedDataType)) {
    return [p](int t) { return p(static_cast<TVTRAdvancedDataType>(t)); };
  };
  EXPECT_EQ("1 2 3 4 ", set_of(base(IsStringBaseType), 30));
  EXPECT_EQ("2 4 ", set_of(base(IsWideStringBaseType), 30));
  EXPECT_EQ("5 6 7 8 9 10 11 12 13 14 22 ", set_of(base(IsNumericBaseType), 30));
  EXPECT_EQ("15 16 17 ", set_of(base(IsDateTimeBaseType), 30));
  EXPECT_EQ("18 19 20 ", set_of(base(IsBlobBaseType), 30));
  EXPECT_EQ("1 2 3 4 36 ", set_of(advanced(IsStringAdvancedType), 40));
  EXPECT_EQ("3 4 ", set_of(advanced(IsWideStringAdvancedType), 40));
  EXPECT_EQ("29 30 ", set_of(advanced(IsBytesAdvancedType), 40));
  EXPECT_EQ("1 2 3 4 29 30 36 ", set_of(advanced(IsStringOrBytesAdvancedType), 40));
  EXPECT_EQ("12 13 14 15 16 17 18 19 ", set_of(advanced(IsAutoincAdvancedType), 40));
  EXPECT_EQ("31 32 33 34 35 ", set_of(advanced(IsBlobAdvancedType), 40));
  EXPECT_EQ("1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 33 34 35 ",
            set_of(advanced(IsIndexableAdvancedType), 40));
}

TEST(ValueBuffer, CopiesValuesWithTheirStorageSize) {
  const char text[] = "abc";
  TVTRValueBuffer copy = CopyValueToNewBuffer(bdtString, text);
  ASSERT_EQ(4, copy.size);
  EXPECT_EQ(0, std::memcmp(text, copy.data.get(), 4));
  EXPECT_EQ(4, EngineMemoryManager().GetMemSize(copy.data.get()));

  // Wide text at an odd address.
  alignas(2) uint8_t wide[9] = {0, 'a', 0, 'b', 0x0E, 0, 0, 0, 0};
  copy = CopyValueToNewBuffer(bdtWideString, wide + 1);
  ASSERT_EQ(6, copy.size);
  EXPECT_EQ(0, std::memcmp(wide + 1, copy.data.get(), 6));

  const uint8_t extended[kExtendedSize] = {1, 2, 3, 4, 5, 6, 7, 0x80, 0xFF, 0x3F};
  copy = CopyValueToNewBuffer(bdtExtended, extended);
  ASSERT_EQ(10, copy.size);
  EXPECT_EQ(0, std::memcmp(extended, copy.data.get(), 10));

  const int32_t number = -7;
  copy = CopyValueToNewBuffer(bdtInteger, &number);
  ASSERT_EQ(4, copy.size);
  EXPECT_EQ(0, std::memcmp(&number, copy.data.get(), 4));

  copy = CopyValueToNewBuffer(bdtBytes, text);
  EXPECT_EQ(nullptr, copy.data);
  EXPECT_EQ(0, copy.size);
  EXPECT_EQ(30050, NativeErrorOf([&] { CopyValueToNewBuffer(bdtUnknown, text); }));
}

TEST(ExtendedFloat, ImagesAreTheTenByteFormat) {
  const struct {
    long double value;
    uint8_t image[kExtendedSize];
  } cases[] = {
      {1.0L, {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}},
      {-2.5L, {0, 0, 0, 0, 0, 0, 0, 0xA0, 0x00, 0xC0}},
      {0.0L, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {-0.0L, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80}},
      {std::numeric_limits<long double>::infinity(), {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}},
      {0.1L, {0xCD, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xFB, 0x3F}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<double>(c.value));
    uint8_t image[kExtendedSize];
    EncodeExtended(c.value, image);
    if (LDBL_MANT_DIG == 64 || c.value != 0.1L) {
      EXPECT_EQ(0, std::memcmp(c.image, image, kExtendedSize));
    }
    EXPECT_EQ(c.value, DecodeExtended(c.image));
    EXPECT_EQ(std::signbit(c.value), std::signbit(DecodeExtended(c.image)));
  }
  uint8_t image[kExtendedSize];
  EncodeExtended(std::numeric_limits<long double>::quiet_NaN(), image);
  EXPECT_TRUE(std::isnan(DecodeExtended(image)));
  if (LDBL_MANT_DIG == 64) {
    for (long double value :
         {std::numeric_limits<long double>::denorm_min(), std::numeric_limits<long double>::min(),
          std::numeric_limits<long double>::max(), 1.0L / 3, -1e-4940L}) {
      EncodeExtended(value, image);
      EXPECT_EQ(0, std::memcmp(&value, image, kExtendedSize)) << static_cast<double>(value);
      EXPECT_EQ(value, DecodeExtended(image));
    }
  }
}

TEST(DateConversion, RoundTripsAtTheEndsOfTheCalendar) {
  const struct {
    int year, month, day;
    int32_t day_number;
  } cases[] = {{1, 1, 1, 1}, {1899, 12, 30, 693594}, {9999, 12, 31, 3652059}, {1899, 12, 29, 693593}};
  const TDateTime last_millisecond = EncodeTime(23, 59, 59, 999);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.year);
    const TDateTime date = EncodeDate(c.year, c.month, c.day);
    EXPECT_EQ(c.day_number, DateTimeToDayNumber(date));
    EXPECT_EQ(date, DayNumberToDateTime(c.day_number));
    const TDateTime moment = ComposeDateTime(date, last_millisecond);
    const TVTRTimeStamp stamp = DateTimeToTimeStamp(moment);
    EXPECT_EQ((TVTRTimeStamp{c.day_number, 86399999}), stamp);
    EXPECT_EQ(moment, TimeStampToDateTime(stamp));
    EXPECT_EQ(86399999, TimeToMilliseconds(moment));
  }
  EXPECT_EQ(43200000, TimeToMilliseconds(0.5));
  EXPECT_EQ(0.5, MillisecondsToTime(43200000));
  EXPECT_EQ(last_millisecond, MillisecondsToTime(86399999));
  EXPECT_EQ(21600000, TimeToMilliseconds(-1.25));
  EXPECT_EQ(693593, DateTimeToDayNumber(-1.25));
}

TEST(DateConversion, CarriesATimeThatRoundsToMidnight) {
  const TDateTime almost = 5 + 86399999.6 / kMSecsPerDay;
  EXPECT_EQ(0, TimeToMilliseconds(almost));
  EXPECT_EQ((TVTRTimeStamp{693600, 0}), DateTimeToTimeStamp(almost));
  // Halves go to the even millisecond.
  EXPECT_EQ(2, TimeToMilliseconds(2.5 / kMSecsPerDay));
}

TEST(DateConversion, RefusesDayNumbersOutsideTheRange) {
  EXPECT_THROW(DayNumberToDateTime(kMissingDayNumber), EIntOverflow);
  EXPECT_THROW(DayNumberToDateTime(-2146790055), EIntOverflow);
  EXPECT_EQ(-2147483648.0, DayNumberToDateTime(-2146790054));
  EXPECT_THROW(DateTimeToDayNumber(1e300), EIntOverflow);
  EXPECT_THROW(DateTimeToDayNumber(std::nan("")), EIntOverflow);
}

TEST(DateConversion, StoresTimeStampsLittleEndian) {
  uint8_t image[kTimeStampSize + 1];
  WriteTimeStamp({693594, 0x01020304}, image + 1);
  const uint8_t expected[] = {0x5A, 0x95, 0x0A, 0x00, 0x04, 0x03, 0x02, 0x01};
  EXPECT_EQ(0, std::memcmp(expected, image + 1, kTimeStampSize));
  EXPECT_EQ((TVTRTimeStamp{693594, 0x01020304}), ReadTimeStamp(image + 1));
  WriteTimeStamp({kMissingDayNumber, -1}, image);
  EXPECT_EQ((TVTRTimeStamp{kMissingDayNumber, -1}), ReadTimeStamp(image));
}

}  // namespace
