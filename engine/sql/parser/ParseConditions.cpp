// Conditions: OR, AND, NOT, truth tests, parenthesised conditions and predicates.
#include <array>

#include "engine/sql/nodes/ExprNodeBoolean.h"
#include "engine/sql/nodes/ExprNodeComparison.h"
#include "engine/sql/nodes/ExprNodeConst.h"
#include "engine/sql/nodes/TextValues.h"
#include "engine/sql/parser/ExpressionParser.h"
#include "engine/sql/parser/ParserWords.h"

namespace {

constexpr std::string_view kBooleanExpected = "Boolean expression";

TVTRExprNodePtr Boolean(TVTRExprOperator op, TVTRExprNodePtr operand) {
  auto node = std::make_unique<TVTRExprNodeBoolean>(op);
  node->AppendOperand(std::move(operand));
  return node;
}

TVTRExprOperator ComparisonOperatorOf(const TToken& token) {
  static constexpr std::array<std::pair<std::string_view, TVTRExprOperator>, 6> kOperators{{
      {"=", eoEqual},
      {"<>", eoNotEqual},
      {">", eoGreater},
      {"<", eoLess},
      {">=", eoGreaterOrEqual},
      {"<=", eoLessOrEqual},
  }};
  if (token.kind != tktString) return eoNone;
  for (const auto& [text, op] : kOperators)
    if (token.text == text) return op;
  return eoNone;
}

// Takes the trailing "*" off a text constant; whether there was one.
bool TakePrefixStar(TVTRExprNode& node) {
  TVTRExprNodeConst* constant = AsConstant(node);
  if (!constant || !constant->Value().IsString() || constant->Value().IsNull()) return false;
  TVTRVariant& value = constant->Value();
  if (value.IsWideString()) {
    const std::u16string text = value.GetAsWideString();
    if (text.empty() || text.back() != u'*') return false;
    SetWideTextValue(value, std::u16string_view(text).substr(0, text.size() - 1), value.DataType());
  } else {
    const std::string_view text = AnsiTextOf(value);
    if (text.empty() || text.back() != '*') return false;
    SetTextValue(value, text.substr(0, text.size() - 1), value.DataType());
  }
  return true;
}

}  // namespace

TVTRExprNodePtr TVTRExpressionParser::ParseCondition() {
  return ParseCondition(30066, kBooleanExpected);
}

TVTRExprNodePtr TVTRExpressionParser::ParseCondition(int32_t missing_code, std::string_view missing) {
  TVTRExprNodePtr tree = ParseConjunction();
  if (!tree) RaiseConditionExpected(missing_code, missing);
  while (AtWord(rwOr)) {
    Next();
    TVTRExprNodePtr right = ParseConjunction();
    if (!right) RaiseConditionExpected(30066, kBooleanExpected);
    auto node = std::make_unique<TVTRExprNodeBoolean>(eoOr);
    node->AppendOperand(std::move(tree));
    node->AppendOperand(std::move(right));
    tree = std::move(node);
  }
  return tree;
}

TVTRExprNodePtr TVTRExpressionParser::ParseConjunction() {
  TVTRExprNodePtr first = ParseNegation();
  if (!first || !AtWord(rwAnd)) return first;
  auto node = std::make_unique<TVTRExprNodeBoolean>(eoAnd);
  node->AppendOperand(std::move(first));
  while (AtWord(rwAnd)) {
    Next();
    TVTRExprNodePtr next = ParseNegation();
    if (!next) RaiseConditionExpected(30066, kBooleanExpected);
    node->AppendOperand(std::move(next));
  }
  return node;
}

TVTRExprNodePtr TVTRExpressionParser::ParseNegation() {
  if (!AtWord(rwNot)) return ParseTruthTest();
  Next();
  TVTRExprNodePtr unit = ParseTruthTest();
  if (!unit) RaiseConditionExpected(30066, kBooleanExpected);
  return Boolean(eoNot, std::move(unit));
}

TVTRExprNodePtr TVTRExpressionParser::ParseTruthTest() {
  TVTRExprNodePtr unit = ParseBooleanUnit();
  if (!unit || !AtWord(rwIs)) return unit;
  Next();
  const bool negated = AtWord(rwNot);
  if (negated) Next();
  if (AtWord(rwTrue) || AtWord(rwFalse)) {
    // IS TRUE and IS NOT FALSE keep the unit; the other two negate it.
    const bool keeps = AtWord(rwTrue) != negated;
    Next();
    return keeps ? std::move(unit) : Boolean(eoNot, std::move(unit));
  }
  if (!AtWord(rwUnknown)) RaiseTokenExpected(30067, "TRUE, FALSE or UNKNOWN");
  Next();
  return Boolean(negated ? eoIsNotNull : eoIsNull, std::move(unit));
}

TVTRExprNodePtr TVTRExpressionParser::ParseBooleanUnit() {
  const Level level = Enter();
  if (!AtKind(tktLeftParenthesis)) return ParsePredicate();
  Next();
  TVTRExprNodePtr condition = ParseCondition();
  Next();  // the closing parenthesis, which the lexer has matched already
  return condition;
}

TVTRExprNodePtr TVTRExpressionParser::ParsePredicate() {
  return FirstAlternative(Choice::Predicate,
                          {&TVTRExpressionParser::ParseTruthConstant, &TVTRExpressionParser::ParseQuantifiedComparison,
                           &TVTRExpressionParser::ParseComparison, &TVTRExpressionParser::ParseLike,
                           &TVTRExpressionParser::ParseIsNull, &TVTRExpressionParser::ParseBetween,
                           &TVTRExpressionParser::ParseIn, &TVTRExpressionParser::ParseExists});
}

TVTRExprNodePtr TVTRExpressionParser::ParseTruthConstant() {
  if (AtWord(rwTrue) || AtWord(rwFalse)) {
    TVTRVariant value;
    value.SetAsLogical(AtWord(rwTrue));
    Next();
    return std::make_unique<TVTRExprNodeConst>(std::move(value));
  }
  return ParseParameter([](const TVTRVariant& value) { return value.DataType() == bdtLogical; });
}

TVTRExprNodePtr TVTRExpressionParser::ParseComparison() {
  TVTRExprNodePtr left = ParseOperand();
  if (!left) return nullptr;
  const TVTRExprOperator op = ComparisonOperatorOf(token_);
  if (op == eoNone) return nullptr;
  Next();
  TVTRExprNodePtr right = ParseOperand();
  if (!right) return nullptr;
  return MakeComparison(op, std::move(left), std::move(right));
}

TVTRExprNodePtr TVTRExpressionParser::ParseQuantifiedComparison() {
  TVTRExprNodePtr left = ParseOperand();
  if (!left) return nullptr;
  const TVTRExprOperator op = ComparisonOperatorOf(token_);
  if (op == eoNone) return nullptr;
  Next();
  const TVTRQuantifier quantifier = AtWord(rwAll) ? qnAll : AtWord(rwAny) || AtWord(rwSome) ? qnAny : qnNone;
  if (quantifier == qnNone) return nullptr;
  Next();
  TVTRExprNodePtr subquery = ParseSubquery(true, false);
  if (!subquery) return nullptr;
  const TVTRComparisonOptions options{
      .case_insensitive = options_.case_insensitive, .raw_null = options_.raw_null, .quantifier = quantifier};
  return std::make_unique<TVTRExprNodeComparison>(op, options, std::move(left), std::move(subquery));
}

TVTRExprNodePtr TVTRExpressionParser::ParseLike() {
  TVTRExprNodePtr value = ParseOperand();
  bool negated;
  if (!value || !ReadNegatedWord(rwLike, negated)) return nullptr;
  TVTRExprNodePtr pattern = ParseOperand();
  if (!pattern) return nullptr;
  auto node = std::make_unique<TVTRExprNodeBoolean>(negated ? eoNotLike : eoLike, false);
  node->AppendOperand(std::move(value));
  node->AppendOperand(std::move(pattern));
  return node;
}

TVTRExprNodePtr TVTRExpressionParser::ParseIsNull() {
  TVTRExprNodePtr value = ParseOperand();
  if (!value || !AtWord(rwIs)) return nullptr;
  Next();
  bool negated;
  if (!ReadNegatedWord(rwNull, negated)) return nullptr;
  return Boolean(negated ? eoIsNotNull : eoIsNull, std::move(value));
}

TVTRExprNodePtr TVTRExpressionParser::ParseBetween() {
  TVTRExprNodePtr value = ParseOperand();
  bool negated;
  if (!value || !ReadNegatedWord(rwBetween, negated)) return nullptr;
  TVTRExprNodePtr low = ParseOperand();
  if (!low || !AtWord(rwAnd)) return nullptr;
  Next();
  TVTRExprNodePtr high = ParseOperand();
  if (!high) return nullptr;
  auto node = std::make_unique<TVTRExprNodeBoolean>(negated ? eoNotBetween : eoBetween);
  node->AppendOperand(std::move(value));
  node->AppendOperand(std::move(low));
  node->AppendOperand(std::move(high));
  return node;
}

TVTRExprNodePtr TVTRExpressionParser::ParseIn() {
  TVTRExprNodePtr value = ParseOperand();
  bool negated;
  if (!value || !ReadNegatedWord(rwIn, negated) || !AtKind(tktLeftParenthesis)) return nullptr;
  Next();
  auto node = std::make_unique<TVTRExprNodeBoolean>(negated ? eoNotIn : eoIn);
  node->AppendOperand(std::move(value));
  if (AtWord(rwSelect)) {
    TVTRExprNodePtr subquery = ParseSubquery(true, false);
    if (!subquery) return nullptr;
    node->AppendOperand(std::move(subquery));
    if (AtKind(tktRightParenthesis)) Next();
    return node;
  }
  // Elements may also stand side by side without commas.
  for (;;) {
    TVTRExprNodePtr element = ParseValue();
    if (!element) return nullptr;
    node->AppendOperand(std::move(element));
    if (AtKind(tktComma)) {
      Next();
    } else if (AtKind(tktRightParenthesis)) {
      Next();
      return node;
    }
  }
}

TVTRExprNodePtr TVTRExpressionParser::ParseExists() {
  if (!AtWord(rwExists)) return nullptr;
  Next();
  TVTRExprNodePtr subquery = ParseSubquery(false, false);
  if (!subquery) return nullptr;
  return Boolean(eoExists, std::move(subquery));
}

bool TVTRExpressionParser::ReadNegatedWord(int16_t word, bool& negated) {
  negated = AtWord(rwNot);
  if (negated) Next();
  if (!AtWord(word)) return false;
  Next();
  return true;
}

TVTRExprNodePtr TVTRExpressionParser::MakeComparison(TVTRExprOperator op, TVTRExprNodePtr left,
                                                     TVTRExprNodePtr right) const {
  TVTRComparisonOptions options{.case_insensitive = options_.case_insensitive, .raw_null = options_.raw_null};
  if (options_.partial_compare) {
    const bool left_prefix = TakePrefixStar(*left);
    const bool right_prefix = TakePrefixStar(*right);
    options.prefix = left_prefix && right_prefix ? TVTRPrefixOperand::Both
                     : left_prefix               ? TVTRPrefixOperand::Left
                     : right_prefix              ? TVTRPrefixOperand::Right
                                                 : TVTRPrefixOperand::None;
  }
  return std::make_unique<TVTRExprNodeComparison>(op, options, std::move(left), std::move(right));
}
