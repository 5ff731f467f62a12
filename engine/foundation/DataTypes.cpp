#include "engine/foundation/DataTypes.h"

#include <limits>
#include <string>

#include "engine/foundation/VTRExcept.h"
#include "platform/rtl/ArithmeticError.h"

const std::array<TVTRDataTypeName, 60> DataTypeNameTable = {{
    {"CHAR", adtChar, bdtFixedChar, ftFixedChar},
    {"FIXEDCHAR", adtChar, bdtFixedChar, ftFixedChar},
    {"STRING", adtString, bdtString, ftString},
    {"VARCHAR", adtString, bdtString, ftString},
    {"VARCHAR2", adtString, bdtString, ftString},
    {"WIDECHAR", adtWideChar, bdtFixedWideChar, ftWideString},
    {"FIXEDWIDECHAR", adtWideChar, bdtFixedWideChar, ftWideString},
    {"WIDESTRING", adtWideString, bdtWideString, ftWideString},
    {"WIDEVARCHAR", adtWideString, bdtWideString, ftWideString},
    {"SMALLINT", adtSmallInt, bdtSmallInt, ftSmallint},
    {"SIGNEDINT16", adtSmallInt, bdtSmallInt, ftSmallint},
    {"SHORTINT", adtShortInt, bdtShortInt, ftSmallint},
    {"SIGNEDINT8", adtShortInt, bdtShortInt, ftSmallint},
    {"INTEGER", adtInteger, bdtInteger, ftInteger},
    {"SIGNEDINT32", adtInteger, bdtInteger, ftInteger},
    {"LARGEINT", adtLargeInt, bdtLargeInt, ftLargeint},
    {"INT64", adtLargeInt, bdtLargeInt, ftLargeint},
    {"SIGNEDINT64", adtLargeInt, bdtLargeInt, ftLargeint},
    {"WORD", adtWord, bdtWord, ftWord},
    {"UNSIGNEDINT16", adtWord, bdtWord, ftWord},
    {"BYTE", adtByte, bdtByte, ftWord},
    {"UNSIGNEDINT8", adtByte, bdtByte, ftWord},
    {"CARDINAL", adtCardinal, bdtCardinal, ftLargeint},
    {"UNSIGNEDINT32", adtCardinal, bdtCardinal, ftLargeint},
    {"AUTOINC", adtAutoInc, bdtInteger, ftAutoInc},
    {"AUTOINCSHORTINT", adtAutoIncShortInt, bdtShortInt, ftAutoInc},
    {"AUTOINCSMALLINT", adtAutoIncSmallInt, bdtSmallInt, ftAutoInc},
    {"AUTOINCINTEGER", adtAutoIncInteger, bdtInteger, ftAutoInc},
    {"AUTOINCLARGEINT", adtAutoIncLargeInt, bdtLargeInt, ftLargeint},
    {"AUTOINCBYTE", adtAutoIncByte, bdtByte, ftAutoInc},
    {"AUTOINCWORD", adtAutoIncWord, bdtWord, ftAutoInc},
    {"AUTOINCCARDINAL", adtAutoIncCardinal, bdtCardinal, ftAutoInc},
    {"FLOAT", adtFloat, bdtDouble, ftFloat},
    {"FLOAT", adtFloat, bdtDouble, ftBCD},
    {"SINGLE", adtSingle, bdtSingle, ftFloat},
    {"DOUBLE", adtFloat, bdtDouble, ftFloat},
    {"EXTENDED", adtExtended, bdtExtended, ftFloat},
    {"LOGICAL", adtLogical, bdtLogical, ftBoolean},
    {"BOOLEAN", adtLogical, bdtLogical, ftBoolean},
    {"BOOL", adtLogical, bdtLogical, ftBoolean},
    {"BIT", adtLogical, bdtLogical, ftBoolean},
    {"CURRENCY", adtCurrency, bdtCurrency, ftCurrency},
    {"MONEY", adtCurrency, bdtCurrency, ftCurrency},
    {"DATE", adtDate, bdtDate, ftDate},
    {"TIME", adtTime, bdtTime, ftTime},
    {"DATETIME", adtDateTime, bdtDateTime, ftDateTime},
    {"TIMESTAMP", adtTimeStamp, bdtDateTime, ftTimeStamp},
    {"BYTES", adtBytes, bdtBytes, ftBytes},
    {"VARBYTES", adtVarBytes, bdtVarBytes, ftVarBytes},
    {"BLOB", adtBlob, bdtBlob, ftBlob},
    {"BLOB", adtBlob, bdtBlob, ftParadoxOle},
    {"BLOB", adtBlob, bdtBlob, ftTypedBinary},
    {"BLOB", adtBlob, bdtBlob, ftDBaseOle},
    {"GRAPHIC", adtGraphic, bdtBlob, ftGraphic},
    {"MEMO", adtMemo, bdtMemo, ftMemo},
    {"CLOB", adtMemo, bdtMemo, ftMemo},
    {"FORMATTEDMEMO", adtFormattedMemo, bdtMemo, ftFmtMemo},
    {"WIDEMEMO", adtWideMemo, bdtWideMemo, ftBlob},
    {"WIDECLOB", adtWideMemo, bdtWideMemo, ftMemo},
    {"GUID", adtGuid, bdtFixedChar, ftGuid},
}};

namespace {

template <typename Predicate>
const TVTRDataTypeName* FirstRow(Predicate matches) {
  for (const auto& row : DataTypeNameTable)
    if (matches(row)) return &row;
  return nullptr;
}

char AsciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

const TVTRDataTypeName* FindDataTypeName(std::string_view name) {
  return FirstRow([name](const TVTRDataTypeName& row) {
    if (row.name.size() != name.size()) return false;
    for (size_t i = 0; i < name.size(); ++i)
      if (AsciiUpper(name[i]) != row.name[i]) return false;
    return true;
  });
}

TVTRBaseDataType AdvancedTypeToBaseType(TVTRAdvancedDataType type) {
  const auto* row = FirstRow([type](const TVTRDataTypeName& r) { return r.advanced_type == type; });
  return row ? row->base_type : bdtUnknown;
}

TVTRAdvancedDataType BaseTypeToAdvancedType(TVTRBaseDataType type) {
  const auto* row = FirstRow([type](const TVTRDataTypeName& r) { return r.base_type == type; });
  return row ? row->advanced_type : adtUnknown;
}

TVTRAdvancedDataType FieldTypeToAdvancedType(TFieldType type) {
  const auto* row = FirstRow([type](const TVTRDataTypeName& r) { return r.field_type == type; });
  if (!row) throw EVTRException::CreateFmt(30289, "Unknown DataType: '%s'", std::to_string(type));
  return row->advanced_type;
}

TFieldType AdvancedTypeToFieldType(TVTRAdvancedDataType type) {
  const auto* row = FirstRow([type](const TVTRDataTypeName& r) { return r.advanced_type == type; });
  return row ? row->field_type : ftUnknown;
}

std::string_view GetAdvancedTypeName(TVTRAdvancedDataType type) {
  const auto* row = FirstRow([type](const TVTRDataTypeName& r) { return r.advanced_type == type; });
  return row ? row->name : "Unknown";
}

std::string_view GetBaseTypeName(TVTRBaseDataType type) {
  const auto* row = FirstRow([type](const TVTRDataTypeName& r) { return r.base_type == type; });
  return row ? row->name : "Unknown";
}

int32_t GetBaseTypeDataSize(TVTRBaseDataType type, int32_t declared_size) {
  int64_t size;
  switch (type) {
    case bdtFixedChar:
    case bdtString:
      size = int64_t{declared_size} + 1;
      break;
    case bdtFixedWideChar:
    case bdtWideString:
      size = (int64_t{declared_size} + 1) * 2;
      break;
    case bdtBytes:
    case bdtVarBytes:
      size = declared_size;
      break;
    case bdtShortInt:
    case bdtByte:
      size = 1;
      break;
    case bdtSmallInt:
    case bdtWord:
    case bdtLogical:
      size = 2;
      break;
    case bdtInteger:
    case bdtCardinal:
    case bdtSingle:
    case bdtDate:
    case bdtTime:
      size = 4;
      break;
    case bdtLargeInt:
    case bdtDouble:
    case bdtDateTime:
    case bdtCurrency:
      size = 8;
      break;
    case bdtExtended:
    case bdtBlob:
    case bdtMemo:
    case bdtWideMemo:
      size = 10;
      break;
    default:
      throw EVTRException::CreateFmt(30050, "Unknown DataType: '%s'", GetBaseTypeName(type));
  }
  // A damaged stored declared size must not wrap around.
  if (size > std::numeric_limits<int32_t>::max()) throw EIntOverflow();
  return static_cast<int32_t>(size);
}

bool IsStringBaseType(TVTRBaseDataType type) {
  return type >= bdtFixedChar && type <= bdtWideString;
}
bool IsWideStringBaseType(TVTRBaseDataType type) {
  return type == bdtFixedWideChar || type == bdtWideString;
}
bool IsNumericBaseType(TVTRBaseDataType type) {
  return (type >= bdtShortInt && type <= bdtExtended) || type == bdtCurrency;
}
bool IsDateTimeBaseType(TVTRBaseDataType type) {
  return type >= bdtDate && type <= bdtDateTime;
}
bool IsBlobBaseType(TVTRBaseDataType type) {
  return type >= bdtBlob && type <= bdtWideMemo;
}

bool IsStringAdvancedType(TVTRAdvancedDataType type) {
  return (type >= adtChar && type <= adtWideString) || type == adtGuid;
}
bool IsWideStringAdvancedType(TVTRAdvancedDataType type) {
  return type == adtWideChar || type == adtWideString;
}
bool IsBytesAdvancedType(TVTRAdvancedDataType type) {
  return type == adtBytes || type == adtVarBytes;
}
bool IsStringOrBytesAdvancedType(TVTRAdvancedDataType type) {
  return IsStringAdvancedType(type) || IsBytesAdvancedType(type);
}
bool IsAutoincAdvancedType(TVTRAdvancedDataType type) {
  return type >= adtAutoInc && type <= adtAutoIncCardinal;
}
bool IsBlobAdvancedType(TVTRAdvancedDataType type) {
  return type >= adtBlob && type <= adtWideMemo;
}
bool IsIndexableAdvancedType(TVTRAdvancedDataType type) {
  return (type >= adtChar && type <= adtTimeStamp) || (type >= adtMemo && type <= adtWideMemo);
}
