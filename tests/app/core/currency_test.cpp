#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <memory>
#include <vector>

#include "app/core/ColumnSum.h"
#include "app/core/Currency.h"
#include "platform/rtl/ArithmeticError.h"
#include "tests/support/ArrayDataSet.h"

namespace {

TEST(Currency, TakesDoublesToTheNearestTenThousandth) {
  struct Case {
    double value;
    int64_t units;
  };
  for (const Case& c : {Case{0.1, 1000}, Case{1234.5, 12345000}, Case{-20, -200000}, Case{0.00005, 1},
                        Case{-0.00005, -1}, Case{0.00004, 0}, Case{123456789.1234, 1234567891234}}) {
    EXPECT_EQ(Currency::FromDouble(c.value).TenThousandths(), c.units) << c.value;
  }
}

TEST(Currency, RefusesWhatItCannotHold) {
  EXPECT_THROW(Currency::FromDouble(1e15), EOverflow);
  EXPECT_THROW(Currency::FromDouble(-1e15), EOverflow);
  EXPECT_THROW(Currency::FromDouble(std::numeric_limits<double>::quiet_NaN()), EOverflow);
  Currency top = Currency::FromTenThousandths(std::numeric_limits<int64_t>::max());
  EXPECT_THROW(top += Currency::FromTenThousandths(1), EOverflow);
  EXPECT_EQ(top.TenThousandths(), std::numeric_limits<int64_t>::max()) << "a refused sum changes nothing";
  Currency bottom = Currency::FromTenThousandths(std::numeric_limits<int64_t>::min());
  EXPECT_THROW(bottom -= Currency::FromTenThousandths(1), EOverflow);
}

TEST(Currency, SumsStayExactWhereDoublesDrift) {
  Currency sum;
  double drifting = 0;
  for (int i = 0; i < 1000; ++i) {
    sum += Currency::FromDouble(0.1);
    drifting += 0.1;
  }
  EXPECT_EQ(sum.TenThousandths(), 1000000);
  EXPECT_NE(drifting, 100.0);
}

TEST(Currency, ShowsAsMoney) {
  struct Case {
    double value;
    const char* text;
  };
  for (const Case& c : {Case{0, "0.00"}, Case{1234.5, "1,234.50"}, Case{-20, "-20.00"},
                        Case{1234567.005, "1,234,567.01"}, Case{99999999999.9999, "100,000,000,000.00"}}) {
    EXPECT_EQ(Currency::FromDouble(c.value).Format(), c.text) << c.value;
  }
}

TEST(ColumnSum, AddsEveryRowAndTakesEmptyValuesAsZero) {
  TArrayDataSet rows(nullptr, std::vector<ArrayFieldDef>{{"TOTAL", ftFloat}});
  rows.Open();
  const std::vector<std::optional<double>> totals{0.1, std::nullopt, 0.2, 1234.2};
  for (const auto& total : totals) {
    rows.Append();
    if (total) rows.FieldByName("TOTAL")->SetAsFloat(*total);
    rows.Post();
  }
  EXPECT_EQ(SumColumn(rows, "TOTAL").TenThousandths(), 12345000);
  EXPECT_TRUE(rows.Eof());
}

TEST(ColumnSum, OfNoRowsIsZero) {
  TArrayDataSet rows(nullptr, std::vector<ArrayFieldDef>{{"TOTAL", ftFloat}});
  rows.Open();
  EXPECT_EQ(SumColumn(rows, "TOTAL"), Currency());
}

}  // namespace
