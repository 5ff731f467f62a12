// Grouping and TOP nodes over real tables: groups, aggregates, HAVING, the
// empty-input rules, the select-list checks and TOP over computed columns.
#include "engine/sql/operators/AOGroupBy.h"
#include "engine/sql/operators/AOTopRowCount.h"
#include "tests/engine/sql/operators/OperatorFixture.h"

namespace {

class Grouping : public OperatorTest {
 protected:
  void CreateGv() {
    CreateTable("gv", {{"g", adtString, 5}, {"v", adtInteger}}, {{"x", "5"}, {"y", "3"}, {"z", "NULL"}, {"x", "7"}});
  }
  void CreateTen() {
    std::vector<Row> rows;
    for (const int a : {4, 9, 1, 10, 2, 7, 3, 8, 6, 5}) rows.push_back({std::to_string(a)});
    CreateTable("ten", {{"a", adtInteger}}, rows);
  }

  // A grouping node over `input` with the select list applied and executed.
  static std::unique_ptr<TVTRAOGroupBy> Grouped(TVTRAOPtr input, SelectList& list,
                                                 const std::vector<std::string>& group_by,
                                                 const char* having = nullptr) {
    const TVTRFields fields = Fields(group_by);
    auto node = std::make_unique<TVTRAOGroupBy>(std::move(input), list.items, &fields);
    if (having) node->SetFilter(Condition(having));
    node->ApplySelectList(list.items, false);
    return node;
  }
  std::unique_ptr<TVTRAOGroupBy> GroupedGv(SelectList& list, const std::vector<std::string>& group_by,
                                           const char* having = nullptr) {
    return Grouped(Node("gv"), list, group_by, having);
  }
  static Rows Run(TVTRAO& node) {
    node.Execute(true, nullptr, nullptr);
    return Read(node);
  }
};

TEST_F(Grouping, GroupsGiveTheirAggregatesAndHavingKeepsTheMatchingGroups) {
  CreateGv();
  SelectList all{"g", "SUM(v) AS s", "COUNT(v) AS c", "COUNT(*) AS n", "AVG(v) AS m", "MAX(v) AS h"};
  EXPECT_EQ(Run(*GroupedGv(all, {"g"})), Rows({"x-12-2-2-6-7", "y-3-1-1-3-3", "z-NULL-0-1-NULL-NULL"}));
  SelectList having{"g", "SUM(v) AS s", "COUNT(v) AS c", "COUNT(*) AS n"};
  EXPECT_EQ(Run(*GroupedGv(having, {"g"}, "SUM(v) > 10")), Rows({"x-12-2-2"}));
  SelectList counted_only{"COUNT(*) AS n"};
  EXPECT_EQ(Run(*GroupedGv(counted_only, {"g"}, "g <> 'y'")), Rows({"2", "1"}));
  EXPECT_EQ(TemporaryTables(), std::vector<std::string>{});
}

TEST_F(Grouping, PushingDownLeavesOnlyTheAggregateConjunctsOnTheGroupingNode) {
  CreateGv();
  SelectList list{"g", "SUM(v) AS s"};
  auto node = GroupedGv(list, {"g"});
  auto condition = Condition("SUM(v) > 2 AND g <> 'x'");
  condition->PushDown(node.get(), nullptr, nullptr);
  EXPECT_EQ(condition->Root(), nullptr);
  TVTRAO& table = *node->LeftNode()->LeftNode();
  ASSERT_TRUE(table.IsBaseTable);
  ASSERT_TRUE(table.Filter && node->Filter);
  EXPECT_FALSE(table.Filter->IsAggregated());
  EXPECT_TRUE(node->Filter->IsAggregated());
  EXPECT_EQ(Run(*node), Rows({"y-3"}));
}

TEST_F(Grouping, AFilteredStoredTableGroupsOnlyTheRowsItLetsThrough) {
  CreateGv();
  auto table = Node("gv");
  table->SetFilter(Condition("v > 4 OR v IS NULL"));
  SelectList list{"g", "COUNT(*) AS n"};
  EXPECT_EQ(Run(*Grouped(std::move(table), list, {"g"})), Rows({"x-2", "z-1"}));
}

TEST_F(Grouping, GroupKeysCompareCaseSensitivelyAndGroupEndsAreFound) {
  struct Case {
    std::vector<Row> rows;
    Rows groups;
  };
  const Case cases[] = {
      {{}, {"NULL-0"}},
      {{{"a"}}, {"a-1"}},
      {{{"a"}, {"a"}, {"b"}}, {"a-2", "b-1"}},
      {{{"b"}, {"a"}, {"b"}}, {"a-1", "b-2"}},
      {{{"a"}, {"A"}, {"a"}}, {"a-2", "A-1"}},
      {{{"NULL"}, {"c"}, {"NULL"}, {"c"}, {"d"}}, {"NULL-2", "c-2", "d-1"}},
  };
  int table_no = 0;
  for (const Case& c : cases) {
    const std::string name = "k" + std::to_string(++table_no);
    CreateTable(name, {{"k", adtString, 5}}, c.rows);
    SelectList list{"k", "COUNT(*) AS n"};
    EXPECT_EQ(Run(*Grouped(Node(name), list, {"k"})), c.groups) << name;
  }
}

TEST_F(Grouping, AnEmptyInputGivesOneRowOnlyWhenAggregatesAreSelected) {
  CreateTable("e", {{"g", adtString, 5}, {"v", adtInteger}}, {});
  SelectList whole{"COUNT(*) AS n", "SUM(v) AS s"};
  const TVTRFields none;
  TVTRAOGroupBy counted(Node("e"), whole.items, &none);
  counted.ApplySelectList(whole.items, false);
  EXPECT_EQ(Run(counted), Rows({"0-NULL"}));
  SelectList grouped{"g", "COUNT(*) AS n"};
  EXPECT_EQ(Run(*Grouped(Node("e"), grouped, {"g"})), Rows({"NULL-0"}));
  SelectList plain{"g"};
  EXPECT_EQ(Run(*Grouped(Node("e"), plain, {"g"})), Rows({}));
}

TEST_F(Grouping, GroupByNamesAColumnOrTheAliasOfAnItem) {
  CreateGv();
  SelectList aliased{"g AS h", "COUNT(*) AS n"};
  EXPECT_EQ(Run(*GroupedGv(aliased, {"h"})), Rows({"x-2", "y-1", "z-1"}));
  // A computed key: the projection computes it, the grouping groups by it.
  SelectList computed{"v * 2 AS k", "COUNT(*) AS n"};
  auto projection = std::make_unique<TVTRAOTableExpr>(Node("gv"));
  projection->ApplySelectList(computed.items, false);
  EXPECT_EQ(Run(*Grouped(std::move(projection), computed, {"k"})), Rows({"NULL-1", "6-1", "10-1", "14-1"}));
}

TEST_F(Grouping, SelectListAndGroupByMistakesAreRefused) {
  CreateGv();
  const TVTRFields none;
  struct Case {
    std::vector<std::string> group_by;
    int32_t code;
  };
  const Case cases[] = {{{"g"}, 10342}, {{}, 10342}, {{"nothing"}, 20245}, {{"s"}, 20245}};
  for (const Case& c : cases) {
    SelectList list{"g", "v", "SUM(v) AS s"};
    if (c.code == 20245) list.items.erase(list.items.begin() + 1);
    EXPECT_EQ(NativeErrorOf([&] { GroupedGv(list, c.group_by); }), c.code) << testing::PrintToString(c.group_by);
  }
  SelectList counted{"g", "COUNT(*) AS n"};
  EXPECT_EQ(NativeErrorOf([&] {
              TVTRAOGroupBy whole(Node("gv"), counted.items, &none);
              whole.ApplySelectList(counted.items, false);
            }),
            10342);
}

TEST_F(Grouping, TopKeepsTheFirstRowsOfTheFinishedResult) {
  CreateGv();
  CreateTen();
  {
    SelectList list{"g", "COUNT(*) AS n"};
    const TVTRFields fields = Fields({"g"});
    TVTRAOSQLTopRowCount top(std::make_unique<TVTRAOGroupBy>(Node("gv"), list.items, &fields));
    top.ApplySelectList(list.items, false);
    top.Sort("g", "", "");
    top.SetTopRowCount(-1, 2);
    EXPECT_EQ(Run(top), Rows({"x-2", "y-1"}));
  }
  struct Case {
    const char* item;
    const char* order;
    bool descending;
    int64_t first_row, count;
    Rows rows;
  };
  const Case cases[] = {
      {"a + 1 AS x", "x", true, -1, 2, {"11", "10"}},
      {"a", "a", true, 2, 3, {"9", "8", "7"}},
      {"a", "a", false, -1, 3, {"1", "2", "3"}},
      {"a", nullptr, false, -1, 0, {}},
  };
  for (const Case& c : cases) {
    SelectList list{c.item};
    TVTRAOPtr input = Node("ten");
    if (list.items[0].IsExpression) input = std::make_unique<TVTRAOTableExpr>(std::move(input));
    TVTRAOSQLTopRowCount top(std::move(input));
    top.ApplySelectList(list.items, false);
    if (c.order) top.Sort(c.order, c.descending ? c.order : "", "");
    top.SetTopRowCount(c.first_row, c.count);
    EXPECT_EQ(Run(top), c.rows) << c.item << " " << c.first_row << ", " << c.count;
  }
  EXPECT_EQ(TemporaryTables(), std::vector<std::string>{});
}

}  // namespace
