// Joins of two stored tables: which pairs each join type gives.
#include "tests/engine/sql/operators/OperatorFixture.h"

namespace {

class Joins : public OperatorTest {
 protected:
  void SetUp() override { CreateJoinTables(); }

  // The x-y pairs of t1 joined to t2 by the ON condition: its key pairs
  // taken out as a statement takes them, the rest left to the join.
  Rows Join(TVTRJoinType type, std::string_view on) {
    TVTRAOPtr left = Node("t1");
    TVTRAOPtr right = Node("t2");
    std::unique_ptr<TVTRSQLExpression> condition = Condition(on);
    TVTRFields first, second;
    condition->ExtractJoinFields(left.get(), right.get(), first, second);
    const bool rest = !condition->IsEmpty();
    TVTRAOJoin join(std::move(left), type == jtInner || !rest ? nullptr : std::move(condition), &second, &first,
                    false, type, std::move(right));
    if (type == jtInner && rest) join.SetFilter(std::move(condition));
    std::vector<TVTRSelectListItem> items = Items({"x", "y"});
    join.ApplySelectList(items, false);
    join.Execute(true, nullptr, nullptr);
    return Sorted(Read(join));
  }
};

TEST_F(Joins, EachTypeGivesItsPairsAndNullKeysNeverPair) {
  const Rows inner = {"a-p", "a-q", "b-p", "b-q"};
  struct Case {
    TVTRJoinType type;
    Rows rows;
  };
  const Case cases[] = {
      {jtInner, inner},
      {jtLeft, {"a-p", "a-q", "b-p", "b-q", "c-NULL", "d-NULL"}},
      {jtRight, {"NULL-r", "NULL-s", "a-p", "a-q", "b-p", "b-q"}},
      {jtFull, {"NULL-r", "NULL-s", "a-p", "a-q", "b-p", "b-q", "c-NULL", "d-NULL"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Join(c.type, "t1.id = t2.id"), c.rows) << int(c.type);
    EXPECT_EQ(Join(c.type, "t2.id = t1.id"), c.rows) << "pair written the other way round, " << int(c.type);
  }
}

TEST_F(Joins, AnOuterJoinsOnConditionRestrictsThePairs) {
  EXPECT_EQ(Join(jtLeft, "t1.id = t2.id AND t2.y = 'q'"), Rows({"a-q", "b-q", "c-NULL", "d-NULL"}));
  EXPECT_EQ(Join(jtLeft, "t1.id = t2.id AND t1.x = 'a'"), Rows({"a-p", "a-q", "b-NULL", "c-NULL", "d-NULL"}));
  EXPECT_EQ(Join(jtRight, "t1.id = t2.id AND t1.x = 'a'"), Rows({"NULL-r", "NULL-s", "a-p", "a-q"}));
  EXPECT_EQ(Join(jtFull, "t1.id = t2.id AND t2.y = 'q'"),
            Rows({"NULL-p", "NULL-r", "NULL-s", "a-q", "b-q", "c-NULL", "d-NULL"}));
  EXPECT_EQ(Join(jtInner, "t1.id = t2.id AND t2.y = 'q'"), Rows({"a-q", "b-q"}));
}

TEST_F(Joins, ACrossJoinPairsEveryRow) {
  TVTRAOJoin join(Node("t1"), nullptr, nullptr, nullptr, false, jtCross, Node("t2"));
  std::vector<TVTRSelectListItem> items = Items({"x", "y"});
  join.ApplySelectList(items, false);
  join.Execute(true, nullptr, nullptr);
  const Rows rows = Read(join);
  EXPECT_EQ(rows.size(), 16u);
  EXPECT_EQ(std::ranges::count(rows, "d-s"), 1);
}

}  // namespace

namespace {

class MixedKeys : public OperatorTest {};

TEST_F(MixedKeys, KeysOfANumberAndATextPairAsEqualsComparesThem) {
  CreateTable("n", {{"id", adtInteger}, {"x", adtString, 5}}, {{"1", "one"}, {"2", "two"}, {"10", "ten"}});
  CreateTable("t", {{"code", adtString, 5}, {"y", adtString, 5}}, {{"1", "a"}, {"2", "b"}, {"10", "c"}});
  for (const bool number_left : {true, false}) {
    const TVTRFields n_key = Fields({"n.id"}), t_key = Fields({"t.code"});
    std::unique_ptr<TVTRAOJoin> join =
        number_left ? std::make_unique<TVTRAOJoin>(Node("n"), nullptr, &t_key, &n_key, false, jtInner, Node("t"))
                    : std::make_unique<TVTRAOJoin>(Node("t"), nullptr, &n_key, &t_key, false, jtInner, Node("n"));
    std::vector<TVTRSelectListItem> items = Items({"x", "y"});
    join->ApplySelectList(items, false);
    join->Execute(true, nullptr, nullptr);
    EXPECT_EQ(Sorted(Read(*join)), Rows({"one-a", "ten-c", "two-b"})) << number_left;
  }
}

}  // namespace
