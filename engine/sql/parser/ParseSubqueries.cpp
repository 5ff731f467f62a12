// Subqueries in expressions.
#include "engine/foundation/VTRExcept.h"
#include "engine/sql/nodes/ExprNodeSubquery.h"
#include "engine/sql/parser/ExpressionParser.h"
#include "engine/sql/parser/ParserWords.h"

TVTRExprNodePtr TVTRExpressionParser::ParseSubquery(bool one_column, bool one_row) {
  int32_t opened = 0;
  for (; AtKind(tktLeftParenthesis); Next()) ++opened;
  if (!AtWord(rwSelect)) return nullptr;
  if (!query_)
    throw EVTRException::CreateFmt(30199, "Subquery not allowed here: '%s' found at line %d, column %d", token_.text,
                                   token_.line, token_.column);
  auto subquery = std::make_unique<TVTRExprNodeSubquery>(*query_, lexer_, one_column, one_row);
  lexer_.GetCurrentToken(token_);
  for (; opened > 0; --opened) {
    if (!AtKind(tktRightParenthesis)) return nullptr;
    Next();
  }
  return subquery;
}
