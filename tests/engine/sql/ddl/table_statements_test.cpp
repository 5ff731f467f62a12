// CREATE TABLE, DROP TABLE and TRUNCATE TABLE on a real file, the tables
// read back through table components.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "engine/access/EngineError.h"
#include "tests/engine/sql/StatementFixture.h"

namespace {

using Strings = std::vector<std::string>;
using TableStatements = StatementTest;

TEST_F(TableStatements, ACreatedTableCountsItsAutoincrementDefaultsItsTextAndKeepsItsUniqueIndex) {
  Run("CREATE TABLE u (id AUTOINC(LARGEINT, INCREMENT 5, INITIALVALUE 100), nm VARCHAR(40) NOT NULL DEFAULT "
      "'x', "
      "UNIQUE INDEX un (nm NOCASE))");
  auto table = Table("u");
  table->Open();
  EXPECT_EQ(table->AdvFieldDefs().GetItem(0).DataType, adtAutoIncLargeInt);
  table->Append();
  table->FieldByName("nm")->SetAsString("ab");
  table->Post();
  table->Append();
  table->Post();
  table->First();
  EXPECT_EQ(table->FieldByName("id")->AsString(), "100");
  EXPECT_EQ(table->FieldByName("nm")->AsString(), "ab");
  table->Next();
  EXPECT_EQ(table->FieldByName("id")->AsString(), "105");
  EXPECT_EQ(table->FieldByName("nm")->AsString(), "x");
  table->Append();
  table->FieldByName("nm")->SetAsString("AB");
  try {
    table->Post();
    ADD_FAILURE() << "'AB' after 'ab' was stored";
  } catch (const EVTREngineError& error) {
    EXPECT_EQ(error.ErrorCode, -8) << error.Message();
  }
  EXPECT_EQ(IndexesOf("u"), Strings({"un nm desc: case:nm 2"}));
}

TEST_F(TableStatements, EveryColumnSettingReachesTheStoredDefinition) {
  Run("CREATE TABLE z (n AUTOINC(SMALLINT, INCREMENT 2, MINVALUE 3, MAXVALUE 90, CYCLED), "
      "w AUTOINCWORD(NOMINVALUE, NOMAXVALUE, NOCYCLED), "
      "b BLOB BLOBBLOCKSIZE 1024 BLOBCOMPRESSIONALGORITHM ZLIB BLOBCOMPRESSIONMODE 6, "
      "c CHAR(3) NOT NULL, g GUID(38))");
  auto table = Table("z");
  table->Open();
  const TVTRAdvFieldDefs& defs = table->AdvFieldDefs();
  const TVTRAdvFieldDef& n = defs.GetItem(0);
  EXPECT_EQ(n.DataType, adtAutoIncSmallInt);
  EXPECT_EQ(n.AutoincIncrement, 2);
  EXPECT_EQ(n.AutoincMinValue, 3);
  EXPECT_EQ(n.AutoincMaxValue, 90);
  EXPECT_TRUE(n.AutoincCycled);
  const TVTRAdvFieldDef& w = defs.GetItem(1);
  EXPECT_EQ(w.DataType, adtAutoIncWord);
  EXPECT_EQ(w.AutoincMinValue, 0);
  EXPECT_EQ(w.AutoincMaxValue, std::numeric_limits<int64_t>::max());
  EXPECT_FALSE(w.AutoincCycled);
  const TVTRAdvFieldDef& b = defs.GetItem(2);
  EXPECT_EQ(b.BlobBlockSize, 1024);
  EXPECT_EQ(b.BlobCompressionAlgorithm, 1);
  EXPECT_EQ(b.BlobCompressionMode, 6);
  EXPECT_EQ(defs.GetItem(3).Size, 3);
  EXPECT_TRUE(defs.GetItem(3).Required);
  EXPECT_EQ(defs.GetItem(4).DataType, adtGuid);
}

TEST_F(TableStatements, IndexClausesGetTheirNamesFieldsAndOptions) {
  Run("CREATE TABLE t (id INTEGER PRIMARY KEY, b INTEGER, INDEX (id, b))");
  EXPECT_EQ(IndexesOf("t"), Strings({"C_PK$id id desc: case: 3", "i$id$b id;b desc: case: 0"}));
  Run("CREATE TABLE t2 (a INTEGER UNIQUE, b VARCHAR(10), UNIQUE INDEX ab (a DESC, b NOCASE), PRIMARY KEY pk "
      "(b))");
  EXPECT_EQ(IndexesOf("t2"),
            Strings({"C_Unique$a a desc: case: 2", "ab a;b desc:a case:b 2", "pk b desc: case: 3"}));
}

TEST_F(TableStatements, AnExistingTableIsKeptAndRefusedUnlessIfNotExists) {
  Run("CREATE TABLE t (id INTEGER)");
  Run("CREATE TABLE IF NOT EXISTS t (x INTEGER)");
  EXPECT_EQ(ColumnsOf("t"), Strings({"id"}));
  EXPECT_EQ(ErrorOf("CREATE TABLE t (x INTEGER)"),
            "Cannot create table. Table 't' already exists - Native error: 30247");
}

TEST_F(TableStatements, ATableThatCannotBeCreatedReportsWhy) {
  const std::string error = ErrorOf("CREATE TABLE t (a INTEGER, a INTEGER)");
  EXPECT_EQ(error.rfind("Error creating table: '", 0), 0u) << error;
  EXPECT_FALSE(TableExists("t"));
}

TEST_F(TableStatements, AMemoryTableLeavesTheFileAlone) {
  Run("CREATE TABLE MEMORY m (a INTEGER)");
  EXPECT_FALSE(TableExists("m"));
  auto memory = Table("m");
  memory->SetInMemory(true);
  EXPECT_TRUE(memory->Exists());
  Run("DROP TABLE MEMORY m");
  EXPECT_FALSE(memory->Exists());
}

TEST_F(TableStatements, SignedNumbersAreDefaultsAndBoundsWithTheirSign) {
  Run("CREATE TABLE z (a INTEGER DEFAULT -1 MINVALUE -5 MAXVALUE +5, s VARCHAR(5) DEFAULT -2, f FLOAT "
      "DEFAULT -1.5)");
  auto table = Table("z");
  table->Open();
  table->Append();
  table->Post();
  table->First();
  EXPECT_EQ(table->FieldByName("a")->AsString(), "-1");
  EXPECT_EQ(table->FieldByName("s")->AsString(), "-2");
  EXPECT_EQ(table->FieldByName("f")->AsString(), "-1.5");
  EXPECT_EQ(table->AdvFieldDefs().GetItem(0).MinValue.GetAsLargeInt(), -5);
  EXPECT_EQ(table->AdvFieldDefs().GetItem(0).MaxValue.GetAsLargeInt(), 5);
}

TEST_F(TableStatements, AnUnknownColumnOptionIsPassedOver) {
  Run("CREATE TABLE z (a INTEGER ZEROFILL, b INTEGER NULL)");
  EXPECT_EQ(ColumnsOf("z"), Strings({"a", "b"}));
}

TEST_F(TableStatements, DropAndTruncateRemoveRowsOrTablesAndPassOverMissingOnes) {
  Run("DROP TABLE nosuch; DROP TABLE IF EXISTS nosuch; TRUNCATE nosuch; TRUNCATE TABLE nosuch");
  {
    auto donate = Table("Donate");
    donate->Open();
    Add(*donate, {{1, "A", 10}, {2, "B", 20}});
  }
  Run("TRUNCATE TABLE Donate");
  auto donate = Table("Donate");
  donate->Open();
  EXPECT_EQ(donate->RecordCount(), 0);
  donate->Close();
  Run("DROP TABLE Donate");
  EXPECT_FALSE(TableExists("Donate"));
}

TEST_F(TableStatements, ATableOfAnotherFileIsReachedThroughADatabaseOfItsOwnForTheStatement) {
  const std::string other = CreateFile("other.vtr");
  const std::size_t databases = DefaultSession().Databases().size();
  Run("CREATE TABLE '" + other + "'.t2 (a INTEGER); DROP TABLE '" + other + "'.Donate");
  EXPECT_EQ(DefaultSession().Databases().size(), databases) << "the statement's database is freed";
  auto database = Database("d_other", other);
  TStringList names;
  database->GetTableNames(names);
  EXPECT_EQ(names.Text(), "t2\r\n");
  EXPECT_FALSE(TableExists("t2"));
}

TEST_F(TableStatements, ThaiTableNamesReachTheFileAsTheyAreWritten) {
  Run("CREATE TABLE [ผู้บริจาค] (a INTEGER)");
  EXPECT_TRUE(TableExists("ผู้บริจาค"));
  Run("TRUNCATE [ผู้บริจาค]; DROP TABLE [ผู้บริจาค]");
  EXPECT_FALSE(TableExists("ผู้บริจาค"));
}

}  // namespace
