#include "engine/foundation/ValueBuffer.h"

#include <cstring>

int32_t WideTextLength(const void* text) {
  const auto* bytes = static_cast<const uint8_t*>(text);
  int32_t length = 0;
  while (bytes[2 * length] != 0 || bytes[2 * length + 1] != 0) ++length;
  return length;
}

TVTRValueBuffer CopyValueToNewBuffer(TVTRBaseDataType type, const void* value) {
  int32_t size;
  if (type == bdtFixedChar || type == bdtString)
    size = GetBaseTypeDataSize(type, static_cast<int32_t>(std::strlen(static_cast<const char*>(value))));
  else if (IsWideStringBaseType(type))
    size = GetBaseTypeDataSize(type, WideTextLength(value));
  else
    size = GetBaseTypeDataSize(type, 0);
  TVTRValueBuffer result;
  if (size <= 0) return result;
  result.data.reset(static_cast<uint8_t*>(EngineMemoryManager().GetMem(size)));
  std::memcpy(result.data.get(), value, size);
  result.size = size;
  return result;
}
