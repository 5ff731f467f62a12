#pragma once
// The elements of a date format such as 'DD/MM/YYYY HH24:NN': the 26 format
// words and literal text. A word's position in DateFormatTokenNames is its
// element kind.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum TDateFormatType : uint8_t {
  dftYYYY,
  dftYY,
  dftYEAR,
  dftQ,
  dftMONTH,
  dftMON,
  dftMM,
  dftM,
  dftRM,
  dftDDD,
  dftDD,
  dftDAY,
  dftDY,
  dftDW,
  dftD,
  dftHH12,
  dftHH24,
  dftHH,
  dftH12,
  dftH24,
  dftH,
  dftNN,
  dftN,
  dftSS,
  dftS,
  dftAMPM,
  dftLiteral,
};

inline constexpr std::array<std::string_view, dftLiteral> DateFormatTokenNames = {
    "YYYY", "YY", "YEAR", "Q",    "MONTH", "MON", "MM",  "M", "RM", "DDD", "DD", "DAY", "DY",
    "DW",   "D",  "HH12", "HH24", "HH",    "H12", "H24", "H", "NN", "N",   "SS", "S",   "AMPM"};

struct TDateFormatToken {
  TDateFormatType kind;
  std::string text;  // as written in the format; for a literal its text
};

// Splits a format into elements. Words match without regard to letter case,
// the longest first (so "MONDAY" reads as MON, DAY); text between single or
// double quotes is literal, the quotes dropped; any other character is literal.
std::vector<TDateFormatToken> ParseDateFormat(std::string_view format);
