#include "engine/sql/nodes/TextValues.h"

#include <cstring>
#include <vector>

void SetTextValue(TVTRVariant& value, std::string_view text, TVTRBaseDataType type) {
  const std::string terminated(text);
  value.SetBuffer(terminated.c_str(), static_cast<int32_t>(terminated.size() + 1), type,
                  TVTRBufferMode::Copy);
}

void SetWideTextValue(TVTRVariant& value, std::u16string_view text, TVTRBaseDataType type) {
  std::vector<uint8_t> bytes;
  bytes.reserve((text.size() + 1) * 2);
  for (const char16_t c : text) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  bytes.insert(bytes.end(), {0, 0});  // the terminator
  value.SetBuffer(bytes.data(), static_cast<int32_t>(bytes.size()), type, TVTRBufferMode::Copy);
}

std::string_view AnsiTextOf(const TVTRVariant& value) {
  const auto* text = reinterpret_cast<const char*>(value.Data());
  return {text, strnlen(text, static_cast<size_t>(value.Size()))};
}

int32_t TextLengthOf(const TVTRVariant& value) {
  if (value.IsNull() || !value.IsString()) return -1;
  if (!value.IsWideString()) return static_cast<int32_t>(AnsiTextOf(value).size());
  const uint8_t* bytes = value.Data();
  int32_t length = 0;
  while ((length + 1) * 2 <= value.Size() && (bytes[length * 2] | bytes[length * 2 + 1]) != 0) ++length;
  return length;
}

TVTRValueRef ValueRefOf(const TVTRVariant& value) {
  return {value.Data(), value.Size(), value.DataType(), value.IsNull()};
}
