#pragma once
// The SQL lexer: splits a whole SQL script once, at construction, into
// commands of tokens and binds parameter markers to copies of their values.
// The statement parsers then walk the tokens of the current command with a
// cursor.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/foundation/lexer/Token.h"

class TVTRSQLParams;

struct TSQLCommand {
  std::vector<TToken> tokens;
  int32_t cursor = 0;  // index of the current token
};

class TVTRLexer {
 public:
  // Tokenizes the whole text; lexical errors escape as EVTRException and leave
  // no lexer. The parameter list is read only here and may be null when the
  // text has no markers. No command is current until NextCommand.
  TVTRLexer(std::string_view sql, const TVTRSQLParams* params);
  ~TVTRLexer();
  TVTRLexer(const TVTRLexer&) = delete;
  TVTRLexer& operator=(const TVTRLexer&) = delete;

  const std::string& SQLText() const { return sql_; }
  int32_t CommandCount() const { return static_cast<int32_t>(commands_.size()); }
  // -1 before the first NextCommand, CommandCount() after the last one.
  int32_t GetCurrentCommandNo() const { return current_command_; }
  // Returns to a command read before (a subquery is parsed again from its start).
  void SetCurrentCommandNo(int32_t n) { current_command_ = n; }
  // Makes the next command current; false once past the last one.
  bool NextCommand();

  // The token operations work on the current command. A read past either end
  // sets only token.kind to tktNone and returns false: the other fields keep
  // the last token read, whose position the parsers report.
  bool GetCurrentToken(TToken& token) const;
  bool LookAheadToken(TToken& token) const;
  // Moves the cursor one on (also past the end), then reads the token there.
  bool GetNextToken(TToken& token);
  int32_t GetCurrentTokenNo() const;
  // True when n lies inside the current command.
  bool SetCurrentTokenNo(int32_t n);
  bool GotoToken(int32_t n, TToken& token);

  // Appends an empty command and makes it current.
  void AddCommand();
  // Appends a copy of the token to the current command (a new one when none is
  // current) and puts the cursor on it.
  void AddToken(const TToken& token);

 private:
  friend class TVTRTokenizer;

  TSQLCommand* CurrentCommand();
  const TSQLCommand* CurrentCommand() const;
  bool ReadToken(int32_t index, TToken& token) const;

  std::string sql_;
  const TVTRSQLParams* params_;
  std::vector<TSQLCommand> commands_;
  int32_t current_command_ = -1;
  std::vector<std::unique_ptr<TVTRVariant>> values_;  // bound parameter values
};
