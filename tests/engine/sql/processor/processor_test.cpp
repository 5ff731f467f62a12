// The statement processor: dispatch by the first words, syntax errors with
// their codes and places before anything runs, statements run in order.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/engine/sql/StatementFixture.h"
#include "tests/support/EngineErrors.h"

namespace {

using Processor = StatementTest;

TEST_F(Processor, EverySyntaxErrorNamesItsCodeTokenAndPlace) {
  struct Case {
    const char* sql;
    const char* message;
  };
  const Case cases[] = {
      {"FOO x", "SQL token expected, but 'FOO' found at line 1, column 1 - Native error: 30154"},
      {"GRANT x", "SQL token expected, but 'GRANT' found at line 1, column 1 - Native error: 30153"},
      {"CREATE x", "Object type keyword expected, but 'x' found at line 1, column 8 - Native error: 30147"},
      {"CREATE", "Unexpected end of SQL command found at line 1, column 1 - Native error: 30148"},
      {"DROP VIEW v",
       "Object type keyword expected, but 'VIEW' found at line 1, column 6 - Native error: 30149"},
      {"DROP", "Unexpected end of SQL command found at line 1, column 1 - Native error: 30150"},
      {"ALTER INDEX ix",
       "Object type keyword expected, but 'INDEX' found at line 1, column 7 - Native error: 30151"},
      {"ALTER", "Unexpected end of SQL command found at line 1, column 1 - Native error: 30152"},
      {"RENAME", "Unexpected end of SQL command found at line 1, column 1 - Native error: 30353"},
      {"RENAME TABLE", "Blank SQL command - Native error: 30354"},
      {"RENAME u v", "Token 'TO' expected, but 'v' found at line 1, column 10 - Native error: 30355"},
      {"RENAME TABLE u TO", "Unexpected end of SQL command found at line 1, column 16 - Native error: 30161"},
      {"ALTER TABLE", "Blank SQL command - Native error: 30261"},
      {"ALTER TABLE u ADD COLUMN c INTEGER",
       "Token '(' expected, but 'COLUMN' found at line 1, column 19 - Native error: 30226"},
      {"ALTER TABLE u DROP a",
       "Field name expected, but 'a' found at line 1, column 20 - Native error: 10408"},
      {"ALTER TABLE u FOO (x INTEGER)",
       "ADD, DROP or MODIFY keyword expected, but 'FOO' found at line 1, column 15 - Native error: 30253"},
      {"ALTER TABLE u SELECT",
       "ADD, DROP or MODIFY keyword expected, but 'SELECT' found at line 1, column 15 - Native error: 30252"},
      {"ALTER TABLE u RENAME a b",
       "Token 'TO' expected, but 'b' found at line 1, column 24 - Native error: 30352"},
      {"ALTER TABLE u RENAME TO",
       "Unexpected end of SQL command found at line 1, column 22 - Native error: 30161"},
      {"ALTER TABLE u RENAME a TO",
       "Unexpected end of SQL command found at line 1, column 24 - Native error: 30161"},
      {"CREATE TABLE t2 (a INTEGER NOT 5)",
       "'NULL' expected (for NOT NULL), but '5' found at line 1, column 32 - Native error:  2011"},
      {"CREATE TABLE t2 (a FOO)", "Unknown field type 'FOO' at line 1, column 20 - Native error: 30232"},
      {"CREATE TABLE t2 (\n  a FOO)", "Unknown field type 'FOO' at line 2, column 5 - Native error: 30232"},
      {"CREATE TABLE z (a VARCHAR)",
       "'(' symbol expected, but ')' found at line 1, column 26 - Native error: 30233"},
      {"CREATE TABLE z (a VARCHAR(x))",
       "Decimal constant expected, but 'x' found at line 1, column 27 - Native error: 30235"},
      {"CREATE TABLE z (a INTEGER) x",
       "Unexpected token 'x' found at line 1, column 28 - Native error: 30246"},
      {"CREATE TABLE z a INTEGER",
       "Token '(' expected, but 'a' found at line 1, column 16 - Native error: 30226"},
      {"CREATE TABLE z (, a INTEGER)",
       "Field name expected, but ',' found at line 1, column 17 - Native error: 30227"},
      {"CREATE TABLE z (a 5)",
       "Field type expected, but '5' found at line 1, column 19 - Native error: 30228"},
      {"CREATE TABLE z (a INTEGER NULL 5)",
       "')' or ',' symbol expected, but '5' found at line 1, column 32 - Native error: 30229"},
      {"CREATE TABLE (a INTEGER)",
       "Table name expected, but '(' found at line 1, column 14 - Native error: 30230"},
      {"CREATE TABLE MEMORY (a INTEGER)",
       "Table name expected, but '(' found at line 1, column 21 - Native error: 30231"},
      {"CREATE TABLE IF EXISTS z (a INTEGER)",
       "Token 'NOT' expected, but 'EXISTS' found at line 1, column 17 - Native error: 30486"},
      {"CREATE TABLE z (a INTEGER DEFAULT 1 DEFAULT 2)",
       "default value for column 'a' declared twice - Native error: 30299"},
      {"CREATE TABLE z (a BLOB BLOBBLOCKSIZE x)",
       "Integer expected, but 'x' found at line 1, column 38 - Native error: 30292"},
      {"CREATE TABLE z (a BLOB BLOBBLOCKSIZE 99999999999999999999)",
       "Integer expected, but '99999999999999999999' found at line 1, column 38 - Native error: 30291"},
      {"CREATE TABLE z (id AUTOINC(FLOAT))",
       "Unsupported Autoinc DataType (FLOAT) found at line 1, column 28 - Native error: 30295"},
      {"CREATE TABLE z (id AUTOINCLARGEINT(INTEGER))",
       "Unexpected token 'INTEGER' found at line 1, column 36 - Native error: 30294"},
      {"CREATE TABLE z (id AUTOINC(INCREMENT 1 2))",
       "Unexpected token '2' found at line 1, column 40 - Native error: 30294"},
      {"CREATE TABLE z (a INTEGER, UNIQUE KEY (a))",
       "'INDEX' keyword expected, but 'KEY' found at line 1, column 35 - Native error: 30268"},
      {"CREATE TABLE z (a INTEGER, INDEX 5 (a))",
       "index name expected, but '5' found at line 1, column 34 - Native error: 30269"},
      {"CREATE TABLE z (a INTEGER, INDEX ia (5))",
       "Field name expected, but '5' found at line 1, column 38 - Native error: 30274"},
      {"DROP TABLE IF NOT x",
       "Token 'EXISTS' expected, but 'NOT' found at line 1, column 15 - Native error: 30485"},
      {"DROP TABLE", "Blank SQL command - Native error: 30251"},
      {"TRUNCATE", "Blank SQL command - Native error: 30490"},
      {"DROP INDEX t ix", "Token '.' expected, but 'ix' found at line 1, column 14 - Native error: 30280"},
      {"DROP INDEX ix", "Unexpected end of SQL command found at line 1, column 12 - Native error: 30279"},
      {"DROP INDEX", "Unexpected end of SQL command found at line 1, column 6 - Native error: 30278"},
      {"DROP INDEX t.", "Unexpected end of SQL command found at line 1, column 13 - Native error: 30281"},
      {"DROP INDEX t.ix PASSWORD p",
       "Quoted password expected (for PASSWORD \"passwordData\"), but 'p' found at line 1, column 26 - "
       "Native "
       "error: 30282"},
      {"CREATE INDEX", "Unexpected end of SQL command found at line 1, column 8 - Native error: 30161"},
      {"CREATE UNIQUE ix",
       "'INDEX' keyword expected, but 'ix' found at line 1, column 15 - Native error: 30267"},
      {"CREATE INDEX ix AT t (a)",
       "'ON' keyword expected, but 'AT' found at line 1, column 17 - Native error: 30271"},
      {"CREATE INDEX ix ON t a",
       "'(' symbol expected, but 'a' found at line 1, column 22 - Native error: 30273"},
      {"CREATE INDEX ix ON t (PASSWORD 'p' a)",
       "')' or ',' symbol expected, but 'a' found at line 1, column 36 - Native error: 30276"},
      {"CREATE INDEX ix ON t",
       "Unexpected end of SQL command found at line 1, column 20 - Native error: 30161"},
      {"START", "Unexpected end of SQL command found at line 1, column 1 - Native error: 30459"},
      {"START WORK",
       "Token 'TRANSACTION' expected, but 'WORK' found at line 1, column 7 - Native error: 30460"},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorOf(c.sql), c.message) << c.sql;
}

TEST_F(Processor, ABlankTextIsRefused) {
  std::unique_ptr<TVTRSQLProcessor> processor = CreateSQLProcessor(*query_);
  for (const char* text : {"", "  -- nothing but a comment\n"}) {
    processor->SetSQLText(text);
    EXPECT_EQ(EngineErrorMessageOf([&] { processor->Execute(); }), "Blank SQL command - Native error: 30145");
  }
}

TEST_F(Processor, ASyntaxErrorInAnyStatementRunsNoneOfThem) {
  EXPECT_EQ(ErrorOf("CREATE TABLE h0 (a INTEGER); GRANT x"),
            "SQL token expected, but 'GRANT' found at line 1, column 30 - Native error: 30153");
  EXPECT_FALSE(TableExists("h0"));
}

TEST_F(Processor, KeywordsInAnyLetterCaseDispatchAlike) {
  Run("cReAtE tAbLe lower_case (a integer nOt NuLl, UnIqUe InDeX ua (a))");
  auto table = Table("lower_case");
  table->Open();
  EXPECT_TRUE(table->FieldDefs()[0]->Required());
  EXPECT_GE(table->IndexDefs().IndexOf("ua"), 0);
}

TEST_F(Processor, StatementsRunInOrderWithoutCountingRows) {
  Run("CREATE TABLE a1 (x INTEGER); DROP TABLE a1; CREATE TABLE a1 (y INTEGER)");
  EXPECT_EQ(query_->RowsAffected(), 0);
  auto table = Table("a1");
  table->Open();
  EXPECT_EQ(table->FieldDefs()[0]->Name(), "y");
}

TEST_F(Processor, AFailedRunStopsThereAndTheNextRunStartsAfresh) {
  EXPECT_EQ(ErrorOf("CREATE TABLE b1 (x INTEGER); CREATE TABLE b1 (x INTEGER); CREATE TABLE b2 (x INTEGER)"),
            "Cannot create table. Table 'b1' already exists - Native error: 30247");
  EXPECT_TRUE(TableExists("b1")) << "earlier statements are not undone";
  EXPECT_FALSE(TableExists("b2")) << "later statements do not run";
  Run("CREATE TABLE b2 (x INTEGER)");
  EXPECT_TRUE(TableExists("b2"));
}

}  // namespace
