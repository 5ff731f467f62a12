// UNION, INTERSECT, EXCEPT and MINUS of SELECTs, with and without ALL and
// CORRESPONDING, their precedence and where their ORDER BY belongs.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/engine/sql/query/SelectFixture.h"

namespace {

using Rows = std::vector<std::string>;

class SetOperations : public SelectTest {
 protected:
  SetOperations() {
    MakeTable("p", "a INTEGER", {{"1"}, {"2"}, {"2"}, {"3"}});
    MakeTable("q", "a INTEGER", {{"2"}, {"3"}, {"4"}});
    MakeTable("r", "a INTEGER", {{"4"}});
  }
};

TEST_F(SetOperations, EachOperationGivesItsRows) {
  struct Case {
    const char* sql;
    Rows rows;
  };
  const Case cases[] = {
      {"SELECT a FROM p UNION SELECT a FROM q", {"1", "2", "3", "4"}},
      {"SELECT a FROM p UNION ALL SELECT a FROM q", {"1", "2", "2", "3", "2", "3", "4"}},
      {"SELECT a FROM p INTERSECT SELECT a FROM q", {"2", "3"}},
      {"SELECT a FROM p INTERSECT ALL SELECT a FROM q", {"2", "2", "3"}},
      {"SELECT a FROM p EXCEPT SELECT a FROM q", {"1"}},
      {"SELECT a FROM p MINUS SELECT a FROM q", {"1"}},
      {"SELECT a FROM p UNION SELECT a FROM q INTERSECT SELECT a FROM r", {"1", "2", "3", "4"}},
      {"(SELECT a FROM p UNION SELECT a FROM q) INTERSECT SELECT a FROM r", {"4"}},
      {"(SELECT a FROM p UNION SELECT a FROM q) ORDER BY a DESC", {"4", "3", "2", "1"}},
      {"SELECT a FROM r UNION ALL SELECT a FROM p WHERE a > 2", {"4", "3"}},
      {"SELECT a FROM q EXCEPT SELECT a FROM r UNION SELECT a FROM r", {"2", "3", "4"}},
  };
  for (const Case& c : cases) EXPECT_EQ(RowsFor(c.sql), c.rows) << c.sql;
}

TEST_F(SetOperations, AnOrderByAfterTheLastSelectBelongsToIt) {
  Rows rows = RowsFor("SELECT a FROM p UNION SELECT a FROM q ORDER BY a DESC");
  std::ranges::sort(rows);
  EXPECT_EQ(rows, (Rows{"1", "2", "3", "4"}));
}

TEST_F(SetOperations, CorrespondingPairsColumnsByName) {
  MakeTable("ab", "a INTEGER, b VARCHAR(5)", {{"1", "x"}, {"2", "y"}});
  MakeTable("bc", "b VARCHAR(5), c INTEGER", {{"y", "7"}, {"z", "8"}});
  EXPECT_EQ(OpenRows("SELECT a, b FROM ab UNION CORRESPONDING SELECT b, c FROM bc"), (Rows{"x", "y", "z"}));
  EXPECT_EQ(FieldNames(), Rows{"b"});
  EXPECT_EQ(RowsFor("SELECT a, b FROM ab UNION ALL CORRESPONDING BY (b) SELECT b, c FROM bc"),
            (Rows{"x", "y", "y", "z"}));
  EXPECT_EQ(RowsFor("SELECT a, b FROM ab UNION SELECT c, b FROM bc"), (Rows{"1|x", "2|y", "7|y", "8|z"}))
      << "by position";
  EXPECT_EQ(OpenError("SELECT a FROM ab UNION CORRESPONDING SELECT c FROM bc"),
            "Empty field list, item count = 0 - Native error: 10339");
}

// UNION ALL compares nothing, so a column that cannot be indexed stays.
TEST_F(SetOperations, UnionAllKeepsColumnsThatCannotBeCompared) {
  MakeTable("notes", "a INTEGER, memo BLOB", {{"1", "first"}});
  EXPECT_EQ(OpenRows("SELECT a, memo FROM notes UNION ALL SELECT a, memo FROM notes"),
            (Rows{"1|first", "1|first"}));
  EXPECT_EQ(FieldNames(), (Rows{"a", "memo"}));
  EXPECT_EQ(OpenRows("SELECT a, memo FROM notes UNION SELECT a, memo FROM notes"), Rows{"1"});
  EXPECT_EQ(FieldNames(), Rows{"a"});
}

// Integer keys against texts are merged in their common type on both sides:
// in their own orders 2 comes before 10 but "10" before "2".
TEST_F(SetOperations, KeysOfDifferentTypeFamiliesMergeInTheirCommonType) {
  MakeTable("numbers", "a INTEGER", {{"2"}, {"10"}});
  MakeTable("texts", "a VARCHAR(5)", {{"10"}, {"2"}, {"9"}});
  const auto sorted = [this](const std::string& sql) {
    Rows rows = RowsFor(sql);
    std::ranges::sort(rows);
    return rows;
  };
  EXPECT_EQ(sorted("SELECT a FROM numbers INTERSECT SELECT a FROM texts"), (Rows{"10", "2"}));
  EXPECT_EQ(sorted("SELECT a FROM texts INTERSECT SELECT a FROM numbers"), (Rows{"10", "2"}));
  EXPECT_EQ(sorted("SELECT a FROM texts EXCEPT SELECT a FROM numbers"), Rows{"9"});
  EXPECT_EQ(sorted("SELECT a FROM numbers UNION SELECT a FROM texts"), (Rows{"10", "2", "9"}));
}

}  // namespace
