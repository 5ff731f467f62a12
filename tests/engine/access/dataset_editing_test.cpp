// The write side of the dataset component: record changes under the
// multi-user protocol against a second real process, and the cursor's
// refusals as EVTREngineError.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/storage/base/ResultCodes.h"
#include "platform/db/DB.h"
#include "tests/engine/access/TableFixture.h"
#include "tests/engine/storage/HelperProcess.h"
#include "tests/engine/storage/common/EngineTestSupport.h"

namespace {

// The code and message of the EVTREngineError an action raises.
struct Refusal {
  int32_t code = 0;
  std::string message;
};
template <typename Action>
Refusal RefusalOf(Action&& action) {
  try {
    action();
  } catch (const EVTREngineError& e) {
    return {e.ErrorCode, e.Message()};
  }
  return {};
}

class Editing : public TableTest {
 protected:
  void SetUp() override {
    table_->Open();
    Add(*table_, {{1, "Anan", 100}, {2, "Bua", 200}});
    table_->First();
  }

  // A table component program in a second process on the same file.
  std::string Ask(const std::string& line) {
    if (!other_) {
      other_ = std::make_unique<HelperProcess>(VTR_TABLE_HELPER, std::vector<std::string>{file_});
      EXPECT_EQ(other_->Answer(), "ready");
    }
    other_->Send(line);
    return other_->Answer();
  }
  double Amount() { return table_->FieldByName("Amount")->AsFloat(); }

  ScopedRetryCaps caps_{{50, 2}};
  std::unique_ptr<TVTRTable> table_ = Table("Donate", "ByID");
  std::unique_ptr<HelperProcess> other_;
};

TEST_F(Editing, ARecordChangedElsewhereSinceItWasReadRefusesTheEditUntilRefreshed) {
  EXPECT_EQ(Ask("update 1 150"), "0");
  const Refusal refusal = RefusalOf([&] { table_->Edit(); });
  EXPECT_EQ(refusal.code, kResultUpdateModified);
  EXPECT_EQ(refusal.message, "Vantor Engine Error # -4 Error updating record - record was modified by other process");
  EXPECT_EQ(table_->State(), dsBrowse);
  EXPECT_EQ(Ask("amount 1"), "150") << "nothing was written";

  table_->Refresh();
  EXPECT_EQ(Amount(), 150);
  table_->Edit();
  table_->FieldByName("Amount")->SetAsFloat(175);
  table_->Post();
  EXPECT_EQ(Ask("amount 1"), "175");
}

TEST_F(Editing, AnInsertRefusedWhileAnotherTransactionHoldsTheTableIsPostedOnRetryAfterItsCommit) {
  EXPECT_EQ(Ask("start"), "ok");
  EXPECT_EQ(Ask("insert 5 Chai 50"), "0");
  std::vector<int32_t> seen;
  table_->OnPostError = [&](TDataSet*, EDatabaseError& error, TDataAction& action) {
    seen.push_back(dynamic_cast<EVTREngineError&>(error).ErrorCode);
    EXPECT_EQ(Ask("commit"), "ok");
    action = daRetry;
  };
  table_->Append();
  table_->FieldByName("ID")->SetAsInteger(3);
  table_->FieldByName("Amount")->SetAsFloat(30);
  table_->Post();
  EXPECT_EQ(seen, std::vector<int32_t>{kResultTableLocked});
  table_->First();
  EXPECT_EQ(IdsFromHere(*table_), (std::vector<int32_t>{1, 2, 3, 5}));
}

TEST_F(Editing, ARetriedPostComparesWithTheRecordAsItWasWhenEditingStarted) {
  table_->Edit();
  table_->FieldByName("Amount")->SetAsFloat(111);
  EXPECT_EQ(Ask("lock"), "ok") << "a post of the other process holds the table";
  std::vector<int32_t> seen;
  table_->OnPostError = [&](TDataSet*, EDatabaseError& error, TDataAction& action) {
    seen.push_back(dynamic_cast<EVTREngineError&>(error).ErrorCode);
    EXPECT_EQ(table_->State(), dsEdit);
    EXPECT_EQ(Ask("unlock"), "ok");
    action = daRetry;
  };
  table_->Post();
  EXPECT_EQ(seen, std::vector<int32_t>{kResultTableLocked}) << "no conflict on the retry";
  EXPECT_EQ(Ask("amount 1"), "111");
}

TEST_F(Editing, AReadOutlastedByAnotherProcesssTableLockIsRefusedAsThatLock) {
  EXPECT_EQ(Ask("lock"), "ok");
  auto reader = Table("Donate", "ByID");
  const Refusal refusal = RefusalOf([&] { reader->Open(); });
  EXPECT_EQ(refusal.code, kResultTableLocked);
  EXPECT_EQ(refusal.message, "Vantor Engine Error # -13 Table is locked");
  EXPECT_EQ(Ask("unlock"), "ok");
  reader->Open();
  EXPECT_EQ(IdsFromHere(*reader), (std::vector<int32_t>{1, 2}));
}

TEST_F(Editing, AKeyViolationIsRefusedWithTheConstraintsOwnText) {
  CreateMembers({{1, "Anan"}, {2, "Bua"}});
  auto members = Table("Member");
  members->Open();
  members->Append();
  members->FieldByName("ID")->SetAsInteger(2);
  const Refusal refusal = RefusalOf([&] { members->Post(); });
  EXPECT_EQ(refusal.code, kResultFailure);
  EXPECT_EQ(refusal.message.rfind("Vantor Engine Error # -8 ", 0), 0u) << refusal.message;
  EXPECT_GT(refusal.message.size(), std::string("Vantor Engine Error # -8 ").size());
  EXPECT_EQ(members->State(), dsInsert);
  members->Cancel();
  EXPECT_EQ(members->RecordCount(), 2);
}

// Exposes the dataset layer's add-record operation, which the programs never
// call but a descendant may.
class AddingTable : public TVTRTable {
 public:
  using TVTRTable::TVTRTable;
  using TVTRTable::InternalAddRecord;
};

TEST_F(Editing, AddingARecordRaisesEveryRefusalOfTheCursor) {
  CreateMembers({{1, "Anan"}, {2, "Bua"}});
  AddingTable adding(&form_);
  adding.SetDatabaseName("d_main");
  adding.SetTableName("Member");
  adding.Open();
  adding.Insert();
  adding.FieldByName("ID")->SetAsInteger(1);
  const Refusal refusal = RefusalOf([&] { adding.InternalAddRecord(adding.ActiveBuffer(), true); });
  EXPECT_EQ(refusal.code, kResultFailure) << "a key violation is not reported as success";
  adding.FieldByName("ID")->SetAsInteger(9);
  adding.InternalAddRecord(adding.ActiveBuffer(), true);
  adding.Cancel();
  EXPECT_EQ(adding.RecordCount(), 3);
  EXPECT_ENGINE_ERROR(adding.InternalAddRecord(adding.ActiveBuffer(), true), 10076,
                      "Dataset is not in insert or edit mode");
}

}  // namespace
