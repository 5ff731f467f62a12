// The register windows' save path over a real temple database: statements with
// ":name" parameters filled from box texts, typed as their columns need, and
// the key look-ups as parameterised SELECTs under the Thai collation.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/core/SqlRegisterRows.h"
#include "app/core/WindowDatabase.h"
#include "platform/rtl/Exception.h"
#include "tests/app/core/support/TempleWindowTest.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

RegisterSql PersonSql() {
  RegisterSql sql;
  sql.table = "h_person";
  sql.key_column = "per_no";
  sql.insert = {" insert into h_person (per_no,per_name,per_birth,per_salary,per_edu) ",
                " values (:pper_no,:pper_name,:pper_birth,:pper_salary,:pper_edu) "};
  sql.update = {{" update h_person set per_name=:pper_name,per_birth=:pper_birth,per_salary=:pper_salary ",
                 " where per_no =:qper_no "},
                "qper_no"};
  sql.remove = {{" delete from h_person ", " where per_no =:pper_no "}, "pper_no"};
  sql.params = {{"pper_no", "per_no"},
                {"pper_name", "per_name"},
                {"pper_birth", "per_birth", ParamKind::kDate},
                {"pper_salary", "per_salary", ParamKind::kNumber},
                {"pper_edu", {}}};
  return sql;
}

RowValues Person(const std::string& number, const std::string& name, const std::string& birth = "  /  /    ",
                 const std::string& salary = "") {
  return {{"per_no", number}, {"per_name", name}, {"per_birth", birth}, {"per_salary", salary}};
}

class SqlRegisterRowsTest : public TempleWindowTest {
 protected:
  void SetUp() override {
    TempleWindowTest::SetUp();
    auto* database = new TVTRDatabase(&window_);
    SetUpWindowDatabase(*database, "d_rows", /*keep_connection=*/true);
    rows_ = std::make_unique<SqlRegisterRows>(&window_, "d_rows", PersonSql());
  }
  void TearDown() override {
    rows_.reset();
    window_.DestroyComponents();
    TempleWindowTest::TearDown();
  }

  Rows StoredPersons() { return Stored("h_person", {"per_no", "per_name", "per_birth", "per_salary", "per_edu"}); }

  TComponent window_{nullptr};
  std::unique_ptr<SqlRegisterRows> rows_;
};

TEST_F(SqlRegisterRowsTest, BoxTextsReachTheirColumnsAsDatesNumbersAndNulls) {
  struct Case {
    RowValues values;
    std::vector<std::string> stored;
  };
  const std::vector<Case> cases = {
      {Person("P1", "พระหนึ่ง", "05/03/2513", "12500.5"), {"P1", "พระหนึ่ง", "05/03/1970", "12500.5", ""}},
      {Person("P2", "พระสอง", "05/ 3/2567", "0"), {"P2", "พระสอง", "05/03/2024", "0", ""}},
      {Person("P3", "พระสาม"), {"P3", "พระสาม", "", "", ""}},
  };
  for (const Case& c : cases) {
    rows_->Insert(c.values);
    EXPECT_EQ(StoredPersons().back(), c.stored);
  }
}

TEST_F(SqlRegisterRowsTest, UpdateAndDeleteTouchOnlyTheKeyedRowAndCountIt) {
  rows_->Insert(Person("P1", "พระหนึ่ง"));
  rows_->Insert(Person("P2", "พระสอง"));
  EXPECT_EQ(rows_->Update("P1", Person("P1", "พระหนึ่งใหม่", "01/01/2500", "10")), 1);
  EXPECT_EQ(rows_->Update("P9", Person("P9", "ไม่มี")), 0);
  EXPECT_EQ(StoredPersons(),
            (Rows{{"P1", "พระหนึ่งใหม่", "01/01/1957", "10", ""}, {"P2", "พระสอง", "", "", ""}}));
  EXPECT_EQ(rows_->Delete("P2"), 1);
  EXPECT_EQ(rows_->Delete("P2"), 0);
  EXPECT_EQ(StoredPersons(), (Rows{{"P1", "พระหนึ่งใหม่", "01/01/1957", "10", ""}}));
}

TEST_F(SqlRegisterRowsTest, KeysAreFoundAsTypedWithQuotesPatternSignsAndThaiOrder) {
  for (const char* key : {"O'Neil", "A%B", "ABC", "abd", "เกษม"}) rows_->Insert(Person(key, "ชื่อ"));
  struct Case {
    const char* key;
    bool prefix;
    bool found;
  };
  const std::vector<Case> cases = {
      {"O'Neil", false, true}, {"O'N", true, true},  {"O'N", false, false},
      {"A%", true, true},      {"A%C", true, false},  // "%" is no wildcard: "ABC" does not begin with it
      {"A_C", true, false},                           // nor is "_"
      {"AB", true, true},      {"AD", true, false},   // case-sensitive: "abd" is not "AD..."
      {"เก", true, true},      {"ก", true, false},    // Thai order puts "เกษม" under ก; its text begins with เ
      {"เกษม", false, true},
  };
  for (const Case& c : cases) EXPECT_EQ(rows_->HasKey(c.key, c.prefix), c.found) << c.key << " prefix " << c.prefix;
}

TEST_F(SqlRegisterRowsTest, TextsThatAreNoNumberOrDateStopTheStatementBeforeAnythingIsWritten) {
  EXPECT_THROW(rows_->Insert(Person("P1", "พระหนึ่ง", "  /  /    ", "12,5x")), EConvertError);
  EXPECT_THROW(rows_->Insert(Person("P1", "พระหนึ่ง", "31/02/2513")), EConvertError);
  EXPECT_TRUE(StoredPersons().empty());
}

TEST_F(SqlRegisterRowsTest, AStatementParameterWithoutASourceIsRefusedBeforeItRuns) {
  RegisterSql sql = PersonSql();
  sql.params.pop_back();  // pper_edu
  SqlRegisterRows rows(&window_, "d_rows", std::move(sql));
  EXPECT_THROW(rows.Insert(Person("P1", "พระหนึ่ง")), std::logic_error);
  EXPECT_TRUE(StoredPersons().empty());
}

}  // namespace
