#include "platform/db/NumericFields.h"

#include <algorithm>
#include <cmath>

#include "platform/db/DBConsts.h"
#include "platform/db/DatabaseError.h"
#include "platform/rtl/FloatText.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/FormatFloat.h"
#include "platform/rtl/NumberText.h"
#include "platform/rtl/TextCase.h"

std::string TNumericField::GetText(bool display_text) const {
  if (IsNull()) return {};
  const std::string& mask = display_text || edit_format_.empty() ? display_format_ : edit_format_;
  return mask.empty() ? PlainText(AsFloat()) : FormatFloat(mask, AsFloat());
}

std::string TNumericField::IntegralText() const {
  return IsNull() ? std::string() : std::to_string(AsLargeInt());
}

void TNumericField::SetIntegralText(const std::string& value) {
  int64_t number = 0;
  if (value.empty()) {
    Clear();
  } else if (TryStrToInt64(value, number)) {
    SetAsLargeInt(number);
  } else {
    ValueError(SInvalidIntegerValue, value);
  }
}

TIntegerField::TIntegerField(TComponent* owner, TFieldType type, int64_t type_min, int64_t type_max)
    : TNumericField(owner, type),
      type_min_(type_min),
      type_max_(type_max),
      min_value_(type_min),
      max_value_(type_max) {}

int TIntegerField::DataSize() const {
  return DataType() == ftSmallint || DataType() == ftWord ? 2 : 4;
}

void TIntegerField::SetRange(int64_t min_value, int64_t max_value) {
  min_value_ = std::max(min_value, type_min_);
  max_value_ = std::min(max_value, type_max_);
}

int64_t TIntegerField::AsLargeInt() const {
  switch (DataType()) {
    case ftSmallint: {
      int16_t value = 0;
      return GetData(&value) ? value : 0;
    }
    case ftWord: {
      uint16_t value = 0;
      return GetData(&value) ? value : 0;
    }
    default: {
      int32_t value = 0;
      return GetData(&value) ? value : 0;
    }
  }
}

void TIntegerField::SetAsLargeInt(int64_t value) {
  if (value < min_value_ || value > max_value_) {
    RangeError(std::to_string(value), std::to_string(min_value_), std::to_string(max_value_));
  }
  switch (DataType()) {
    case ftSmallint: {
      const auto native = static_cast<int16_t>(value);
      SetData(&native);
      break;
    }
    case ftWord: {
      const auto native = static_cast<uint16_t>(value);
      SetData(&native);
      break;
    }
    default: {
      const auto native = static_cast<int32_t>(value);
      SetData(&native);
      break;
    }
  }
}

void TIntegerField::SetAsFloat(double value) {
  const double rounded = std::round(value);
  if (!(rounded >= static_cast<double>(min_value_) && rounded <= static_cast<double>(max_value_))) {
    RangeError(FloatToGeneralText(value), std::to_string(min_value_), std::to_string(max_value_));
  }
  SetAsLargeInt(static_cast<int64_t>(rounded));
}

std::string TIntegerField::AsString() const {
  return IntegralText();
}

void TIntegerField::SetAsString(const std::string& value) {
  SetIntegralText(value);
}

std::string TIntegerField::PlainText(double value) const {
  return std::to_string(static_cast<int64_t>(value));
}

Variant TIntegerField::Value() const {
  if (IsNull()) return Variant::Null();
  const int64_t value = AsLargeInt();
  switch (DataType()) {
    case ftSmallint:
      return Variant::SmallInt(static_cast<int16_t>(value));
    case ftWord:
      return Variant::Word(static_cast<uint16_t>(value));
    default:
      return Variant(static_cast<int32_t>(value));
  }
}

void TIntegerField::SetValue(const Variant& value) {
  value.IsEmptyOrNull() ? Clear() : SetAsLargeInt(value.AsInt64());
}

int64_t TLargeintField::AsLargeInt() const {
  int64_t value = 0;
  return GetData(&value) ? value : 0;
}

int32_t TLargeintField::AsInteger() const {
  const int64_t value = AsLargeInt();
  if (value < INT32_MIN || value > INT32_MAX) {
    RangeError(std::to_string(value), std::to_string(INT32_MIN), std::to_string(INT32_MAX));
  }
  return static_cast<int32_t>(value);
}

void TLargeintField::SetAsFloat(double value) {
  const double rounded = std::round(value);
  // 2^63 itself is out of range; every double below it converts exactly.
  if (!(rounded >= -9223372036854775808.0 && rounded < 9223372036854775808.0)) {
    RangeError(FloatToGeneralText(value), std::to_string(INT64_MIN), std::to_string(INT64_MAX));
  }
  SetAsLargeInt(static_cast<int64_t>(rounded));
}

std::string TLargeintField::AsString() const {
  return IntegralText();
}

void TLargeintField::SetAsString(const std::string& value) {
  SetIntegralText(value);
}

std::string TLargeintField::PlainText(double value) const {
  return AsString();
}

Variant TLargeintField::Value() const {
  return IsNull() ? Variant::Null() : Variant(AsLargeInt());
}

void TLargeintField::SetValue(const Variant& value) {
  value.IsEmptyOrNull() ? Clear() : SetAsLargeInt(value.AsInt64());
}

TFloatField::TFloatField(TComponent* owner, TFieldType type) : TNumericField(owner, type) {}

void TFloatField::SetPrecision(int precision) {
  precision_ = std::clamp(precision, 2, 15);
}

void TFloatField::SetRange(double min_value, double max_value) {
  min_value_ = min_value;
  max_value_ = max_value;
}

double TFloatField::AsFloat() const {
  double value = 0;
  return GetData(&value) ? value : 0;
}

void TFloatField::SetAsFloat(double value) {
  if (!std::isfinite(value)) ValueError(SInvalidFloatValue, FloatToGeneralText(value));
  if (min_value_ != max_value_ && (value < min_value_ || value > max_value_)) {
    RangeError(FloatToGeneralText(value), FloatToGeneralText(min_value_), FloatToGeneralText(max_value_));
  }
  SetData(&value);
}

int32_t TFloatField::AsInteger() const {
  const double value = std::round(AsFloat());
  if (!(value >= INT32_MIN && value <= INT32_MAX)) {
    RangeError(FloatToGeneralText(value), std::to_string(INT32_MIN), std::to_string(INT32_MAX));
  }
  return static_cast<int32_t>(value);
}

int64_t TFloatField::AsLargeInt() const {
  const double value = std::round(AsFloat());
  if (!(value >= -9223372036854775808.0 && value < 9223372036854775808.0)) {
    RangeError(FloatToGeneralText(value), std::to_string(INT64_MIN), std::to_string(INT64_MAX));
  }
  return static_cast<int64_t>(value);
}

std::string TFloatField::AsString() const {
  return IsNull() ? std::string() : FloatToGeneralText(AsFloat());
}

void TFloatField::SetAsString(const std::string& value) {
  double number = 0;
  if (value.empty()) {
    Clear();
  } else if (TryStrToFloat(value, number)) {
    SetAsFloat(number);
  } else {
    ValueError(SInvalidFloatValue, value);
  }
}

std::string TFloatField::PlainText(double value) const {
  return currency_ ? FloatToFixedText(value, 2, true) : FloatToGeneralText(value, precision_);
}

Variant TFloatField::Value() const {
  return IsNull() ? Variant::Null() : Variant(AsFloat());
}

void TFloatField::SetValue(const Variant& value) {
  value.IsEmptyOrNull() ? Clear() : SetAsFloat(value.AsDouble());
}

TCurrencyField::TCurrencyField(TComponent* owner) : TFloatField(owner, ftCurrency) {
  SetCurrency(true);
}

Variant TCurrencyField::Value() const {
  return IsNull() ? Variant::Null() : Variant::Currency(AsFloat());
}

TBCDField::TBCDField(TComponent* owner) : TFloatField(owner, ftBCD) {}

void TBCDField::CheckTypeSize(int size) const {
  if (size < 0 || size > 32) DatabaseError(Format(SInvalidFieldSize, size, DisplayName()));
}

Variant TBCDField::Value() const {
  return IsNull() ? Variant::Null() : Variant::Currency(AsFloat());
}

void TBooleanField::SetDisplayValues(const std::string& values) {
  const size_t separator = values.find(';');
  if (separator == std::string::npos) {
    true_text_ = values;
    false_text_.clear();
  } else {
    true_text_ = values.substr(0, separator);
    false_text_ = values.substr(separator + 1);
  }
  display_values_ = values;
}

bool TBooleanField::AsBoolean() const {
  int16_t value = 0;
  return GetData(&value) && value != 0;
}

void TBooleanField::SetAsBoolean(bool value) {
  const int16_t native = value ? -1 : 0;
  SetData(&native);
}

std::string TBooleanField::AsString() const {
  if (IsNull()) return {};
  return AsBoolean() ? true_text_ : false_text_;
}

void TBooleanField::SetAsString(const std::string& value) {
  auto starts = [&](const std::string& text) { return SameText(value, text.substr(0, value.size())); };
  if (value.empty()) {
    Clear();
  } else if (starts(false_text_)) {
    SetAsBoolean(false);
  } else if (starts(true_text_)) {
    SetAsBoolean(true);
  } else {
    ValueError(SInvalidBoolValue, value);
  }
}

Variant TBooleanField::Value() const {
  return IsNull() ? Variant::Null() : Variant(AsBoolean());
}

void TBooleanField::SetValue(const Variant& value) {
  value.IsEmptyOrNull() ? Clear() : SetAsBoolean(value.AsBoolean());
}
