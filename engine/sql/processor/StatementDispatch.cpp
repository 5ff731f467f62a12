// The choice of the command class from the first words of a statement.
#include "engine/foundation/VTRExcept.h"
#include "engine/sql/ddl/AlterTable.h"
#include "engine/sql/ddl/IndexStatements.h"
#include "engine/sql/ddl/TableStatements.h"
#include "engine/sql/dml/DeleteStatement.h"
#include "engine/sql/dml/InsertStatement.h"
#include "engine/sql/dml/UpdateStatement.h"
#include "engine/sql/processor/SQLProcessor.h"
#include "engine/sql/processor/StatementWords.h"
#include "engine/sql/query/SQLUnion.h"
#include "engine/sql/transaction/TransactionStatements.h"

using namespace statement_words;

namespace {

constexpr const char* kObjectTypeExpected =
    "Object type keyword expected, but '%s' found at line %d, column %d";
constexpr const char* kSQLTokenExpected = "SQL token expected, but '%s' found at line %d, column %d";

[[noreturn]] void RaiseAt(int32_t code, const char* format, const TToken& token) {
  throw EVTRException::CreateFmt(code, format, token.text, token.line, token.column);
}

[[noreturn]] void RaiseEndAt(int32_t code, const TToken& token) {
  throw EVTRException::CreateFmt(code, "Unexpected end of SQL command found at line %d, column %d",
                                 token.line, token.column);
}

// The command of class T for the query, parsed from the lexer's cursor on.
template <typename T>
TVTRSQLCommandPtr Parsed(TVTRLexer& lexer, const TVTRQueryContext& query) {
  auto command = std::make_unique<T>(lexer);
  command->Query = query;
  command->Parse();
  return command;
}

// A query expression must use up its command.
TVTRSQLCommandPtr ParsedQueryExpression(TVTRLexer& lexer, const TVTRQueryContext& query) {
  TVTRSQLCommandPtr command = Parsed<TVTRSQLUnion>(lexer, query);
  TToken left;
  if (lexer.GetCurrentToken(left))
    RaiseAt(20260, "End of SQL command expected, but '%s' found at line %d, column %d", left);
  return command;
}

// The word after the current one becomes current: `missing` at the end of
// the command, else the word read.
TToken NextWord(TVTRLexer& lexer, TToken token, int32_t missing) {
  if (!lexer.GetNextToken(token)) RaiseEndAt(missing, token);
  return token;
}

}  // namespace

TVTRSQLCommandPtr CreateSQLCommand(TVTRLexer& lexer, const TVTRQueryContext& query) {
  TToken first;
  if (!lexer.GetCurrentToken(first)) throw EVTRException(30146, "Blank SQL command");
  if (first.kind == tktLeftParenthesis) return ParsedQueryExpression(lexer, query);
  if (first.kind != tktReservedWord) RaiseAt(30154, kSQLTokenExpected, first);
  switch (first.reserved_word) {
    case rwCreate: {
      const TToken next = NextWord(lexer, first, 30148);
      if (IsReservedWordToken(next, rwTable)) return Parsed<TVTRDDLCreateTable>(lexer, query);
      if (IsReservedWordToken(next, rwUnique) || IsReservedWordToken(next, rwIndex))
        return Parsed<TVTRDDLCreateIndex>(lexer, query);
      RaiseAt(30147, kObjectTypeExpected, next);
    }
    case rwDrop: {
      const TToken next = NextWord(lexer, first, 30150);
      if (IsReservedWordToken(next, rwTable)) return Parsed<TVTRDDLDropTable>(lexer, query);
      if (IsReservedWordToken(next, rwIndex)) return Parsed<TVTRDDLDropIndex>(lexer, query);
      RaiseAt(30149, kObjectTypeExpected, next);
    }
    case rwAlter: {
      const TToken next = NextWord(lexer, first, 30152);
      if (IsReservedWordToken(next, rwTable)) return Parsed<TVTRDDLAlterTable>(lexer, query);
      RaiseAt(30151, kObjectTypeExpected, next);
    }
    case rwRename: {
      TToken next = NextWord(lexer, first, 30353);
      if (IsReservedWordToken(next, rwTable)) lexer.GetNextToken(next);
      return Parsed<TVTRDDLRenameTable>(lexer, query);
    }
    case rwInsert:
      return Parsed<TVTRSQLInsert>(lexer, query);
    case rwUpdate:
      return Parsed<TVTRSQLUpdate>(lexer, query);
    case rwDelete:
      return Parsed<TVTRSQLDelete>(lexer, query);
    case rwTruncate:
      return Parsed<TVTRDDLTruncateTable>(lexer, query);
    case rwSelect:
      return ParsedQueryExpression(lexer, query);
    case rwStart:
      return Parsed<TVTRSQLStartTransaction>(lexer, query);
    case rwCommit:
      return Parsed<TVTRSQLCommit>(lexer, query);
    case rwRollback:
      return Parsed<TVTRSQLRollback>(lexer, query);
    default:
      RaiseAt(30153, kSQLTokenExpected, first);
  }
}
