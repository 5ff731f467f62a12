// A record refused by its unique index: the check finds the key taken, and
// nothing of the record reaches the file, the unique index or the other
// index, inside a transaction and under a statement savepoint alike. The
// keys that are free still go in after a refusal and after going back to a
// savepoint, in their order in both indexes.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/storage/base/ResultCodes.h"
#include "engine/storage/base/Session.h"
#include "tests/engine/access/TableFixture.h"

namespace {

using Rows = std::vector<std::pair<int32_t, std::string>>;

constexpr const char* kDuplicate =
    "Vantor Engine Error # -8 Constraint unique 'C_Unique$ID' violated. Duplicate found. - Native error: 30320";

class UniqueInsert : public TableTest {
 protected:
  void SetUp() override {
    database_->SetKeepConnection(true);
    database_->Open();
    gifts_->FieldDefs().Add("ID", ftInteger);
    gifts_->FieldDefs().Add("Donor", ftString, 20);
    gifts_->IndexDefs().Add("ByID", "ID", TIndexOptions{ixUnique});
    gifts_->IndexDefs().Add("ByDonor", "Donor", TIndexOptions{});
    gifts_->CreateTable();
    gifts_->Open();
    // Enough rows for both trees to have nodes above their leaves.
    for (int32_t id = 2; id <= 1200; id += 2) Insert(id);
  }

  static std::string DonorOf(int32_t id) { return "Donor " + std::to_string(100000 - id); }

  void Insert(int32_t id) {
    gifts_->Append();
    gifts_->FieldByName("ID")->SetAsInteger(id);
    gifts_->FieldByName("Donor")->SetAsString(DonorOf(id));
    gifts_->Post();
  }

  // A second record with the key of `id`: refused, and given up.
  void ExpectRefused(int32_t id) {
    gifts_->Append();
    gifts_->FieldByName("ID")->SetAsInteger(id);
    gifts_->FieldByName("Donor")->SetAsString("Someone else");
    try {
      gifts_->Post();
      ADD_FAILURE() << "the duplicate of " << id << " was taken";
    } catch (const EVTREngineError& e) {
      EXPECT_EQ(e.ErrorCode, kResultFailure);
      EXPECT_EQ(e.Message(), kDuplicate);
    }
    gifts_->Cancel();
  }

  // The rows in the order of an index ("" for storage order).
  Rows InOrder(const std::string& index_name) {
    gifts_->SetIndexName(index_name);
    Rows rows;
    for (gifts_->First(); !gifts_->Eof(); gifts_->Next())
      rows.emplace_back(gifts_->FieldByName("ID")->AsInteger(), gifts_->FieldByName("Donor")->AsString());
    return rows;
  }

  // What each index and the storage order must show for the IDs.
  void ExpectExactly(std::vector<int32_t> ids) {
    Rows by_id;
    std::sort(ids.begin(), ids.end());
    for (int32_t id : ids) by_id.emplace_back(id, DonorOf(id));
    EXPECT_EQ(InOrder("ByID"), by_id);
    const Rows by_donor(by_id.rbegin(), by_id.rend());
    EXPECT_EQ(InOrder("ByDonor"), by_donor);
    Rows stored = InOrder("");
    std::sort(stored.begin(), stored.end());
    EXPECT_EQ(stored, by_id);
    EXPECT_EQ(gifts_->RecordCount(), static_cast<int64_t>(ids.size()));
  }

  static std::vector<int32_t> Evens() {
    std::vector<int32_t> ids;
    for (int32_t id = 2; id <= 1200; id += 2) ids.push_back(id);
    return ids;
  }

  std::unique_ptr<TVTRTable> gifts_ = Table("Gift");
};

TEST_F(UniqueInsert, ADuplicateInATransactionWritesNothingAndFreeKeysStillGoIn) {
  database_->StartTransaction();
  for (const int32_t id : {2, 600, 1200}) ExpectRefused(id);
  ExpectExactly(Evens());
  // Free keys at the start, inside and past the end of the trees.
  std::vector<int32_t> ids = Evens();
  for (const int32_t id : {1, 601, 1201}) {
    Insert(id);
    ids.push_back(id);
  }
  ExpectRefused(601);
  database_->Commit(true);
  gifts_->Close();
  gifts_->Open();
  ExpectExactly(ids);
}

TEST_F(UniqueInsert, ADuplicateUnderASavepointWritesNothingAndTheMarkUndoesWhatCameAfterIt) {
  TVTRBaseSession& session = *gifts_->Handle()->Session;
  database_->StartTransaction();
  Insert(301);
  session.MarkStatement();
  Insert(303);
  ExpectRefused(303);
  ExpectRefused(300);
  session.RollbackToStatementMark();
  gifts_->Refresh();
  std::vector<int32_t> ids = Evens();
  ids.push_back(301);
  ExpectExactly(ids);
  // The key the mark undid is free again.
  Insert(303);
  ids.push_back(303);
  database_->Commit(true);
  gifts_->Close();
  gifts_->Open();
  ExpectExactly(ids);
}

}  // namespace
