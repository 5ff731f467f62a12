#pragma once
// The expression parser: recursive descent with backtracking over the
// tokens of the lexer's current command. At most levels several
// alternatives are tried in a fixed order from the same token, and the first
// that succeeds wins; the order decides how ambiguous texts are read.
//
// A routine that fails returns nil, having freed what it built; its caller
// puts the lexer back where the alternative started. Syntax errors raise
// EVTRException with the token's text, line and column.
//
// Levels, loosest first:
//   condition     conjunction {OR conjunction}                 ParseConditions.cpp
//   conjunction   negation {AND negation}
//   negation      [NOT] truth-test
//   truth-test    boolean-unit [IS [NOT] TRUE|FALSE|UNKNOWN]
//   boolean-unit  "(" condition ")" | predicate
//   predicate     truth constant | quantified comparison | comparison | LIKE
//                 | IS NULL | BETWEEN | IN | EXISTS
//   operand       scalar subquery | NULL | value               ParseValues.cpp
//   value         additive | concatenation | TRUE|FALSE | NULL | MIMETOBIN
//   additive      term {(+|-) term}, not followed by "||"
//   term          signed-factor {(*|/) signed-factor}
//   signed-factor [+|-] factor
//   factor        base-term (not a text constant) | numeric function
//   base-term     literal | field | COUNT(*) | aggregate | scalar subquery | CASE
//                 | "(" value ")" | CAST
//   concatenation concatenation-term {(|| | +) concatenation-term}
//   concatenation-term  base-term | text function | date function or date parameter
// Functions are in ParseFunctions.cpp, CASE, CAST and aggregates in
// ParseCompound.cpp, subqueries in ParseSubqueries.cpp.
#include <cstdint>
#include <initializer_list>
#include <map>
#include <string_view>
#include <utility>

#include "engine/foundation/VTRLexer.h"
#include "engine/sql/expression/ExpressionOptions.h"
#include "engine/sql/nodes/ExprNode.h"

class TVTRCursor;
struct TVTRQueryContext;

inline constexpr int32_t kMaxNesting = 200;

class TVTRExpressionParser {
 public:
  // `token` is the current token, kept in step with the lexer's cursor;
  // field references are bound to `cursor` when it is given. Subqueries
  // run in the statement's `query`; without one (a dataset filter, whose
  // text is gone once parsed) a subquery raises 30199
  // and LASTAUTOINC is refused, as in Locate and searches.
  TVTRExpressionParser(TVTRLexer& lexer, TToken& token, TVTRCursor* cursor,
                       const TVTRExpressionOptions& options, const TVTRQueryContext* query);

  // A condition; when none can be read 30066 "Boolean expression expected".
  TVTRExprNodePtr ParseCondition();
  // A value expression, or nil.
  TVTRExprNodePtr ParseValue();

 private:
  struct Mark {
    int32_t position;
    TToken token;
  };
  using Parse = TVTRExprNodePtr (TVTRExpressionParser::*)();
  using WordOperators = std::initializer_list<std::pair<int16_t, TVTRExprOperator>>;

  // The places that choose among alternatives.
  enum class Choice : uint8_t { Predicate, Value, BaseTerm, ConcatenationTerm };
  struct Outcome {
    int32_t winner;    // the alternative that succeeded; -1 none
    TToken failed_at;  // with none: failed_at_
  };

  // One level of nesting, left when the guard goes.
  struct Level {
    int32_t& depth;
    ~Level() { --depth; }
  };

  // ParserTokens.cpp
  // Enters a level of nesting: every recursion of the grammar passes a
  // factor, a concatenation term or a boolean unit, which enter one. Deeper
  // than kMaxNesting raises 30483, before the stack could run out.
  [[nodiscard]] Level Enter();
  // The node of the first alternative that succeeds, each tried from the
  // current token; nil, back on that token, when none does. The same tokens
  // always parse the same way, so the outcome is kept: a second parse from
  // the same token (backtracking re-reads operands) tries only the
  // alternative that won. Nested parentheses then cost linear time, not
  // time doubling with each level.
  TVTRExprNodePtr FirstAlternative(Choice choice, std::initializer_list<Parse> alternatives);
  Mark Here() const;
  void Back(const Mark& mark);
  void Next();
  bool AtWord(int16_t word) const;
  bool AtSymbol(std::string_view symbol) const;
  bool AtKind(TVTRTokenKind kind) const { return token_.kind == kind; }
  // The operator the current token stands for among the words; eoNone when none.
  TVTRExprOperator WordOperator(WordOperators words) const;
  // The parameter's value when the current token is a parameter, else nil.
  const TVTRVariant* ParameterValue() const;
  // Steps over the token, which must be of the kind: else `code` "Token
  // '<shown>' expected, but ... found".
  void Expect(TVTRTokenKind kind, int32_t code, std::string_view shown);
  void ExpectWord(int16_t word, int32_t code);
  [[noreturn]] void RaiseFound(int32_t code, std::string_view what) const;
  // RaiseFound at the token where the last failed alternative stopped.
  [[noreturn]] void RaiseConditionExpected(int32_t code, std::string_view what) const;
  [[noreturn]] void RaiseTokenExpected(int32_t code, std::string_view expected) const;
  [[noreturn]] void RaiseArgumentExpected(int32_t code, std::string_view function) const;
  [[noreturn]] void RaiseStringArgumentExpected(int32_t code, std::string_view function) const;

  // ParseConditions.cpp
  // A condition; when none can be read: `missing_code` "<missing> expected, but ... found".
  TVTRExprNodePtr ParseCondition(int32_t missing_code, std::string_view missing);
  TVTRExprNodePtr ParseConjunction();
  TVTRExprNodePtr ParseNegation();
  TVTRExprNodePtr ParseTruthTest();
  TVTRExprNodePtr ParseBooleanUnit();
  TVTRExprNodePtr ParsePredicate();
  TVTRExprNodePtr ParseTruthConstant();
  TVTRExprNodePtr ParseComparison();
  // operand OP (ANY | SOME | ALL) subquery.
  TVTRExprNodePtr ParseQuantifiedComparison();
  TVTRExprNodePtr ParseLike();
  TVTRExprNodePtr ParseIsNull();
  TVTRExprNodePtr ParseBetween();
  TVTRExprNodePtr ParseIn();
  TVTRExprNodePtr ParseExists();
  // Reads [NOT] followed by the word; false (nothing consumed that matters) otherwise.
  bool ReadNegatedWord(int16_t word, bool& negated);
  // The comparison node, with the partial-compare rule applied to its operands.
  TVTRExprNodePtr MakeComparison(TVTRExprOperator op, TVTRExprNodePtr left, TVTRExprNodePtr right) const;

  // ParseValues.cpp
  TVTRExprNodePtr ParseOperand();
  // NULL, or a parameter whose value is NULL: a NULL INTEGER constant.
  TVTRExprNodePtr ParseNull();
  TVTRExprNodePtr ParseAdditive();
  TVTRExprNodePtr ParseTerm();
  TVTRExprNodePtr ParseSignedFactor();
  TVTRExprNodePtr ParseFactor();
  TVTRExprNodePtr ParseBaseTerm();
  TVTRExprNodePtr ParseLiteral();
  TVTRExprNodePtr ParseFieldReference();
  TVTRExprNodePtr ParseParenthesized();
  TVTRExprNodePtr ParseConcatenation();
  TVTRExprNodePtr ParseConcatenationTerm();
  TVTRExprNodePtr ParseDateParameter();
  // A constant copying the parameter's value when it satisfies `accepts`.
  TVTRExprNodePtr ParseParameter(bool (*accepts)(const TVTRVariant& value));

  // ParseFunctions.cpp
  // The argument `parse` reads; else, back on its first token, `code`
  // "Argument expected for function '<function>'".
  TVTRExprNodePtr RequireArgument(Parse parse, int32_t code, std::string_view function);
  TVTRExprNodePtr ParseNumericFunction();
  TVTRExprNodePtr ParsePosition();
  TVTRExprNodePtr ParseLength();
  TVTRExprNodePtr ParseMathFunction();
  // LASTAUTOINC "(" table [MEMORY] "," field ")"; without a query 30335.
  TVTRExprNodePtr ParseLastAutoinc();
  TVTRExprNodePtr ParsePower();
  TVTRExprNodePtr ParseTextFunction();
  TVTRExprNodePtr ParseSubstring();
  TVTRExprNodePtr ParseToString();
  TVTRExprNodePtr ParseDateFunction();
  TVTRExprNodePtr ParseToDate();
  TVTRExprNodePtr ParseMimeToBin();
  // A text argument: a concatenation or one concatenation term.
  TVTRExprNodePtr ParseTextArgument() { return ParseConcatenation(); }
  // The text of a quoted format, else `code` "Const DateFormat string expected".
  std::string ReadFormat(int32_t code);

  // ParseSubqueries.cpp
  // Any number of "(", a SELECT read by a subquery node, as many ")"; nil
  // when no SELECT stands there. A scalar subquery gives one column and one
  // row, an IN or quantified one one column.
  TVTRExprNodePtr ParseSubquery(bool one_column, bool one_row);
  TVTRExprNodePtr ParseScalarSubquery() { return ParseSubquery(true, true); }

  // ParseCompound.cpp
  TVTRExprNodePtr ParseCountAll();
  TVTRExprNodePtr ParseAggregate();
  TVTRExprNodePtr ParseCase();
  TVTRExprNodePtr ParseCast();

  TVTRLexer& lexer_;
  TToken& token_;
  TVTRCursor* cursor_;
  const TVTRExpressionOptions& options_;
  const TVTRQueryContext* query_;
  // Where the last alternative that failed stopped. When no condition can
  // be read, that is the last alternative of its predicate: "(a + b) > 3"
  // fails at the ")".
  TToken failed_at_;
  int32_t depth_ = 0;
  std::map<std::pair<Choice, int32_t>, Outcome> outcomes_;  // by choice and token position
};
