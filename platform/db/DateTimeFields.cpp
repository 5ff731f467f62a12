#include "platform/db/DateTimeFields.h"

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Format.h"

namespace {

// 0001-01-01 and the day after 9999-12-31.
constexpr TDateTime kMinDateTime = -693593;
constexpr TDateTime kEndDateTime = 2958466;

}  // namespace

void TDateTimeField::CheckRange(TDateTime value) const {
  if (!(value >= kMinDateTime && value < kEndDateTime)) {
    RangeError(Format("%g", value), "01/01/0001", "31/12/9999 23:59:59");
  }
}

TDateTime TDateTimeField::AsDateTime() const {
  TDateTime value = 0;
  return GetData(&value, false) ? value : 0;
}

void TDateTimeField::SetAsDateTime(TDateTime value) {
  CheckRange(value);
  SetData(&value, false);
}

void TDateTimeField::SetAsString(const std::string& value) {
  if (value.empty()) return Clear();
  switch (DataType()) {
    case ftDate:
      return SetAsDateTime(StrToDate(value));
    case ftTime:
      return SetAsDateTime(StrToTime(value));
    default:
      return SetAsDateTime(StrToDateTime(value));
  }
}

std::string TDateTimeField::TextFormat(bool display_text) const {
  if (display_text && !display_format_.empty()) return display_format_;
  return DataType() == ftDate ? "ddddd" : DataType() == ftTime ? "tt" : "c";
}

std::string TDateTimeField::GetText(bool display_text) const {
  if (IsNull()) return {};
  return FormatDateTime(TextFormat(display_text), AsDateTime());
}

Variant TDateTimeField::Value() const {
  return IsNull() ? Variant::Null() : Variant::Date(AsDateTime());
}

void TDateTimeField::SetValue(const Variant& value) {
  if (value.IsEmptyOrNull()) {
    Clear();
  } else if (value.VarType() == Variant::varString || value.VarType() == Variant::varOleStr) {
    SetAsString(value.AsString());
  } else {
    SetAsDateTime(value.AsDateTime());
  }
}

TSQLTimeStamp TSQLTimeStampField::AsSQLTimeStamp() const {
  TSQLTimeStamp value{};
  GetData(&value, false);
  return value;
}

void TSQLTimeStampField::SetAsSQLTimeStamp(const TSQLTimeStamp& value) {
  // Refuses impossible dates and times before storing.
  EncodeDate(value.Year, value.Month, value.Day);
  EncodeTime(value.Hour, value.Minute, value.Second, static_cast<int>(value.Fractions));
  SetData(&value, false);
}

TDateTime TSQLTimeStampField::AsDateTime() const {
  if (IsNull()) return 0;
  const TSQLTimeStamp stamp = AsSQLTimeStamp();
  return ComposeDateTime(
      EncodeDate(stamp.Year, stamp.Month, stamp.Day),
      EncodeTime(stamp.Hour, stamp.Minute, stamp.Second, static_cast<int>(stamp.Fractions)));
}

void TSQLTimeStampField::SetAsDateTime(TDateTime value) {
  CheckRange(value);
  int year, month, day, hour, minute, second, msec;
  DecodeDate(value, year, month, day);
  DecodeTime(value, hour, minute, second, msec);
  SetAsSQLTimeStamp({static_cast<int16_t>(year), static_cast<uint16_t>(month), static_cast<uint16_t>(day),
                     static_cast<uint16_t>(hour), static_cast<uint16_t>(minute),
                     static_cast<uint16_t>(second), static_cast<uint32_t>(msec)});
}
