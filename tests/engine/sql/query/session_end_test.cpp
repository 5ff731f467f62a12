// A session that ends while a window's query still holds its result: the
// query's statement is freed, and its result table dropped, while the "TEMP"
// database that holds the table still exists.
#include <gtest/gtest.h>

#include "engine/access/Session.h"
#include "tests/engine/sql/query/SelectFixture.h"

namespace {

class SessionEnd : public SelectTest {};

TEST_F(SessionEnd, FreesThePreparedQueryBeforeTheTemporaryDatabase) {
  MakeTable("t", "a INTEGER", {{"1"}, {"2"}});
  MakeTable("u", "a INTEGER", {{"2"}});
  query_->SQL().SetText("SELECT t.a FROM t, u WHERE t.a = u.a");
  query_->Prepare();
  query_->Open();
  query_->Close();
  ASSERT_EQ(TemporaryTables().size(), 1u);

  DefaultSession().SetActive(false);
  EXPECT_FALSE(query_->Prepared());
  query_.reset();

  DefaultSession().SetActive(true);
  EXPECT_TRUE(TemporaryTables().empty());
}

}  // namespace
