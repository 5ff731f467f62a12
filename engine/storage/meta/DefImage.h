#pragma once
// The stored fields of the definition images: little-endian integers, boolean
// bytes and short strings, each moved through the engine's checked transfers
// so that a short transfer raises the caller's native code.
//
// Forms of a short string (at most 255 characters):
//   plain      u8 L, then L characters
//   prefixed8  u8 n = L + 1, then the n bytes of the plain form
//   prefixed32 i32 n = L + 1, then the n bytes of the plain form
// A stored length outside its bounds raises the code of the bytes it governs,
// with the stream's read-failure message.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/Stream.h"

inline constexpr int32_t kMaxShortStringLength = 255;

// Codes of one stored field: the length (or prefix) and the bytes behind it.
struct TVTRImageCodes {
  int32_t length;
  int32_t bytes;
};

void WriteU8(TStream& stream, uint8_t value, int32_t code);
uint8_t ReadU8(TStream& stream, int32_t code);
void WriteI32(TStream& stream, int32_t value, int32_t code);
int32_t ReadI32(TStream& stream, int32_t code);
void WriteI64(TStream& stream, int64_t value, int32_t code);
int64_t ReadI64(TStream& stream, int32_t code);
// 0xFF for true, 0 for false; any non-zero byte reads as true.
void WriteBool(TStream& stream, bool value, int32_t code);
bool ReadBool(TStream& stream, int32_t code);

// Longer texts are cut to their first 255 characters.
void WriteShortString(TStream& stream, std::string_view text, TVTRImageCodes codes);
std::string ReadShortString(TStream& stream, TVTRImageCodes codes);
void WritePrefixed8ShortString(TStream& stream, std::string_view text, TVTRImageCodes codes);
std::string ReadPrefixed8ShortString(TStream& stream, TVTRImageCodes codes);
void WritePrefixed32ShortString(TStream& stream, std::string_view text, TVTRImageCodes codes);
std::string ReadPrefixed32ShortString(TStream& stream, TVTRImageCodes codes);

// A stored count of items that take at least min_item_size bytes each; a count
// that is negative or more than the rest of the stream can hold raises `code`.
void CheckStoredCount(TStream& stream, int64_t count, int32_t min_item_size, int32_t code);
// Raises `code` with the read-failure message for a stored value that cannot be.
[[noreturn]] void RaiseDamagedImage(TStream& stream, int32_t code, int64_t stored_value);
