#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "engine/storage/base/ResultCodes.h"
#include "tests/engine/access/DonateTable.h"
#include "tests/engine/storage/HelperProcess.h"
#include "tests/engine/storage/common/EngineTestSupport.h"
#include "tests/support/ScratchFolder.h"

namespace {

bool Holds(const std::vector<Donation>& donations, int32_t id) {
  return std::ranges::any_of(donations, [id](const Donation& donation) { return donation.id == id; });
}

// This process and an access helper process on one database file, each
// with a multi-user session and a cursor on "Donate" holding record 1.
class TwoProcesses : public ::testing::Test {
 protected:
  TwoProcesses() {
    CreateDonateDatabase(name_);
    session_->SetConnected(true);
    donations_ = std::make_unique<DonateCursor>(*session_);
    EXPECT_EQ(donations_->Insert({1, "Anan", 100}), kResultOK);
  }

  HelperProcess& Other() {
    if (!other_) {
      other_ = std::make_unique<HelperProcess>(VTR_ACCESS_HELPER, std::vector<std::string>{name_});
      EXPECT_EQ(other_->Answer(), "ready");
    }
    return *other_;
  }
  std::string Ask(const std::string& line) {
    Other().Send(line);
    return Other().Answer();
  }

  ScopedRetryCaps caps_{{0, 2}};
  ScratchFolder folder_;
  std::string name_ = folder_.File("dat_temple.vtr");
  std::unique_ptr<TVTRLocalSession> session_ = DonateSession(name_);
  std::unique_ptr<DonateCursor> donations_;
  std::unique_ptr<HelperProcess> other_;
};

TEST_F(TwoProcesses, TheSecondEditOfARecordFindsItLockedAndHoldsNothingAfterwards) {
  ASSERT_TRUE(donations_->Find(1));
  ASSERT_EQ(donations_->Edit(), kResultOK);
  EXPECT_EQ(Ask("edit 1"), "-12");
  EXPECT_EQ(Ask("delete 1"), "-12");
  EXPECT_EQ(donations_->Post(150), kResultOK);
  EXPECT_EQ(Ask("update 1 175"), "0");
  ASSERT_TRUE(donations_->Find(1));
  EXPECT_EQ(donations_->Current().amount, 175);
}

TEST_F(TwoProcesses, ARecordChangedOrDeletedElsewhereIsReportedAndTheCallersValuesStay) {
  ASSERT_TRUE(donations_->Find(1));
  EXPECT_EQ(Ask("update 1 200"), "0");
  EXPECT_EQ(donations_->Edit(), kResultUpdateModified);
  EXPECT_EQ(donations_->Current().amount, 100) << "the record as the caller had it";
  EXPECT_EQ(Ask("edit 1"), "0") << "a refused edit keeps no lock";
  EXPECT_EQ(Ask("cancel"), "0");

  ASSERT_TRUE(donations_->Find(1));
  EXPECT_EQ(Ask("delete 1"), "0");
  EXPECT_EQ(donations_->Edit(), kResultUpdateDeleted);
  EXPECT_EQ(donations_->Current().amount, 200);
  EXPECT_EQ(donations_->Delete(), kResultDeleteDeleted);
  EXPECT_TRUE(donations_->All().empty());
}

TEST_F(TwoProcesses, ATransactionsInsertsShowOnlyAfterItsCommit) {
  EXPECT_EQ(Ask("start"), "ok");
  EXPECT_EQ(Ask("insert 5 Somchai 50"), "0");
  EXPECT_EQ(Ask("insert 6 Malee 60"), "0");
  EXPECT_FALSE(Holds(donations_->All(), 5));
  EXPECT_EQ(Ask("commit"), "ok");
  EXPECT_TRUE(Holds(donations_->All(), 5));
  EXPECT_TRUE(Holds(donations_->All(), 6));

  EXPECT_EQ(Ask("start"), "ok");
  EXPECT_EQ(Ask("insert 7 Wichai 70"), "0");
  EXPECT_EQ(Ask("rollback"), "ok");
  EXPECT_EQ(Ask("ids"), "ids 1 5 6");
  EXPECT_FALSE(Holds(donations_->All(), 7));
  EXPECT_EQ(donations_->Cursor().GetRecordCount(), 3);
}

TEST_F(TwoProcesses, AnExclusiveOpenKeepsTheOtherProcessOut) {
  HelperProcess refused(VTR_ACCESS_HELPER, {name_, "exclusive"});
  EXPECT_EQ(refused.Answer(), "error 30364");
  donations_.reset();
  session_->SetConnected(false);

  HelperProcess owner(VTR_ACCESS_HELPER, {name_, "exclusive"});
  ASSERT_EQ(owner.Answer(), "ready");
  EXPECT_EQ(NativeErrorOf([&] { session_->SetConnected(true); }), 30364);
  EXPECT_FALSE(session_->GetConnected());
  owner.Wait();
  session_->SetConnected(true);
}

TEST_F(TwoProcesses, ACancelAfterARefusedUpdateGivesBackWhatIsLeftAndNothingMore) {
  ASSERT_TRUE(donations_->Find(1));
  ASSERT_EQ(donations_->Edit(), kResultOK);
  // The dataset's old copy no longer matches what is stored.
  donations_->Cursor().OldRecord[donations_->Cursor().RecordSize - 1] ^= 0xFF;
  EXPECT_EQ(donations_->Post(300), kResultUpdateModified);
  EXPECT_EQ(donations_->Cancel(), kResultOK);
  EXPECT_EQ(Ask("update 1 400"), "0");
  EXPECT_NO_THROW(donations_->Cursor().CloseTable());
}

}  // namespace
