// Aggregates reset and accumulated over a cursor's rows, as the grouping
// operator drives them.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "platform/rtl/ArithmeticError.h"
#include "tests/engine/sql/ExpressionTable.h"
#include "tests/support/EngineErrors.h"

namespace {

// The aggregate's value over every row of the table, computed twice to show
// that a reset starts the group afresh.
std::string Aggregate(ExpressionTable& table, const char* text) {
  ParsedExpression parsed(text);
  TVTRSQLExpression& expression = parsed.Value();
  EXPECT_TRUE(expression.IsAggregated());
  expression.AssignCursor(table.Cursor(), nullptr, nullptr);
  std::string shown[2];
  for (std::string& value : shown) {
    expression.ResetAggregates();
    table.Cursor().First();
    while (table.Cursor().GetRecord(fmNext) == grOK) expression.Accumulate();
    const TVTRVariant* result = expression.GetValue(true);
    value = result->IsNull() ? "NULL" : result->GetAsString();
  }
  EXPECT_EQ(shown[0], shown[1]) << text;
  return shown[0];
}

TEST(Aggregates, CountSumAndAverageSkipNullsAndDistinctOnesSkipRepeats) {
  ExpressionTable table(
      {{"v", adtInteger}, {"s", adtString, 5}},
      {{Integer(1), Text("a")}, {Integer(1), Text("B")}, {Integer(2), Text("b")}, {Null(), Null()}});
  const std::pair<const char*, const char*> cases[] = {
      {"COUNT(*)", "4"},
      {"COUNT(v)", "3"},
      {"SUM(v)", "4"},
      {"AVG(v)", "1.33333333333333"},
      {"MIN(v)", "1"},
      {"MAX(v)", "2"},
      {"COUNT DISTINCT (v)", "2"},
      {"SUM DISTINCT (v)", "3"},
      {"AVG DISTINCT (v)", "1.5"},
      {"MIN DISTINCT (v)", "1"},
      {"COUNT DISTINCT (s)", "3"},
      {"MAX(s)", "B"},  // "b" equals it ignoring case
      {"SUM(v) * 10 + COUNT(*)", "44"},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(Aggregate(table, text), value) << text;
}

TEST(Aggregates, MaxIgnoresCaseAndAllNullSumsAreNull) {
  ExpressionTable table({{"s", adtString, 5}, {"v", adtInteger}}, {{Text("a"), Null()}, {Text("B"), Null()}});
  EXPECT_EQ(Aggregate(table, "MAX(s)"), "B");
  EXPECT_EQ(Aggregate(table, "MIN(s)"), "a");
  EXPECT_EQ(Aggregate(table, "SUM(v)"), "NULL");
  EXPECT_EQ(Aggregate(table, "AVG(v)"), "NULL");
  EXPECT_EQ(Aggregate(table, "COUNT(v)"), "0");
}

TEST(Aggregates, IntegerSumsAreKeptIn64BitsAndRefuseToWrap) {
  ExpressionTable amounts({{"v", adtInteger}}, {{Integer(2000000000)}, {Integer(2000000000)}});
  EXPECT_EQ(Aggregate(amounts, "SUM(v)"), "4000000000");
  EXPECT_EQ(Aggregate(amounts, "AVG(v)"), "2000000000");

  TVTRVariant largest;
  largest.SetAsLargeInt(std::numeric_limits<int64_t>::max());
  ExpressionTable huge({{"v", adtLargeInt}}, {{largest}, {Integer(1)}});
  EXPECT_THROW(Aggregate(huge, "SUM(v)"), EIntOverflow);
}

TEST(Aggregates, SumsOfTextAreRefused) {
  ExpressionTable table({{"s", adtString, 5}}, {{Text("a")}});
  ParsedExpression parsed("SUM(s)");
  TVTRSQLExpression& expression = parsed.Value();
  expression.AssignCursor(table.Cursor(), nullptr, nullptr);
  table.ReadRow(0);
  EXPECT_EQ(NativeErrorOf([&] { expression.Accumulate(); }), 30132);
}

}  // namespace
