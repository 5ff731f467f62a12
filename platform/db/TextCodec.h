#pragma once
// The conversion between the UTF-8 text that fields speak and the bytes a
// dataset stores. A dataset answers its codec; the default stores UTF-8 as it is,
// the engine's datasets store code page 874.
#include <cstddef>
#include <string>
#include <string_view>

class TTextCodec {
 public:
  static constexpr size_t npos = std::string_view::npos;

  virtual ~TTextCodec() = default;
  // Converts UTF-8 text into stored bytes. Returns npos on success, otherwise the
  // byte offset in `text` of the first character the stored form cannot hold
  // (`bytes` is then unspecified). Never substitutes a character.
  virtual size_t Encode(std::string_view text, std::string& bytes) const = 0;
  virtual std::string Decode(std::string_view bytes) const = 0;
};

class TIdentityCodec final : public TTextCodec {
 public:
  size_t Encode(std::string_view text, std::string& bytes) const override {
    bytes.assign(text);
    return npos;
  }
  std::string Decode(std::string_view bytes) const override { return std::string(bytes); }
};

// Thai code page 874, the text of the engine's records. Decoding raises
// EConvertError for a byte the code page leaves undefined.
class TCodePage874Codec final : public TTextCodec {
 public:
  size_t Encode(std::string_view text, std::string& bytes) const override;
  std::string Decode(std::string_view bytes) const override;
};

// The shared codecs.
const TTextCodec& IdentityCodec();
const TTextCodec& CodePage874Codec();
