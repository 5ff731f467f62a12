// INSERT ... VALUES through the window's query component: by position, by
// name, with parameters, and the errors that leave the table unchanged.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/DateTime.h"
#include "tests/engine/sql/dml/DmlFixture.h"

namespace {

class InsertValues : public DmlTest {
 protected:
  InsertValues() { Run("CREATE TABLE h (a INTEGER, b VARCHAR(20), c VARCHAR(20))"); }

  std::vector<std::string> Rows() { return DmlTest::Rows("h"); }
};

TEST_F(InsertValues, TwoStatementsOfOneTextInsertTwoRowsAndOpenNoCursor) {
  Run("INSERT INTO h (a, b) VALUES (1, 'x'); INSERT INTO h (a, b) VALUES (2, 'y')");
  EXPECT_EQ(query_->RowsAffected(), 2);
  EXPECT_FALSE(query_->Active());
  EXPECT_EQ(Rows(), (std::vector<std::string>{"1|x|-", "2|y|-"}));
}

TEST_F(InsertValues, ValuesWithoutColumnListFillTheLeadingFields) {
  Run("INSERT INTO h VALUES (3, 'z')");
  EXPECT_EQ(query_->RowsAffected(), 1);
  EXPECT_EQ(Rows(), std::vector<std::string>{"3|z|-"});
}

TEST_F(InsertValues, ParametersGoToTheNamedColumnsAndAnUnsetOneStoresNull) {
  query_->SQL().SetText("INSERT INTO h (c, a, b) VALUES (:c, :a, :b)");
  query_->ParamByName("a")->SetAsInteger(7);
  query_->ParamByName("c")->SetAsString("วัดไทย");
  query_->ExecSQL();
  EXPECT_EQ(Rows(), std::vector<std::string>{"7|-|วัดไทย"});
}

TEST_F(InsertValues, ExpressionsAreComputedAndConvertedToTheFieldType) {
  Run("INSERT INTO h VALUES ('12' , 'a' + 'b', 2 * 21)");
  EXPECT_EQ(Rows(), std::vector<std::string>{"12|ab|42"});
}

TEST_F(InsertValues, MemoTakesTheTextWithoutTerminatorBlobTheWholeValueLargeIntAndDateTheirTypes) {
  Run("CREATE TABLE t (m MEMO, bl BLOB, l LARGEINT, d DATE, n INTEGER)");
  query_->SQL().SetText("INSERT INTO t VALUES ('memo', 'xy', 5000000000, :d, NULL)");
  query_->ParamByName("d")->SetAsDateTime(EncodeDate(2024, 1, 31));
  query_->ExecSQL();
  auto t = Table("t");
  t->Open();
  EXPECT_EQ(t->FieldByName("m")->AsString(), "memo");
  EXPECT_EQ(t->FieldByName("bl")->AsString(), std::string("xy", 3));
  EXPECT_EQ(t->FieldByName("l")->AsLargeInt(), 5000000000);
  EXPECT_EQ(t->FieldByName("d")->AsDateTime(), EncodeDate(2024, 1, 31));
  EXPECT_TRUE(t->FieldByName("n")->IsNull());
}

TEST_F(InsertValues, RefusedStatementsLeaveTheTableUnchanged) {
  Run("INSERT INTO h (a, b) VALUES (1, 'x')");
  const struct {
    const char* sql;
    const char* error;
  } cases[] = {
      {"INSERT INTO h (a, b) VALUES (1)",
       "Number of field names doesn't equal to the number of field values: 2 <> 1. Found at line 1, "
       "column 31 - Native error: 20259"},
      {"INSERT INTO h VALUES (1, 'x', 'y', 2)",
       "Number of field names doesn't equal to the number of field values: 3 <> 4. Found at line 1, "
       "column 37 - Native error: 20259"},
      {"INSERT INTO h (a, nope) VALUES (2, 'x')", "Field 'nope' not found"},
      {"INSERT INTO h (a) VALUES ('abc')", "Cannot cast from 'STRING' to 'INTEGER' - Native error: 30051"},
      {"INSERT h VALUES (1)", "Token 'INTO' expected, but 'h' found at line 1, column 8 - Native error: 30206"},
      {"INSERT INTO h", "Unexpected end of SQL command found at line 1, column 13 - Native error: 30209"},
      {"INSERT INTO h (a b) VALUES (1)",
       "')' or ',' symbol expected, but 'b' found at line 1, column 18 - Native error: 30212"},
      {"INSERT INTO h VALUES 1", "'(' symbol expected, but '1' found at line 1, column 22 - Native error: 30214"},
      {"INSERT INTO h VALUES (1, )", "Error parsing parameter ')' at line 1, column 26 - Native error: 30357"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sql);
    EXPECT_EQ(ErrorOf(c.sql), c.error);
    EXPECT_EQ(Rows(), std::vector<std::string>{"1|x|-"});
  }
}

}  // namespace
