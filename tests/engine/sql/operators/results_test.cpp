// Result tables: DISTINCT, sorting, and where intermediate results live.
#include "tests/engine/sql/operators/OperatorFixture.h"

namespace {

class ResultTables : public OperatorTest {
 protected:
  // An item computing the expression, owned by the node that takes it.
  struct ExpressionItem {
    explicit ExpressionItem(std::string_view text) : lexer(text, nullptr) {
      lexer.NextCommand();
      auto expression = std::make_unique<TVTRSQLExpression>();
      expression->ParseValueExpression(nullptr, lexer);
      item.IsExpression = true;
      item.Expression = expression.release();
    }
    TVTRLexer lexer;
    TVTRSelectListItem item;
  };
};

TEST_F(ResultTables, DistinctTreatsNullAsEqualToNull) {
  CreateTable("s", {{"s", adtString, 5}}, {{"a"}, {"NULL"}, {"b"}, {"NULL"}, {"A"}});
  TVTRAOTableExpr projection(Node("s"));
  ExpressionItem upper("UPPER(s)");
  std::vector<TVTRSelectListItem> items = {upper.item};
  projection.ApplySelectList(items, true);
  projection.Execute(true, nullptr, nullptr);
  EXPECT_EQ(Sorted(Read(projection)), Rows({"A", "B", "NULL"}));
}

TEST_F(ResultTables, AParentsSortReplacesTheOrderOfItsInput) {
  CreateTable("n", {{"n", adtInteger}}, {{"2"}, {"1"}, {"3"}});
  auto inner = std::make_unique<TVTRAOTableExpr>(Node("n"));
  std::vector<TVTRSelectListItem> all;
  inner->ApplySelectList(all, false);
  inner->Sort("n", "n", "");
  TVTRAO* child = inner.get();
  TVTRAOTableExpr outer(std::move(inner));
  outer.ApplySelectList(all, false);
  child->Execute(false, nullptr, nullptr);
  EXPECT_EQ(Read(*child), Rows({"3", "2", "1"}));
  child->Sort("n", "", "");
  child->ApplySort(true);
  EXPECT_EQ(Read(*child), Rows({"1", "2", "3"}));
}

TEST_F(ResultTables, AnIntermediateResultLivesUntilItsParentHasReadIt) {
  CreateJoinTables();
  CreateTable("t3", {{"id", adtInteger}, {"z", adtString, 10}}, {{"1", "z1"}});
  {
    const TVTRFields k1 = Fields({"t1.id"}), k2 = Fields({"t2.id"}), k3 = Fields({"t3.id"});
    auto first = std::make_unique<TVTRAOJoin>(Node("t1"), nullptr, &k2, &k1, false, jtInner, Node("t2"));
    TVTRAO* first_join = first.get();
    TVTRAOJoin both(std::move(first), nullptr, &k3, &k1, false, jtInner, Node("t3"));
    std::vector<TVTRSelectListItem> items = Items({"x", "y", "z"});
    both.ApplySelectList(items, false);
    // The first join's result exists between its own execution and its parent's.
    first_join->Execute(false, nullptr, nullptr);
    const std::string first_result = first_join->Result().TableName();
    EXPECT_EQ(TemporaryTables(), std::vector<std::string>({first_result}));
    both.Execute(true, nullptr, nullptr);
    EXPECT_EQ(TemporaryTables(), std::vector<std::string>({both.Result().TableName()}))
        << "the first join's table went once the second had read it";
    EXPECT_EQ(Sorted(Read(both)), Rows({"a-p-z1", "a-q-z1", "b-p-z1", "b-q-z1"}));
  }
  EXPECT_TRUE(TemporaryTables().empty());
}

TEST_F(ResultTables, TopLimitsKeepTheRequestedRowsOfTheFinalOrder) {
  CreateTable("n", {{"n", adtInteger}}, {{"5"}, {"2"}, {"9"}, {"1"}, {"7"}, {"3"}, {"8"}, {"4"}, {"6"}});
  struct Case {
    int64_t first_row, count;
    Rows rows;
  };
  const Case cases[] = {
      {-1, 3, {"1", "2", "3"}},
      {3, 5, {"3", "4", "5", "6", "7"}},
      {-1, 0, {}},
      {8, 5, {"8", "9"}},
  };
  for (const Case& c : cases) {
    TVTRAOTableExpr top(Node("n"));
    std::vector<TVTRSelectListItem> all;
    top.ApplySelectList(all, false);
    top.Sort("n", "", "");
    top.SetTopRowCount(c.first_row, c.count);
    top.Execute(true, nullptr, nullptr);
    EXPECT_EQ(Read(top), c.rows) << c.first_row << ", " << c.count;
  }
}

}  // namespace
