#include "platform/db/StringFields.h"

#include <cstring>

#include "platform/db/DBConsts.h"
#include "platform/db/DatabaseError.h"
#include "platform/db/Utf8Char.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FloatText.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/NumberText.h"
#include "platform/rtl/TextCase.h"
#include "platform/rtl/Unicode.h"

namespace {

// The stored bytes of the longest leading characters of `text` that fit in `limit` bytes.
std::string EncodeFitting(const TTextCodec& codec, std::string_view text, size_t limit) {
  std::string fitted;
  std::string piece;
  for (size_t pos = 0; pos < text.size();) {
    const size_t length = Utf8CharLength(text, pos);
    codec.Encode(text.substr(pos, length), piece);
    if (fitted.size() + piece.size() > limit) break;
    fitted += piece;
    pos += length;
  }
  return fitted;
}

}  // namespace

TStringField::TStringField(TComponent* owner, TFieldType type) : TStringField(owner, type, 20) {}

TStringField::TStringField(TComponent* owner, TFieldType type, int size) : TField(owner, type, size) {}

void TStringField::CheckTypeSize(int size) const {
  if (size < 1) DatabaseError(Format(SInvalidFieldSize, size, DisplayName()));
}

std::string TStringField::AsString() const {
  std::string native(DataSize(), '\0');
  if (!GetData(native.data())) return {};
  native.resize(strnlen(native.data(), Size()));
  if (FixedChar()) native.erase(native.find_last_not_of(' ') + 1);
  return Codec().Decode(native);
}

void TStringField::SetAsString(const std::string& value) {
  std::string bytes = EncodeText(value);
  if (bytes.size() > static_cast<size_t>(Size())) bytes = EncodeFitting(Codec(), value, Size());
  bytes.resize(DataSize(), '\0');
  SetData(bytes.data());
}

int32_t TStringField::AsInteger() const {
  const int64_t value = AsLargeInt();
  if (value < INT32_MIN || value > INT32_MAX) ValueError(SInvalidIntegerValue, AsString());
  return static_cast<int32_t>(value);
}

int64_t TStringField::AsLargeInt() const {
  const std::string text = AsString();
  int64_t value = 0;
  if (!text.empty() && !TryStrToInt64(text, value)) ValueError(SInvalidIntegerValue, text);
  return value;
}

double TStringField::AsFloat() const {
  const std::string text = AsString();
  double value = 0;
  if (!text.empty() && !TryStrToFloat(text, value)) ValueError(SInvalidFloatValue, text);
  return value;
}

void TStringField::SetAsFloat(double value) {
  SetAsString(FloatToGeneralText(value));
}

bool TStringField::AsBoolean() const {
  const std::string text = AsString();
  if (text.empty()) return false;
  switch (text[0]) {
    case 'T':
    case 't':
    case 'Y':
    case 'y':
      return true;
    case 'F':
    case 'f':
    case 'N':
    case 'n':
      return false;
    default:
      ValueError(SInvalidBoolValue, text);
  }
}

TDateTime TStringField::AsDateTime() const {
  const std::string text = AsString();
  return text.empty() ? 0 : StrToDateTime(text);
}

void TStringField::SetAsDateTime(TDateTime value) {
  SetAsString(DateTimeToStr(value));
}

Variant TStringField::Value() const {
  return IsNull() ? Variant::Null() : Variant(AsString());
}

void TStringField::SetValue(const Variant& value) {
  value.IsEmptyOrNull() ? Clear() : SetAsString(value.AsString());
}

TGuidField::TGuidField(TComponent* owner) : TStringField(owner, ftGuid, 38) {}

void TGuidField::CheckTypeSize(int size) const {
  if (size != 38) DatabaseError(Format(SInvalidFieldSize, size, DisplayName()));
}

TWideStringField::TWideStringField(TComponent* owner) : TField(owner, ftWideString, 20) {}

void TWideStringField::CheckTypeSize(int size) const {
  if (size < 1) DatabaseError(Format(SInvalidFieldSize, size, DisplayName()));
}

std::u16string TWideStringField::AsWideString() const {
  std::u16string value;
  GetData(&value, false);
  return value;
}

void TWideStringField::SetAsWideString(const std::u16string& value) {
  SetData(&value, false);
}

std::string TWideStringField::AsString() const {
  return Utf16ToUtf8(AsWideString());
}

void TWideStringField::SetAsString(const std::string& value) {
  SetAsWideString(Utf8ToUtf16(value));
}

Variant TWideStringField::Value() const {
  return IsNull() ? Variant::Null() : Variant(AsWideString());
}

void TWideStringField::SetValue(const Variant& value) {
  value.IsEmptyOrNull() ? Clear() : SetAsWideString(value.AsWideString());
}
