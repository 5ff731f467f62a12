// Dataset filters through the local cursor on a real table: the engine's
// NULL and case rules as a dataset shows them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/engine/sql/ExpressionTable.h"

namespace {

using Rows = std::vector<std::string>;

class Filters : public ::testing::Test {
 protected:
  ExpressionTable table_{
      {{"s", adtString, 10}, {"note", adtMemo}},
      {{Text("abc"), Text("a long note")}, {Null(), Null()}, {Text("ABC"), Text("short")}}};
};

TEST_F(Filters, ShowTheRowsTheirConditionHoldsFor) {
  struct Case {
    const char* filter;
    Rows rows;
  };
  const Case cases[] = {
      {"s = 'abc'", {"abc"}},
      {"s <> 'abc'", {"NULL", "ABC"}},
      {"s IN ('ABC')", {"abc", "ABC"}},
      {"s NOT IN ('abc')", {}},
      {"s LIKE 'A%'", {"ABC"}},
      {"NOT (s LIKE 'a%')", {"ABC"}},
      {"s BETWEEN 'a' AND 'b'", {"abc", "ABC"}},
      {"s IS NULL", {"NULL"}},
      {"s = NULL", {}},
      {"UPPER(s) = 'ABC' AND s <> 'ABC'", {"abc"}},
      {"CASE WHEN s LIKE 'a%' THEN 1 ELSE 0 END = 0", {"NULL", "ABC"}},
      {"CASE s WHEN 'ABC' THEN 'upper' END = 'upper'", {"abc", "ABC"}},
      {"s = \"ABC\"", {"ABC"}},
      {"s <> \"abc\"", {"NULL", "ABC"}},
      {"note LIKE '%long%'", {"abc"}},
      {"LENGTH(note) < 6", {"NULL", "ABC"}},
  };
  for (const Case& c : cases) EXPECT_EQ(table_.Filtered(c.filter), c.rows) << c.filter;
}

TEST_F(Filters, LikeStaysCaseSensitiveWhenTheFilterIgnoresCase) {
  EXPECT_EQ(table_.Filtered("s LIKE 'A%'", true), Rows({"ABC"}));
  EXPECT_EQ(table_.Filtered("s = 'abc'", true), Rows({"abc", "ABC"}));
}

TEST_F(Filters, AFieldIsFoundByItsNameInTheProjection) {
  TStringList fields, names;
  fields.Add("s");
  names.Add("NAME");
  table_.Cursor().SetProjection(fields, names);
  table_.Cursor().ProjectionSet = true;
  EXPECT_EQ(table_.Filtered("NAME = 'ABC'"), Rows({"ABC"}));
}

TEST(TypedFilters, ConstantsCompareInTheFieldsType) {
  TVTRVariant christmas, amount, big;
  christmas.SetAsDate(EncodeDate(2004, 12, 25));
  amount.SetAsDouble(2.5);
  big.SetAsLargeInt(5000000000);
  ExpressionTable table({{"id", adtInteger}, {"d", adtDate}, {"amount", adtFloat}, {"big", adtLargeInt}},
                        {{Integer(1), christmas, amount, big}, {Integer(2), Null(), Null(), Integer(7)}});
  const std::pair<const char*, Rows> cases[] = {
      {"d = '25/12/2004'", {"1"}},
      {"d < TODATE('01/01/2005', 'DD/MM/YYYY')", {"1"}},
      {"amount > 2", {"1"}},
      {"amount = 2.5", {"1"}},
      {"big = 7", {"2"}},
      {"big > 2147483647", {"1"}},
      {"id + big > 7", {"1", "2"}},
  };
  for (const auto& [filter, rows] : cases) EXPECT_EQ(table.Filtered(filter), rows) << filter;
}

}  // namespace
