// The index conditions a filter offers the storage engine's planner: which
// conjuncts give one, of which kind, over how many key columns.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/engine/sql/ExpressionTable.h"
#include "tests/engine/sql/TreeDescription.h"

namespace {

class ScanConditions : public ::testing::Test {
 protected:
  ScanConditions() {
    AddIndex("ByA", 10, {{.FieldName = "a"}});
    AddIndex("ByAB", 11, {{.FieldName = "a"}, {.FieldName = "b"}});
    AddIndex("ByS", 12, {{.FieldName = "s", .CaseInsensitive = true}});
  }

  void AddIndex(const char* name, int32_t id, std::vector<TVTRIndexColumn> columns) {
    TVTRIndexDef& index = indexes_.AddIndexDef();
    index.Name = name;
    index.ObjectID = id;
    index.Columns = std::move(columns);
  }

  // "index:kind:key values" of every index condition the filter gives,
  // each extended over the equalities as the planner extends them.
  std::vector<std::string> Offered(std::string_view text, bool case_insensitive = false) {
    TVTRSQLExpression filter;
    filter.ParseFilter(table_.Cursor(), text, false, case_insensitive);
    TVTRScanSearchConditionArray conditions;
    conditions.AddExpression(&filter);
    conditions.PrepareForIndexes(indexes_, 0);
    std::vector<std::string> offered;
    for (int32_t i = 0; i < conditions.GetCount(); ++i) {
      const TVTRScanSearchCondition& condition = conditions.GetItem(i);
      if (condition.IndexID < 0) continue;
      std::string text = std::to_string(condition.IndexID) + ":" + std::to_string(condition.Comparison) + ":";
      const auto& index = static_cast<const TVTRIndexDef&>(*indexes_.GetDefByObjectID(condition.IndexID));
      for (int32_t k = 0; k < condition.KeyFieldCount; ++k) {
        const int32_t field = table_.Cursor().TableFieldDefs.IndexOf(index.GetColumn(k).FieldName);
        TVTRVariant value;
        uint8_t* saved = table_.Cursor().CurrentRecord;
        table_.Cursor().CurrentRecord = condition.KeyBuffer();
        table_.Cursor().GetFieldValue(value, field, true);
        table_.Cursor().CurrentRecord = saved;
        text += (k ? "," : "") + (value.IsNull() ? std::string("NULL") : value.GetAsString());
      }
      offered.push_back(text);
    }
    return offered;
  }

  TVTRIndexDefs indexes_;
  ExpressionTable table_{{{"a", adtInteger}, {"b", adtInteger}, {"s", adtString, 10}}, {}};
};

using Offers = std::vector<std::string>;

TEST_F(ScanConditions, ComparisonsWithKeyValuesGiveConditionsOverTheLongestEqualPrefix) {
  struct Case {
    const char* filter;
    Offers offered;
  };
  const Case cases[] = {
      {"a > 5", {"10:3:5", "11:3:5"}},
      {"5 < a", {"10:3:5", "11:3:5"}},
      {"a <= 5", {"10:4:5", "11:4:5"}},
      {"a = 1 AND b = 2", {"10:1:1", "11:1:1,2"}},
      {"a > 1 AND b = 2", {"10:3:1", "11:3:1"}},
      {"a = 1 AND (b = 2 OR b = 3)", {"10:1:1", "11:1:1"}},
      {"a = 1 AND b IS NULL", {"10:1:1", "11:1:1,NULL"}},
      {"a IS NULL", {"10:1:NULL", "11:1:NULL"}},
      {"a IS NOT NULL", {"10:3:NULL", "11:3:NULL"}},
      {"a <> 5", {}},
      {"a = b", {}},
      {"s LIKE 'x%'", {}},
      {"s = 'X'", {}},
      {"a = NULL", {}},
      {"a < '10'", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Offered(c.filter), c.offered) << c.filter;
  EXPECT_EQ(Offered("s = 'X'", true), Offers({"12:1:X"})) << "the index ignores case as the filter does";
}

}  // namespace
