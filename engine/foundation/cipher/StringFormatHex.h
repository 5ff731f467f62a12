#pragma once
// Hexadecimal and Base64 text formats. Each alphabet lists the symbols in value
// order, then the characters a check accepts as separators.
#include "engine/foundation/cipher/StringFormat.h"

// Upper-case hexadecimal (16). Decoding reads digits of either case, high
// nibble first, ignores other characters and restarts the output at the first
// X, x or $ (so a 0x or $ prefix is dropped); a lone final nibble is dropped.
class TStringFormat_HEX : public TStringFormat {
 public:
  std::string DecodeText(std::string_view text) const override;
  std::string EncodeText(std::string_view bytes) const override;
  std::string_view DisplayName() const override;
  int32_t FormatNumber() const override;
  // Decoding accepts only characters of the alphabet; encoding accepts anything.
  bool CheckText(std::string_view input, TTextDirection direction) const override;
  virtual std::string_view Alphabet() const;
};

// Lower-case hexadecimal (1016).
class TStringFormat_HEXL : public TStringFormat_HEX {
 public:
  std::string EncodeText(std::string_view bytes) const override;
  std::string_view DisplayName() const override;
  int32_t FormatNumber() const override;
  std::string_view Alphabet() const override;
};

// MIME Base64 (4196). Decoding skips every character that is not one of the
// 64 symbols or "=", and never fails.
class TStringFormat_MIME64 : public TStringFormat_HEX {
 public:
  std::string DecodeText(std::string_view text) const override;
  std::string EncodeText(std::string_view bytes) const override;
  std::string_view DisplayName() const override;
  int32_t FormatNumber() const override;
  std::string_view Alphabet() const override;
};
