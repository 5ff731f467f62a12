// INSERT ... SELECT: the rows of a query appended all or nothing, through a
// temporary copy that never outlives the statement.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/access/Table.h"
#include "engine/sql/dml/InsertStatement.h"
#include "tests/engine/sql/dml/DmlFixture.h"

namespace {

using Texts = std::vector<std::string>;

class InsertSelect : public DmlTest {
 protected:
  InsertSelect() {
    Run("CREATE TABLE h (a INTEGER, b VARCHAR(20)); INSERT INTO h VALUES (1, 'x'); INSERT INTO h VALUES (2, 'y')");
    Run("CREATE TABLE u (a INTEGER, b VARCHAR(20)); INSERT INTO u VALUES (7, 'u')");
    // Every temporary copy's name, to see that none stays.
    SetInsertSelectImportHook([this](TVTRTable& copy) { copies_.push_back(copy.TableName()); });
  }
  ~InsertSelect() override { SetInsertSelectImportHook(nullptr); }

  void ExpectNoCopyLeft() {
    ASSERT_FALSE(copies_.empty());
    for (const std::string& name : copies_) {
      TVTRTable copy(&form_);
      copy.SetTemporary(true);
      copy.SetTableName(name);
      EXPECT_FALSE(copy.Exists()) << name;
    }
  }

  Texts copies_;
};

TEST_F(InsertSelect, CopiesEveryRowByPositionAndCountsThem) {
  EXPECT_EQ(RowsAffectedBy("INSERT INTO h SELECT * FROM h"), 2);
  EXPECT_EQ(Rows("h"), (Texts{"1|x", "2|y", "1|x", "2|y"}));
  EXPECT_EQ(RowsAffectedBy("INSERT INTO h (SELECT a, b FROM u)"), 1);
  EXPECT_EQ(RowsAffectedBy("INSERT INTO h (b) (SELECT b FROM u WHERE a = 7)"), 1);
  EXPECT_EQ(Rows("h"), (Texts{"1|x", "2|y", "1|x", "2|y", "7|u", "-|u"}));
  ExpectNoCopyLeft();
}

TEST_F(InsertSelect, MoreColumnsThanTheTargetTakesAreRefusedBeforeAnyRow) {
  EXPECT_EQ(ErrorOf("INSERT INTO h SELECT a, b, a FROM h"),
            "Number of field names doesn't equal to the number of field values: 2 <> 3. Found at line 1, "
            "column 15 - Native error: 20259");
  EXPECT_EQ(ErrorOf("INSERT INTO h (a, b) SELECT a FROM u"),
            "Number of field names doesn't equal to the number of field values: 2 <> 1. Found at line 1, "
            "column 22 - Native error: 20259");
  Run("CREATE TABLE w (a INTEGER, b VARCHAR(20), c INTEGER); INSERT INTO w VALUES (3, 'w', 3)");
  EXPECT_EQ(ErrorOf("INSERT INTO h SELECT * FROM w"),
            "Number of field names doesn't equal to the number of field values: 2 <> 3. Found at line 1, "
            "column 15 - Native error: 20259");
  EXPECT_EQ(Rows("h"), (Texts{"1|x", "2|y"}));
  ExpectNoCopyLeft();
}

// The batch copy into the temporary table logs a failing row and goes on;
// a statement that lost rows must say so and insert none.
TEST_F(InsertSelect, ACopyThatLosesRowsFailsWithItsLogAndInsertsNothing) {
  SetInsertSelectImportHook([this](TVTRTable& copy) {
    copies_.push_back(copy.TableName());
    copy.OnImportProgress = [](TObject*, int32_t, bool& continue_) { continue_ = false; };
  });
  const std::string error = ErrorOf("INSERT INTO h SELECT * FROM h");
  EXPECT_EQ(error.rfind("Error importing table. Cannot copy data due to error: ", 0), 0u) << error;
  EXPECT_NE(error.find("Native error: 10403"), std::string::npos) << error;
  EXPECT_EQ(Rows("h"), (Texts{"1|x", "2|y"}));
  ExpectNoCopyLeft();
}

TEST_F(InsertSelect, AFailingRowUndoesTheRowsCopiedBeforeIt) {
  Run("CREATE TABLE k (a INTEGER, UNIQUE INDEX ka (a)); INSERT INTO k VALUES (2)");
  EXPECT_NE(ErrorOf("INSERT INTO k SELECT a FROM h"), "");
  EXPECT_EQ(Rows("k"), Texts{"2"});
  database_->SetKeepConnection(true);
  database_->Open();
  Run("START TRANSACTION; INSERT INTO k VALUES (5)");
  EXPECT_NE(ErrorOf("INSERT INTO k SELECT a FROM h"), "");
  Run("COMMIT");
  EXPECT_EQ(Rows("k"), (Texts{"2", "5"}));
  ExpectNoCopyLeft();
}

}  // namespace
