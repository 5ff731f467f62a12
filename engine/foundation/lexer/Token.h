#pragma once
// One token of an SQL command as the lexer hands it to the statement parsers.
#include <cstdint>
#include <string>

#include "engine/foundation/lexer/ReservedWords.h"

class TVTRVariant;

enum TVTRTokenKind : uint8_t {
  tktNone = 0,             // past the end of a command
  tktString = 1,           // a word, an operator or other unquoted text; a back-quoted name
  tktQuotedString = 2,     // text in single or double quotes
  tktBracketedString = 3,  // text in square brackets
  tktInt = 4,              // a number without "." and "E"
  tktFloat = 5,            // a number with "." or "E"
  tktReservedWord = 6,
  tktParameter = 7,  // ":name" or "?"
  tktLeftParenthesis = 8,
  tktRightParenthesis = 9,
  tktComma = 10,
  tktDot = 11,
};

struct TToken {
  TVTRTokenKind kind = tktNone;
  int16_t reserved_word = kNotReservedWord;
  // Quotes removed and doubled quotes collapsed; a ":name" marker's name; "Param<n>" for the n-th "?".
  std::string text;
  // Parameters only: the bound value, owned by the lexer and alive as long as it is.
  TVTRVariant* value = nullptr;
  int32_t line = 0;    // from 1
  int32_t column = 0;  // from 1
};

// True when the token is the reserved word with number n, or any reserved word for kAnyReservedWord.
inline bool IsReservedWordToken(const TToken& token, int16_t n) {
  return token.kind == tktReservedWord && (n == kAnyReservedWord || token.reserved_word == n);
}
