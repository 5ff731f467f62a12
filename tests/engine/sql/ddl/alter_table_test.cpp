// ALTER TABLE and RENAME TABLE on a table with rows: the rows keep their
// values through every change, failures are reported as 30265.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/engine/sql/StatementFixture.h"

namespace {

using Strings = std::vector<std::string>;

class AlterTable : public StatementTest {
 protected:
  AlterTable() {
    Run("CREATE TABLE u (id INTEGER, nm VARCHAR(40), UNIQUE INDEX un (nm))");
    auto table = Table("u");
    table->Open();
    for (const auto& [id, name] : {std::pair(1, "ab"), std::pair(2, "cd")}) {
      table->Append();
      table->FieldByName("id")->SetAsInteger(id);
      table->FieldByName("nm")->SetAsString(name);
      table->Post();
    }
  }

  // The values of the column in the table's rows, in storage order.
  Strings ValuesOf(const std::string& table_name, const std::string& column) {
    auto table = Table(table_name);
    table->Open();
    Strings values;
    for (table->First(); !table->Eof(); table->Next())
      values.push_back(table->FieldByName(column)->AsString());
    return values;
  }

  std::vector<std::string> IndexNames(const std::string& table_name) {
    Strings names;
    for (const std::string& index : IndexesOf(table_name)) names.push_back(index.substr(0, index.find(' ')));
    return names;
  }
};

TEST_F(AlterTable, AddedColumnsTakeTheirDefaultsAndIndexesJoinTheOldOnes) {
  Run("ALTER TABLE u ADD (c VARCHAR(20) DEFAULT 'x')");
  EXPECT_EQ(ValuesOf("u", "c"), Strings({"x", "x"}));
  EXPECT_EQ(ValuesOf("u", "nm"), Strings({"ab", "cd"}));
  const std::string repeated = ErrorOf("ALTER TABLE u ADD (c VARCHAR(20) DEFAULT 'x')");
  EXPECT_EQ(repeated.rfind("Error altering table: '", 0), 0u) << repeated;
  EXPECT_NE(repeated.find("Field by name 'c' already exists"), std::string::npos) << repeated;
  EXPECT_TRUE(repeated.ends_with("Native error: 30265")) << repeated;
  Run("ALTER TABLE u ADD (IF NOT EXISTS c VARCHAR(20))");
  EXPECT_EQ(ColumnsOf("u"), Strings({"id", "nm", "c"}));
  {
    // One row, so that the new unique column's single NULL is no duplicate.
    auto table = Table("u");
    table->Open();
    table->Last();
    table->Delete();
  }
  Run("ALTER TABLE u ADD (d INTEGER, UNIQUE INDEX ud (d))");
  EXPECT_EQ(ColumnsOf("u"), Strings({"id", "nm", "c", "d"}));
  EXPECT_EQ(IndexNames("u"), Strings({"un", "ud"}));
  Run("ALTER TABLE u DROP (c, d)");
  EXPECT_EQ(ColumnsOf("u"), Strings({"id", "nm"}));
  Run("ALTER TABLE u DROP COLUMN id");
  EXPECT_EQ(ColumnsOf("u"), Strings({"nm"}));
  EXPECT_EQ(ValuesOf("u", "nm"), Strings({"ab"}));
}

TEST_F(AlterTable, ModifyChangesOnlyWhatItGivesOfAnExistingColumn) {
  Run("ALTER TABLE u MODIFY (nm VARCHAR(100))");
  auto table = Table("u");
  table->Open();
  EXPECT_EQ(table->FieldDefs()[1]->Size(), 100);
  table->Close();
  EXPECT_EQ(ValuesOf("u", "nm"), Strings({"ab", "cd"}));
  const std::string missing = ErrorOf("ALTER TABLE u MODIFY (zz VARCHAR(100))");
  EXPECT_NE(missing.find("Field 'zz' not found"), std::string::npos) << missing;
  EXPECT_TRUE(missing.ends_with("Native error: 30265")) << missing;
  const std::string dropped = ErrorOf("ALTER TABLE u DROP (zz)");
  EXPECT_NE(dropped.find("Field 'zz' not found"), std::string::npos) << dropped;
  EXPECT_TRUE(dropped.ends_with("Native error: 30265")) << dropped;
}

TEST_F(AlterTable, ColumnsAndTablesAreRenamedWithTheirValues) {
  Run("ALTER TABLE u RENAME nm TO nm2");
  EXPECT_EQ(ValuesOf("u", "nm2"), Strings({"ab", "cd"}));
  Run("ALTER TABLE u RENAME COLUMN nm2 TO nm3");
  EXPECT_EQ(ColumnsOf("u"), Strings({"id", "nm3"}));
  Run("ALTER TABLE u RENAME TO v");
  Run("RENAME v TO w");
  Run("RENAME TABLE w TO x");
  EXPECT_FALSE(TableExists("u"));
  EXPECT_EQ(ValuesOf("x", "nm3"), Strings({"ab", "cd"}));
}

TEST_F(AlterTable, ARenameWithoutANewNameRenamesNothing) {
  for (const char* sql : {"RENAME TABLE u TO", "ALTER TABLE u RENAME TO", "ALTER TABLE u RENAME nm TO"})
    EXPECT_TRUE(ErrorOf(sql).ends_with("Native error: 30161")) << sql;
  EXPECT_FALSE(TableExists("TO"));
  EXPECT_EQ(ColumnsOf("u"), Strings({"id", "nm"}));
}

TEST_F(AlterTable, AMissingTableIsReportedAsAnAlterFailure) {
  const std::string error = ErrorOf("ALTER TABLE nosuch ADD (c INTEGER)");
  EXPECT_EQ(error.rfind("Error altering table: '", 0), 0u) << error;
  EXPECT_TRUE(error.ends_with("Native error: 30265")) << error;
}

}  // namespace
