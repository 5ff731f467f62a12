// FROM items: tables, parenthesised items, subqueries and joins.
#include "engine/sql/query/TableReference.h"

#include "engine/sql/processor/StatementWords.h"
#include "engine/sql/query/SQLSelect.h"
#include "engine/sql/query/SQLUnion.h"

using namespace statement_words;

namespace {

constexpr const char* kUnexpectedToken = "Unexpected token '%s' found at line %d, column %d";
constexpr const char* kTableNameExpected = "Table name expected, but '%s' found at line %d, column %d";

}  // namespace

TVTRTableReference::TVTRTableReference() = default;
TVTRTableReference::~TVTRTableReference() = default;

std::unique_ptr<TVTRTableReference> TVTRSQLSelect::ParseTableReference() {
  std::unique_ptr<TVTRTableReference> reference =
      Token.kind == tktLeftParenthesis ? ParseParenthesizedReference() : ParseTableItem();
  for (;;) {
    auto join = std::make_unique<TVTRTableReference>();
    if (!ParseJoinWords(*join)) return reference;
    ExpectNextToken(kNameKeywordOrParenthesis, 30176, kTableNameExpected);
    // The joined item may carry joins of its own before this join's ON.
    join->Right = ParseTableReference();
    ParseJoinCondition(*join);
    join->Kind = trkJoin;
    join->Left = std::move(reference);
    reference = std::move(join);
  }
}

std::unique_ptr<TVTRTableReference> TVTRSQLSelect::ParseTableItem() {
  auto reference = std::make_unique<TVTRTableReference>();
  if (AtWord(rwSelect)) {
    reference->Kind = trkSubquery;
    reference->Subquery = std::make_unique<TVTRSQLUnion>(Lexer);
    reference->Subquery->Query = Query;
    reference->Subquery->Parse();
    GetCurrentToken();
    return reference;
  }
  if (AtWord(rwMemory)) {
    reference->InMemory = true;
    ExpectNextToken(kNameOrKeyword, 30180, kTableNameExpected);
  }
  reference->TableName = Token.text;
  NextToken();
  if (Token.kind == tktDot) {
    reference->ExternalFile = std::move(reference->TableName);
    ExpectNextToken(kNameOrKeyword, 30180, kTableNameExpected);
    reference->TableName = Token.text;
    NextToken();
  }
  ReadAlias(reference->Alias);
  if (AtWord(rwPassword)) {
    ExpectNextToken(kQuotedText, 30178,
                    "Quoted password expected (for PASSWORD \"passwordData\"), but '%s' found at line %d, column %d");
    reference->Password = Token.text;
    NextToken();
  }
  return reference;
}

std::unique_ptr<TVTRTableReference> TVTRSQLSelect::ParseParenthesizedReference() {
  NextToken();
  if (!InKinds(kNameKeywordOrParenthesis, Token.kind))
    RaiseAtToken(30179, "Field name expected, but '%s' found at line %d, column %d");
  std::unique_ptr<TVTRTableReference> reference = ParseTableReference();
  if (Token.kind == tktRightParenthesis) NextToken();
  ReadAlias(reference->Alias);
  return reference;
}

bool TVTRSQLSelect::ParseJoinWords(TVTRTableReference& join) {
  join.JoinType = jtInner;
  if (AtWord(rwCross)) {
    join.JoinType = jtCross;
    ExpectNextToken(kKeyword, 30168, kUnexpectedToken);
  } else {
    bool typed = false;
    if (AtWord(rwNatural)) {
      join.Natural = true;
      typed = true;
      ExpectNextToken(kKeyword, 30169, kUnexpectedToken);
    }
    const struct {
      int16_t word;
      TVTRJoinType type;
      int32_t code;
    } kinds[] = {{rwInner, jtInner, 30170}, {rwLeft, jtLeft, 30171}, {rwRight, jtRight, 30172},
                 {rwFull, jtFull, 30173}};
    for (const auto& kind : kinds) {
      if (!AtWord(kind.word)) continue;
      join.JoinType = kind.type;
      typed = true;
      ExpectNextToken(kKeyword, kind.code, kUnexpectedToken);
      break;
    }
    if (typed && AtWord(rwOuter)) ExpectNextToken(kKeyword, 30174, kUnexpectedToken);
    if (!typed && !AtWord(rwJoin)) return false;
  }
  if (!AtWord(rwJoin)) RaiseTokenExpected(30175, "JOIN");
  return true;
}

void TVTRSQLSelect::ParseJoinCondition(TVTRTableReference& join) {
  if (AtWord(rwOn)) {
    NextToken();
    join.OnCondition = ParseCondition();
  } else if (AtWord(rwUsing)) {
    NextToken();
    if (Token.kind != tktLeftParenthesis) RaiseTokenExpected(30167, "(");
    NextToken();
    ReadNameList(join.UsingList);
    if (Token.kind == tktRightParenthesis) NextToken();
  }
}
