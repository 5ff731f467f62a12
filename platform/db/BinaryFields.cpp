#include "platform/db/BinaryFields.h"

#include <algorithm>
#include <cstring>

#include "platform/db/DBConsts.h"
#include "platform/db/DatabaseError.h"
#include "platform/rtl/Format.h"

TBytesField::TBytesField(TComponent* owner, TFieldType type) : TField(owner, type, 16) {}

void TBytesField::CheckTypeSize(int size) const {
  if (size < 1 || (DataType() == ftVarBytes && size > UINT16_MAX)) {
    DatabaseError(Format(SInvalidFieldSize, size, DisplayName()));
  }
}

std::vector<uint8_t> TBytesField::AsBytes() const {
  std::vector<uint8_t> native(DataSize());
  if (!GetData(native.data())) return {};
  if (DataType() != ftVarBytes) return native;
  uint16_t length = 0;
  std::memcpy(&length, native.data(), 2);
  length = std::min<uint16_t>(length, static_cast<uint16_t>(Size()));
  return std::vector<uint8_t>(native.begin() + 2, native.begin() + 2 + length);
}

void TBytesField::SetAsBytes(const std::vector<uint8_t>& bytes) {
  std::vector<uint8_t> native(DataSize(), 0);
  const size_t length = std::min(bytes.size(), static_cast<size_t>(Size()));
  if (DataType() == ftVarBytes) {
    const auto stored = static_cast<uint16_t>(length);
    std::memcpy(native.data(), &stored, 2);
    std::copy_n(bytes.begin(), length, native.begin() + 2);
  } else {
    std::copy_n(bytes.begin(), length, native.begin());
  }
  SetData(native.data());
}

std::string TBytesField::AsString() const {
  const std::vector<uint8_t> bytes = AsBytes();
  return std::string(bytes.begin(), bytes.end());
}

void TBytesField::SetAsString(const std::string& value) {
  SetAsBytes(std::vector<uint8_t>(value.begin(), value.end()));
}

Variant TBytesField::Value() const {
  return IsNull() ? Variant::Null() : Variant::Bytes(AsBytes());
}

void TBytesField::SetValue(const Variant& value) {
  if (value.IsEmptyOrNull()) {
    Clear();
  } else if (value.VarType() == (Variant::varArray | Variant::varByte)) {
    SetAsBytes(value.ByteArray());
  } else {
    SetAsString(value.AsString());
  }
}
