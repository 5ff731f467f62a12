// UPDATE and DELETE through the window's query component: the rows they
// choose, their counts, their syntax errors, and all or nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/engine/sql/dml/DmlFixture.h"

namespace {

using Texts = std::vector<std::string>;

class UpdateDelete : public DmlTest {
 protected:
  UpdateDelete() {
    database_->SetKeepConnection(true);
    database_->Open();
    Run("CREATE TABLE h (a INTEGER, b VARCHAR(20)); INSERT INTO h VALUES (1, 'x'); "
        "INSERT INTO h VALUES (2, 'y'); INSERT INTO h VALUES (3, 'x'); INSERT INTO h (a) VALUES (4)");
  }
};

TEST_F(UpdateDelete, UpdateChangesTheMatchingRowsAndCountsThem) {
  EXPECT_EQ(RowsAffectedBy("UPDATE h SET a = a + 10 WHERE b = 'x'"), 2);
  EXPECT_EQ(Rows("h"), (Texts{"11|x", "2|y", "13|x", "4|-"}));
  EXPECT_EQ(RowsAffectedBy("UPDATE h SET a = 0 WHERE b = 'none'"), 0);
  EXPECT_EQ(RowsAffectedBy("UPDATE h SET h.a = 1, b = 'z'"), 4);
  EXPECT_EQ(Rows("h"), (Texts{"1|z", "1|z", "1|z", "1|z"}));
}

TEST_F(UpdateDelete, UpdateTakesParametersAndAnAliasForItsCondition) {
  query_->SQL().SetText("UPDATE h t SET b = :nb WHERE t.a = :pa");
  query_->ParamByName("nb")->SetAsString("วัด");
  query_->ParamByName("pa")->SetAsInteger(2);
  query_->ExecSQL();
  EXPECT_EQ(query_->RowsAffected(), 1);
  EXPECT_EQ(Rows("h"), (Texts{"1|x", "2|วัด", "3|x", "4|-"}));
}

TEST_F(UpdateDelete, DeleteRemovesOnlyTheMatchingRows) {
  EXPECT_EQ(RowsAffectedBy("DELETE FROM h WHERE b IS NULL"), 1);
  EXPECT_EQ(Rows("h"), (Texts{"1|x", "2|y", "3|x"}));
  EXPECT_EQ(RowsAffectedBy("DELETE FROM h"), 3);
  EXPECT_TRUE(Rows("h").empty());
}

TEST_F(UpdateDelete, MalformedStatementsChangeNothing) {
  const struct {
    const char* sql;
    const char* error;
  } cases[] = {
      {"UPDATE h x SET x.a = 1", "Token '=' expected, but '.' found at line 1, column 17 - Native error: 30221"},
      {"UPDATE h SET a = 1 b = 2", "Token ',' expected, but 'b' found at line 1, column 20 - Native error: 30222"},
      {"UPDATE h a = 1", "Token 'SET' expected, but '=' found at line 1, column 12 - Native error: 30220"},
      {"UPDATE h SET a = 1,", "Unexpected end of SQL command found at line 1, column 19 - Native error: 30223"},
      {"UPDATE h SET nope = 1", "Field 'nope' not found"},
      {"DELETE", "Unexpected end of SQL command found at line 1, column 1 - Native error: 30224"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sql);
    EXPECT_EQ(ErrorOf(c.sql), c.error);
    EXPECT_EQ(Rows("h"), (Texts{"1|x", "2|y", "3|x", "4|-"}));
  }
  EXPECT_NE(ErrorOf("DELETE h").find("Native error: 30184"), std::string::npos);
}

// The live result runs in the order of the index the SET changes: a row
// moved ahead of the rows still to visit must not be updated again.
TEST_F(UpdateDelete, AnUpdateOfTheOrderingColumnVisitsEveryRowOnce) {
  Run("CREATE TABLE hw (k INTEGER, INDEX ik (k))");
  for (int k = 1; k <= 5; ++k) Run("INSERT INTO hw VALUES (" + std::to_string(k) + ")");
  EXPECT_EQ(RowsAffectedBy("UPDATE hw SET k = k + 10 WHERE k < 100"), 5);
  EXPECT_EQ(Rows("hw", "ik"), (Texts{"11", "12", "13", "14", "15"}));
}

class AllOrNothing : public UpdateDelete {
 protected:
  AllOrNothing() {
    Run("CREATE TABLE uq (k INTEGER, UNIQUE INDEX uk (k))");
    for (int k : {1, 2, 3, 30}) Run("INSERT INTO uq VALUES (" + std::to_string(k) + ")");
  }
  static constexpr const char* kCollision = "UPDATE uq SET k = k * 10 WHERE k < 10";
  static constexpr const char* kViolation =
      "Vantor Engine Error # -8 Constraint unique 'C_Unique$k' violated. Duplicate found. - Native error: 30320";
};

TEST_F(AllOrNothing, AFailingUpdateOutsideATransactionChangesNoRow) {
  EXPECT_EQ(ErrorOf(kCollision), kViolation);
  EXPECT_EQ(Rows("uq"), (Texts{"1", "2", "3", "30"}));
}

TEST_F(AllOrNothing, AFailingUpdateInsideATransactionKeepsWhatEarlierStatementsDid) {
  Run("START TRANSACTION; UPDATE uq SET k = 20 WHERE k = 30; DELETE FROM h WHERE a = 4");
  EXPECT_EQ(ErrorOf(kCollision), kViolation);
  EXPECT_TRUE(database_->InTransaction());
  EXPECT_EQ(Rows("uq"), (Texts{"1", "2", "3", "20"}));
  // The first statement of a text stands when the second fails.
  EXPECT_NE(ErrorOf("DELETE FROM h WHERE a = 1; UPDATE uq SET k = 1 WHERE k = 2"), "");
  EXPECT_EQ(Rows("h"), (Texts{"2|y", "3|x"}));
  EXPECT_EQ(Rows("uq"), (Texts{"1", "2", "3", "20"}));
  Run("ROLLBACK");
  EXPECT_EQ(Rows("uq"), (Texts{"1", "2", "3", "30"}));
  EXPECT_EQ(Rows("h"), (Texts{"1|x", "2|y", "3|x", "4|-"}));
}

TEST_F(AllOrNothing, ARolledBackTextLeavesTheTableUnchanged) {
  Run("START TRANSACTION; INSERT INTO h VALUES (5, 'v'); UPDATE h SET b = 'w'; DELETE FROM h WHERE a = 1; "
      "ROLLBACK");
  EXPECT_EQ(Rows("h"), (Texts{"1|x", "2|y", "3|x", "4|-"}));
}

}  // namespace
