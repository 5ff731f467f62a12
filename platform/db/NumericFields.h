#pragma once
// Number fields. DisplayFormat (shown text) and EditFormat (edited text) are
// FormatFloat masks such as "###,###,##0.00"; empty means plain text.
#include "platform/db/Field.h"

class TNumericField : public TField {
 public:
  const std::string& DisplayFormat() const { return display_format_; }
  void SetDisplayFormat(std::string format) { display_format_ = std::move(format); }
  const std::string& EditFormat() const { return edit_format_; }
  void SetEditFormat(std::string format) { edit_format_ = std::move(format); }

 protected:
  using TField::TField;
  std::string GetText(bool display_text) const override;
  // The text of a value without a mask.
  virtual std::string PlainText(double value) const = 0;
  // Whole-number fields read and take their text in decimal; empty text clears.
  std::string IntegralText() const;
  void SetIntegralText(const std::string& value);

 private:
  std::string display_format_;
  std::string edit_format_;
};

// 32-bit integers; also the base of the 16-bit and autoincrement fields. Values
// outside MinValue..MaxValue (by default the native type's range) are refused.
class TIntegerField : public TNumericField {
 public:
  explicit TIntegerField(TComponent* owner) : TIntegerField(owner, ftInteger, INT32_MIN, INT32_MAX) {}

  int DataSize() const override;
  int64_t MinValue() const { return min_value_; }
  int64_t MaxValue() const { return max_value_; }
  // Narrows the accepted range; it stays within the native type's range.
  void SetRange(int64_t min_value, int64_t max_value);

  std::string AsString() const override;
  void SetAsString(const std::string& value) override;
  int32_t AsInteger() const override { return static_cast<int32_t>(AsLargeInt()); }
  void SetAsInteger(int32_t value) override { SetAsLargeInt(value); }
  int64_t AsLargeInt() const override;
  void SetAsLargeInt(int64_t value) override;
  double AsFloat() const override { return static_cast<double>(AsLargeInt()); }
  // Rounds half away from zero.
  void SetAsFloat(double value) override;
  Variant Value() const override;
  void SetValue(const Variant& value) override;

 protected:
  TIntegerField(TComponent* owner, TFieldType type, int64_t type_min, int64_t type_max);
  std::string PlainText(double value) const override;

 private:
  int64_t type_min_;
  int64_t type_max_;
  int64_t min_value_;
  int64_t max_value_;
};

class TSmallintField : public TIntegerField {
 public:
  explicit TSmallintField(TComponent* owner) : TIntegerField(owner, ftSmallint, INT16_MIN, INT16_MAX) {}
};

class TWordField : public TIntegerField {
 public:
  explicit TWordField(TComponent* owner) : TIntegerField(owner, ftWord, 0, UINT16_MAX) {}
};

class TAutoIncField : public TIntegerField {
 public:
  explicit TAutoIncField(TComponent* owner) : TIntegerField(owner, ftAutoInc, INT32_MIN, INT32_MAX) {}
};

class TLargeintField : public TNumericField {
 public:
  explicit TLargeintField(TComponent* owner) : TNumericField(owner, ftLargeint) {}

  int DataSize() const override { return 8; }
  std::string AsString() const override;
  void SetAsString(const std::string& value) override;
  int32_t AsInteger() const override;
  void SetAsInteger(int32_t value) override { SetAsLargeInt(value); }
  int64_t AsLargeInt() const override;
  void SetAsLargeInt(int64_t value) override { SetData(&value); }
  double AsFloat() const override { return static_cast<double>(AsLargeInt()); }
  void SetAsFloat(double value) override;
  Variant Value() const override;
  void SetValue(const Variant& value) override;

 protected:
  std::string PlainText(double value) const override;
};

// IEEE doubles; also the base of the currency and BCD fields (whose native form
// is a double too). Infinite and NaN values are refused; a range applies when
// MinValue differs from MaxValue.
class TFloatField : public TNumericField {
 public:
  explicit TFloatField(TComponent* owner) : TFloatField(owner, ftFloat) {}

  int DataSize() const override { return 8; }
  // Significant digits of the plain text (2 to 15).
  int Precision() const { return precision_; }
  void SetPrecision(int precision);
  // Plain text of a currency field shows two decimals with thousands separators.
  bool Currency() const { return currency_; }
  void SetCurrency(bool currency) { currency_ = currency; }
  double MinValue() const { return min_value_; }
  double MaxValue() const { return max_value_; }
  void SetRange(double min_value, double max_value);

  std::string AsString() const override;
  void SetAsString(const std::string& value) override;
  int32_t AsInteger() const override;
  void SetAsInteger(int32_t value) override { SetAsFloat(value); }
  int64_t AsLargeInt() const override;
  void SetAsLargeInt(int64_t value) override { SetAsFloat(static_cast<double>(value)); }
  double AsFloat() const override;
  void SetAsFloat(double value) override;
  Variant Value() const override;
  void SetValue(const Variant& value) override;

 protected:
  TFloatField(TComponent* owner, TFieldType type);
  std::string PlainText(double value) const override;

 private:
  int precision_ = 15;
  bool currency_ = false;
  double min_value_ = 0;
  double max_value_ = 0;
};

class TCurrencyField : public TFloatField {
 public:
  explicit TCurrencyField(TComponent* owner);
  Variant Value() const override;
};

// A decimal number held as a double; Size is its number of decimal places (0 to 32).
class TBCDField : public TFloatField {
 public:
  explicit TBCDField(TComponent* owner);
  Variant Value() const override;

 protected:
  void CheckTypeSize(int size) const override;
};

class TBooleanField : public TField {
 public:
  explicit TBooleanField(TComponent* owner) : TField(owner, ftBoolean) {}

  int DataSize() const override { return 2; }
  // The texts of true and false, separated by ";" ("True;False").
  const std::string& DisplayValues() const { return display_values_; }
  void SetDisplayValues(const std::string& values);

  bool AsBoolean() const override;
  void SetAsBoolean(bool value) override;
  // The text of true or false; "" when null.
  std::string AsString() const override;
  // Accepts a leading part of either text, ignoring case; "" clears.
  void SetAsString(const std::string& value) override;
  Variant Value() const override;
  void SetValue(const Variant& value) override;

 private:
  std::string display_values_ = "True;False";
  std::string true_text_ = "True";
  std::string false_text_ = "False";
};
