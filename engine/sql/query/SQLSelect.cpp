// The grammar of one SELECT.
#include "engine/sql/query/SQLSelect.h"

#include "engine/sql/processor/StatementWords.h"
#include "engine/sql/query/SQLUnion.h"

using namespace statement_words;

namespace {

constexpr const char* kTableNameExpected = "Table name expected, but '%s' found at line %d, column %d";
constexpr const char* kIntegerExpected = "Integer expected, but '%s' found at line %d, column %d";

bool IsAlias(const TToken& token) {
  return token.kind == tktString || token.kind == tktQuotedString || token.kind == tktBracketedString;
}

}  // namespace

TVTRSQLSelect::TVTRSQLSelect(TVTRLexer& lexer) : TVTRSQLCursorCommand(lexer) {}

TVTRSQLSelect::~TVTRSQLSelect() {
  for (TVTRSelectListItem& item : Items) delete item.Expression;
}

void TVTRSQLSelect::Parse() {
  if (AtEnd()) RaiseBlank(30155);
  if (!AtWord(rwSelect)) RaiseAtToken(30156, "SQL token expected, but '%s' found at line %d, column %d");
  NextToken();
  if (AtWord(rwAll) || AtWord(rwDistinct)) {
    Distinct = AtWord(rwDistinct);
    NextToken();
  }
  if (AtWord(rwTop)) {
    ExpectNextToken(kInteger, 30158, kIntegerExpected);
    TopCount = std::stoi(Token.text);
    NextToken();
    if (Token.kind == tktComma) {
      ExpectNextToken(kInteger, 30159, kIntegerExpected);
      TopFirstRow = std::stoi(Token.text);
      NextToken();
    }
  }
  ParseSelectList();
  if (AtWord(rwInto)) ParseInto();
  ParseFrom();
  if (AtWord(rwWhere)) {
    NextToken();
    Where = ParseCondition();
  }
  if (AtWord(rwGroup)) {
    NextToken();
    if (!AtWord(rwBy)) RaiseTokenExpected(30185, "BY");
    NextToken();
    ReadFieldList(GroupBy);
  }
  if (AtWord(rwHaving)) {
    NextToken();
    Having = ParseCondition();
  }
  ParseOrderBy();
}

void TVTRSQLSelect::ParseSelectList() {
  if (Token.kind == tktString && Token.text == "*") {
    SelectAll = true;
    NextToken();
    return;
  }
  for (;;) {
    ParseSelectItem();
    if (Token.kind != tktComma) return;
    NextToken();
  }
}

void TVTRSQLSelect::ParseSelectItem() {
  auto expression = std::make_unique<TVTRSQLExpression>();
  expression->ParseValueExpression(&Query, Lexer);
  GetCurrentToken();
  if (expression->IsEmpty())
    RaiseAtToken(30160, "Expression expected, but '%s' found at line %d, column %d");
  TVTRSelectListItem item;
  if (AtWord(rwAs)) {
    ExpectNextToken(kName, 30162, "Field pseudonym expected, but '%s' found at line %d, column %d");
    item.Alias = Token.text;
    NextToken();
  } else if (IsAlias(Token)) {
    item.Alias = Token.text;
    NextToken();
  }
  if (expression->IsField()) {
    expression->GetFieldName(item.TableName, item.FieldName);
    item.AllFields = item.FieldName == "*";
  } else {
    item.IsExpression = true;
    item.Expression = expression.release();
  }
  Items.push_back(std::move(item));
}

void TVTRSQLSelect::ParseInto() {
  ExpectNextToken(kNameOrKeyword, 30165, kTableNameExpected);
  if (AtWord(rwMemory)) {
    InMemoryTarget = true;
    ExpectNextToken(kNameOrKeyword, 30165, kTableNameExpected);
    if (AtWord(rwImmediate)) {
      IntoImmediate = true;
      ExpectNextToken(kNameOrKeyword, 30165, kTableNameExpected);
    }
  }
  IntoTableName = Token.text;
  NextToken();
  if (Token.kind != tktDot) return;
  IntoDatabaseName = std::move(IntoTableName);
  ExpectNextToken(kName, 30166, kTableNameExpected);
  IntoTableName = Token.text;
  NextToken();
}

void TVTRSQLSelect::ParseFrom() {
  if (!AtWord(rwFrom)) RaiseTokenExpected(30184, "FROM");
  ExpectNextToken(kNameKeywordOrParenthesis, 30180, kTableNameExpected);
  TableRefs.push_back(ParseTableReference());
  while (Token.kind == tktComma) {
    ExpectNextToken(kNameKeywordOrParenthesis, 30181, kTableNameExpected);
    TableRefs.push_back(ParseTableReference());
  }
}

std::unique_ptr<TVTRSQLExpression> TVTRSQLSelect::ParseCondition() {
  auto condition = std::make_unique<TVTRSQLExpression>();
  condition->ParseSearchCondition(&Query, Lexer);
  GetCurrentToken();
  if (!SelectAll) condition->MatchSelectList(Items);
  return condition;
}

bool TVTRSQLSelect::ConditionsApplied() const {
  const auto applied = [](const std::unique_ptr<TVTRSQLExpression>& condition) {
    return !condition || condition->IsEmpty();
  };
  return !SubqueryConditionsLeft && applied(Where) && applied(Having);
}
