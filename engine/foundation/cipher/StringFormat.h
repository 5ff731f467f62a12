#pragma once
// Text formats: bytes written as text (hexadecimal, Base64, UU, XX) and read
// back. A format is a stateless object known by its number; the registry holds
// one instance of each format, filled at start-up.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/Exception.h"

class EStringFormat : public Exception {
 public:
  using Exception::Exception;
};

enum class TTextDirection : uint8_t { Encode = 0, Decode = 1 };

// The plain format (number 1): both directions copy the input.
class TStringFormat {
 public:
  virtual ~TStringFormat() = default;
  // Text in this format to bytes.
  virtual std::string DecodeText(std::string_view text) const;
  // Bytes to text in this format.
  virtual std::string EncodeText(std::string_view bytes) const;
  virtual std::string_view DisplayName() const;
  virtual int32_t FormatNumber() const;
  // Whether the input can be converted in the given direction.
  virtual bool CheckText(std::string_view input, TTextDirection direction) const;
};

inline constexpr int32_t DefaultTextFormat = 4196;

// The registered format with that number (-1: DefaultTextFormat), or nullptr.
const TStringFormat* FindStringFormat(int32_t number);
// Adds a format, replacing a registered one of the same number. The format
// must outlive the process's use of the registry; start-up registration only.
void RegisterStringFormat(const TStringFormat& format);

// Number 0 or empty input give an empty result. An unregistered number or an
// input the format refuses raise EStringFormat.
std::string EncodeToTextFormat(std::string_view bytes, int32_t number);
std::string DecodeFromTextFormat(std::string_view text, int32_t number);

// Whether every character of input occurs in alphabet (the check of the
// formats that have an alphabet).
bool TextUsesOnly(std::string_view input, std::string_view alphabet);
