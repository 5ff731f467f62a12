// The sums of a usage line: amount, meter quantity and the remaining stock.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/temple/UsageLine.h"

namespace {

TEST(UsageLine, TheTotalIsTheAmountLessTheDiscountUnrounded) {
  EXPECT_DOUBLE_EQ(LineTotal(3, 150, 10), 405);
  EXPECT_DOUBLE_EQ(LineTotal(1, 1500, 0), 1500);
  EXPECT_DOUBLE_EQ(LineTotal(3, 33.33, 5), 94.9905);
}

TEST(UsageLine, AMeterGivesTheDifferenceOfItsReadingsEvenBelowZero) {
  EXPECT_DOUBLE_EQ(MeterQuantity(1200, 1350), 150);
  EXPECT_DOUBLE_EQ(MeterQuantity(1350, 1200), -150);
}

TEST(UsageLine, RemainingStockCountsWhatTheItemKindTakesOutOfStock) {
  const std::vector<double> received{6, 4};
  const std::vector<UsedQuantity> used{{4, 1}, {3, 1}, {2, 0}};
  struct Case {
    const char* cut_stock;
    const char* item_type;
    double returned;
    double remaining;
  };
  for (const Case& c : {Case{"Y", "2", 0, 3},          // only lines posted out of stock count
                        Case{"Y", "2", 3, 6},          // an edited line of 3 gets its own quantity back
                        Case{"Y", "1", 0, 1},          // every line counts for other kinds
                        Case{"N", "2", 0, kUnkeptStock},  // no stock kept
                        Case{"", "2", 0, 0}}) {        // an unknown flag counts nothing in
    SCOPED_TRACE(std::string(c.cut_stock) + "/" + c.item_type);
    EXPECT_DOUBLE_EQ(RemainingStock(c.cut_stock, c.item_type, received, used, c.returned), c.remaining);
  }
}

TEST(UsageLine, OnlyCeremonyArticlesThatKeepStockArePostedOutOfStock) {
  EXPECT_EQ(StockPostOf("Y", "2"), 1);
  EXPECT_EQ(StockPostOf("N", "2"), 0);
  EXPECT_EQ(StockPostOf("Y", "1"), 0);
  EXPECT_EQ(StockPostOf("Y", "0"), 0);
}

}  // namespace
