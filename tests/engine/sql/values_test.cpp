// Values of expressions on a row whose s and n are NULL: NULL rules,
// arithmetic, functions, CASE and CAST, and the limits of lengths and ranges.
#include <gtest/gtest.h>

#include <string>

#include "tests/engine/sql/ExpressionTable.h"
#include "tests/support/EngineErrors.h"

namespace {

class Values : public ::testing::Test {
 protected:
  Values() { table_.ReadRow(0); }

  // The value of the expression on the row.
  TVTRVariant ValueOf(const char* text, bool condition = false) {
    ParsedExpression parsed(text);
    TVTRSQLExpression& expression = condition ? parsed.Condition() : parsed.Value();
    expression.AssignCursor(table_.Cursor(), nullptr, nullptr);
    return *expression.GetValue(true);
  }

  int32_t ErrorCodeOf(const char* text) {
    return NativeErrorOf([&] { ValueOf(text); });
  }

  ExpressionTable table_{{{"s", adtString, 20}, {"n", adtInteger}, {"x", adtInteger}},
                         {{Null(), Null(), Integer(7)}}};
};

std::string Shown(const TVTRVariant& value) {
  return value.IsNull() ? "NULL" : value.GetAsString();
}

TEST_F(Values, FollowTheEnginesNullArithmeticAndFunctionRules) {
  struct Case {
    const char* text;
    TVTRBaseDataType type;
    const char* value;
  };
  const Case cases[] = {
      {"7 / 2", bdtInteger, "3"},
      {"7.0 / 2", bdtDouble, "3.5"},
      {"x * 2 - 1", bdtInteger, "13"},
      {"n + 5", bdtInteger, "5"},
      {"5 + n", bdtInteger, "NULL"},
      {"'a' || s", bdtString, "a"},
      {"1 + 2 || 'x'", bdtString, "12x"},
      {"ROUND(2.5)", bdtInteger, "2"},
      {"ROUND(3.5)", bdtInteger, "4"},
      {"CEIL(-1.5)", bdtInteger, "-1"},
      {"FLOOR(-1.5)", bdtInteger, "-2"},
      {"SIGN(-0.1)", bdtInteger, "-1"},
      {"ABS(-x)", bdtInteger, "7"},
      {"SQR(x)", bdtInteger, "49"},
      {"POWER(2, 10)", bdtDouble, "1024"},
      {"LENGTH(s)", bdtInteger, "0"},
      {"LENGTH('abc' || x)", bdtInteger, "4"},
      {"UPPER('a' || s || 'b')", bdtString, "AB"},
      {"UPPER(s)", bdtString, "NULL"},
      {"TRIM('  ab  ')", bdtString, "ab"},
      {"POSITION('b' IN 'abc')", bdtInteger, "2"},
      {"POSITION('x' IN 'abc')", bdtInteger, "0"},
      {"SUBSTRING('abcdef' FROM 3)", bdtString, "cdef"},
      {"SUBSTRING('abcdef' FROM 0 FOR 2)", bdtString, "ab"},
      {"SUBSTRING('abc' FROM 5 FOR 2)", bdtString, ""},
      {"SUBSTRING(s FROM 1 FOR 2)", bdtString, "NULL"},
      {"CAST('abcdef' AS VARCHAR(3))", bdtString, "abc"},
      {"CAST(x AS VARCHAR) || '!'", bdtString, "7!"},
      {"CASE NULL WHEN NULL THEN 'a' END", bdtString, "a"},
      {"CASE 'abc' WHEN 'ABC' THEN 1 END", bdtInteger, "1"},
      {"CASE WHEN x = 1 THEN 'one' END", bdtString, "NULL"},
      {"CASE WHEN 1 = 1 THEN NULL ELSE 'x' END", bdtString, "NULL"},
      {"MIMETOBIN('QUJD')", bdtString, "ABC"},
      {"TODATE('25/12/2004', 'DD/MM/YYYY')", bdtDate, "25/12/2004"},
      {"TOSTRING(TODATE('25/12/2004', 'DD/MM/YYYY'), 'YYYY')", bdtString, "2004"},
      {"2147483646", bdtInteger, "2147483646"},
      {"2147483647", bdtLargeInt, "2147483647"},
  };
  for (const Case& c : cases) {
    const TVTRVariant value = ValueOf(c.text);
    EXPECT_EQ(Shown(value), c.value) << c.text;
    if (!value.IsNull()) {
      EXPECT_EQ(value.DataType(), c.type) << c.text;
    }
  }
}

TEST_F(Values, ConditionsAreThreeValued) {
  // s LIKE 'a%' is NULL on this row.
  const std::pair<const char*, const char*> cases[] = {
      {"(s LIKE 'a%') AND FALSE", "False"},
      {"(s LIKE 'a%') AND TRUE", "NULL"},
      {"(s LIKE 'a%') OR TRUE", "True"},
      {"(s LIKE 'a%') OR FALSE", "NULL"},
      {"NOT (s LIKE 'a%')", "NULL"},
      {"n IN (1, 2)", "NULL"},
      {"2 IN (1, NULL)", "False"},
      {"n NOT IN (1, 2)", "NULL"},
      {"'B' BETWEEN 'a' AND 'c'", "True"},
      {"n = NULL", "False"},
      {"n <> 1", "True"},
      {"'abc' LIKE 'a_c'", "True"},
      {"'abc' LIKE 'A%'", "False"},
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(Shown(ValueOf(text, true)), shown) << text;
}

TEST_F(Values, ANullConditionCountsAsFalseUnlessTheCallerKeepsIt) {
  ParsedExpression parsed("s LIKE 'a%'");
  TVTRSQLExpression& expression = parsed.Condition();
  expression.AssignCursor(table_.Cursor(), nullptr, nullptr);
  const TVTRVariant* kept = expression.GetValue(true);
  EXPECT_TRUE(kept->IsNull());
  EXPECT_FALSE(expression.GetBooleanValue());
  // The root's own value is replaced.
  EXPECT_EQ(expression.GetValue(false), kept);
  EXPECT_EQ(Shown(*kept), "False");
  EXPECT_TRUE(expression.GetValue(true)->IsNull());
}

TEST_F(Values, NumericFunctionsRefuseNullAndResultsOutsideTheirType) {
  EXPECT_EQ(ErrorCodeOf("COS(n)"), 30016);
  EXPECT_EQ(ErrorCodeOf("SUBSTRING('abc' FROM n)"), 30016);
  EXPECT_EQ(ErrorCodeOf("POSITION(s IN 'abc')"), 30016);
  // CEIL, FLOOR and ROUND give INTEGERs: a wider result is a conversion error, never a wrapped one.
  EXPECT_EQ(ErrorCodeOf("CEIL(3000000000.5)"), 30051);
  EXPECT_EQ(ErrorCodeOf("FLOOR(-3000000000.5)"), 30051);
  EXPECT_EQ(ErrorCodeOf("ROUND(1E10)"), 30051);
  EXPECT_EQ(Shown(ValueOf("ROUND(2147483647.4)")), "2147483647");
}

TEST_F(Values, LengthsTakenFromExpressionsAreBounded) {
  const std::pair<const char*, const char*> cases[] = {
      {"RAND(0)", "0"},
      {"RAND(-5)", "0"},
      {"RAND(1)", "0"},
      {"CAST('abc' AS VARCHAR(0 - 2))", ""},
      {"SUBSTRING('abcdef' FROM 2 FOR 0 - 1)", ""},
      {"SUBSTRING('abcdef' FROM 0 - 2147483647 FOR 2147483647)", "abcdef"},
      {"SUBSTRING('abcdef' FROM 2147483647 FOR 2147483647)", ""},
      {"SUBSTRING('abcdef' FROM 3 FOR 2147483647)", "cdef"},
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(Shown(ValueOf(text)), shown) << text;
}

TEST_F(Values, TypesAndSizesDescribeTheResultColumn) {
  struct Case {
    const char* text;
    TVTRAdvancedDataType type;
    int32_t size;
  };
  const Case cases[] = {
      {"CAST(12 AS VARCHAR)", adtString, 11},
      {"CAST(s AS CHAR(4))", adtChar, 4},
      {"'ab' || s", adtString, 22},
      {"s || 12", adtString, 31},
      {"CASE WHEN x = 1 THEN 'one' ELSE s END", adtString, 20},
      {"TOSTRING(x, 'DD/MM/YYYY')", adtString, 10},
      {"SUBSTRING(s FROM 2 FOR 3)", adtString, 20},
      {"x + 1.5", adtFloat, 0},
      {"COUNT(*)", adtInteger, 0},
      {"SUM(x)", adtLargeInt, 0},
      {"AVG(x)", adtFloat, 0},
  };
  for (const Case& c : cases) {
    ParsedExpression parsed(c.text);
    TVTRSQLExpression& expression = parsed.Value();
    expression.AssignCursor(table_.Cursor(), nullptr, nullptr);
    EXPECT_EQ(expression.GetDataType(), c.type) << c.text;
    EXPECT_EQ(expression.GetDataSize(), c.size) << c.text;
  }
}

TEST_F(Values, RownumCountsItsEvaluations) {
  ParsedExpression parsed("ROWNUM");
  TVTRSQLExpression& expression = parsed.Value();
  for (const char* expected : {"1", "2", "3"}) EXPECT_EQ(Shown(*expression.GetValue(true)), expected);
}

}  // namespace
