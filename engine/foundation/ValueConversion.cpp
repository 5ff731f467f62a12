#include "engine/foundation/ValueConversion.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "engine/foundation/DateConversion.h"
#include "engine/foundation/ExtendedFloat.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/ValueText.h"
#include "platform/rtl/ArithmeticError.h"
#include "platform/rtl/FloatText.h"
#include "platform/rtl/NumberText.h"

namespace {

// ---------------------------------------------------------------- promotion

enum class Family { None, Text, Integer, Float, Date, Time, DateTime, Memo, Logical, Currency };

Family FamilyOf(TVTRBaseDataType type) {
  switch (type) {
    case bdtFixedChar:
    case bdtFixedWideChar:
    case bdtString:
    case bdtWideString:
      return Family::Text;
    case bdtShortInt:
    case bdtSmallInt:
    case bdtInteger:
    case bdtLargeInt:
    case bdtByte:
    case bdtWord:
    case bdtCardinal:
      return Family::Integer;
    case bdtSingle:
    case bdtDouble:
    case bdtExtended:
      return Family::Float;
    case bdtDate:
      return Family::Date;
    case bdtTime:
      return Family::Time;
    case bdtDateTime:
      return Family::DateTime;
    case bdtMemo:
      return Family::Memo;
    case bdtLogical:
      return Family::Logical;
    case bdtCurrency:
      return Family::Currency;
    default:
      return Family::None;
  }
}

bool IsDateFamily(Family f) {
  return f == Family::Date || f == Family::Time || f == Family::DateTime;
}
bool IsNumberFamily(Family f) {
  return f == Family::Integer || f == Family::Float;
}

// Row = first operand, column = second, both from shortint (5) to cardinal (11).
constexpr TVTRBaseDataType kIntegerPromotion[7][7] = {
    {bdtShortInt, bdtSmallInt, bdtInteger, bdtLargeInt, bdtSmallInt, bdtWord, bdtCardinal},
    {bdtSmallInt, bdtSmallInt, bdtInteger, bdtLargeInt, bdtSmallInt, bdtWord, bdtCardinal},
    {bdtInteger, bdtInteger, bdtInteger, bdtLargeInt, bdtInteger, bdtInteger, bdtLargeInt},
    {bdtLargeInt, bdtLargeInt, bdtLargeInt, bdtLargeInt, bdtLargeInt, bdtLargeInt, bdtLargeInt},
    {bdtSmallInt, bdtSmallInt, bdtInteger, bdtLargeInt, bdtByte, bdtWord, bdtCardinal},
    {bdtInteger, bdtInteger, bdtInteger, bdtLargeInt, bdtWord, bdtWord, bdtCardinal},
    {bdtLargeInt, bdtLargeInt, bdtLargeInt, bdtLargeInt, bdtCardinal, bdtCardinal, bdtCardinal},
};

// ----------------------------------------------------------- reading values

template <typename T>
T Load(const uint8_t* p) {
  T value;
  std::memcpy(&value, p, sizeof value);
  return value;
}

[[noreturn]] void ShortSource() {
  throw EConvertError("Value buffer too small");
}

// A raw value read into one of the forms the rules convert from.
struct Source {
  Family family = Family::None;
  std::string ansi;     // Text (ANSI) and Memo
  std::u16string wide;  // Text (wide)
  bool is_wide = false;
  int64_t integer = 0;   // Integer; cardinal values fit
  long double real = 0;  // Float
  double currency = 0;
  TVTRTimeStamp stamp;  // Date: stamp.date; Time: stamp.time; DateTime: both
  bool logical = false;
};

std::string_view AnsiText(const uint8_t* data, int32_t size) {
  const auto* text = reinterpret_cast<const char*>(data);
  return size < 0 ? std::string_view(text) : std::string_view(text, strnlen(text, size));
}

std::u16string WideText(const uint8_t* data, int32_t size) {
  std::u16string text;
  for (int32_t i = 0; size < 0 || i + 1 < size; i += 2) {
    const auto c = static_cast<char16_t>(data[i] | data[i + 1] << 8);
    if (c == 0) break;
    text.push_back(c);
  }
  return text;
}

Source Read(const uint8_t* data, int32_t size, TVTRBaseDataType type) {
  Source s;
  s.family = FamilyOf(type);
  if (s.family == Family::Text || s.family == Family::Memo) {
    if (IsWideStringBaseType(type)) {
      s.is_wide = true;
      s.wide = WideText(data, size);
    } else {
      s.ansi = AnsiText(data, size);
    }
    return s;
  }
  if (size >= 0 && size < GetBaseTypeDataSize(type, 0)) ShortSource();
  switch (type) {
    case bdtShortInt:
      s.integer = Load<int8_t>(data);
      break;
    case bdtSmallInt:
      s.integer = Load<int16_t>(data);
      break;
    case bdtInteger:
      s.integer = Load<int32_t>(data);
      break;
    case bdtLargeInt:
      s.integer = Load<int64_t>(data);
      break;
    case bdtByte:
      s.integer = Load<uint8_t>(data);
      break;
    case bdtWord:
      s.integer = Load<uint16_t>(data);
      break;
    case bdtCardinal:
      s.integer = Load<uint32_t>(data);
      break;
    case bdtSingle:
      s.real = Load<float>(data);
      break;
    case bdtDouble:
      s.real = Load<double>(data);
      break;
    case bdtExtended:
      s.real = DecodeExtended(data);
      break;
    case bdtDate:
      s.stamp.date = Load<int32_t>(data);
      break;
    case bdtTime:
      s.stamp.time = Load<int32_t>(data);
      break;
    case bdtDateTime:
      s.stamp = ReadTimeStamp(data);
      break;
    case bdtLogical:
      s.logical = Load<int16_t>(data) != 0;
      break;
    case bdtCurrency:
      s.currency = Load<double>(data);
      break;
    default:
      break;
  }
  return s;
}

// ----------------------------------------------------------- building values

TVTRValueBuffer Fixed(TVTRBaseDataType type, const void* value) {
  return CopyValueToNewBuffer(type, value);
}

TVTRValueBuffer Ansi(TVTRBaseDataType type, const std::string& text) {
  return CopyValueToNewBuffer(type, text.c_str());
}

TVTRValueBuffer Wide(TVTRBaseDataType type, const std::u16string& text) {
  return CopyValueToNewBuffer(type, text.c_str());
}

// Two's complement cut to the target width, no range check.
TVTRValueBuffer Integer(TVTRBaseDataType type, int64_t value) {
  switch (type) {
    case bdtShortInt: {
      const auto v = static_cast<int8_t>(value);
      return Fixed(type, &v);
    }
    case bdtSmallInt: {
      const auto v = static_cast<int16_t>(value);
      return Fixed(type, &v);
    }
    case bdtInteger: {
      const auto v = static_cast<int32_t>(value);
      return Fixed(type, &v);
    }
    case bdtByte: {
      const auto v = static_cast<uint8_t>(value);
      return Fixed(type, &v);
    }
    case bdtWord: {
      const auto v = static_cast<uint16_t>(value);
      return Fixed(type, &v);
    }
    case bdtCardinal: {
      const auto v = static_cast<uint32_t>(value);
      return Fixed(type, &v);
    }
    default:
      return Fixed(type, &value);
  }
}

TVTRValueBuffer Float(TVTRBaseDataType type, long double value) {
  if (type == bdtExtended) {
    uint8_t image[kExtendedSize];
    EncodeExtended(value, image);
    return Fixed(type, image);
  }
  if (type == bdtSingle) {
    const auto v = static_cast<float>(value);
    if (std::isinf(v) && std::isfinite(value)) throw EOverflow();
    return Fixed(type, &v);
  }
  const auto v = static_cast<double>(value);
  if (std::isinf(v) && std::isfinite(value)) throw EOverflow();
  return Fixed(type, &v);
}

TVTRValueBuffer Int32(TVTRBaseDataType type, int32_t value) {
  return Fixed(type, &value);
}

TVTRValueBuffer Stamp(const TVTRTimeStamp& value) {
  uint8_t image[kTimeStampSize];
  WriteTimeStamp(value, image);
  return Fixed(bdtDateTime, image);
}

TVTRValueBuffer Logical(bool value) {
  const int16_t v = value ? -1 : 0;
  return Fixed(bdtLogical, &v);
}

TVTRValueBuffer Currency(double value) {
  return Fixed(bdtCurrency, &value);
}

int64_t TruncToInt64(long double value) {
  if (!(std::fabs(value) < 9.2e18L)) throw EInvalidOp();
  return static_cast<int64_t>(value);
}

int32_t TruncToInt32(long double value) {
  const int64_t whole = TruncToInt64(value);
  if (whole < std::numeric_limits<int32_t>::min() || whole > std::numeric_limits<int32_t>::max())
    throw EIntOverflow();
  return static_cast<int32_t>(whole);
}

double RoundTo4Decimals(long double value) {
  return static_cast<double>(std::round(value * 10000) / 10000);
}

// ------------------------------------------------------------- text of values

std::string CurrencyText(double value) {
  std::string text = FloatToFixedText(value, 4, false);
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text;
}

std::string DateTimeText(const TVTRTimeStamp& stamp) {
  if (stamp.date == kMissingDayNumber)
    return stamp.time == 0 ? "" : TimeToStr(MillisecondsToTime(stamp.time));
  return DateTimeToStr(TimeStampToDateTime(stamp));
}

// The ANSI text of a non-text source; false when no rule gives one.
bool TextOf(const Source& s, std::string& text) {
  switch (s.family) {
    case Family::Integer:
      text = std::to_string(s.integer);
      return true;
    case Family::Float:
      text = FloatToGeneralText(static_cast<double>(s.real), 15);
      return true;
    case Family::Date:
      text = s.stamp.date == kMissingDayNumber ? "" : DateToStr(DayNumberToDateTime(s.stamp.date));
      return true;
    case Family::Time:
      text = s.stamp.time == 0 ? "" : TimeToStr(MillisecondsToTime(s.stamp.time));
      return true;
    case Family::DateTime:
      text = DateTimeText(s.stamp);
      return true;
    case Family::Logical:
      text = s.logical ? "True" : "False";
      return true;
    case Family::Currency:
      text = CurrencyText(RoundTo4Decimals(s.currency));
      return true;
    default:
      return false;
  }
}

std::string AnsiOf(const Source& s) {
  return s.is_wide ? WideToAnsi(s.wide) : s.ansi;
}

std::string UpperAscii(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return text;
}

// -------------------------------------------------------------- the matrix

TVTRValueBuffer ToText(const Source& s, TVTRBaseDataType target) {
  const bool wide_target = IsWideStringBaseType(target);
  if (s.family == Family::Text || s.family == Family::Memo) {
    if (wide_target) return Wide(target, s.is_wide ? s.wide : AnsiToWide(s.ansi));
    return Ansi(target, AnsiOf(s));
  }
  std::string text;
  if (!TextOf(s, text)) return {};
  return wide_target ? Wide(target, AnsiToWide(text)) : Ansi(target, text);
}

TVTRValueBuffer ToInteger(const Source& s, TVTRBaseDataType target) {
  switch (s.family) {
    case Family::Text:
    case Family::Memo: {
      const std::string text = AnsiOf(s);
      return Integer(target, target == bdtLargeInt ? StrToInt64(text) : StrToInt(text));
    }
    case Family::Integer:
      return Integer(target, s.integer);
    case Family::Float:
      return Integer(target, TruncToInt64(s.real));
    case Family::Date:
    case Family::DateTime:
      return Integer(target, s.stamp.date);
    case Family::Time:
      return Integer(target, s.stamp.time);
    case Family::Logical:
      return Integer(target, s.logical ? 1 : 0);
    case Family::Currency:
      return Integer(target, TruncToInt64(s.currency));
    default:
      return {};
  }
}

// The number a date, time or date-time stands for in arithmetic: day number
// and fraction of a day.
long double DateNumber(const Source& s) {
  switch (s.family) {
    case Family::Date:
      return s.stamp.date;
    case Family::Time:
      return s.stamp.time;
    default:
      return (s.stamp.date == kMissingDayNumber ? 0.0L : s.stamp.date) +
             static_cast<long double>(s.stamp.time) / kMSecsPerDay;
  }
}

TVTRValueBuffer ToFloat(const Source& s, TVTRBaseDataType target) {
  switch (s.family) {
    case Family::Text:
    case Family::Memo:
      return Float(target, StrToFloat(AnsiOf(s)));
    case Family::Integer:
      return Float(target, s.integer);
    case Family::Float:
      return Float(target, s.real);
    case Family::Date:
    case Family::Time:
    case Family::DateTime:
      return Float(target, DateNumber(s));
    case Family::Logical:
      return Float(target, s.logical ? 1 : 0);
    case Family::Currency:
      return Float(target, s.currency);
    default:
      return {};
  }
}

TVTRValueBuffer ToDate(const Source& s) {
  switch (s.family) {
    case Family::Text:
    case Family::Memo:
      return Int32(bdtDate, DateTimeToDayNumber(StrToDate(AnsiOf(s))));
    case Family::Integer:
      return Int32(bdtDate, static_cast<int32_t>(s.integer));
    case Family::Float:
      return Int32(bdtDate, TruncToInt32(s.real));
    case Family::Date:
    case Family::DateTime:
      return Int32(bdtDate, s.stamp.date);
    case Family::Time:
      return Int32(bdtDate, s.stamp.time);
    default:
      return {};
  }
}

TVTRValueBuffer ToTime(const Source& s) {
  switch (s.family) {
    case Family::Text:
    case Family::Memo:
      return Int32(bdtTime, TimeToMilliseconds(StrToTime(AnsiOf(s))));
    case Family::Integer:
      return Int32(bdtTime, static_cast<int32_t>(s.integer));
    case Family::Float:
      return Int32(bdtTime, static_cast<int32_t>(TruncToInt64(s.real) % kMSecsPerDay));
    case Family::Date:
      return Int32(bdtTime, s.stamp.date % kMSecsPerDay);
    case Family::Time:
    case Family::DateTime:
      return Int32(bdtTime, s.stamp.time);
    default:
      return {};
  }
}

TVTRValueBuffer ToDateTime(const Source& s) {
  switch (s.family) {
    case Family::Text:
    case Family::Memo:
      return Stamp(DateTimeToTimeStamp(StrToDateTime(AnsiOf(s))));
    case Family::Integer:
      return Stamp({static_cast<int32_t>(s.integer), 0});
    case Family::Float: {
      // The time of day of a negative value is its fraction's absolute value.
      const int32_t date = TruncToInt32(s.real);
      const auto time = static_cast<int32_t>(std::fabs(s.real - std::trunc(s.real)) * kMSecsPerDay);
      return Stamp({date, time});
    }
    case Family::Date:
      return Stamp({s.stamp.date, 0});
    case Family::Time:
      return Stamp({kMissingDayNumber, s.stamp.time});
    case Family::DateTime:
      return Stamp(s.stamp);
    default:
      return {};
  }
}

TVTRValueBuffer ToLogical(const Source& s, const uint8_t* data) {
  switch (s.family) {
    case Family::Text:
    case Family::Memo: {
      const std::string text = UpperAscii(AnsiOf(s));
      return Logical(text == "1" || text == "TRUE");
    }
    case Family::Integer:
      return Logical(s.integer != 0);
    case Family::Float:
      return Logical(s.real != 0);
    case Family::Date:
      return Logical(s.stamp.date != kMissingDayNumber);
    case Family::Time:
      return Logical(s.stamp.time != 0);
    case Family::DateTime:
      return Logical(s.stamp.date != kMissingDayNumber || s.stamp.time != 0);
    case Family::Logical:
      return Fixed(bdtLogical, data);
    case Family::Currency:
      return Logical(s.currency != 0);
    default:
      return {};
  }
}

TVTRValueBuffer ToCurrency(const Source& s) {
  switch (s.family) {
    case Family::Text:
    case Family::Memo:
      return Currency(RoundTo4Decimals(StrToFloat(AnsiOf(s))));
    case Family::Integer:
      return Currency(static_cast<double>(s.integer));
    case Family::Float:
      return Currency(static_cast<double>(s.real));
    case Family::Date:
    case Family::Time:
      return Currency(static_cast<double>(DateNumber(s)));
    case Family::DateTime:
      return Currency(RoundTo4Decimals(DateNumber(s)));
    case Family::Currency:
      return Currency(s.currency);
    default:
      return {};
  }
}

TVTRValueBuffer ToBlob(const Source& s) {
  if (s.family != Family::Text && s.family != Family::Memo) return {};
  // The content of a text BLOB keeps its terminator.
  if (s.is_wide) return Wide(bdtWideString, s.wide);
  return Ansi(bdtString, s.ansi);
}

TVTRValueBuffer Convert(const uint8_t* data, int32_t size, TVTRBaseDataType source_type,
                        TVTRBaseDataType target) {
  const Family family = FamilyOf(source_type);
  if (family == Family::None) return {};
  const Source s = Read(data, size, source_type);
  switch (target) {
    case bdtFixedChar:
    case bdtFixedWideChar:
    case bdtString:
    case bdtWideString:
      return ToText(s, target);
    case bdtShortInt:
    case bdtSmallInt:
    case bdtInteger:
    case bdtLargeInt:
    case bdtByte:
    case bdtWord:
    case bdtCardinal:
      return ToInteger(s, target);
    case bdtSingle:
    case bdtDouble:
    case bdtExtended:
      return ToFloat(s, target);
    case bdtDate:
      return ToDate(s);
    case bdtTime:
      return ToTime(s);
    case bdtDateTime:
      return ToDateTime(s);
    case bdtLogical:
      return ToLogical(s, data);
    case bdtCurrency:
      return ToCurrency(s);
    case bdtBlob:
      return ToBlob(s);
    default:
      return {};
  }
}

}  // namespace

TVTRBaseDataType GetCommonDataType(TVTRBaseDataType a, TVTRBaseDataType b, bool prefer_date) {
  const Family fa = FamilyOf(a), fb = FamilyOf(b);
  if (fa == Family::None || fb == Family::None) return bdtUnknown;
  if (fa == Family::Text && fb == Family::Text) {
    if (IsWideStringBaseType(a) || IsWideStringBaseType(b))
      return a == bdtWideString || b == bdtWideString ? bdtWideString : bdtFixedWideChar;
    return a == bdtString || b == bdtString ? bdtString : bdtFixedChar;
  }
  if (fa == Family::Memo || fb == Family::Memo) {
    if (fa == fb) return bdtFixedChar;
    if (fa == Family::Text) return a;
    if (fb == Family::Text) return b;
    return bdtUnknown;
  }
  if (fa == Family::Text || fb == Family::Text) {
    const TVTRBaseDataType text = fa == Family::Text ? a : b, other = fa == Family::Text ? b : a;
    return prefer_date && IsDateFamily(FamilyOf(other)) ? other : text;
  }
  if (fa == Family::Integer && fb == Family::Integer)
    return kIntegerPromotion[a - bdtShortInt][b - bdtShortInt];
  if (IsNumberFamily(fa) && IsNumberFamily(fb)) {
    if (fa == Family::Integer) return b;
    if (fb == Family::Integer) return a;
    return std::max(a, b);
  }
  if (IsNumberFamily(fa) && IsDateFamily(fb)) return b;
  if (IsDateFamily(fa) && IsNumberFamily(fb)) return a;
  if (IsDateFamily(fa) && IsDateFamily(fb)) return a == b ? a : bdtDateTime;
  if (fa == Family::Logical || fb == Family::Logical) {
    if (fa == fb) return bdtLogical;
    const TVTRBaseDataType other = fa == Family::Logical ? b : a;
    return IsNumberFamily(FamilyOf(other)) ? other : bdtUnknown;
  }
  if (fa == Family::Currency || fb == Family::Currency) {
    const Family other = fa == Family::Currency ? fb : fa;
    return other == Family::Currency || IsNumberFamily(other) ? bdtCurrency : bdtUnknown;
  }
  return bdtUnknown;
}

TVTRAdvancedDataType ChooseResultDataType(TVTRAdvancedDataType a, TVTRAdvancedDataType b, bool prefer_date) {
  const TVTRBaseDataType base_a = AdvancedTypeToBaseType(a), base_b = AdvancedTypeToBaseType(b);
  const TVTRBaseDataType common = GetCommonDataType(base_a, base_b, prefer_date);
  if (common == base_a) return a;
  if (common == base_b) return b;
  return BaseTypeToAdvancedType(common);
}

TVTRValueBuffer ConvertValueBuffer(const void* source, int32_t source_size, TVTRBaseDataType source_type,
                                   TVTRBaseDataType target_type) {
  TVTRValueBuffer result;
  try {
    result = Convert(static_cast<const uint8_t*>(source), source_size, source_type, target_type);
  } catch (...) {
    throw EVTRException::CreateFmt(30051, "Cannot cast from '%s' to '%s'", GetBaseTypeName(source_type),
                                   GetBaseTypeName(target_type));
  }
  if (!result.data)
    throw EVTRException::CreateFmt(30052, "Cannot cast from '%s' to '%s'", GetBaseTypeName(source_type),
                                   GetBaseTypeName(target_type));
  return result;
}

VTRBufferPtr ConvertValueBufferTo(const void* source, int32_t source_size, TVTRBaseDataType source_type,
                                  TVTRBaseDataType target_type) {
  return ConvertValueBuffer(source, source_size, source_type, target_type).data;
}
