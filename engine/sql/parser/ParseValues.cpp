// Values: operands, arithmetic, concatenation and the terms they are made of.
#include "engine/sql/nodes/ExprNodeArithmetic.h"
#include "engine/sql/nodes/ExprNodeConst.h"
#include "engine/sql/nodes/ExprNodeField.h"
#include "engine/sql/nodes/ExprNodeStringFunction.h"
#include "engine/sql/nodes/TextValues.h"
#include "engine/sql/parser/ExpressionParser.h"
#include "engine/sql/parser/ParserWords.h"

namespace {

constexpr int64_t kLargeIntLiteralFrom = 2147483647;

// Operators and other symbols come as words too: names begin otherwise.
bool IsNameToken(const TToken& token) {
  if (token.kind == tktBracketedString) return true;
  return token.kind == tktString && !token.text.empty() &&
         std::string_view("+-*/=|<>").find(token.text[0]) == std::string_view::npos;
}

TVTRExprNodePtr Negation(TVTRExprNodePtr operand) {
  auto node = std::make_unique<TVTRExprNodeArithmetic>(eoNegate);
  node->AppendOperand(std::move(operand));
  return node;
}

}  // namespace

TVTRExprNodePtr TVTRExpressionParser::ParseOperand() {
  const Mark start = Here();
  if (TVTRExprNodePtr subquery = ParseScalarSubquery()) return subquery;
  Back(start);
  if (TVTRExprNodePtr null = ParseNull()) return null;
  return ParseValue();
}

TVTRExprNodePtr TVTRExpressionParser::ParseNull() {
  const TVTRVariant* parameter = ParameterValue();
  if (!AtWord(rwNull) && !(parameter && parameter->IsNull())) return nullptr;
  Next();
  return std::make_unique<TVTRExprNodeConst>(TVTRVariant(bdtInteger));
}

TVTRExprNodePtr TVTRExpressionParser::ParseValue() {
  // The concatenation alternative also reads the date functions and date parameters.
  return FirstAlternative(Choice::Value,
                          {&TVTRExpressionParser::ParseAdditive, &TVTRExpressionParser::ParseConcatenation,
                           &TVTRExpressionParser::ParseTruthConstant, &TVTRExpressionParser::ParseNull,
                           &TVTRExpressionParser::ParseMimeToBin});
}

TVTRExprNodePtr TVTRExpressionParser::ParseAdditive() {
  TVTRExprNodePtr tree = ParseTerm();
  if (!tree) return nullptr;
  if (AtSymbol("+") || AtSymbol("-")) {
    auto sum = std::make_unique<TVTRExprNodeArithmetic>(eoAdd);
    sum->AppendOperand(std::move(tree));
    while (AtSymbol("+") || AtSymbol("-")) {
      const bool subtracted = AtSymbol("-");
      Next();
      TVTRExprNodePtr term = ParseTerm();
      if (!term) return nullptr;
      sum->AppendOperand(subtracted ? Negation(std::move(term)) : std::move(term));
    }
    tree = std::move(sum);
  }
  // Left to the concatenation alternative.
  if (AtSymbol("||")) return nullptr;
  return tree;
}

TVTRExprNodePtr TVTRExpressionParser::ParseTerm() {
  TVTRExprNodePtr tree = ParseSignedFactor();
  while (tree && (AtSymbol("*") || AtSymbol("/"))) {
    auto node = std::make_unique<TVTRExprNodeArithmetic>(AtSymbol("*") ? eoMultiply : eoDivide);
    Next();
    TVTRExprNodePtr next = ParseSignedFactor();
    if (!next) return nullptr;
    node->AppendOperand(std::move(tree));
    node->AppendOperand(std::move(next));
    tree = std::move(node);
  }
  return tree;
}

TVTRExprNodePtr TVTRExpressionParser::ParseSignedFactor() {
  const bool negated = AtSymbol("-");
  if (negated || AtSymbol("+")) Next();
  TVTRExprNodePtr factor = ParseFactor();
  if (!factor || !negated) return factor;
  return Negation(std::move(factor));
}

TVTRExprNodePtr TVTRExpressionParser::ParseFactor() {
  const Level level = Enter();
  const Mark start = Here();
  if (TVTRExprNodePtr base = ParseBaseTerm()) {
    // Text constants never join arithmetic: the concatenation alternative reads them.
    TVTRExprNodeConst* constant = AsConstant(*base);
    return constant && !constant->Value().IsNumeric() ? nullptr : std::move(base);
  }
  Back(start);
  return ParseNumericFunction();
}

TVTRExprNodePtr TVTRExpressionParser::ParseBaseTerm() {
  return FirstAlternative(Choice::BaseTerm,
                          {&TVTRExpressionParser::ParseLiteral, &TVTRExpressionParser::ParseFieldReference,
                           &TVTRExpressionParser::ParseCountAll, &TVTRExpressionParser::ParseAggregate,
                           &TVTRExpressionParser::ParseScalarSubquery, &TVTRExpressionParser::ParseCase,
                           &TVTRExpressionParser::ParseParenthesized,
                           &TVTRExpressionParser::ParseCast});
}

TVTRExprNodePtr TVTRExpressionParser::ParseLiteral() {
  TVTRVariant value;
  switch (token_.kind) {
    case tktInt:
      value.SetAsString(token_.text);
      value.CastTo(bdtLargeInt);
      if (value.GetAsLargeInt() < kLargeIntLiteralFrom) value.CastTo(bdtInteger);
      break;
    case tktFloat:
      value.SetAsString(token_.text);
      value.CastTo(bdtDouble);
      break;
    case tktQuotedString:
      SetTextValue(value, token_.text);
      break;
    default:
      return ParseParameter([](const TVTRVariant& parameter) {
        return parameter.IsNumeric() || parameter.IsString() || parameter.IsBlob();
      });
  }
  Next();
  return std::make_unique<TVTRExprNodeConst>(std::move(value));
}

TVTRExprNodePtr TVTRExpressionParser::ParseFieldReference() {
  if (!IsNameToken(token_)) return nullptr;
  std::string table_name;
  std::string field_name = token_.text;
  Next();
  if (AtKind(tktDot)) {
    Next();
    if (AtKind(tktNone)) return nullptr;
    table_name = std::move(field_name);
    field_name = token_.text;
    Next();
  }
  // A name before "(" calls a function this dialect does not have.
  if (AtKind(tktLeftParenthesis)) return nullptr;
  return std::make_unique<TVTRExprNodeField>(std::move(table_name), std::move(field_name), cursor_);
}

TVTRExprNodePtr TVTRExpressionParser::ParseParenthesized() {
  if (!AtKind(tktLeftParenthesis)) return nullptr;
  Next();
  TVTRExprNodePtr value = ParseValue();
  if (!value) return nullptr;
  Expect(tktRightParenthesis, 30071, ")");
  return value;
}

TVTRExprNodePtr TVTRExpressionParser::ParseConcatenation() {
  TVTRExprNodePtr first = ParseConcatenationTerm();
  if (!first || !(AtSymbol("||") || AtSymbol("+"))) return first;
  auto node = std::make_unique<TVTRExprNodeStringFunction>(eoConcat);
  node->AppendOperand(std::move(first));
  while (AtSymbol("||") || AtSymbol("+")) {
    Next();
    const Mark term_start = Here();
    if (TVTRExprNodePtr term = ParseConcatenationTerm())
      node->AppendOperand(std::move(term));
    else
      Back(term_start);  // a term that cannot be read is skipped
  }
  return node;
}

TVTRExprNodePtr TVTRExpressionParser::ParseConcatenationTerm() {
  const Level level = Enter();
  return FirstAlternative(
      Choice::ConcatenationTerm,
      {&TVTRExpressionParser::ParseBaseTerm, &TVTRExpressionParser::ParseTextFunction,
       &TVTRExpressionParser::ParseDateFunction, &TVTRExpressionParser::ParseDateParameter});
}

TVTRExprNodePtr TVTRExpressionParser::ParseDateParameter() {
  return ParseParameter([](const TVTRVariant& parameter) { return parameter.IsDateTime(); });
}

TVTRExprNodePtr TVTRExpressionParser::ParseParameter(bool (*accepts)(const TVTRVariant& value)) {
  const TVTRVariant* parameter = ParameterValue();
  if (!parameter || !accepts(*parameter)) return nullptr;
  TVTRVariant value(*parameter);
  Next();
  return std::make_unique<TVTRExprNodeConst>(std::move(value));
}
