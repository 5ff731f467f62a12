#pragma once
// The engine's two sets of type codes and the one table that ties them to SQL
// names and the class library's dataset field types.
//
// A column data type is what a table definition and the SQL dialect speak of;
// a base data type is how a value is stored (in a record buffer, a page, a
// value object). Every column type maps to exactly one base type. Codes are
// stored bytes, so both enumerations hold any byte value; codes outside the
// listed ones are "Unknown".
#include <array>
#include <cstdint>
#include <string_view>

#include "platform/rtl/FieldType.h"

enum TVTRBaseDataType : uint8_t {
  bdtUnknown = 0,
  bdtFixedChar = 1,      // ANSI text, zero-terminated, n + 1 bytes
  bdtFixedWideChar = 2,  // UTF-16 text, zero-terminated, (n + 1) × 2 bytes
  bdtString = 3,         // ANSI text, zero-terminated, n + 1 bytes
  bdtWideString = 4,     // UTF-16 text, zero-terminated, (n + 1) × 2 bytes
  bdtShortInt = 5,       // i8
  bdtSmallInt = 6,       // i16
  bdtInteger = 7,        // i32
  bdtLargeInt = 8,       // i64
  bdtByte = 9,           // u8
  bdtWord = 10,          // u16
  bdtCardinal = 11,      // u32
  bdtSingle = 12,        // IEEE single
  bdtDouble = 13,        // IEEE double
  bdtExtended = 14,      // 80-bit extended float, 10 bytes
  bdtDate = 15,          // i32 day number, day 1 = 0001-01-01
  bdtTime = 16,          // i32 milliseconds since midnight
  bdtDateTime = 17,      // day number, then milliseconds
  bdtBlob = 18,          // 10-byte reference in a record; the content in a value
  bdtMemo = 19,          // as BLOB; ANSI text without terminator
  bdtWideMemo = 20,      // as BLOB; UTF-16 text
  bdtLogical = 21,       // i16: 0 false, nonzero true (written as -1)
  bdtCurrency = 22,      // IEEE double holding the amount
  bdtBytes = 23,         // n raw bytes
  bdtVarBytes = 24,      // n raw bytes
};

enum TVTRAdvancedDataType : uint8_t {
  adtUnknown = 0,
  adtChar = 1,
  adtString = 2,
  adtWideChar = 3,
  adtWideString = 4,
  adtShortInt = 5,
  adtSmallInt = 6,
  adtInteger = 7,
  adtLargeInt = 8,
  adtByte = 9,
  adtWord = 10,
  adtCardinal = 11,
  adtAutoInc = 12,
  adtAutoIncShortInt = 13,
  adtAutoIncSmallInt = 14,
  adtAutoIncInteger = 15,
  adtAutoIncLargeInt = 16,
  adtAutoIncByte = 17,
  adtAutoIncWord = 18,
  adtAutoIncCardinal = 19,
  adtSingle = 20,
  adtFloat = 21,
  adtExtended = 22,
  adtLogical = 23,
  adtCurrency = 24,
  adtDate = 25,
  adtTime = 26,
  adtDateTime = 27,
  adtTimeStamp = 28,
  adtBytes = 29,
  adtVarBytes = 30,
  adtBlob = 31,
  adtGraphic = 32,
  adtMemo = 33,
  adtFormattedMemo = 34,
  adtWideMemo = 35,
  adtGuid = 36,
};

struct TVTRDataTypeName {
  std::string_view name;  // SQL type name, upper case
  TVTRAdvancedDataType advanced_type;
  TVTRBaseDataType base_type;
  TFieldType field_type;
};

// Look-ups take the first matching row: the order of the rows is part of the
// mapping (duplicate names, several rows per field type).
extern const std::array<TVTRDataTypeName, 60> DataTypeNameTable;

// The first row whose name equals `name` ignoring ASCII case; nullptr if none.
const TVTRDataTypeName* FindDataTypeName(std::string_view name);

// 0 when no row has the type.
TVTRBaseDataType AdvancedTypeToBaseType(TVTRAdvancedDataType type);
TVTRAdvancedDataType BaseTypeToAdvancedType(TVTRBaseDataType type);
// Raises 30289 when no row has the field type.
TVTRAdvancedDataType FieldTypeToAdvancedType(TFieldType type);
// ftUnknown when no row has the type.
TFieldType AdvancedTypeToFieldType(TVTRAdvancedDataType type);

// "Unknown" for a code that no row has.
std::string_view GetAdvancedTypeName(TVTRAdvancedDataType type);
std::string_view GetBaseTypeName(TVTRBaseDataType type);

// Storage bytes of a value: text types take `declared_size` as the character
// count (terminator added), bytes types the declared size itself. Raises 30050
// for a code outside 1..24.
int32_t GetBaseTypeDataSize(TVTRBaseDataType type, int32_t declared_size);

bool IsStringBaseType(TVTRBaseDataType type);
bool IsWideStringBaseType(TVTRBaseDataType type);
bool IsNumericBaseType(TVTRBaseDataType type);
bool IsDateTimeBaseType(TVTRBaseDataType type);
bool IsBlobBaseType(TVTRBaseDataType type);

bool IsStringAdvancedType(TVTRAdvancedDataType type);
bool IsWideStringAdvancedType(TVTRAdvancedDataType type);
bool IsBytesAdvancedType(TVTRAdvancedDataType type);
bool IsStringOrBytesAdvancedType(TVTRAdvancedDataType type);
bool IsAutoincAdvancedType(TVTRAdvancedDataType type);
bool IsBlobAdvancedType(TVTRAdvancedDataType type);
// BYTES, VARBYTES, BLOB, GRAPHIC and GUID cannot be indexed; the memo types can.
bool IsIndexableAdvancedType(TVTRAdvancedDataType type);
