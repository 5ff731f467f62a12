// Where result tables live: in "TEMP" under fresh names, spilled to
// temporary files past the memory budget unless temporary files are
// disabled, and gone once their tree is freed; INTO tables stay.
#include "engine/storage/temp/TemporaryMemoryBudget.h"
#include "tests/engine/sql/AllocationCounter.h"
#include "engine/foundation/containers/UniqueName.h"
#include "engine/sql/operators/ResultTableName.h"
#include "tests/engine/sql/operators/OperatorFixture.h"

namespace {

// A small memory budget for temporary tables while it lives.
class SmallTemporaryBudget {
 public:
  SmallTemporaryBudget() { SetTemporaryMemoryBudget(16 * 1024); }
  ~SmallTemporaryBudget() { SetTemporaryMemoryBudget(0); }
};

class TemporaryResults : public OperatorTest {
 protected:
  // n rows (i, "row i") in table name.
  void CreateNumbers(const std::string& name, int32_t n) {
    std::vector<Row> rows;
    for (int32_t i = 0; i < n; ++i) rows.push_back({std::to_string(i), "row " + std::to_string(i)});
    CreateTable(name, {{"n", adtInteger}, {"s", adtString, 20}}, rows);
  }

  // A projection of every column of the table.
  std::unique_ptr<TVTRAOTableExpr> Copy(const std::string& table, bool disable_temp_files = false) {
    auto projection = std::make_unique<TVTRAOTableExpr>(
        std::make_unique<TVTRAOTable>(table, "", false, disable_temp_files, "", "", "d_main", ""));
    std::vector<TVTRSelectListItem> all;
    projection->ApplySelectList(all, false);
    return projection;
  }

  std::vector<std::string> SpillFiles() const {
    std::vector<std::string> files;
    for (const std::string& file : temp_folder_.Files())
      if (std::filesystem::path(file).filename().string().starts_with("VTR")) files.push_back(file);
    return files;
  }

  ScratchFolder temp_folder_;
  ScopedTemporaryFolder temp_scope_{temp_folder_.Path()};
};

TEST_F(TemporaryResults, MaterialisingAllocatesNothingPerRow) {
  CreateNumbers("small", 10000);
  CreateNumbers("large", 20000);
  const auto allocations = [&](const std::string& table) {
    auto copy = Copy(table);
    const int64_t before = HeapAllocations();
    copy->Execute(true, nullptr, nullptr);
    return HeapAllocations() - before;
  };
  const int64_t small = allocations("small");
  const int64_t large = allocations("large");
  RecordProperty("allocations_10000", small);
  RecordProperty("allocations_20000", large);
  EXPECT_LT(large - small, 100) << small << " for 10,000 rows, " << large << " for 20,000";
}

TEST_F(TemporaryResults, ASpilledResultReadsBackInOrderAndLeavesNoFile) {
  CreateNumbers("numbers", 3000);
  Rows descending;
  for (int32_t i = 2999; i >= 0; --i) descending.push_back(std::to_string(i) + "-row " + std::to_string(i));
  {
    const SmallTemporaryBudget budget;
    auto copy = Copy("numbers");
    copy->Sort("n", "n", "");
    copy->Execute(true, nullptr, nullptr);
    EXPECT_FALSE(SpillFiles().empty()) << "the result went past the budget";
    EXPECT_EQ(Read(*copy), descending);
  }
  EXPECT_TRUE(SpillFiles().empty());
  EXPECT_TRUE(TemporaryTables().empty());

  const SmallTemporaryBudget budget;
  auto in_memory = Copy("numbers", true);
  in_memory->Execute(true, nullptr, nullptr);
  EXPECT_TRUE(SpillFiles().empty()) << "a tree without temporary files keeps its results in memory";
  EXPECT_EQ(Read(*in_memory).size(), 3000u);
}

TEST_F(TemporaryResults, AFailedMaterialisationLeavesNothingOnceTheTreeIsFreed) {
  CreateNumbers("numbers", 3);
  {
    TVTRLexer lexer("10 / (1 - n)", nullptr);
    lexer.NextCommand();
    auto expression = std::make_unique<TVTRSQLExpression>();
    expression->ParseValueExpression(nullptr, lexer);
    TVTRSelectListItem item;
    item.IsExpression = true;
    item.Expression = expression.release();
    auto projection = std::make_unique<TVTRAOTableExpr>(Node("numbers"));
    std::vector<TVTRSelectListItem> items = {item};
    projection->ApplySelectList(items, false);
    EXPECT_ANY_THROW(projection->Execute(true, nullptr, nullptr));
    EXPECT_FALSE(projection->IsMaterialized);
    EXPECT_EQ(TemporaryTables().size(), 1u);
  }
  EXPECT_TRUE(TemporaryTables().empty());
}

TEST_F(TemporaryResults, ATakenNameIsReplacedAndAnIntoTableStays) {
  CreateNumbers("numbers", 2);
  DefaultRandom().Seed(7);
  const std::string first_choice = MakeUniqueName(kResultTablePrefix, [](const std::string&) { return false; });
  TVTRTable taken(nullptr);
  taken.SetTemporary(true);
  taken.SetTableName(first_choice);
  taken.FieldDefs().Add("x", ftInteger);
  taken.CreateTable();
  DefaultRandom().Seed(7);
  {
    auto copy = Copy("numbers");
    copy->Execute(true, nullptr, nullptr);
    EXPECT_NE(copy->Result().TableName(), first_choice);
    EXPECT_TRUE(copy->Result().TableName().starts_with(kResultTablePrefix));
  }
  EXPECT_EQ(TemporaryTables(), std::vector<std::string>({first_choice}));
  taken.DeleteTable();

  {
    auto copy = Copy("numbers");
    copy->SetInto(false, true, "d_main", "saved");
    copy->Execute(true, nullptr, nullptr);
  }
  TVTRTable saved(&form_);
  saved.SetDatabaseName("d_main");
  saved.SetTableName("saved");
  ASSERT_TRUE(saved.Exists());
  saved.Open();
  EXPECT_EQ(saved.RecordCount(), 2);
}

}  // namespace
