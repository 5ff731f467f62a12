// Syntax errors of filter texts: the code, the token found and its place.
#include <gtest/gtest.h>

#include <string>

#include "tests/engine/sql/ExpressionTable.h"
#include "tests/support/EngineErrors.h"

namespace {

class FilterSyntax : public ::testing::Test {
 protected:
  std::string ErrorOf(const char* filter) {
    TVTRSQLExpression expression;
    return EngineErrorMessageOf([&] { expression.ParseFilter(table_.Cursor(), filter, false, false); });
  }

  ExpressionTable table_{{{"a", adtInteger}, {"b", adtInteger}, {"x", adtInteger}, {"s", adtString, 10}}, {}};
};

TEST_F(FilterSyntax, EveryErrorNamesItsCodeTokenAndPlace) {
  struct Case {
    const char* filter;
    const char* message;
  };
  const Case cases[] = {
      {"(a + b) > 3", "Boolean expression expected, but ')' found at line 1, column 7 - Native error: 30066"},
      {"x IS TRUE", "Boolean expression expected, but 'IS' found at line 1, column 3 - Native error: 30066"},
      {"a = 1 AND", "Boolean expression expected, but 'AND' found at line 1, column 7 - Native error: 30066"},
      {"a = 1 OR NOT",
       "Boolean expression expected, but 'NOT' found at line 1, column 10 - Native error: 30066"},
      {"(a = b) IS MAYBE",
       "Token 'TRUE, FALSE or UNKNOWN' expected, but 'MAYBE' found at line 1, column 12 - Native error: "
       "30067"},
      {"COUNT(DISTINCT x) > 1",
       "Argument expected for function 'COUNT' at line 1, column 7 - Native error: 30102"},
      {"CAST(x AS BLOB) = 1", "Cannot convert an expression to specified type: 'BLOB' - Native error: 30077"},
      {"CAST(x AS NUMBER) = 1",
       "Cannot convert an expression to specified type: 'Unknown' - Native error: 30077"},
      {"   ", "Blank SQL command - Native error: 30119"},
      {"s = UPPER s", "Token '(' expected, but 's' found at line 1, column 11 - Native error: 30090"},
      {"SUBSTRING(s FROM 1 TO 2) = 'a'",
       "Token ')' or ',' or 'FOR' expected, but 'TO' found at line 1, column 20 - Native error: 30103"},
      {"POWER(2 3) = 8", "comma (\",\") expected but not found at line 1, column 9 - Native error: 20267"},
      {"CASE WHEN THEN 1 END = 1",
       "Search Condition for CASE function expected, but 'THEN' found at line 1, column 11 - Native error: "
       "30474"},
      {"CASE s WHEN 'a' 1 END = 1",
       "Token 'THEN' expected, but '1' found at line 1, column 17 - Native error: 30470"},
      {"TODATE(s, DD) = a",
       "Const DateFormat string expected, but 'DD' found at line 1, column 11 - Native error: 30109"},
      {"c = 1", "Field 'c' not found - Native error: 30115"},
      // A filter is one condition: what follows it is refused, not ignored.
      {"a = 1 b = 2", "End of SQL command expected, but 'b' found at line 1, column 7 - Native error: 20260"},
      {"a < NOW()", "End of SQL command expected, but '(' found at line 1, column 8 - Native error: 20260"},
      {"a = 1; b = 2",
       "End of SQL command expected, but 'b' found at line 1, column 8 - Native error: 20260"},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorOf(c.filter), c.message) << c.filter;
}

TEST_F(FilterSyntax, AParenthesisAfterAnOperatorStartsAValue) {
  EXPECT_EQ(ErrorOf("3 < (a + b)"), "");
  EXPECT_EQ(ErrorOf("a = 1;"), "");
}

}  // namespace
