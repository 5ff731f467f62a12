// CREATE INDEX and DROP INDEX, checked on the stored index definitions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/engine/sql/StatementFixture.h"

namespace {

using Strings = std::vector<std::string>;

class IndexStatements : public StatementTest {
 protected:
  IndexStatements() { Run("CREATE TABLE t (a INTEGER, b VARCHAR(10))"); }
};

TEST_F(IndexStatements, AnIndexGetsItsColumnsDirectionsCaseAndUniqueness) {
  Run("CREATE UNIQUE INDEX ix ON t (a DESC, b NOCASE)");
  Run("CREATE INDEX ix2 ON t (a, PASSWORD 'p')");
  Run("CREATE INDEX ix3 ON t (b NOCASE CASE, a DESC ASC PASSWORD)");
  EXPECT_EQ(IndexesOf("t"),
            Strings({"ix a;b desc:a case:b 2", "ix2 a desc: case: 0", "ix3 b;a desc: case: 0"}));
}

TEST_F(IndexStatements, DropIndexRemovesOnlyTheNamedIndex) {
  Run("CREATE INDEX ix ON t (a); CREATE INDEX iy ON t (b)");
  Run("DROP INDEX t.ix PASSWORD 'p'");
  EXPECT_EQ(IndexesOf("t"), Strings({"iy b desc: case: 0"}));
}

TEST_F(IndexStatements, TheTableComponentsRefusalsReachTheCaller) {
  EXPECT_EQ(ErrorOf("CREATE INDEX ix ON t (nosuch)"),
            "Cannot find index field 'nosuch' - Native error: 20050");
  EXPECT_EQ(IndexesOf("t"), Strings());
}

}  // namespace
