// The SQL engine's projection of a dataset: the table reopened on its own
// cursor with only some fields, under other names, or left on all of them
// when the projection is refused.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/db/DB.h"
#include "tests/engine/access/TableFixture.h"
#include "tests/engine/storage/common/EngineTestSupport.h"

namespace {

TStringList Names(std::initializer_list<const char*> names) {
  TStringList list;
  for (const char* name : names) list.Add(name);
  return list;
}

std::vector<std::string> FieldNames(TVTRTable& table) {
  std::vector<std::string> names;
  for (TField* field : table.Fields()) names.push_back(field->FieldName());
  return names;
}

class Projections : public TableTest {
 protected:
  void SetUp() override {
    table_->Open();
    Add(*table_, {{1, "Anan", 10}, {2, "Bua", 20}});
    table_->First();
  }

  std::unique_ptr<TVTRTable> table_ = Table("Donate", "ByID");
};

TEST_F(Projections, TwoFieldsUnderTwoAliasesAreAllTheReopenedTableShows) {
  const TVTRCursor* cursor = table_->Handle();
  table_->SetProjection(Names({"Amount", "Donor"}), Names({"Total", "Giver"}));
  ASSERT_TRUE(table_->Active());
  EXPECT_EQ(table_->Handle(), cursor) << "reopened on its own cursor";
  EXPECT_FALSE(cursor->ProjectionSet);
  EXPECT_EQ(FieldNames(*table_), (std::vector<std::string>{"Total", "Giver"}));
  EXPECT_EQ(table_->FieldByName("Giver")->AsString(), "Anan");
  table_->Next();
  EXPECT_EQ(table_->FieldByName("Total")->AsFloat(), 20);
  EXPECT_EQ(table_->RecordCount(), 2);
}

TEST_F(Projections, AnEmptyAliasKeepsTheFieldsName) {
  table_->SetProjection(Names({"Donor", "ID"}), Names({"", "Number"}));
  EXPECT_EQ(FieldNames(*table_), (std::vector<std::string>{"Donor", "Number"}));
}

TEST_F(Projections, ARefusedProjectionLeavesTheTableOpenOnAllItsFields) {
  table_->Next();
  EXPECT_ENGINE_ERROR(table_->SetProjection(Names({"Donor", "Missing"}), Names({"", ""})), 10323,
                      "Cannot find field Missing");
  EXPECT_ENGINE_ERROR(table_->SetProjection(Names({"Donor"}), Names({})), 10321,
                      "Error - different lists length. L1 = 1, L2 = 0");
  ASSERT_TRUE(table_->Active());
  EXPECT_EQ(FieldNames(*table_), (std::vector<std::string>{"ID", "Donor", "Amount"}));
  EXPECT_EQ(table_->FieldByName("Donor")->AsString(), "Bua") << "still on its record";
  EXPECT_EQ(table_->FieldByName("Amount")->AsFloat(), 20);
}

TEST_F(Projections, AReopenThatFailsGivesTheTableItsFullFieldsAgain) {
  auto table = Table("Donate", "ByID");
  auto* id = new TIntegerField(table.get());
  id->SetFieldName("ID");
  id->SetDataSet(table.get());
  table->Open();
  // The persistent field ID has no field in the projection.
  EXPECT_THROW(table->SetProjection(Names({"Donor"}), Names({""})), EDatabaseError);
  ASSERT_TRUE(table->Active());
  EXPECT_EQ(table->FieldDefs().Count(), 3);
  EXPECT_FALSE(table->Handle()->ProjectionSet);
  EXPECT_EQ(id->AsInteger(), 1);
  table->Close();
  table->Open();
  EXPECT_EQ(table->FieldDefs().Count(), 3) << "the next open makes a new cursor";
}

}  // namespace
