// SELECT through the query component: the grammar's errors, joins, ORDER BY,
// DISTINCT, live and read-only results, and the programs' own statements.
#include <gtest/gtest.h>

#include "engine/access/Database.h"
#include "platform/db/Params.h"
#include "platform/rtl/DateTime.h"
#include "tests/engine/sql/query/SelectFixture.h"

namespace {

using Rows = std::vector<std::string>;

class Select : public SelectTest {
 protected:
  Select() {
    MakeTable("t", "a INTEGER, b VARCHAR(10)", {{"3", "c"}, {"1", "a"}, {"2", "b"}, {"1", "z"}});
    MakeTable("u", "a INTEGER, c VARCHAR(10)", {{"1", "one"}, {"2", "two"}, {"4", "four"}});
  }
};

TEST_F(Select, SyntaxAndNameErrorsGiveTheirCodesAndPlaces) {
  struct Case {
    const char* sql;
    const char* message;
  };
  const Case cases[] = {
      {"SELECT a FROM t WHERE a = 1 2",
       "End of SQL command expected, but '2' found at line 1, column 29 - Native error: 20260"},
      {"SELECT * FROM t\nORDER a", "Token 'BY' expected, but 'a' found at line 2, column 7 - Native error: 30188"},
      {"SELECT a WHERE a = 1", "Token 'FROM' expected, but 'WHERE' found at line 1, column 10 - Native error: 30184"},
      {"SELECT 'abc FROM t", "Unterminated string at line 1, column 8 - Native error: 30061"},
      {"SELECT a FROM t ORDER BY 0", "Invalid field number in ORDER BY clause: 0 - Native error: 20243"},
      {"SELECT a, b FROM t ORDER BY 3", "Invalid field number in ORDER BY clause: 3 - Native error: 20243"},
      {"SELECT a FROM t ORDER BY zz", "Column 'zz' from ORDER BY clause not found - Native error: 30195"},
      {"SELECT a FROM t WHERE v.a = 1", "Search condition is not applicable - Native error: 30144"},
      {"SELECT a FROM t HAVING a = 1", "Having condition is not applicable - Native error: 20244"},
      {"SELECT TOP x a FROM t", "Integer expected, but 'x' found at line 1, column 12 - Native error: 30158"},
      {"SELECT a AS 5 FROM t", "Field pseudonym expected, but '5' found at line 1, column 13 - Native error: 30162"},
      {"SELECT a INTO 5 FROM t", "Table name expected, but '5' found at line 1, column 15 - Native error: 30165"},
      {"SELECT a FROM 5", "Table name expected, but '5' found at line 1, column 15 - Native error: 30180"},
      {"SELECT a FROM t, 5", "Table name expected, but '5' found at line 1, column 18 - Native error: 30181"},
      {"SELECT a FROM t LEFT u", "Unexpected token 'u' found at line 1, column 22 - Native error: 30171"},
      {"SELECT a FROM t LEFT OUTER u", "Unexpected token 'u' found at line 1, column 28 - Native error: 30174"},
      {"SELECT a FROM t LEFT OUTER WHERE",
       "Token 'JOIN' expected, but 'WHERE' found at line 1, column 28 - Native error: 30175"},
      {"SELECT a FROM t JOIN u USING a", "Token '(' expected, but 'a' found at line 1, column 30 - Native error: 30167"},
      {"SELECT a FROM t GROUP a", "Token 'BY' expected, but 'a' found at line 1, column 23 - Native error: 30185"},
      {"SELECT a FROM t ORDER BY a, ,", "Unexpected token ',' found at line 1, column 29 - Native error: 30189"},
      {"SELECT a FROM t UNION a", "Token 'SELECT' expected, but 'a' found at line 1, column 23 - Native error: 30194"},
  };
  for (const Case& c : cases) EXPECT_EQ(OpenError(c.sql), c.message) << c.sql;
  const std::string parenthesised = OpenError("SELECT a FROM t WHERE (a + 1) > 3");
  EXPECT_NE(parenthesised.find("line 1, column 29"), std::string::npos) << parenthesised;
  EXPECT_NE(parenthesised.find("Native error: 30066"), std::string::npos) << parenthesised;
}

TEST_F(Select, JoinsPairRowsByTheirKeys) {
  const Rows joined = {"1|a|one", "1|z|one", "2|b|two"};
  EXPECT_EQ(RowsFor("SELECT t.a, b, c FROM t, u WHERE t.a = u.a ORDER BY t.a, b"), joined);
  EXPECT_EQ(RowsFor("SELECT t.a, b, c FROM t JOIN u ON t.a = u.a ORDER BY t.a, b"), joined);
  EXPECT_EQ(RowsFor("SELECT t.a, b, c FROM t LEFT JOIN u ON t.a = u.a ORDER BY t.a, b"),
            (Rows{"1|a|one", "1|z|one", "2|b|two", "3|c|NULL"}));
  EXPECT_EQ(RowsFor("SELECT s.a, c FROM (SELECT a FROM t WHERE b <> 'z') s JOIN u ON s.a = u.a ORDER BY s.a"),
            (Rows{"1|one", "2|two"}));
  EXPECT_EQ(RowsFor("SELECT b FROM t, u WHERE u.a = 4 ORDER BY b").size(), 4u) << "a cross join filtered on u";
}

TEST_F(Select, OrderByNamesAliasesPositionsAndHiddenColumns) {
  EXPECT_EQ(RowsFor("SELECT a + 1 AS x FROM t ORDER BY x"), (Rows{"2", "2", "3", "4"}));
  EXPECT_EQ(RowsFor("SELECT a, b FROM t ORDER BY 2 DESC"), (Rows{"1|z", "3|c", "2|b", "1|a"}));
  EXPECT_EQ(OpenRows("SELECT b FROM t ORDER BY a DESC, b"), (Rows{"c", "b", "a", "z"}));
  EXPECT_EQ(FieldNames(), Rows{"b"}) << "the sort column is not shown";
  EXPECT_EQ(OpenRows("SELECT b FROM t, u WHERE t.a = u.a ORDER BY c DESC, b"), (Rows{"b", "a", "z"}));
  EXPECT_EQ(FieldNames(), Rows{"b"});
}

TEST_F(Select, DistinctAndComputedColumnsWithAliases) {
  EXPECT_EQ(RowsFor("SELECT DISTINCT a FROM t ORDER BY a"), (Rows{"1", "2", "3"}));
  EXPECT_EQ(OpenRows("SELECT a * 10 AS ten, b name FROM t WHERE a = 2"), (Rows{"20|b"}));
  EXPECT_EQ(FieldNames(), (Rows{"ten", "name"}));
}

TEST_F(Select, ParametersFilterTheRows) {
  query_->SQL().SetText("SELECT b FROM t WHERE a = :x ORDER BY b");
  query_->ParamByName("x")->SetAsInteger(1);
  query_->Open();
  EXPECT_EQ(RowsOf(*query_), (Rows{"a", "z"}));
  query_->Close();
  query_->ParamByName("x")->SetAsInteger(3);
  query_->Open();
  EXPECT_EQ(RowsOf(*query_), Rows{"c"}) << "a prepared query runs again with new values";
}

TEST_F(Select, LiveResultEditsTheStoredTableAndTheOtherIsAReadOnlyCopy) {
  query_->SetRequestLive(true);
  EXPECT_EQ(OpenRows("SELECT * FROM t WHERE a = 1"), (Rows{"1|a", "1|z"}));
  EXPECT_FALSE(query_->ReadOnly());
  EXPECT_TRUE(TemporaryTables().empty()) << "a live result makes no copy";
  query_->First();
  query_->Edit();
  query_->FieldByName("b")->SetAsString("edited");
  query_->Post();
  query_->Close();
  EXPECT_EQ(OpenRows("SELECT * FROM t ORDER BY b DESC"), (Rows{"1|z", "1|edited", "3|c", "2|b"}))
      << "the stored table in the order of a temporary index";
  EXPECT_FALSE(query_->ReadOnly());
  EXPECT_TRUE(TemporaryTables().empty());
  query_->Close();
  query_->SetRequestLive(false);
  EXPECT_EQ(RowsFor("SELECT b FROM t WHERE a = 1 ORDER BY b"), (Rows{"edited", "z"}));

  EXPECT_EQ(OpenRows("SELECT * FROM t WHERE a = 1 ORDER BY b"), (Rows{"1|edited", "1|z"}));
  EXPECT_TRUE(query_->ReadOnly());
  EXPECT_EQ(TemporaryTables().size(), 1u) << "the result is a copy in TEMP";
  query_->Close();
}

TEST_F(Select, TheProgramsStatementsRunVerbatim) {
  MakeTable("g_sale_2", "bill_no CHAR(11)",
            {{"ABCD7000001"}, {"ABCD7000002"}, {"ABCD7000002"}, {"XYZW7000009"}});
  query_->SQL().SetText(
      "select distinct(bill_no) from g_sale_2 where substring(bill_no from 1 for 5) =:head_bill order by bill_no");
  query_->ParamByName("head_bill")->SetAsString("ABCD7");
  query_->Open();
  EXPECT_EQ(RowsOf(*query_), (Rows{"ABCD7000001", "ABCD7000002"}));
  query_->Close();

  Run("DROP TABLE Donate");
  MakeTable("customer", "cust_no VARCHAR(10), cust_name VARCHAR(20)", {{"C1", "Somchai"}, {"C2", "Malee"}});
  MakeTable("donate", "bill_no VARCHAR(10), bill_date TIMESTAMP, cust_no VARCHAR(10), total MONEY",
            {{"D0", "30/04/2024 23:59:59", "C1", "5"},
             {"D1", "01/05/2024", "C1", "10"},
             {"D2", "15/05/2024 13:00:00", "C2", "20"},
             {"D3", "31/05/2024 23:59:00", "C1", "30"},
             {"D4", "20/05/2024", "C9", "40"},
             {"D5", "01/06/2024", "C2", "50"}});
  query_->SQL().SetText(
      "select donate.bill_no, cust_name, total from donate, customer "
      "where donate.cust_no = customer.cust_no and bill_date between :mBegin and :mEnd order by bill_date");
  query_->ParamByName("mBegin")->SetAsDateTime(EncodeDate(2024, 5, 1));
  query_->ParamByName("mEnd")->SetAsDateTime(EncodeDate(2024, 5, 31) + 0.99999);
  query_->Open();
  EXPECT_EQ(RowsOf(*query_), (Rows{"D1|Somchai|10", "D2|Malee|20", "D3|Somchai|30"}));
  query_->Close();

  MakeTable("head", "bill_no VARCHAR(10), total MONEY", {{"H1", "100"}});
  MakeTable("line", "bill_no VARCHAR(10), item VARCHAR(10), total MONEY", {{"H1", "x", "60"}, {"H1", "y", "40"}});
  EXPECT_EQ(OpenRows("select * from head, line where head.bill_no = line.bill_no order by item"),
            (Rows{"H1|100|H1|x|60", "H1|100|H1|y|40"}));
  EXPECT_EQ(FieldNames(), (Rows{"bill_no", "total", "bill_no_1", "item", "total_1"}));
}

}  // namespace
