#include "engine/storage/meta/DefImage.h"

#include <algorithm>
#include <array>

#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/VTRStreams.h"
#include "engine/foundation/stream/VTRStreamMessages.h"
#include "engine/storage/pager/ByteOrder.h"

void WriteU8(TStream& stream, uint8_t value, int32_t code) {
  WriteStreamChecked(&value, 1, stream, code);
}

uint8_t ReadU8(TStream& stream, int32_t code) {
  uint8_t value;
  ReadStreamChecked(&value, 1, stream, code);
  return value;
}

void WriteI32(TStream& stream, int32_t value, int32_t code) {
  uint8_t bytes[4];
  StoreI32(bytes, value);
  WriteStreamChecked(bytes, 4, stream, code);
}

int32_t ReadI32(TStream& stream, int32_t code) {
  uint8_t bytes[4];
  ReadStreamChecked(bytes, 4, stream, code);
  return LoadI32(bytes);
}

void WriteI64(TStream& stream, int64_t value, int32_t code) {
  uint8_t bytes[8];
  StoreU64(bytes, static_cast<uint64_t>(value));
  WriteStreamChecked(bytes, 8, stream, code);
}

int64_t ReadI64(TStream& stream, int32_t code) {
  uint8_t bytes[8];
  ReadStreamChecked(bytes, 8, stream, code);
  return static_cast<int64_t>(LoadU64(bytes));
}

void WriteBool(TStream& stream, bool value, int32_t code) {
  uint8_t byte;
  StoreBool(&byte, value);
  WriteStreamChecked(&byte, 1, stream, code);
}

bool ReadBool(TStream& stream, int32_t code) {
  return ReadU8(stream, code) != 0;
}

namespace {

// The plain form: length byte and characters.
using PlainImage = std::array<uint8_t, kMaxShortStringLength + 1>;

int32_t EncodePlain(std::string_view text, PlainImage& image) {
  const auto length = static_cast<uint8_t>(std::min<size_t>(text.size(), kMaxShortStringLength));
  image[0] = length;
  std::copy_n(text.begin(), length, image.begin() + 1);
  return length + 1;
}

// n bytes of the plain form; a length byte that claims more than n - 1
// characters is held to what was stored.
std::string DecodePlain(const PlainImage& image, int32_t n) {
  if (n == 0) return {};
  const int32_t length = std::min<int32_t>(image[0], n - 1);
  return std::string(reinterpret_cast<const char*>(image.data()) + 1, length);
}

std::string ReadPrefixedPlain(TStream& stream, int64_t n, int32_t code) {
  if (n < 0 || n > kMaxShortStringLength + 1) RaiseDamagedImage(stream, code, n);
  PlainImage image{};
  ReadStreamChecked(image.data(), static_cast<int32_t>(n), stream, code);
  return DecodePlain(image, static_cast<int32_t>(n));
}

}  // namespace

void WriteShortString(TStream& stream, std::string_view text, TVTRImageCodes codes) {
  PlainImage image;
  const int32_t n = EncodePlain(text, image);
  WriteStreamChecked(image.data(), 1, stream, codes.length);
  WriteStreamChecked(image.data() + 1, n - 1, stream, codes.bytes);
}

std::string ReadShortString(TStream& stream, TVTRImageCodes codes) {
  const uint8_t length = ReadU8(stream, codes.length);
  std::string text(length, '\0');
  ReadStreamChecked(text.data(), length, stream, codes.bytes);
  return text;
}

void WritePrefixed8ShortString(TStream& stream, std::string_view text, TVTRImageCodes codes) {
  PlainImage image;
  const int32_t n = EncodePlain(text, image);
  WriteU8(stream, static_cast<uint8_t>(n), codes.length);
  WriteStreamChecked(image.data(), n, stream, codes.bytes);
}

std::string ReadPrefixed8ShortString(TStream& stream, TVTRImageCodes codes) {
  return ReadPrefixedPlain(stream, ReadU8(stream, codes.length), codes.bytes);
}

void WritePrefixed32ShortString(TStream& stream, std::string_view text, TVTRImageCodes codes) {
  PlainImage image;
  const int32_t n = EncodePlain(text, image);
  WriteI32(stream, n, codes.length);
  WriteStreamChecked(image.data(), n, stream, codes.bytes);
}

std::string ReadPrefixed32ShortString(TStream& stream, TVTRImageCodes codes) {
  return ReadPrefixedPlain(stream, ReadI32(stream, codes.length), codes.bytes);
}

void CheckStoredCount(TStream& stream, int64_t count, int32_t min_item_size, int32_t code) {
  const int64_t left = std::max<int64_t>(stream.Size() - stream.Position(), 0);
  if (count < 0 || count * min_item_size > left) RaiseDamagedImage(stream, code, count);
}

void RaiseDamagedImage(TStream& stream, int32_t code, int64_t stored_value) {
  throw EVTRException::CreateFmt(code, kReadFailedFormat, stream.Position(), stream.Size(), stored_value, 0);
}
