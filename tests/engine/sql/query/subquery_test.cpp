// Subqueries in expressions: scalar, IN, EXISTS, ANY, SOME and ALL,
// correlated or not, and where their results live.
#include "engine/sql/nodes/ExprNodeSubquery.h"
#include "tests/engine/sql/query/SelectFixture.h"

namespace {

using Rows = std::vector<std::string>;

class Subquery : public SelectTest {
 protected:
  Subquery() {
    MakeTable("t1", "id INTEGER, x VARCHAR(10)", {{"1", "a"}, {"1", "b"}, {"2", "c"}, {"NULL", "d"}});
    MakeTable("t2", "id INTEGER, y VARCHAR(10)", {{"1", "p"}, {"1", "q"}, {"3", "r"}, {"NULL", "s"}});
    MakeTable("ten", "a INTEGER", {{"4"}, {"9"}, {"1"}, {"10"}, {"2"}, {"7"}, {"3"}, {"8"}, {"6"}, {"5"}});
  }

  // The rows of the text and how many subquery runs they took.
  std::pair<Rows, int64_t> RowsAndRuns(const std::string& sql) {
    const int64_t before = TVTRExprNodeSubquery::RunCount();
    Rows rows = RowsFor(sql);
    return {rows, TVTRExprNodeSubquery::RunCount() - before};
  }
};

TEST_F(Subquery, EachKindSelectsTheRowsItShould) {
  struct Case {
    const char* sql;
    Rows rows;
  };
  const Case cases[] = {
      {"SELECT x FROM t1 WHERE id = (SELECT MIN(id) FROM t2) ORDER BY x", {"a", "b"}},
      {"SELECT x FROM t1 WHERE id IN (SELECT id FROM t2) ORDER BY x", {"a", "b"}},
      {"SELECT x FROM t1 WHERE id NOT IN (SELECT id FROM t2) ORDER BY x", {"c"}},
      {"SELECT x FROM t1 WHERE EXISTS (SELECT * FROM t2 WHERE t2.id = t1.id) ORDER BY x", {"a", "b"}},
      {"SELECT x FROM t1 WHERE NOT EXISTS (SELECT * FROM t2 WHERE t2.id = t1.id) ORDER BY x", {"c", "d"}},
      {"SELECT x FROM t1 WHERE id > ALL (SELECT id FROM t2 WHERE id > 5)", {}},
      {"SELECT x FROM t1 WHERE id > ANY (SELECT id FROM t2 WHERE id > 5)", {}},
      {"SELECT a FROM ten WHERE a > ALL (SELECT a FROM ten WHERE a <= 3) ORDER BY a",
       {"4", "5", "6", "7", "8", "9", "10"}},
      {"SELECT a FROM ten WHERE a = ANY (SELECT a FROM ten WHERE a >= 9) ORDER BY a", {"9", "10"}},
      {"SELECT a FROM ten WHERE a < SOME (SELECT a FROM ten WHERE a <= 3) ORDER BY a", {"1", "2"}},
      {"SELECT t1.x, (SELECT COUNT(*) FROM t2 WHERE t2.id = t1.id) AS c FROM t1 ORDER BY t1.x",
       {"a|2", "b|2", "c|0", "d|0"}},
      {"SELECT a, (SELECT MAX(a) FROM ten) - a AS gap FROM ten WHERE a >= 9 ORDER BY a", {"9|1", "10|0"}},
  };
  for (const Case& c : cases) {
    try {
      EXPECT_EQ(RowsFor(c.sql), c.rows) << c.sql;
    } catch (const std::exception& error) {
      ADD_FAILURE() << c.sql << ": " << error.what();
    }
  }
  EXPECT_TRUE(TemporaryTables().empty());
}

TEST_F(Subquery, ANullValueIsInNoSubqueryAndANullRowMatchesNothing) {
  MakeTable("n", "id INTEGER", {{"NULL"}, {"5"}});
  EXPECT_EQ(RowsFor("SELECT x FROM t1 WHERE id IN (SELECT id FROM n)"), Rows({}));
  EXPECT_EQ(RowsFor("SELECT x FROM t1 WHERE id NOT IN (SELECT id FROM n) ORDER BY x"), Rows({"a", "b", "c"}));
}

TEST_F(Subquery, ShapeMistakesRaiseTheirErrorsAndLeaveNothingBehind) {
  struct Case {
    const char* sql;
    const char* message;
  };
  const Case cases[] = {
      {"SELECT x FROM t1 WHERE id = (SELECT id FROM t2 WHERE id = 1)", "Subquery must have only one row"},
      {"SELECT x FROM t1 WHERE id = (SELECT id FROM t2 WHERE id = 9)",
       "Subquery must have one row, but it contains 0 rows"},
      {"SELECT x FROM t1 WHERE id = (SELECT id, y FROM t2)",
       "Subquery must have only one result field, but subquery's FieldCount=2"},
      {"SELECT x FROM t1 WHERE id IN (SELECT id, y FROM t2)",
       "Subquery must have only one result field, but subquery's FieldCount=2"},
      // Correlated: fails at the first outer row whose id two rows of t2 have.
      {"SELECT x FROM t1 WHERE 1 = (SELECT t2.id FROM t2 WHERE t2.id = t1.id)", "Subquery must have only one row"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(OpenError(c.sql).rfind(c.message, 0), 0u) << c.sql << ": " << OpenError(c.sql);
    EXPECT_TRUE(TemporaryTables().empty()) << c.sql;
  }
  EXPECT_EQ(RowsFor("SELECT x FROM t1 WHERE id = (SELECT MAX(id) FROM t2)"), Rows({})) << "the engine still runs";
}

TEST_F(Subquery, AnUncorrelatedSubqueryRunsOnceAndACorrelatedOnePerOuterRow) {
  const auto [in_rows, in_runs] = RowsAndRuns("SELECT x FROM t1 WHERE id IN (SELECT id FROM t2)");
  EXPECT_EQ(in_rows.size(), 2u);
  EXPECT_EQ(in_runs, 1);
  const auto [all_rows, all_runs] = RowsAndRuns("SELECT a FROM ten WHERE a > ALL (SELECT a FROM ten WHERE a <= 3)");
  EXPECT_EQ(all_rows.size(), 7u);
  EXPECT_EQ(all_runs, 1);
  const auto [exists_rows, exists_runs] =
      RowsAndRuns("SELECT x FROM t1 WHERE EXISTS (SELECT * FROM t2 WHERE t2.id = t1.id)");
  EXPECT_EQ(exists_rows.size(), 2u);
  EXPECT_EQ(exists_runs, 4);
  EXPECT_TRUE(TemporaryTables().empty());
}

TEST_F(Subquery, AnOpenResultKeepsNoSubqueryResultInTemp) {
  OpenRows("SELECT x FROM t1 WHERE id IN (SELECT id FROM t2 WHERE y > 'a')");
  EXPECT_EQ(TemporaryTables().size(), 1u) << "only the result of the query itself";
  query_->Close();
  query_->UnPrepare();
  EXPECT_TRUE(TemporaryTables().empty());
}

TEST_F(Subquery, ADatasetFilterNamingASubqueryIsRefused) {
  auto table = Table("t1");
  table->SetFilter("id IN (SELECT id FROM t2)");
  table->SetFiltered(true);
  try {
    table->Open();
    ADD_FAILURE() << "the filter was taken";
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "Subquery not allowed here: 'SELECT' found at line 1, column 8 - Native error: 30199");
  }
}

}  // namespace
