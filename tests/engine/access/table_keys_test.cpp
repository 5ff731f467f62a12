// Key search and the master-detail link of the table component on real
// tables: FindKey on the active index, and a detail table that follows the
// current record of its master through the engine's range.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/db/DB.h"
#include "tests/engine/access/SearchFixture.h"
#include "tests/engine/storage/common/EngineTestSupport.h"

namespace {

using Ids = std::vector<int32_t>;

// Counts the data-set changes a dataset announces to its links.
class ChangeCounter : public TDataLink {
 public:
  int changes = 0;

 protected:
  void DataSetChanged() override { ++changes; }
};

class TableKeys : public SearchTest {};

TEST_F(TableKeys, FindKeySearchesTheActiveIndexOnItsLeadingFields) {
  auto users = Table("Users");
  users->FieldDefs().Add("ID", ftInteger);
  users->FieldDefs().Add("USRNAME", ftString, 10);
  users->IndexDefs().Add("ByName", "USRNAME");
  users->CreateTable();
  users->SetIndexFieldNames("USRNAME");
  users->Open();
  for (const auto& [id, name] : {std::pair{1, "u2"}, {2, "u1"}, {3, "u3"}}) {
    users->Append();
    users->FieldByName("ID")->SetAsInteger(id);
    users->FieldByName("USRNAME")->SetAsString(name);
    users->Post();
  }
  users->Last();
  EXPECT_TRUE(users->FindKey({Variant("u1")}));
  EXPECT_EQ(users->FieldByName("ID")->AsInteger(), 2);
  EXPECT_FALSE(users->FindKey({Variant("u9")}));
  EXPECT_EQ(users->FieldByName("ID")->AsInteger(), 2) << "a key not found leaves the table where it was";

  CreateLines({{1, 1}, {2, 1}, {2, 2}, {3, 1}});
  auto lines = Table("Line", "ByMaster");
  lines->Open();
  EXPECT_TRUE(lines->FindKey({Variant(2)}));
  EXPECT_EQ(lines->FieldByName("ID")->AsInteger(), 21) << "one value searches the leading field";
  EXPECT_TRUE(lines->FindKey({Variant(2), Variant(2)}));
  EXPECT_EQ(lines->FieldByName("ID")->AsInteger(), 22);
  EXPECT_EQ(lines->RecordCount(), 4) << "a key search sets no range";
}

TEST_F(TableKeys, FindKeyWithoutAnActiveIndexIsRefused) {
  CreateMembers({{1, "u1"}});
  auto users = Table("Member");
  users->SetName("Table1");
  users->Open();
  try {
    users->FindKey({Variant("u1")});
    ADD_FAILURE() << "FindKey without an index raised nothing";
  } catch (const EDatabaseError& error) {
    EXPECT_STREQ(error.what(), "Table1: No index currently active");
  }
  EXPECT_EQ(users->State(), dsBrowse);
}

class MasterDetail : public SearchTest {
 protected:
  void SetUp() override {
    CreateMembers({{1, "Anan"}, {2, "Bua"}, {3, "Chai"}});
    CreateLines({{1, 1}, {1, 2}, {3, 1}, {3, 2}, {3, 3}});
    master_->Open();
    source_.SetDataSet(master_.get());
    detail_->SetMasterSource(&source_);
    detail_->SetMasterFields("ID");
    detail_->Open();
  }

  std::unique_ptr<TVTRTable> master_ = Table("Member", "ByID");
  TDataSource source_{nullptr};
  std::unique_ptr<TVTRTable> detail_ = Table("Line", "ByMaster");
};

TEST_F(MasterDetail, TheDetailShowsTheLinesOfTheCurrentMasterRecord) {
  EXPECT_EQ(Shown(*detail_), (Ids{11, 12}));
  master_->Next();
  EXPECT_EQ(Shown(*detail_), Ids{}) << "a master record without lines";
  EXPECT_EQ(detail_->RecordCount(), 0);
  master_->Next();
  EXPECT_EQ(Shown(*detail_), (Ids{31, 32, 33}));
  master_->Close();
  EXPECT_EQ(Shown(*detail_), (Ids{11, 12, 31, 32, 33})) << "a closed master shows every line";
  master_->Open();
  EXPECT_EQ(Shown(*detail_), (Ids{11, 12}));
}

TEST_F(MasterDetail, AnIndexChangeAndAReopenKeepTheMasterRange) {
  master_->Last();
  detail_->SetIndexName("ByMasterText");
  EXPECT_EQ(Shown(*detail_), (Ids{31, 32, 33}));
  detail_->Close();
  detail_->Open();
  EXPECT_EQ(Shown(*detail_), (Ids{31, 32, 33}));
}

TEST_F(MasterDetail, ANewDetailRecordHasItsMasterValueBeforeOnNewRecord) {
  master_->Last();
  Variant seen;
  detail_->OnNewRecord = [&](TDataSet* dataset) {
    seen = dataset->FieldByName("MASTER_ID")->Value();
    dataset->FieldByName("LINE")->SetAsInteger(4);
    dataset->FieldByName("ID")->SetAsInteger(34);
  };
  detail_->Append();
  EXPECT_EQ(seen, Variant(3));
  detail_->Post();
  EXPECT_EQ(Shown(*detail_), (Ids{31, 32, 33, 34}));
}

TEST_F(MasterDetail, TheSameMasterValuesAgainReReadNothing) {
  ChangeCounter counter;
  TDataSource detail_source(nullptr);
  detail_source.SetDataSet(detail_.get());
  counter.SetDataSource(&detail_source);
  master_->Refresh();
  EXPECT_EQ(counter.changes, 0);
  master_->Next();
  EXPECT_GT(counter.changes, 0);
  counter.SetDataSource(nullptr);
}

TEST_F(MasterDetail, AMasterLinkedBackToTheDetailIsRefused) {
  TDataSource detail_source(nullptr);
  detail_source.SetDataSet(detail_.get());
  master_->Close();
  try {
    master_->SetMasterSource(&detail_source);
    ADD_FAILURE() << "a circular link raised nothing";
  } catch (const EDatabaseError& error) {
    EXPECT_NE(std::string(error.what()).find("Circular datalinks are not allowed"), std::string::npos);
  }
  EXPECT_EQ(master_->MasterSource(), nullptr);
}

}  // namespace
