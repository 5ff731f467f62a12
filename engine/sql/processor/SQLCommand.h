#pragma once
// TVTRSQLCommand: one statement of an SQL text. The processor creates the
// command with the lexer standing on the statement's first token of its own
// (see the dispatch in SQLProcessor.cpp) and calls Parse at once, so a
// command exists only for a statement that parsed; Execute runs it later.
//
// The parsing base every statement parser uses: Token always holds a copy
// of the token at the lexer's cursor; past the end of the command its kind
// is tktNone and its text and position stay those of the last token read,
// which is where the errors of a missing token point.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/foundation/VTRLexer.h"
#include "engine/sql/SelectListItem.h"
#include "engine/sql/processor/QueryContext.h"

class TVTRAO;
class TVTRCursor;
class TVTRTable;
struct TVTRSQLIndexField;

// A set of token kinds, one bit per kind.
using TVTRTokenKinds = uint16_t;

constexpr TVTRTokenKinds TokenKinds(std::initializer_list<TVTRTokenKind> kinds) {
  TVTRTokenKinds set = 0;
  for (TVTRTokenKind kind : kinds) set |= static_cast<TVTRTokenKinds>(1u << kind);
  return set;
}

// The named sets of the statement parsers.
inline constexpr TVTRTokenKinds kAnyToken = 0;
inline constexpr TVTRTokenKinds kName = TokenKinds({tktString, tktQuotedString, tktBracketedString});
inline constexpr TVTRTokenKinds kNameOrKeyword = kName | TokenKinds({tktReservedWord});
inline constexpr TVTRTokenKinds kNameKeywordOrParenthesis = kNameOrKeyword | TokenKinds({tktLeftParenthesis});
inline constexpr TVTRTokenKinds kSortItem = kNameOrKeyword | TokenKinds({tktInt});
inline constexpr TVTRTokenKinds kKeyword = TokenKinds({tktReservedWord});
inline constexpr TVTRTokenKinds kQuotedText = TokenKinds({tktQuotedString});
inline constexpr TVTRTokenKinds kInteger = TokenKinds({tktInt});
inline constexpr TVTRTokenKinds kLeftParenthesis = TokenKinds({tktLeftParenthesis});
inline constexpr TVTRTokenKinds kRightParenthesis = TokenKinds({tktRightParenthesis});
inline constexpr TVTRTokenKinds kRightParenthesisOrComma = TokenKinds({tktRightParenthesis, tktComma});
inline constexpr TVTRTokenKinds kColumnOption = kNameOrKeyword | kRightParenthesisOrComma;
inline constexpr TVTRTokenKinds kTypeName = TokenKinds({tktString, tktBracketedString, tktReservedWord});

constexpr bool InKinds(TVTRTokenKinds kinds, TVTRTokenKind kind) {
  return (kinds & (1u << kind)) != 0;
}

class TVTRSQLCommand {
 public:
  // The lexer is the processor's and outlives the command.
  explicit TVTRSQLCommand(TVTRLexer& lexer);
  virtual ~TVTRSQLCommand();
  TVTRSQLCommand(const TVTRSQLCommand&) = delete;
  TVTRSQLCommand& operator=(const TVTRSQLCommand&) = delete;

  // Reads the statement from the token where the processor left the cursor.
  // Syntax errors raise EVTRException with their codes.
  virtual void Parse() = 0;
  // Runs the statement. `is_top` is true for commands the processor runs;
  // `outer_ao` and `outer_cursor` carry a correlated subquery's outer row
  // (nil here). A query command writes `read_only`; others leave it.
  virtual void Execute(const TVTRQueryContext& query, bool is_top, bool request_live, bool& read_only,
                       TVTRAO* outer_ao, TVTRCursor* outer_cursor) = 0;
  // Hands over the engine cursor of the result table; nil for statements
  // without a result set.
  virtual std::unique_ptr<TVTRCursor> GetResultCursor();
  // The result table component; nil for statements without a result set.
  virtual TVTRTable* GetResultDataSet() { return nullptr; }

  int32_t RowsAffected = 0;
  // The statement named its table with MEMORY (or INTO MEMORY).
  bool InMemoryTarget = false;
  // The running query, set before Parse (expressions that open tables,
  // LASTAUTOINC, take it while they are parsed); a query command keeps the
  // one its tree was last built for.
  TVTRQueryContext Query;

 protected:
  // Copies the token at the cursor; false past the end.
  bool GetCurrentToken();
  // Advances the cursor and copies the new token; false past the end.
  bool NextToken();
  // Advances; past the end 30161 "Unexpected end of SQL command found at
  // line %d, column %d" whatever the code; a token whose kind is not in a
  // non-empty `kinds` raises `code` with `message` formatted with the
  // token's text, line and column.
  void ExpectNextToken(TVTRTokenKinds kinds, int32_t code, std::string_view message);
  // Names separated by commas, from the current token on; the token after
  // the last name stays current. 10408 when the first is no name, 10406
  // when a comma is followed by no name.
  void ReadNameList(std::vector<std::string>& list);
  // Field references separated by commas, each a plain field (10409 for
  // any other expression; 10410 when a comma is followed by neither a name
  // nor a keyword).
  void ReadFieldList(TVTRFields& fields);
  // [AS] alias: true with the alias taken and stepped over; false, with
  // nothing consumed, when the current token is no alias.
  bool ReadAlias(std::string& alias);

  // "(" column [ASC|DESC|CASE|NOCASE|other word]..., ... ")" from the
  // current "(" on, stepping past the ")". With `password`, an item
  // PASSWORD 'text' sets it (CREATE INDEX); without, PASSWORD names a
  // column. Defined with the table definition statements.
  void ReadIndexColumns(std::vector<TVTRSQLIndexField>& columns, std::string* password);

  bool AtWord(int16_t word) const { return IsReservedWordToken(Token, word); }
  bool AtEnd() const { return Token.kind == tktNone; }
  // `code` with a message naming the current token: `format` takes its
  // text, line and column ("... but '%s' found at line %d, column %d").
  [[noreturn]] void RaiseAtToken(int32_t code, std::string_view format) const;
  // `code` "Token '<expected>' expected, but '%s' found at line %d, column %d".
  [[noreturn]] void RaiseTokenExpected(int32_t code, std::string_view expected) const;
  // `code` "Unexpected end of SQL command found at line %d, column %d" at
  // the last token read.
  [[noreturn]] void RaiseUnexpectedEnd(int32_t code) const;
  // `code` "Blank SQL command".
  [[noreturn]] static void RaiseBlank(int32_t code);
  // The message of "Token '<expected>' expected, but ..." for ExpectNextToken.
  static std::string TokenExpectedMessage(std::string_view expected);

  TVTRLexer& Lexer;
  TToken Token;
};

using TVTRSQLCommandPtr = std::unique_ptr<TVTRSQLCommand>;
