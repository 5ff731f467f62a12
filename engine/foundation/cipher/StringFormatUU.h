#pragma once
// UU and XX text formats: pieces of at most 45 bytes, each written as the
// symbol of its byte count followed by four symbols per three bytes, the
// pieces following each other without line breaks.
#include "engine/foundation/cipher/StringFormat.h"

// UU coding (21845): the grave accent is 0, "!" to "_" are 1 to 63.
class TStringFormat_UU : public TStringFormat {
 public:
  // Raises EStringFormat when a piece announces more than 45 bytes. Characters
  // other than the 64 symbols are skipped; a text that ends inside a piece
  // decodes as if it were filled with zero symbols.
  std::string DecodeText(std::string_view text) const override;
  std::string EncodeText(std::string_view bytes) const override;
  std::string_view DisplayName() const override;
  int32_t FormatNumber() const override;
  // Decoding accepts only characters of the alphabet; encoding accepts anything.
  bool CheckText(std::string_view input, TTextDirection direction) const override;
  virtual std::string_view Alphabet() const;
};

// XX coding (22616): the UU rules with the symbols "+", "-", 0-9, A-Z, a-z.
class TStringFormat_XX : public TStringFormat_UU {
 public:
  std::string_view DisplayName() const override;
  int32_t FormatNumber() const override;
  std::string_view Alphabet() const override;
};
