// SELECT ... INTO copies the result into a new table of the named database,
// of the query's database, or of "MEMORY".
#include <gtest/gtest.h>

#include "engine/access/Database.h"
#include "tests/engine/sql/query/SelectFixture.h"

namespace {

class Into : public SelectTest {
 protected:
  Into() { MakeTable("t", "a INTEGER, b VARCHAR(10)", {{"2", "y"}, {"1", "x"}}); }

  // The rows of a table of the alias, in its stored order.
  std::vector<std::string> StoredRows(const std::string& table_name, const std::string& alias = "d_main") {
    auto table = Table(table_name);
    table->SetDatabaseName(alias);
    table->Open();
    return RowsOf(*table);
  }
};

TEST_F(Into, CopiesTheRowsIntoANewTableOfTheQuerysDatabase) {
  Run("SELECT * INTO x FROM t");
  EXPECT_EQ(StoredRows("x"), (std::vector<std::string>{"2|y", "1|x"}));
  EXPECT_EQ(ColumnsOf("x"), (std::vector<std::string>{"a", "b"}));

  Run("SELECT b AS name, a + 1 AS later INTO y FROM t WHERE a = 1");
  EXPECT_EQ(StoredRows("y"), std::vector<std::string>{"x|2"});
  EXPECT_EQ(ColumnsOf("y"), (std::vector<std::string>{"name", "later"}));

  const std::string again = ErrorOf("SELECT a INTO x FROM t WHERE a = 1");
  EXPECT_TRUE(again.starts_with("Error importing table. Cannot copy data due to error: ")) << again;
  EXPECT_NE(again.find("Native error: 10403"), std::string::npos) << again;
  EXPECT_EQ(StoredRows("x"), (std::vector<std::string>{"2|y", "1|x"})) << "the existing table is kept";
  EXPECT_EQ(ErrorOf("SELECT * INTO x FROM t"), again);
}

TEST_F(Into, MemoryTargetsGoIntoTheMemoryDatabase) {
  Run("SELECT * INTO MEMORY mx FROM t");
  EXPECT_FALSE(TableExists("mx"));
  TVTRTable memory(nullptr);
  memory.SetInMemory(true);
  memory.SetTableName("mx");
  memory.Open();
  EXPECT_EQ(RowsOf(memory), (std::vector<std::string>{"2|y", "1|x"}));
  memory.Close();
  memory.DeleteTable();
}

TEST_F(Into, ANamedDatabaseReceivesTheCopy) {
  const std::string other_file = CreateFile("other.vtr");
  auto other = Database("d_other", other_file, &form_);
  Run("SELECT a INTO d_other.copied FROM t");
  EXPECT_FALSE(TableExists("copied")) << "not written into the query's database";
  EXPECT_EQ(StoredRows("copied", "d_other"), (std::vector<std::string>{"2", "1"}));
}

}  // namespace
