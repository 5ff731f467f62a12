#include "engine/sql/processor/SQLCommand.h"

#include "engine/foundation/VTRExcept.h"
#include "engine/sql/expression/SQLExpression.h"
#include "engine/sql/processor/StatementWords.h"
#include "engine/storage/base/Cursor.h"

using namespace statement_words;

TVTRSQLCommand::TVTRSQLCommand(TVTRLexer& lexer) : Lexer(lexer) {
  Lexer.GetCurrentToken(Token);
}

TVTRSQLCommand::~TVTRSQLCommand() = default;

std::unique_ptr<TVTRCursor> TVTRSQLCommand::GetResultCursor() {
  return nullptr;
}

bool TVTRSQLCommand::GetCurrentToken() {
  return Lexer.GetCurrentToken(Token);
}

bool TVTRSQLCommand::NextToken() {
  return Lexer.GetNextToken(Token);
}

void TVTRSQLCommand::ExpectNextToken(TVTRTokenKinds kinds, int32_t code, std::string_view message) {
  if (!NextToken()) RaiseUnexpectedEnd(30161);
  if (kinds != kAnyToken && !InKinds(kinds, Token.kind)) RaiseAtToken(code, message);
}

void TVTRSQLCommand::ReadNameList(std::vector<std::string>& list) {
  if (!InKinds(kName, Token.kind))
    RaiseAtToken(10408, "Field name expected, but '%s' found at line %d, column %d");
  for (;;) {
    list.push_back(Token.text);
    NextToken();
    if (Token.kind != tktComma) return;
    ExpectNextToken(kName, 10406, "Unexpected token '%s' found at line %d, column %d");
  }
}

void TVTRSQLCommand::ReadFieldList(TVTRFields& fields) {
  for (;;) {
    TVTRSQLExpression expression;
    expression.ParseValueExpression(nullptr, Lexer);
    GetCurrentToken();
    if (!expression.IsField())
      RaiseAtToken(10409, "Field name expected, but '%s' found at line %d, column %d");
    TVTRSelectListItem item;
    expression.GetFieldName(item.TableName, item.FieldName);
    fields.Add(item);
    if (Token.kind != tktComma) return;
    ExpectNextToken(kNameOrKeyword, 10410, "Unexpected token '%s' found at line %d, column %d");
  }
}

bool TVTRSQLCommand::ReadAlias(std::string& alias) {
  if (AtWord(rwAs)) {
    ExpectNextToken(kName, 30177, "Field pseudonym expected, but '%s' found at line %d, column %d");
  } else if (Token.kind != tktString && Token.kind != tktBracketedString) {
    return false;
  }
  alias = Token.text;
  NextToken();
  return true;
}

void TVTRSQLCommand::RaiseAtToken(int32_t code, std::string_view format) const {
  throw EVTRException::CreateFmt(code, format, Token.text, Token.line, Token.column);
}

void TVTRSQLCommand::RaiseTokenExpected(int32_t code, std::string_view expected) const {
  RaiseAtToken(code, TokenExpectedMessage(expected));
}

void TVTRSQLCommand::RaiseUnexpectedEnd(int32_t code) const {
  throw EVTRException::CreateFmt(code, "Unexpected end of SQL command found at line %d, column %d",
                                 Token.line, Token.column);
}

void TVTRSQLCommand::RaiseBlank(int32_t code) {
  throw EVTRException(code, "Blank SQL command");
}

std::string TVTRSQLCommand::TokenExpectedMessage(std::string_view expected) {
  return "Token '" + std::string(expected) + "' expected, but '%s' found at line %d, column %d";
}
