#include "engine/sql/dml/UpdateStatement.h"

#include "engine/access/Table.h"
#include "engine/sql/dml/AssignValue.h"
#include "engine/sql/processor/StatementWords.h"
#include "platform/rtl/CodePage874.h"
#include "platform/rtl/TextCase.h"

using namespace statement_words;

namespace {

constexpr const char* kTableNameExpected = "Table name expected, but '%s' found at line %d, column %d";

}  // namespace

TVTRSQLUpdate::~TVTRSQLUpdate() = default;

void TVTRSQLUpdate::Parse() {
  if (AtEnd()) RaiseBlank(30216);
  ExpectNextToken(kNameOrKeyword, 30217, kTableNameExpected);
  if (AtWord(rwMemory)) {
    InMemoryTarget = true;
    memory_written_ = true;
    ExpectNextToken(kNameOrKeyword, 30218, kTableNameExpected);
  }
  TableName = Token.text;
  table_token_ = Token;
  NextToken();
  const TToken alias_start = Token;
  if (ReadAlias(Alias))
    alias_token_ = {.kind = tktString, .text = Alias, .line = alias_start.line, .column = alias_start.column};
  if (AtWord(rwPassword)) {
    ExpectNextToken(kQuotedText, 30219,
                    "Quoted password expected (for PASSWORD \"passwordData\"), but '%s' found at line %d, "
                    "column %d");
    Password = Token.text;
    NextToken();
  }
  if (!AtWord(rwSet)) RaiseTokenExpected(30220, "SET");
  ParseAssignments();

  StartSelect();
  SelectLexer->AddToken({.kind = tktReservedWord, .reserved_word = rwFrom, .text = "from",
                         .line = table_token_.line, .column = table_token_.column});
  if (memory_written_) {
    SelectLexer->AddToken({.kind = tktReservedWord, .reserved_word = rwMemory, .text = "MEMORY",
                           .line = table_token_.line, .column = table_token_.column});
  }
  SelectLexer->AddToken(table_token_);
  if (!Alias.empty()) SelectLexer->AddToken(alias_token_);
  for (bool more = AtWord(rwWhere); more; more = NextToken()) SelectLexer->AddToken(Token);
  ParseSelect();
}

void TVTRSQLUpdate::ParseAssignments() {
  for (;;) {
    if (!NextToken()) RaiseUnexpectedEnd(30223);
    TToken dot;
    if (SameText(Token.text, TableName) && Lexer.LookAheadToken(dot) && dot.kind == tktDot) {
      NextToken();
      if (!NextToken()) RaiseUnexpectedEnd(30223);
    }
    FieldNames.push_back(Token.text);
    NextToken();
    if (Token.text != "=") RaiseTokenExpected(30221, "=");
    NextToken();
    auto value = std::make_unique<TVTRSQLExpression>();
    value->ParseValueExpression(&Query, Lexer);
    GetCurrentToken();
    if (value->IsEmpty()) RaiseAtToken(30357, "Error parsing parameter '%s' at line %d, column %d");
    Values.push_back(std::move(value));
    if (AtEnd() || AtWord(rwWhere)) return;
    if (Token.kind != tktComma) RaiseTokenExpected(30222, ",");
  }
}

void TVTRSQLUpdate::PrepareChanges(TVTRTable& table) {
  targets_.clear();
  for (const std::string& name : FieldNames)
    targets_.push_back(table.Fields().IndexOf(table.FieldByName(Cp874ToUtf8(name))));
}

void TVTRSQLUpdate::ChangeRow(TVTRTable& table) {
  TVTRCursor& cursor = *table.Handle();
  for (const auto& value : Values) value->AssignCursor(cursor, nullptr, nullptr);
  table.Edit();
  try {
    for (size_t i = 0; i < Values.size(); ++i) AssignValueToField(Values[i]->GetValue(true), table, targets_[i]);
    table.Post();
  } catch (...) {
    table.Cancel();
    throw;
  }
}
