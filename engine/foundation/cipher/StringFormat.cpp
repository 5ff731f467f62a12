#include "engine/foundation/cipher/StringFormat.h"

#include <algorithm>
#include <vector>

#include "engine/foundation/cipher/StringFormatHex.h"
#include "engine/foundation/cipher/StringFormatUU.h"
#include "platform/rtl/Format.h"

std::string TStringFormat::DecodeText(std::string_view text) const {
  return std::string(text);
}
std::string TStringFormat::EncodeText(std::string_view bytes) const {
  return std::string(bytes);
}
std::string_view TStringFormat::DisplayName() const {
  return "copy Input to Output";
}
int32_t TStringFormat::FormatNumber() const {
  return 1;
}
bool TStringFormat::CheckText(std::string_view, TTextDirection) const {
  return true;
}

namespace {

std::vector<const TStringFormat*>& Registry() {
  static const TStringFormat plain;
  static const TStringFormat_HEX hex;
  static const TStringFormat_HEXL hexl;
  static const TStringFormat_MIME64 mime64;
  static const TStringFormat_UU uu;
  static const TStringFormat_XX xx;
  static std::vector<const TStringFormat*> formats{&plain, &hex, &hexl, &mime64, &uu, &xx};
  return formats;
}

const TStringFormat& RequireFormat(int32_t number) {
  const TStringFormat* format = FindStringFormat(number);
  if (format == nullptr) throw EStringFormat(Format("String Format \"%d\" not exists.", number));
  return *format;
}

}  // namespace

const TStringFormat* FindStringFormat(int32_t number) {
  if (number == -1) number = DefaultTextFormat;
  for (const TStringFormat* format : Registry()) {
    if (format->FormatNumber() == number) return format;
  }
  return nullptr;
}

void RegisterStringFormat(const TStringFormat& format) {
  for (const TStringFormat*& registered : Registry()) {
    if (registered->FormatNumber() == format.FormatNumber()) {
      registered = &format;
      return;
    }
  }
  Registry().push_back(&format);
}

std::string EncodeToTextFormat(std::string_view bytes, int32_t number) {
  if (number == 0 || bytes.empty()) return {};
  const TStringFormat& format = RequireFormat(number);
  if (!format.CheckText(bytes, TTextDirection::Encode)) {
    throw EStringFormat(Format("Input can not be convert to %s Format.", format.DisplayName()));
  }
  return format.EncodeText(bytes);
}

std::string DecodeFromTextFormat(std::string_view text, int32_t number) {
  if (number == 0 || text.empty()) return {};
  const TStringFormat& format = RequireFormat(number);
  if (!format.CheckText(text, TTextDirection::Decode)) {
    throw EStringFormat(Format("Input is not an valid %s Format.", format.DisplayName()));
  }
  return format.DecodeText(text);
}

bool TextUsesOnly(std::string_view input, std::string_view alphabet) {
  return std::all_of(input.begin(), input.end(),
                     [&](char c) { return alphabet.find(c) != std::string_view::npos; });
}
