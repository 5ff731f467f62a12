#pragma once
// The class library's variant: a tagged value with the platform's type codes.
// Text variants hold bytes (the dataset layer speaks UTF-8); wide text is UTF-16.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exception.h"

class EVariantError : public Exception {
 public:
  using Exception::Exception;
};

class Variant {
 public:
  enum VarTypeCode : uint16_t {
    varEmpty = 0, varNull = 1, varSmallint = 2, varInteger = 3, varSingle = 4, varDouble = 5,
    varCurrency = 6, varDate = 7, varOleStr = 8, varBoolean = 11, varVariant = 12,
    varShortInt = 16, varByte = 17, varWord = 18, varLongWord = 19, varInt64 = 20,
    varString = 256, varArray = 0x2000,
  };

  Variant() = default;  // empty
  Variant(int32_t value) : type_(varInteger), value_(int64_t{value}) {}
  Variant(int64_t value) : type_(varInt64), value_(value) {}
  Variant(double value) : type_(varDouble), value_(value) {}
  Variant(bool value) : type_(varBoolean), value_(value) {}
  Variant(const char* value) : type_(varString), value_(std::string(value)) {}
  Variant(std::string value) : type_(varString), value_(std::move(value)) {}
  Variant(std::u16string value) : type_(varOleStr), value_(std::move(value)) {}

  static Variant Null();
  static Variant ShortInt(int8_t value) { return Typed(varShortInt, int64_t{value}); }
  static Variant SmallInt(int16_t value) { return Typed(varSmallint, int64_t{value}); }
  static Variant Byte(uint8_t value) { return Typed(varByte, int64_t{value}); }
  static Variant Word(uint16_t value) { return Typed(varWord, int64_t{value}); }
  static Variant LongWord(uint32_t value) { return Typed(varLongWord, int64_t{value}); }
  static Variant Single(float value) { return Typed(varSingle, double{value}); }
  static Variant Currency(double value) { return Typed(varCurrency, value); }
  static Variant Date(TDateTime value) { return Typed(varDate, value); }
  // An array of variants (varArray | varVariant), as Locate takes several key values.
  static Variant Array(std::vector<Variant> elements);
  // A byte array (varArray | varByte), the value of variable-length byte fields.
  static Variant Bytes(std::vector<uint8_t> bytes);

  uint16_t VarType() const { return type_; }
  bool IsEmpty() const { return type_ == varEmpty; }
  bool IsNull() const { return type_ == varNull; }
  bool IsEmptyOrNull() const { return type_ <= varNull; }
  bool IsArray() const { return (type_ & varArray) != 0; }

  // Conversions raise EVariantError when the value cannot be converted;
  // empty converts to 0 / "" / false, null raises.
  int64_t AsInt64() const;
  int32_t AsInteger() const { return static_cast<int32_t>(AsInt64()); }
  double AsDouble() const;
  bool AsBoolean() const;
  std::string AsString() const;
  std::u16string AsWideString() const;
  TDateTime AsDateTime() const { return AsDouble(); }

  const std::vector<Variant>& Elements() const;  // varArray | varVariant
  const std::vector<uint8_t>& ByteArray() const;  // varArray | varByte

  // Same type code and equal contents.
  bool operator==(const Variant& other) const = default;

 private:
  using Storage = std::variant<std::monostate, int64_t, double, bool, std::string, std::u16string,
                               std::vector<Variant>, std::vector<uint8_t>>;
  static Variant Typed(uint16_t type, Storage value);
  [[noreturn]] void CannotConvert(const char* target) const;

  uint16_t type_ = varEmpty;
  Storage value_;
};
