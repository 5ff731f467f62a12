#include "platform/db/TextCodec.h"

#include "platform/db/Utf8Char.h"
#include "platform/rtl/CodePage874.h"
#include "platform/rtl/Exception.h"

size_t TCodePage874Codec::Encode(std::string_view text, std::string& bytes) const {
  try {
    bytes = Utf8ToCp874(text);
    return npos;
  } catch (const EConvertError&) {
  }
  // Find the first character that has no byte.
  for (size_t pos = 0; pos < text.size();) {
    const size_t length = Utf8CharLength(text, pos);
    try {
      Utf8ToCp874(text.substr(pos, length));
    } catch (const EConvertError&) {
      return pos;
    }
    pos += length;
  }
  return 0;
}

std::string TCodePage874Codec::Decode(std::string_view bytes) const {
  return Cp874ToUtf8(bytes);
}

const TTextCodec& IdentityCodec() {
  static const TIdentityCodec codec;
  return codec;
}

const TTextCodec& CodePage874Codec() {
  static const TCodePage874Codec codec;
  return codec;
}
