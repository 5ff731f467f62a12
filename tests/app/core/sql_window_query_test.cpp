// The windows' statements reach the SQL engine through the query component on
// the window's own connection: the lines as the window wrote them, each
// parameter with its value, and the rows back as a dataset.
#include <gtest/gtest.h>

#include <string>

#include "app/core/SqlWindowQuery.h"
#include "app/core/WindowParts.h"
#include "engine/access/Database.h"
#include "engine/access/Query.h"
#include "platform/db/DB.h"
#include "tests/app/core/support/TempleDatabaseTest.h"
#include "tests/engine/access/FakeSQLProcessor.h"

namespace {

class SqlWindowQueryTest : public TempleDatabaseTest {
 protected:
  void SetUp() override {
    TempleDatabaseTest::SetUp();
    FakeSQLProcessor::Register();
  }
  void TearDown() override {
    TempleDatabaseTest::TearDown();
    FakeSQLProcessor::Unregister();
  }
};

TEST_F(SqlWindowQueryTest, TheStatementRunsOnTheWindowsOwnConnectionWithItsParameters) {
  TForm& window = *FormsApplication().CreateForm<TForm>();
  TVTRDatabase& database = MakeWindowDatabase(window, "Database1", "d_rep_test");
  std::unique_ptr<WindowQuery> query = SqlQueries()(window, "d_rep_test");
  const TDateTime first = EncodeDate(2024, 3, 5);

  query->Open({{"select bill_no from g_donate_2 ", " where bill_date >=:mBegin and cust_name like :pName "},
               {{"mBegin", Variant::Date(first)}, {"pName", Variant("%สมชาย%")}}});

  ASSERT_EQ(FakeSQLProcessor::Runs().size(), 1u);
  const FakeSQLProcessor::Run& run = FakeSQLProcessor::Runs()[0];
  EXPECT_NE(run.text.find("select bill_no from g_donate_2 "), std::string::npos);
  EXPECT_NE(run.text.find(" where bill_date >=:mBegin and cust_name like :pName "), std::string::npos);
  EXPECT_FALSE(run.exec_sql);
  EXPECT_TRUE(database.Connected()) << "the window's own connection";
  TDataSet& rows = query->Rows();
  ASSERT_TRUE(rows.Active());
  EXPECT_EQ(rows.FieldByName("mBegin")->AsDateTime(), first);
  EXPECT_EQ(rows.FieldByName("pName")->AsString(), "%สมชาย%");
}

TEST_F(SqlWindowQueryTest, AParameterTheStatementLacksIsRefusedByName) {
  TForm& window = *FormsApplication().CreateForm<TForm>();
  MakeWindowDatabase(window, "Database1", "d_rep_test");
  std::unique_ptr<WindowQuery> query = SqlQueries()(window, "d_rep_test");
  try {
    query->Open({{"select * from h_work "}, {{"mEnd", Variant::Date(0)}}});
    FAIL() << "no error";
  } catch (const std::exception& error) {
    EXPECT_EQ(std::string(error.what()), "Parameter 'mEnd' not found");
  }
  EXPECT_FALSE(query->Rows().Active());
}

TEST_F(SqlWindowQueryTest, LiveRowsAreAskedOfTheEngineAndStayReadOnly) {
  TForm& window = *FormsApplication().CreateForm<TForm>();
  MakeWindowDatabase(window, "Database1", "d_rep_test");
  std::unique_ptr<WindowQuery> query = SqlQueries()(window, "d_rep_test");
  for (bool live : {false, true}) {
    query->SetLiveRows(live);
    query->Open({{"select bill_no from g_donate_2 "}, {}});
    EXPECT_EQ(FakeSQLProcessor::Runs().back().request_live, live);
    EXPECT_ANY_THROW(query->Rows().Edit()) << "live " << live;
  }
}

}  // namespace
