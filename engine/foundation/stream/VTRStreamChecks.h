#pragma once
// The verifying transfers through which every engine reader and writer of a
// stored structure goes: a short transfer raises EVTRException with the
// caller's native code and the positions involved (64-bit).
#include <cstdint>
#include <string>

#include "platform/rtl/Stream.h"

// Writes count bytes at the stream's position or raises native_code.
void WriteStreamChecked(const void* buffer, int32_t count, TStream& stream, int32_t native_code);
// Reads count bytes at the stream's position or raises native_code.
void ReadStreamChecked(void* buffer, int32_t count, TStream& stream, int32_t native_code);
// Sets the position to new_position and confirms it, or raises native_code.
void SeekStreamChecked(TStream& stream, int32_t native_code, int64_t new_position);

// A new, empty file named "VTR..." in the system's temporary folder.
std::string GetTemporaryFileName();
