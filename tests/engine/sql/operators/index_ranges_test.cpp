// Conditions of a table node answered through indexes: the same rows with
// and without an index, and only the records in range read.
#include "engine/access/LocalCursor.h"
#include "tests/engine/sql/TreeDescription.h"
#include "tests/engine/sql/operators/OperatorFixture.h"

namespace {

class IndexRanges : public OperatorTest {
 protected:
  // The values of a the condition leaves, a node executed over table t.
  Rows Where(const std::string& table, std::string_view where, const TVTRSQLParams* params = nullptr) {
    auto node = Node(table);
    node->SetFilter(Condition(where, params));
    std::vector<TVTRSelectListItem> items = Items({"a"});
    node->ApplySelectList(items, false);
    node->Execute(true, nullptr, nullptr);
    return Sorted(Read(*node));
  }
};

TEST_F(IndexRanges, NullKeysComeBackOnlyWhenTheConditionAcceptsThem) {
  // Enough rows beyond the cases that the planner takes the index.
  std::vector<Row> rows = {{"NULL"}, {"1"}, {"3"}, {"7"}};
  for (int i = 100; i < 400; ++i) rows.push_back({std::to_string(i)});
  CreateTable("plain", {{"a", adtInteger}}, rows);
  CreateTable("up", {{"a", adtInteger}}, rows, {Index("ByA", "a")});
  CreateTable("down", {{"a", adtInteger}}, rows, {Index("ByA", "a", 0, "a")});
  TVTRSQLParams params;
  params.AddParam().SetName("p");
  struct Case {
    const char* where;
    Rows rows;
  };
  const Case cases[] = {
      {"a < 5", {"1", "3"}},
      {"a <= 3", {"1", "3"}},
      {"5 > a", {"1", "3"}},
      {"a > 2 AND a < 50", {"3", "7"}},
      {"a >= 3 AND a < 50", {"3", "7"}},
      {"a = :p", {}},
      {"a IS NULL", {"NULL"}},
      {"a IS NOT NULL AND a < 50", {"1", "3", "7"}},
      {"a = 3", {"3"}},
  };
  for (const char* table : {"plain", "up", "down"})
    for (const Case& c : cases) EXPECT_EQ(Where(table, c.where, &params), c.rows) << table << ": " << c.where;
  for (const char* table : {"up", "down"})
    for (const char* where : {"a < '2'", "a = '03'"})
      EXPECT_EQ(Where(table, where), Where("plain", where)) << table << ": " << where << " compares as text";
}

TEST_F(IndexRanges, AnIndexedEqualityReadsOnlyItsRecordAndTheConditionIsWholeAfterTheScan) {
  std::vector<Row> rows;
  for (int i = 0; i < 200; ++i) rows.push_back({std::to_string(i), "n" + std::to_string(i)});
  CreateTable("u", {{"a", adtInteger}, {"s", adtString, 10}}, rows, {Index("ByA", "a", kIndexUniqueBit)});
  auto node = Node("u");
  node->SetFilter(Condition("a = 150 AND s <> 'x'"));
  auto& cursor = static_cast<TVTRLocalCursor&>(*node->Result().Handle());
  TVTRSearchTrace trace;
  cursor.TableData->SearchTrace = &trace;
  std::vector<TVTRSelectListItem> items = Items({"s"});
  node->ApplySelectList(items, false);
  node->Execute(true, nullptr, nullptr);
  EXPECT_EQ(Read(*node), Rows({"n150"}));
  EXPECT_EQ(trace.RecordsRead, 1);
  EXPECT_EQ(trace.StartComparison, scEqual);
  EXPECT_EQ(Describe(*node->Filter->Root()), "AND(<>(s,'x'),=(a,150))");

  // A scan that raises puts the conjunct back as well.
  trace = {};
  std::unique_ptr<TVTRSQLExpression> raising = Condition("a = 150 AND 1 / 0 = 1");
  cursor.SetFilterExpression(raising.get(), nullptr, nullptr);
  EXPECT_ANY_THROW({
    cursor.First();
    cursor.GetRecord(fmNext);
  });
  EXPECT_EQ(trace.StartComparison, scEqual) << "the scan ran on the index";
  EXPECT_EQ(Describe(*raising->Root()), "AND(=(DIV(1,0),1),=(a,150))");
  cursor.SetFilterExpression(nullptr, nullptr, nullptr);
  cursor.TableData->SearchTrace = nullptr;
}

}  // namespace
