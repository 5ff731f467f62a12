// GROUP BY, HAVING, aggregates and TOP in SELECT statements.
#include "tests/engine/sql/query/SelectFixture.h"

namespace {

class GroupingSelect : public SelectTest {
 protected:
  GroupingSelect() {
    MakeTable("gv", "g VARCHAR(5), v INTEGER", {{"x", "5"}, {"y", "3"}, {"z", "NULL"}, {"x", "7"}});
    MakeTable("ten", "a INTEGER", {{"4"}, {"9"}, {"1"}, {"10"}, {"2"}, {"7"}, {"3"}, {"8"}, {"6"}, {"5"}});
    MakeTable("e", "g VARCHAR(5), v INTEGER", {});
  }
};

TEST_F(GroupingSelect, GroupsHavingAndComputedKeys) {
  using Rows = std::vector<std::string>;
  struct Case {
    const char* sql;
    Rows rows;
  };
  const Case cases[] = {
      {"SELECT g, SUM(v) AS s, COUNT(v) AS c, COUNT(*) AS n FROM gv GROUP BY g HAVING SUM(v) > 10", {"x|12|2|2"}},
      {"SELECT g, SUM(v) AS s, COUNT(v) AS c FROM gv GROUP BY g ORDER BY g", {"x|12|2", "y|3|1", "z|NULL|0"}},
      {"SELECT v * 2 AS k, COUNT(*) AS n FROM gv GROUP BY k ORDER BY k", {"NULL|1", "6|1", "10|1", "14|1"}},
      {"SELECT g, COUNT(*) AS n FROM gv WHERE v > 4 GROUP BY g", {"x|2"}},
      {"SELECT g, MAX(v) AS m FROM gv GROUP BY g HAVING COUNT(*) = 1 AND g <> 'y'", {"z|NULL"}},
      {"SELECT g, SUM(v) AS s FROM gv GROUP BY g ORDER BY s DESC", {"x|12", "y|3", "z|NULL"}},
      {"SELECT COUNT(*) AS n, SUM(v) AS s FROM gv", {"4|15"}},
      {"SELECT COUNT(*) AS n FROM e", {"0"}},
      {"SELECT g, COUNT(*) AS n FROM e GROUP BY g", {"NULL|0"}},
      {"SELECT g FROM e GROUP BY g", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(RowsFor(c.sql), c.rows) << c.sql;
  EXPECT_TRUE(TemporaryTables().empty());
}

TEST_F(GroupingSelect, GroupingMistakesAreRefusedWithTheirCodes) {
  struct Case {
    const char* sql;
    const char* message_start;
  };
  const Case cases[] = {
      {"SELECT g, v FROM gv GROUP BY g", "Field is not included in GROUP BY list"},
      {"SELECT g, COUNT(*) FROM gv", "Field is not included in GROUP BY list"},
      {"SELECT g, COUNT(*) FROM gv GROUP BY nothing", "Invalid field for GROUP BY"},
      {"SELECT g FROM gv HAVING COUNT(*) > 1", "Having condition is not applicable"},
  };
  for (const Case& c : cases) EXPECT_EQ(OpenError(c.sql).rfind(c.message_start, 0), 0u) << c.sql << ": " << OpenError(c.sql);
  EXPECT_TRUE(TemporaryTables().empty());
}

TEST_F(GroupingSelect, TopKeepsTheFirstRowsOfTheFinishedOrderedResult) {
  using Rows = std::vector<std::string>;
  struct Case {
    const char* sql;
    Rows rows;
  };
  const Case cases[] = {
      {"SELECT TOP 3, 2 a FROM ten ORDER BY a DESC", {"9", "8", "7"}},
      {"SELECT TOP 0 a FROM ten", {}},
      {"SELECT TOP 3 a FROM ten ORDER BY a", {"1", "2", "3"}},
      {"SELECT TOP 2 g, COUNT(*) AS n FROM gv GROUP BY g ORDER BY g", {"x|2", "y|1"}},
      {"SELECT TOP 2 a + 1 AS x FROM ten ORDER BY x DESC", {"11", "10"}},
      {"SELECT TOP 2 g, SUM(v) AS s FROM gv GROUP BY g ORDER BY s", {"z|NULL", "y|3"}},
      {"SELECT DISTINCT TOP 2 g FROM gv ORDER BY g DESC", {"z", "y"}},
  };
  for (const Case& c : cases) EXPECT_EQ(RowsFor(c.sql), c.rows) << c.sql;
  EXPECT_TRUE(TemporaryTables().empty());
}

}  // namespace
