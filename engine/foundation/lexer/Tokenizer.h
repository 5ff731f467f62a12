#pragma once
// One pass over an SQL text that fills a lexer with its commands and tokens.
// Internal to the lexer.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/foundation/lexer/Lexer.h"

class TVTRTokenizer {
 public:
  explicit TVTRTokenizer(TVTRLexer& lexer) : lexer_(lexer), sql_(lexer.sql_) {}
  // Raises 30059, 30060, 30061, 30062 or 30358 at the first lexical error.
  void Run();

 private:
  struct Position {
    int32_t line = 1;
    int32_t column = 1;
  };

  char Peek(std::size_t ahead) const { return pos_ + ahead < sql_.size() ? sql_[pos_ + ahead] : '\0'; }
  // Moves past the character at the reading position, keeping line and column.
  void Consume();
  void SkipLineComment();
  void SkipBlockComment();
  bool StartsNewToken(char c) const;
  void AppendToOpenToken(char c);
  void StartToken(char c);
  // Opens a token of the given kind at the reading position.
  void OpenToken(TVTRTokenKind kind);
  // Opens a token of the characters at the reading position and ends it at once.
  void EmitToken(TVTRTokenKind kind, std::size_t length);
  void ReadQuoted(TVTRTokenKind kind, char closing, bool backslash_escapes);
  void EndToken();
  void ClassifyWord();
  void BindParameter();
  void EndCommand();

  TVTRLexer& lexer_;
  std::string_view sql_;
  std::size_t pos_ = 0;
  Position at_;

  bool token_open_ = false;
  bool back_quoted_ = false;
  TToken token_;

  bool command_open_ = false;
  int32_t depth_ = 0;  // of parentheses in the open command
  Position last_left_parenthesis_;
  Position last_right_parenthesis_;
  int32_t question_marks_ = 0;  // "?" markers seen in the whole text
  bool unterminated_ = false;
  Position unterminated_at_;
};
