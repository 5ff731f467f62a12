#include "platform/rtl/Variant.h"

#include <cmath>

#include "platform/rtl/FloatText.h"
#include "platform/rtl/NumberText.h"
#include "platform/rtl/Unicode.h"

Variant Variant::Typed(uint16_t type, Storage value) {
  Variant v;
  v.type_ = type;
  v.value_ = std::move(value);
  return v;
}

Variant Variant::Null() { return Typed(varNull, std::monostate{}); }

Variant Variant::Array(std::vector<Variant> elements) {
  return Typed(varArray | varVariant, std::move(elements));
}

Variant Variant::Bytes(std::vector<uint8_t> bytes) { return Typed(varArray | varByte, std::move(bytes)); }

void Variant::CannotConvert(const char* target) const {
  throw EVariantError("Could not convert variant of type (" + std::to_string(type_) + ") into type (" +
                      target + ")");
}

int64_t Variant::AsInt64() const {
  if (type_ == varEmpty) return 0;
  if (const auto* i = std::get_if<int64_t>(&value_)) return *i;
  if (const auto* b = std::get_if<bool>(&value_)) return *b ? -1 : 0;
  if (const auto* d = std::get_if<double>(&value_)) {
    if (!std::isfinite(*d) || std::fabs(*d) > 9.2e18) CannotConvert("Int64");
    return static_cast<int64_t>(std::nearbyint(*d));
  }
  if (type_ == varString || type_ == varOleStr) {
    double value;
    if (TryStrToFloat(AsString(), value) && std::fabs(value) <= 9.2e18)
      return static_cast<int64_t>(std::nearbyint(value));
  }
  CannotConvert("Int64");
}

double Variant::AsDouble() const {
  if (type_ == varEmpty) return 0;
  if (const auto* i = std::get_if<int64_t>(&value_)) return static_cast<double>(*i);
  if (const auto* d = std::get_if<double>(&value_)) return *d;
  if (const auto* b = std::get_if<bool>(&value_)) return *b ? -1 : 0;
  if (type_ == varString || type_ == varOleStr) {
    double value;
    if (TryStrToFloat(AsString(), value)) return value;
  }
  CannotConvert("Double");
}

bool Variant::AsBoolean() const {
  if (type_ == varEmpty) return false;
  if (const auto* b = std::get_if<bool>(&value_)) return *b;
  if (const auto* i = std::get_if<int64_t>(&value_)) return *i != 0;
  if (const auto* d = std::get_if<double>(&value_)) return *d != 0;
  if (type_ == varString || type_ == varOleStr) {
    const std::string text = AsString();
    if (text == "True" || text == "true" || text == "TRUE") return true;
    if (text == "False" || text == "false" || text == "FALSE") return false;
    double value;
    if (TryStrToFloat(text, value)) return value != 0;
  }
  CannotConvert("Boolean");
}

std::string Variant::AsString() const {
  if (type_ == varEmpty) return {};
  if (const auto* s = std::get_if<std::string>(&value_)) return *s;
  if (const auto* w = std::get_if<std::u16string>(&value_)) return Utf16ToUtf8(*w);
  if (const auto* i = std::get_if<int64_t>(&value_)) return std::to_string(*i);
  if (const auto* b = std::get_if<bool>(&value_)) return *b ? "True" : "False";
  if (type_ == varDate) return DateTimeToStr(std::get<double>(value_));
  if (const auto* d = std::get_if<double>(&value_)) return FloatToGeneralText(*d);
  CannotConvert("String");
}

std::u16string Variant::AsWideString() const {
  if (const auto* w = std::get_if<std::u16string>(&value_)) return *w;
  return Utf8ToUtf16(AsString());
}

const std::vector<Variant>& Variant::Elements() const {
  if (const auto* a = std::get_if<std::vector<Variant>>(&value_)) return *a;
  CannotConvert("Array");
}

const std::vector<uint8_t>& Variant::ByteArray() const {
  if (const auto* a = std::get_if<std::vector<uint8_t>>(&value_)) return *a;
  CannotConvert("Byte array");
}
