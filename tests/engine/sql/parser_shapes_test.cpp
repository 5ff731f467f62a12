// The trees texts parse into: precedence, associativity, flattening and the
// order in which ambiguous texts are read.
#include <gtest/gtest.h>

#include <string>

#include "tests/engine/sql/ExpressionTable.h"
#include "tests/engine/sql/TreeDescription.h"
#include "tests/support/EngineErrors.h"

namespace {

struct ShapeCase {
  const char* text;
  const char* tree;
};

std::string ConditionTree(const char* text, const TVTRSQLParams* params = nullptr) {
  ParsedExpression parsed(text, params);
  return Describe(*parsed.Condition().Root());
}

std::string ValueTree(const char* text) {
  ParsedExpression parsed(text);
  return Describe(*parsed.Value().Root());
}

TEST(ExpressionShapes, ConditionsNestAndFlattenAsTheGrammarSays) {
  const ShapeCase cases[] = {
      {"a = 1 OR b = 2 OR c = 3", "OR(OR(=(a,1),=(b,2)),=(c,3))"},
      {"a = 1 AND b = 2 AND c = 3", "AND(=(a,1),=(b,2),=(c,3))"},
      {"a = 1 AND (b = 2 AND c = 3)", "AND(=(a,1),=(b,2),=(c,3))"},
      {"a = 1 OR (b = 2 AND c = 3)", "OR(=(a,1),AND(=(b,2),=(c,3)))"},
      {"NOT a = 1 AND b <> 2", "AND(NOT(=(a,1)),<>(b,2))"},
      {"x IN (1 2 3)", "IN(x,1,2,3)"},
      {"x IN (1, 2, 3)", "IN(x,1,2,3)"},
      {"x NOT BETWEEN 1 AND 5", "NOT BETWEEN(x,1,5)"},
      {"x NOT LIKE 'a%'", "NOT LIKE(x,'a%')"},
      {"x IS NOT NULL", "IS NOT NULL(x)"},
      {"(a = b) IS FALSE", "NOT(=(a,b))"},
      {"(a = b) IS NOT FALSE", "=(a,b)"},
      {"(a = b) IS NOT TRUE", "NOT(=(a,b))"},
      {"(a = b) IS UNKNOWN", "IS NULL(=(a,b))"},
      {"3 < (a + b)", "<(3,ADD(a,b))"},
      {"t.a >= -1", ">=(t.a,NEG(1))"},
      // A lone text operand: constants, parameters and text functions.
      {"s = 'abc'", "=(s,'abc')"},
      {"s = \"ABC\"", "=(s,'ABC')"},
      {"s IN ('ABC')", "IN(s,'ABC')"},
      {"UPPER(s) LIKE 'A%'", "LIKE(UPPER(s),'A%')"},
      {"CASE WHEN s LIKE 'a%' THEN 1 ELSE 0 END = 0", "=(CASE(LIKE(s,'a%'),1,0),0)"},
  };
  for (const ShapeCase& c : cases) EXPECT_EQ(ConditionTree(c.text), c.tree) << c.text;
}

TEST(ExpressionShapes, ValuesKeepTheArithmeticAndConcatenationOrder) {
  const ShapeCase cases[] = {
      {"a - b + c", "ADD(a,NEG(b),c)"},
      {"a * b / c", "DIV(MUL(a,b),c)"},
      {"a + b * c", "ADD(a,MUL(b,c))"},
      {"-a * (b - 1)", "MUL(NEG(a),ADD(b,NEG(1)))"},
      {"1 + 2 || 'x'", "CONCAT(1,2,'x')"},
      {"Name + 'x'", "CONCAT(Name,'x')"},
      {"'a' || s || 'b'", "CONCAT('a',s,'b')"},
      {"COUNT DISTINCT (x)", "COUNT(x)"},
      {"COUNT(*)", "COUNT(*)()"},
      {"CAST(x, VARCHAR(10))", "CAST(x,10)"},
      {"CAST(x AS VARCHAR(10))", "CAST(x,10)"},
      {"CAST(x VARCHAR(10))", "CAST(x,10)"},
      {"POS('b', s) + LENGTH(s)", "ADD(POSITION('b',s),LENGTH(s))"},
      {"SUBSTRING(s FROM 2)", "SUBSTRING(s,2)"},
      {"ABS(x) * POWER(2, 3)", "MUL(ABS(x),POWER(2,3))"},
  };
  for (const ShapeCase& c : cases) EXPECT_EQ(ValueTree(c.text), c.tree) << c.text;
}

TEST(ExpressionShapes, ParametersBecomeConstantsByTheTypeOfTheirValue) {
  TVTRSQLParams params;
  TVTRSQLParam& head = params.AddParam();
  head.SetName("head_bill");
  head.SetAsString("B0001");
  TVTRSQLParam& amount = params.AddParam();
  amount.SetName("amount");
  amount.SetAsDouble(2.5);
  TVTRSQLParam& missing = params.AddParam();
  missing.SetName("missing");
  EXPECT_EQ(ConditionTree("substring(bill_no from 1 for 5) = :head_bill", &params),
            "=(SUBSTRING(bill_no,1,5),'B0001')");
  EXPECT_EQ(ConditionTree("name = :head_bill AND total > :amount * 2", &params),
            "AND(=(name,'B0001'),>(total,MUL(2.5,2)))");
  EXPECT_EQ(ConditionTree("name = :missing", &params), "=(name,NULL)");
}

TEST(ExpressionShapes, ParsingStopsAtTheFirstTokenOutsideTheExpression) {
  ParsedExpression condition("(x > 5) AND z = 1 ORDER BY z");
  EXPECT_EQ(Describe(*condition.Condition().Root()), "AND(>(x,5),=(z,1))");
  TToken token;
  ASSERT_TRUE(condition.Lexer().GetCurrentToken(token));
  EXPECT_EQ(token.text, "ORDER");

  ParsedExpression now("NOW()");
  EXPECT_EQ(Describe(*now.Value().Root()), "NOW()");
  ASSERT_TRUE(now.Lexer().GetCurrentToken(token));
  EXPECT_EQ(token.kind, tktLeftParenthesis);
}

}  // namespace

namespace {

// Every level of these re-reads the level inside it once when it backtracks.
TEST(ExpressionShapes, DeepParenthesesParseWithoutReReadingEveryLevelAgain) {
  constexpr int kDepth = 60;
  std::string text_constant = "s = ", concatenations = "s = ";
  for (int i = 0; i < kDepth; ++i) {
    text_constant += "(";
    concatenations += "(";
  }
  text_constant += "'x'";
  concatenations += "'x'";
  for (int i = 0; i < kDepth; ++i) {
    text_constant += ")";
    concatenations += " || 'y')";
  }
  EXPECT_EQ(ConditionTree(text_constant.c_str()), "=(s,'x')");
  const std::string tree = ConditionTree(concatenations.c_str());
  EXPECT_EQ(tree.substr(0, 20), "=(s,CONCAT(CONCAT(CO");
}

TEST(ExpressionShapes, NestingDeeperThanAnyWrittenExpressionIsRefused) {
  const std::string values = "s = " + std::string(5000, '(') + "1" + std::string(5000, ')');
  const std::string conditions = std::string(5000, '(') + "s = 1" + std::string(5000, ')');
  for (const std::string& text : {values, conditions})
    EXPECT_EQ(NativeErrorOf([&] { ConditionTree(text.c_str()); }), 30483);
}

}  // namespace
