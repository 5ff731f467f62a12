// COUNT(*), the other aggregates, CASE and CAST.
#include <vector>

#include "engine/foundation/VTRExcept.h"
#include "engine/sql/expression/FieldList.h"
#include "engine/sql/nodes/ExprNodeAggregated.h"
#include "engine/sql/nodes/ExprNodeCase.h"
#include "engine/sql/nodes/ExprNodeCast.h"
#include "engine/sql/parser/ExpressionParser.h"
#include "engine/sql/parser/ParserWords.h"

namespace {

// Every known column type but BLOB, GRAPHIC, the byte types and GUID.
bool IsCastTarget(TVTRAdvancedDataType type) {
  return (type >= adtChar && type <= adtTimeStamp) || (type >= adtMemo && type <= adtWideMemo);
}

}  // namespace

TVTRExprNodePtr TVTRExpressionParser::ParseCountAll() {
  if (!AtWord(rwCount)) return nullptr;
  Next();
  if (!AtKind(tktLeftParenthesis)) return nullptr;
  Next();
  if (!AtSymbol("*")) return nullptr;
  Next();
  Expect(tktRightParenthesis, 30073, ")");
  return std::make_unique<TVTRExprNodeAggregated>(eoCountAll, false, nullptr);
}

TVTRExprNodePtr TVTRExpressionParser::ParseAggregate() {
  const TVTRExprOperator op =
      WordOperator({{rwCount, eoCount}, {rwAvg, eoAvg}, {rwMax, eoMax}, {rwMin, eoMin}, {rwSum, eoSum}});
  if (op == eoNone) return nullptr;
  Next();
  // DISTINCT stands before the parenthesis: COUNT DISTINCT (x).
  const bool distinct = AtWord(rwDistinct);
  if (distinct) Next();
  Expect(tktLeftParenthesis, 30074, "(");
  TVTRExprNodePtr argument = RequireArgument(&TVTRExpressionParser::ParseValue, 30102, GetOperatorName(op));
  Expect(tktRightParenthesis, 30075, ")");
  return std::make_unique<TVTRExprNodeAggregated>(op, distinct, std::move(argument));
}

TVTRExprNodePtr TVTRExpressionParser::ParseCase() {
  if (!AtWord(rwCase)) return nullptr;
  Next();
  const bool searched = AtWord(rwWhen);
  TVTRExprNodePtr input;
  if (!searched) {
    input = ParseValue();
    if (!input) RaiseFound(30467, "Input expression for CASE function");
  }
  // Codes of the searched form, then of the simple form.
  const int32_t when_word = searched ? 30473 : 30468;
  const int32_t when_missing = searched ? 30474 : 30469;
  const int32_t then_word = searched ? 30475 : 30470;
  const int32_t then_missing = searched ? 30476 : 30469;
  const int32_t else_missing = searched ? 30477 : 30471;
  const int32_t end_word = searched ? 30478 : 30472;
  std::vector<TVTRExprNodeCase::Branch> branches;
  do {
    ExpectWord(rwWhen, when_word);
    TVTRExprNodePtr when;
    if (searched) {
      when = ParseCondition(when_missing, "Search Condition for CASE function");
    } else {
      when = ParseValue();
      if (!when) RaiseFound(when_missing, "When Expression for CASE function");
    }
    ExpectWord(rwThen, then_word);
    TVTRExprNodePtr then = ParseValue();
    if (!then) RaiseFound(then_missing, "When Expression for CASE function");
    branches.emplace_back(std::move(when), std::move(then));
  } while (AtWord(rwWhen));
  TVTRExprNodePtr else_value;
  if (AtWord(rwElse)) {
    Next();
    else_value = ParseValue();
    if (!else_value) RaiseFound(else_missing, "'Else Result Expression' for CASE function");
  }
  ExpectWord(rwEnd, end_word);
  return std::make_unique<TVTRExprNodeCase>(std::move(input), std::move(branches), std::move(else_value));
}

TVTRExprNodePtr TVTRExpressionParser::ParseCast() {
  if (!AtWord(rwCast)) return nullptr;
  Next();
  if (!AtKind(tktLeftParenthesis)) return nullptr;
  Next();
  TVTRExprNodePtr value = ParseNull();
  if (!value) value = ParseValue();
  if (!value) return nullptr;
  if (AtKind(tktComma) || AtWord(rwAs)) Next();
  const TVTRAdvancedDataType type = AdvancedTypeByName(token_.text);
  if (!IsCastTarget(type))
    throw EVTRException::CreateFmt(30077, "Cannot convert an expression to specified type: '%s'",
                                   GetAdvancedTypeName(type));
  Next();
  TVTRExprNodePtr size;
  if (AtKind(tktLeftParenthesis)) {
    Next();
    size = RequireArgument(&TVTRExpressionParser::ParseAdditive, 30465, "CAST");
    Expect(tktRightParenthesis, 30465, ")");
  }
  Expect(tktRightParenthesis, 30076, ")");
  return std::make_unique<TVTRExprNodeCast>(type, std::move(value), std::move(size));
}
