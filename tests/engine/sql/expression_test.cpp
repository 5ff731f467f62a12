// The expression object: registration, conjunct handling, field references
// and the unit's small routines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/engine/sql/ExpressionTable.h"
#include "tests/engine/sql/TreeDescription.h"
#include "tests/support/EngineErrors.h"

namespace {

TEST(Expression, TheStartUpRegistersTheSqlEnginesExpressions) {
  InitializeSQLEngine();
  const std::unique_ptr<TVTRExpression> expression = CreateExpression();
  EXPECT_NE(dynamic_cast<TVTRSQLExpression*>(expression.get()), nullptr);
  EXPECT_TRUE(expression->IsEmpty());
  EXPECT_EQ(NativeErrorOf([&] { expression->GetBooleanValue(); }), 30110);
}

TEST(Expression, ParsingWithoutATokenReportsTheEndOfTheCommand) {
  ParsedExpression condition("a = 1");
  TToken past_end;
  condition.Lexer().GotoToken(3, past_end);
  EXPECT_EQ(NativeErrorOf([&] { condition.Condition(); }), 30118);
  EXPECT_EQ(NativeErrorOf([&] { condition.Value(); }), 30136);
  ParsedExpression nothing("ORDER BY a");
  EXPECT_TRUE(nothing.Value().IsEmpty());
}

TEST(Expression, OnlyAFieldReferenceHasAFieldName) {
  ParsedExpression field_text("t.amount");
  TVTRSQLExpression& field = field_text.Value();
  std::string table, name;
  ASSERT_TRUE(field.IsField());
  field.GetFieldName(table, name);
  EXPECT_EQ(table + "." + name, "t.amount");
  ParsedExpression sum_text("amount + 1");
  TVTRSQLExpression& sum = sum_text.Value();
  EXPECT_FALSE(sum.IsField());
  EXPECT_EQ(EngineErrorMessageOf([&] { sum.GetFieldName(table, name); }),
            "Node is not field - Native error: 30198");
}

TEST(Expression, NestedConjunctionsJoinTheRootAtItsEnd) {
  ParsedExpression parsed("(a = 1 AND b = 2) AND c = 3 AND (d = 4 OR e = 5)");
  EXPECT_EQ(Describe(*parsed.Condition().Root()), "AND(=(c,3),OR(=(d,4),=(e,5)),=(a,1),=(b,2))");
}

TEST(Expression, SelectListAliasesNameTheirFields) {
  ParsedExpression parsed("total > 5 AND x.total < 9 AND y.total = 1 AND calc = 2");
  TVTRSQLExpression& condition = parsed.Condition();
  std::vector<TVTRSelectListItem> items(2);
  items[0].TableName = "x";
  items[0].FieldName = "amount";
  items[0].Alias = "TOTAL";
  items[1].FieldName = "price * 2";
  items[1].IsExpression = true;
  items[1].Alias = "calc";
  condition.MatchSelectList(items);
  EXPECT_EQ(Describe(*condition.Root()), "AND(>(x.amount,5),<(x.amount,9),=(y.total,1),=(calc,2))");
}

TEST(Expression, CoveredConjunctsLeaveDuringAScanAndComeBackAfterIt) {
  ExpressionTable table({{"a", adtInteger}, {"b", adtInteger}}, {{Integer(1), Integer(3)}});
  table.ReadRow(0);
  TVTRSQLExpression filter;
  filter.ParseFilter(table.Cursor(), "a = 1 AND b = 2", false, false);
  filter.AssignRecordBuffer(table.Record(), 0);
  TVTRExprNode* covered = &filter.Root()->Operand(1);

  TVTRScanSearchConditionArray conditions;
  TVTRScanSearchCondition condition;
  condition.IndexID = 7;
  condition.AddCovered(&filter, covered);
  conditions.AddCondition(condition);
  filter.RemoveScanConditionNode(conditions, 0, -1);
  EXPECT_EQ(Describe(*filter.Root()), "AND(=(a,1))");
  EXPECT_TRUE(filter.GetBooleanValue());
  filter.AppendConjunct(covered);
  EXPECT_FALSE(filter.GetBooleanValue());

  // A node the root does not hold cannot be taken out.
  TVTRSQLExpression other;
  other.ParseFilter(table.Cursor(), "a = 1", false, false);
  TVTRScanSearchCondition foreign;
  foreign.IndexID = 7;
  foreign.AddCovered(&filter, other.Root());
  conditions.AddCondition(foreign);
  EXPECT_EQ(NativeErrorOf([&] { filter.RemoveScanConditionNode(conditions, 1, -1); }), 20059);

  // A covered root leaves the expression empty.
  TVTRScanSearchCondition whole;
  whole.IndexID = 7;
  whole.AddCovered(&other, other.Root());
  conditions.AddCondition(whole);
  TVTRExprNode* root = other.Root();
  other.RemoveScanConditionNode(conditions, -1, 2);
  EXPECT_TRUE(other.IsEmpty());
  other.AppendConjunct(root);
  EXPECT_FALSE(other.IsEmpty());
}

TEST(Expression, AFieldComparisonIsBoundWhenACursorComes) {
  ExpressionTable table({{"a", adtInteger}}, {{Integer(4)}});
  table.ReadRow(0);
  TVTRSQLExpression search;
  search.BuildFieldComparison(nullptr, "a", Integer(3), eoGreater);
  search.AssignCursor(table.Cursor(), nullptr, nullptr);
  EXPECT_TRUE(search.GetBooleanValue());
  search.BuildFieldComparison(&table.Cursor(), "a", Integer(4), eoNotEqual);
  EXPECT_FALSE(search.GetBooleanValue());
}

TEST(Expression, FieldListsAreSplitTrimmedAndUpperCased) {
  struct Case {
    const char* text;
    std::vector<std::string> items;
  };
  const Case cases[] = {
      {" name ; city;", {"NAME", "CITY"}},
      {"a;;b", {"A", "", "B"}},
      {"", {}},
  };
  for (const Case& c : cases) {
    TStringList list;
    list.Add("old");
    SplitFieldList(list, c.text);
    std::vector<std::string> items;
    for (int i = 0; i < list.Count(); ++i) items.push_back(list[i]);
    EXPECT_EQ(items, c.items) << c.text;
  }
  EXPECT_EQ(AdvancedTypeByName("varchar"), adtString);
  EXPECT_EQ(AdvancedTypeByName("NUMBER"), adtUnknown);
}

}  // namespace
