// The result of a query lives in "TEMP" from its run to the processor's next
// run or its end; a failed run leaves nothing behind.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/access/Database.h"
#include "platform/rtl/ScopeExit.h"

#include "tests/engine/sql/query/SelectFixture.h"

namespace {

class ResultLifetime : public SelectTest {
 protected:
  ResultLifetime() {
    MakeTable("t", "a INTEGER, b VARCHAR(10)", {{"1", "x"}, {"2", "12"}});
    MakeTable("u", "a INTEGER, c VARCHAR(10)", {{"1", "one"}, {"2", "two"}});
  }

  static constexpr const char* kJoin = "SELECT t.a, c FROM t, u WHERE t.a = u.a";
};

TEST_F(ResultLifetime, UnprepareDropsTheResult) {
  OpenRows(kJoin);
  EXPECT_EQ(TemporaryTables().size(), 1u);
  query_->Close();
  query_->UnPrepare();
  EXPECT_TRUE(TemporaryTables().empty());
}

TEST_F(ResultLifetime, ARunDropsThePreviousResultBeforeMakingItsOwn) {
  OpenRows(kJoin);
  const std::vector<std::string> first = TemporaryTables();
  ASSERT_EQ(first.size(), 1u);
  query_->Close();
  query_->Open();
  const std::vector<std::string> second = TemporaryTables();
  ASSERT_EQ(second.size(), 1u);
  EXPECT_NE(second, first);
  query_->SQL().SetText("SELECT a FROM t");
  EXPECT_TRUE(TemporaryTables().empty()) << "a change of the text frees the processor";
}

TEST_F(ResultLifetime, AFailedRunLeavesNoTemporaryTable) {
  EXPECT_EQ(OpenError("SELECT t.a, 10 / (t.a - 1) AS n FROM t, u WHERE t.a = u.a"),
            "Division error: Division by zero - Native error: 30128");
  EXPECT_TRUE(TemporaryTables().empty());
  EXPECT_FALSE(query_->Active());
}

// The temporary database lives in the process, never as a file named
// "TEMP" in the working folder, also once every component closed.
TEST_F(ResultLifetime, AQueryAfterEveryComponentClosedMakesNoTempFile) {
  const std::filesystem::path working_folder = std::filesystem::current_path();
  std::filesystem::current_path(folder_.Path());
  const ScopeExit back([&]() noexcept {
    std::error_code ignored;
    std::filesystem::current_path(working_folder, ignored);
  });
  OpenRows(kJoin);
  query_->Close();
  query_->UnPrepare();
  database_->Close();
  EXPECT_EQ(RowsFor(kJoin).size(), 2u);
  EXPECT_FALSE(std::filesystem::exists(folder_.Path() / "TEMP"));
}

}  // namespace
