#pragma once
// Named parameters of an SQL text: values that a query hands to the statement.
// A parameter that was never given a value has no data type and acts as NULL.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/FieldType.h"
#include "platform/rtl/Persistent.h"
#include "platform/rtl/Variant.h"

class TField;

enum TParamType : uint8_t { ptUnknown, ptInput, ptOutput, ptInputOutput, ptResult };

class TParam : public TPersistent {
 public:
  explicit TParam(std::string name) : name_(std::move(name)) {}

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  TFieldType DataType() const { return data_type_; }
  void SetDataType(TFieldType type) { data_type_ = type; }
  TParamType ParamType() const { return param_type_; }
  void SetParamType(TParamType type) { param_type_ = type; }
  // Set by every assignment of a value; a query fills unbound parameters from
  // its master.
  bool Bound() const { return bound_; }
  void SetBound(bool bound) { bound_ = bound; }
  bool IsNull() const { return value_.IsEmptyOrNull(); }

  const Variant& Value() const { return value_; }
  // Takes the data type from the value when the parameter has none yet.
  void SetValue(const Variant& value);
  // The setters give the parameter their data type and make it bound.
  void SetAsString(const std::string& value) { Set(ftString, Variant(value)); }
  void SetAsWideString(const std::u16string& value) { Set(ftWideString, Variant(value)); }
  void SetAsSmallInt(int16_t value) { Set(ftSmallint, Variant::SmallInt(value)); }
  void SetAsWord(uint16_t value) { Set(ftWord, Variant::Word(value)); }
  void SetAsInteger(int32_t value) { Set(ftInteger, Variant(value)); }
  void SetAsLargeInt(int64_t value) { Set(ftLargeint, Variant(value)); }
  void SetAsFloat(double value) { Set(ftFloat, Variant(value)); }
  void SetAsCurrency(double value) { Set(ftCurrency, Variant::Currency(value)); }
  void SetAsBCD(double value) { Set(ftBCD, Variant::Currency(value)); }
  void SetAsBoolean(bool value) { Set(ftBoolean, Variant(value)); }
  void SetAsDate(TDateTime value) { Set(ftDate, Variant::Date(value)); }
  void SetAsTime(TDateTime value) { Set(ftTime, Variant::Date(value)); }
  void SetAsDateTime(TDateTime value) { Set(ftDateTime, Variant::Date(value)); }
  // BLOB content as a byte string.
  void SetAsBlob(const std::string& bytes) { Set(ftBlob, Variant(bytes)); }
  void SetAsMemo(const std::string& text) { Set(ftMemo, Variant(text)); }

  // Null reads as "", 0, false.
  std::string AsString() const;
  int32_t AsInteger() const { return IsNull() ? 0 : value_.AsInteger(); }
  int64_t AsLargeInt() const { return IsNull() ? 0 : value_.AsInt64(); }
  double AsFloat() const { return IsNull() ? 0 : value_.AsDouble(); }
  bool AsBoolean() const { return IsNull() ? false : value_.AsBoolean(); }
  TDateTime AsDateTime() const { return IsNull() ? 0 : value_.AsDateTime(); }

  // The value becomes null; type and binding stay.
  void Clear() { value_ = Variant::Null(); }
  // Type and value of a field (null when the field is null); bound.
  void AssignField(const TField* field);
  // From a parameter: name, types, value, binding. From a field: AssignField.
  void Assign(const TPersistent* source) override;

 private:
  void Set(TFieldType type, Variant value);

  std::string name_;
  TFieldType data_type_ = ftUnknown;
  TParamType param_type_ = ptUnknown;
  bool bound_ = false;
  Variant value_ = Variant::Null();
};

class TParams : public TPersistent {
 public:
  TParams() = default;

  int Count() const { return static_cast<int>(items_.size()); }
  TParam* operator[](int index) const { return items_.at(index).get(); }
  TParam* CreateParam(TFieldType type, const std::string& name, TParamType param_type = ptUnknown);
  void Delete(int index) { items_.erase(items_.begin() + index); }
  void Clear() { items_.clear(); }
  // The first parameter of that name, ignoring case; null when none.
  TParam* FindParam(std::string_view name) const;
  // Raises "Parameter '%s' not found".
  TParam* ParamByName(std::string_view name) const;
  // Copies the value (with type and binding) of each parameter of `source` into
  // the parameter of the same name here, if any.
  void AssignValues(const TParams& source);
  // Copies every parameter of `source`.
  void Assign(const TPersistent* source) override;

  // The names of the ":name" markers in `sql`, one per distinct name (ignoring
  // case) in the order of first use, found exactly where the engine's SQL lexer
  // binds them: never inside quoted strings, bracketed or back-quoted names, or
  // comments. With `create`, a parameter is added for every name not yet here.
  std::vector<std::string> ParseSQL(std::string_view sql, bool create);

 private:
  std::vector<std::unique_ptr<TParam>> items_;
};
