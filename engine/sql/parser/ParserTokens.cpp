// Token handling and syntax errors of the expression parser.
#include <string>

#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/VTRVariant.h"
#include "engine/sql/parser/ExpressionParser.h"

TVTRExpressionParser::TVTRExpressionParser(TVTRLexer& lexer, TToken& token, TVTRCursor* cursor,
                                           const TVTRExpressionOptions& options, const TVTRQueryContext* query)
    : lexer_(lexer), token_(token), cursor_(cursor), options_(options), query_(query) {}

TVTRExpressionParser::Mark TVTRExpressionParser::Here() const {
  return {lexer_.GetCurrentTokenNo(), token_};
}

void TVTRExpressionParser::Back(const Mark& mark) {
  lexer_.SetCurrentTokenNo(mark.position);
  token_ = mark.token;
}

void TVTRExpressionParser::Next() {
  lexer_.GetNextToken(token_);
}

TVTRExpressionParser::Level TVTRExpressionParser::Enter() {
  if (depth_ == kMaxNesting)
    throw EVTRException::CreateFmt(30483, "Expression nested too deeply at line %d, column %d", token_.line,
                                   token_.column);
  ++depth_;
  return Level{depth_};
}

TVTRExprNodePtr TVTRExpressionParser::FirstAlternative(Choice choice,
                                                       std::initializer_list<Parse> alternatives) {
  const Mark start = Here();
  const auto key = std::pair(choice, start.position);
  if (const auto known = outcomes_.find(key); known != outcomes_.end()) {
    if (known->second.winner >= 0) return (this->*alternatives.begin()[known->second.winner])();
    failed_at_ = known->second.failed_at;
    return nullptr;
  }
  int32_t tried = 0;
  for (const Parse alternative : alternatives) {
    if (TVTRExprNodePtr node = (this->*alternative)()) {
      outcomes_[key] = {tried, {}};
      return node;
    }
    // An alternative that fails at its first token (EXISTS before a value)
    // does not hide where a longer one stopped.
    if (tried == 0 || lexer_.GetCurrentTokenNo() != start.position) failed_at_ = token_;
    Back(start);
    ++tried;
  }
  outcomes_[key] = {-1, failed_at_};
  return nullptr;
}

TVTRExprOperator TVTRExpressionParser::WordOperator(WordOperators words) const {
  for (const auto& [word, op] : words)
    if (AtWord(word)) return op;
  return eoNone;
}

bool TVTRExpressionParser::AtWord(int16_t word) const {
  return IsReservedWordToken(token_, word);
}

bool TVTRExpressionParser::AtSymbol(std::string_view symbol) const {
  return token_.kind == tktString && token_.text == symbol;
}

const TVTRVariant* TVTRExpressionParser::ParameterValue() const {
  return token_.kind == tktParameter ? token_.value : nullptr;
}

void TVTRExpressionParser::Expect(TVTRTokenKind kind, int32_t code, std::string_view shown) {
  if (token_.kind != kind) RaiseTokenExpected(code, shown);
  Next();
}

void TVTRExpressionParser::ExpectWord(int16_t word, int32_t code) {
  if (!AtWord(word)) RaiseTokenExpected(code, ReservedWordTable[word]);
  Next();
}

void TVTRExpressionParser::RaiseFound(int32_t code, std::string_view what) const {
  throw EVTRException::CreateFmt(code, std::string(what) + " expected, but '%s' found at line %d, column %d",
                                 token_.text, token_.line, token_.column);
}

void TVTRExpressionParser::RaiseConditionExpected(int32_t code, std::string_view what) const {
  throw EVTRException::CreateFmt(code, std::string(what) + " expected, but '%s' found at line %d, column %d",
                                 failed_at_.text, failed_at_.line, failed_at_.column);
}

void TVTRExpressionParser::RaiseTokenExpected(int32_t code, std::string_view expected) const {
  throw EVTRException::CreateFmt(code, "Token '%s' expected, but '%s' found at line %d, column %d", expected,
                                 token_.text, token_.line, token_.column);
}

void TVTRExpressionParser::RaiseArgumentExpected(int32_t code, std::string_view function) const {
  throw EVTRException::CreateFmt(code, "Argument expected for function '%s' at line %d, column %d", function,
                                 token_.line, token_.column);
}

void TVTRExpressionParser::RaiseStringArgumentExpected(int32_t code, std::string_view function) const {
  throw EVTRException::CreateFmt(
      code, "String argument expected for function '%s', but '%s' found at line %d, column %d", function,
      token_.text, token_.line, token_.column);
}
