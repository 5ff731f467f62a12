// Conditions over an operator tree: conjuncts pushed down to the nodes that
// can test them, join pairs taken out, and the rows the filters leave.
#include "tests/engine/sql/TreeDescription.h"
#include "tests/engine/sql/operators/OperatorFixture.h"

namespace {

class TreeConditions : public OperatorTest {
 protected:
  void SetUp() override { CreateJoinTables(); }

  std::unique_ptr<TVTRAOJoin> Join(TVTRJoinType type) {
    const TVTRFields left = Fields({"t1.id"}), right = Fields({"t2.id"});
    return std::make_unique<TVTRAOJoin>(Node("t1"), nullptr, &right, &left, false, type, Node("t2"));
  }

  static std::string FilterOf(const TVTRAO& node) {
    return node.Filter && node.Filter->Root() ? Describe(*node.Filter->Root()) : "";
  }
};

TEST_F(TreeConditions, PushDownGivesEachConjunctToTheDeepestNodeButNotIntoAnOuterJoin) {
  const std::string where = "t1.x = 'a' AND t2.y = 'p' AND t1.x = t2.y";
  auto inner = Join(jtInner);
  std::unique_ptr<TVTRSQLExpression> condition = Condition(where);
  condition->PushDown(inner.get(), nullptr, nullptr);
  EXPECT_TRUE(condition->IsEmpty());
  EXPECT_EQ(FilterOf(*inner->LeftNode()), "=(t1.x,'a')");
  EXPECT_EQ(FilterOf(*inner->RightNode()), "=(t2.y,'p')");
  EXPECT_EQ(FilterOf(*inner), "=(t1.x,t2.y)");

  auto left = Join(jtLeft);
  condition = Condition(where);
  condition->PushDown(left.get(), nullptr, nullptr);
  EXPECT_EQ(FilterOf(*left->LeftNode()), "");
  EXPECT_EQ(FilterOf(*left->RightNode()), "");
  EXPECT_EQ(FilterOf(*left), "AND(=(t1.x,'a'),=(t2.y,'p'),=(t1.x,t2.y))");
}

TEST_F(TreeConditions, PushedDownFiltersLeaveOnlyTheRowsThatPassThem) {
  struct Case {
    const char* where;
    Rows rows;
  };
  const Case cases[] = {
      {"t1.x = 'a' AND t2.y = 'q'", {"a-q"}},
      {"t1.x <> 'b' AND (t2.y = 'p' OR t1.x = 'c')", {"a-p"}},
      {"t1.x > t2.y", {}},
      {"t1.x < t2.y AND t1.id = 1", {"a-p", "a-q", "b-p", "b-q"}},
  };
  for (const Case& c : cases) {
    auto join = Join(jtInner);
    Condition(c.where)->PushDown(join.get(), nullptr, nullptr);
    std::vector<TVTRSelectListItem> items = Items({"x", "y"});
    join->ApplySelectList(items, false);
    join->Execute(true, nullptr, nullptr);
    EXPECT_EQ(Sorted(Read(*join)), c.rows) << c.where;
  }
}

TEST_F(TreeConditions, ExtractJoinFieldsTakesTheEqualitiesBetweenTheInputs) {
  auto left = Node("t1");
  auto right = Node("t2");
  std::unique_ptr<TVTRSQLExpression> condition = Condition("t2.id = t1.id AND t1.x > 'a' AND t1.id = 1");
  TVTRFields first, second;
  EXPECT_EQ(condition->ExtractJoinFields(left.get(), right.get(), first, second), 1);
  ASSERT_EQ(first.Count(), 1);
  EXPECT_EQ(first.Item(0).TableName + "." + first.Item(0).FieldName, "t2.id");
  EXPECT_EQ(second.Item(0).TableName + "." + second.Item(0).FieldName, "t1.id");
  EXPECT_EQ(Describe(*condition->Root()), "AND(>(t1.x,'a'),=(t1.id,1))");

  condition = Condition("t1.id = t2.id");
  EXPECT_EQ(condition->ExtractJoinFields(left.get(), right.get(), first, second), 1);
  EXPECT_TRUE(condition->IsEmpty());

  auto other = Node("t1", "u");
  condition = Condition("id = u.id");
  EXPECT_EQ(NativeErrorOf([&] { condition->ExtractJoinFields(left.get(), other.get(), first, second); }), 10404);
  condition = Condition("u.id = id");
  EXPECT_EQ(NativeErrorOf([&] { condition->ExtractJoinFields(left.get(), other.get(), first, second); }), 10405);
}

}  // namespace
