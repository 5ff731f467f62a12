// UPDATE against another process on the same file, which works through
// the components as the other program does.
#include <gtest/gtest.h>

#include <string>

#include "platform/os/RetryPolicy.h"
#include "tests/engine/sql/dml/DmlFixture.h"
#include "tests/engine/storage/HelperProcess.h"

namespace {

class TwoProcesses : public DmlTest {
 protected:
  TwoProcesses() {
    database_->SetKeepConnection(true);
    database_->Open();
    Run("INSERT INTO Donate (ID, Donor, Amount) VALUES (1, 'A', 10); "
        "INSERT INTO Donate (ID, Donor, Amount) VALUES (2, 'B', 20)");
  }

  ScopedRetryCaps caps_{{50, 2}};
  HelperProcess other_{VTR_TABLE_HELPER, {file_}};
};

TEST_F(TwoProcesses, ARecordLockedElsewhereFailsTheUpdateWithoutChangingAnyRow) {
  ASSERT_EQ(other_.Answer(), "ready");
  other_.Send("edit 2");
  ASSERT_EQ(other_.Answer(), "0");
  EXPECT_EQ(ErrorOf("UPDATE Donate SET Amount = Amount + 1"),
            "Vantor Engine Error # -12 Record is locked");
  other_.Send("cancel");
  ASSERT_EQ(other_.Answer(), "ok");
  EXPECT_EQ(Rows("Donate", "ByID"), (std::vector<std::string>{"1|A|10", "2|B|20"}));
}

TEST_F(TwoProcesses, TheOtherProcessSeesACompletedUpdateAtOnce) {
  ASSERT_EQ(other_.Answer(), "ready");
  EXPECT_EQ(RowsAffectedBy("UPDATE Donate SET Amount = 99 WHERE ID = 1"), 1);
  other_.Send("amount 1");
  EXPECT_EQ(other_.Answer(), "99");
}

}  // namespace
