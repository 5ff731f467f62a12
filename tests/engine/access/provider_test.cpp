// The provider operations of the dataset and table components that a
// provider relies on: statements through the query component, key fields
// and parameters as a range.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/db/DB.h"
#include "tests/engine/access/FakeSQLProcessor.h"
#include "tests/engine/access/SearchFixture.h"

namespace {

using Ids = std::vector<int32_t>;

class Provider : public SearchTest {
 protected:
  Provider() { FakeSQLProcessor::Register(); }
  ~Provider() override { FakeSQLProcessor::Unregister(); }
};

TEST_F(Provider, AStatementRunsThroughAQueryOnTheDatasetsAlias) {
  auto table = Table("Donate");
  TParams params;
  params.CreateParam(ftInteger, "id")->SetAsInteger(2);
  FakeSQLProcessor::NextScript().rows_affected = 3;
  EXPECT_EQ(table->PSExecuteStatement("delete from Donate where ID = :id", &params), 3);
  ASSERT_EQ(FakeSQLProcessor::Runs().size(), 1u);
  const FakeSQLProcessor::Run& run = FakeSQLProcessor::Runs().back();
  EXPECT_EQ(run.text, "delete from Donate where ID = :id");
  ASSERT_EQ(run.params.size(), 1u);
  EXPECT_EQ(run.params[0].GetAsInteger(), 2);
  EXPECT_EQ(table->Database(), nullptr) << "the provider's flag went with the statement";

  table->PSStartTransaction();
  table->PSExecuteStatement("delete from Donate", nullptr);
  EXPECT_TRUE(table->DBFlag(dbfProvider)) << "a flag set before stays set";
  EXPECT_TRUE(table->Database()->InTransaction());
  table->PSEndTransaction(false);
  EXPECT_EQ(table->Database(), nullptr);
}

TEST_F(Provider, KeyFieldsComeFromTheFlagsElseAUniqueIndexElseEveryField) {
  CreateLines({{1, 1}});
  auto lines = Table("Line");
  lines->Open();
  EXPECT_EQ(lines->PSGetKeyFields(), "MASTER_ID;LINE");
  const std::unique_ptr<TIndexDef> order = lines->PSGetDefaultOrder();
  ASSERT_NE(order, nullptr);
  EXPECT_EQ(order->Name(), "ByMaster") << "without an active index, the unique one";
  lines->FieldByName("ID")->SetProviderFlags({pfInUpdate, pfInWhere, pfInKey});
  EXPECT_EQ(lines->PSGetKeyFields(), "ID");

  auto plain = Table("Plain");
  plain->FieldDefs().Add("A", ftInteger);
  plain->FieldDefs().Add("B", ftString, 5);
  plain->IndexDefs().Add("ByA", "A");
  plain->CreateTable();
  plain->Open();
  EXPECT_EQ(plain->PSGetKeyFields(), "A;B");
}

TEST_F(Provider, ParametersBecomeARangeOnTheActiveIndex) {
  CreateLines({{1, 1}, {1, 2}, {2, 1}, {3, 1}, {3, 2}});
  auto lines = Table("Line", "ByMaster");
  TParams by_position;
  by_position.CreateParam(ftInteger, "")->SetAsInteger(3);
  lines->PSSetParams(&by_position);
  ASSERT_TRUE(lines->Active());
  EXPECT_EQ(Shown(*lines), (Ids{31, 32}));

  TParams by_name;
  by_name.CreateParam(ftInteger, "MASTER_ID")->SetAsInteger(1);
  by_name.CreateParam(ftInteger, "LINE")->SetAsInteger(2);
  lines->PSSetParams(&by_name);
  EXPECT_EQ(Shown(*lines), (Ids{12}));

  TParams none;
  lines->PSSetParams(&none);
  EXPECT_EQ(Shown(*lines), (Ids{11, 12, 21, 31, 32}));
}

}  // namespace
