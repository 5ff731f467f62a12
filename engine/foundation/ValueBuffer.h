#pragma once
// Value buffers: one value of a base data type, in its storage format, in a
// block of the engine memory manager.
#include <cstdint>
#include <memory>

#include "engine/foundation/DataTypes.h"
#include "engine/foundation/VTRMemory.h"

using VTRBufferPtr = std::unique_ptr<uint8_t, VTRMemoryDeleter>;

struct TVTRValueBuffer {
  VTRBufferPtr data;  // nullptr: no value
  int32_t size = 0;
};

// Copies one value into a new buffer. For the text types `value` points at
// zero-terminated text (ANSI or UTF-16, any alignment), copied with its
// terminator; for every other type at the value in its storage format,
// GetBaseTypeDataSize(type, 0) bytes. A type of size 0 (bytes, varbytes)
// gives no buffer. Allocation failures and unknown types raise.
TVTRValueBuffer CopyValueToNewBuffer(TVTRBaseDataType type, const void* value);

// Characters of zero-terminated UTF-16 text at any alignment.
int32_t WideTextLength(const void* text);
