// LASTAUTOINC in statements, and its refusal where no statement runs.
#include <gtest/gtest.h>

#include <string>

#include "tests/engine/sql/StatementFixture.h"

namespace {

class LastAutoinc : public StatementTest {
 protected:
  // Connected for good, as the programs keep it: the last values belong to the session.
  LastAutoinc() {
    database_->SetKeepConnection(true);
    database_->Open();
    Run("CREATE TABLE u (id AUTOINC(LARGEINT, INCREMENT 5, INITIALVALUE 100), nm VARCHAR(40))");
    Run("CREATE TABLE seen (v LARGEINT)");
  }

  // The values of seen in order.
  std::vector<int64_t> Seen() {
    auto table = Table("seen");
    table->Open();
    std::vector<int64_t> values;
    for (; !table->Eof(); table->Next()) values.push_back(table->FieldByName("v")->AsLargeInt());
    return values;
  }
};

TEST_F(LastAutoinc, GivesTheSessionsLastValueReadAnewAtEveryStatement) {
  Run("INSERT INTO u (nm) VALUES ('ab'); INSERT INTO seen VALUES (LASTAUTOINC(u, id))");
  Run("INSERT INTO u (nm) VALUES ('cd'); INSERT INTO seen VALUES (LASTAUTOINC(u, id) + 1)");
  EXPECT_EQ(Seen(), (std::vector<int64_t>{100, 106}));
}

TEST_F(LastAutoinc, ASelectReadsItAsALargeInt) {
  Run("CREATE TABLE one (x INTEGER); INSERT INTO one VALUES (1); INSERT INTO u (nm) VALUES ('ab')");
  query_->SQL().SetText("SELECT LASTAUTOINC(u, id) AS li FROM one");
  query_->Open();
  EXPECT_EQ(query_->FieldByName("li")->DataType(), ftLargeint);
  EXPECT_EQ(query_->FieldByName("li")->AsLargeInt(), 100);
}

TEST_F(LastAutoinc, FailsUntilTheSessionInsertedARowAndForAFieldTheTableLacks) {
  EXPECT_EQ(ErrorOf("INSERT INTO seen VALUES (LASTAUTOINC(u, id))"),
            "No SequenceLastValue in session for sequence 'id'. Call GetNextVal first - Native error: 30012");
  EXPECT_EQ(ErrorOf("INSERT INTO seen VALUES (LASTAUTOINC(u, nope))"),
            "Field 'nope' not found - Native error: 30337");
  EXPECT_EQ(ErrorOf("INSERT INTO seen VALUES (LASTAUTOINC(u id))"),
            "Token ',' expected, but 'id' found at line 1, column 40 - Native error: 30334");
  EXPECT_TRUE(Seen().empty());
}

TEST_F(LastAutoinc, AFilterNamingItIsRefusedWhenParsed) {
  auto table = Table("u");
  table->Open();
  table->SetFilter("id = LASTAUTOINC(u, id)");
  try {
    table->SetFiltered(true);
    FAIL() << "the filter was accepted";
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(),
              "Function 'LASTAUTOINC' cannot be used outside an SQL statement (line 1, column 6) - Native error: "
              "30335");
  }
}

}  // namespace
