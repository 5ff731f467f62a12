#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "engine/foundation/VTRTypes.h"

namespace {

std::vector<int32_t> ItemsOf(const TVTRIntegerArray& array) {
  return {array.Items().begin(), array.Items().end()};
}

struct GrowthCase {
  int32_t max_step;
  int32_t step;
  std::vector<int32_t> sizes;       // SetSize calls in order
  std::vector<int32_t> capacities;  // capacity after each call
};

TEST(IntegerArray, StepsDoubleBeforeUseUpToTheMaximum) {
  const GrowthCase cases[] = {
      // Grow by 2s, then by the capped step.
      {100, 10, {1, 20, 21, 61, 101}, {20, 20, 60, 140, 140}},
      {25, 10, {1, 21, 46}, {20, 45, 70}},
      // A jump past capacity + step takes the size itself.
      {100, 10, {500, 501}, {500, 540}},
      // Shrinking frees memory only when more than the shrink step would be
      // left over, and the shrink step then doubles.
      {100, 10, {100, 95, 85, 70, 30}, {100, 100, 85, 85, 30}},
      // Size 0 releases everything.
      {100, 10, {50, 0, 1}, {50, 0, 40}},
  };
  for (const GrowthCase& c : cases) {
    TVTRIntegerArray array(0, c.max_step, c.step);
    for (size_t i = 0; i < c.sizes.size(); ++i) {
      array.SetSize(c.sizes[i]);
      EXPECT_EQ(array.Count(), c.sizes[i]);
      EXPECT_EQ(array.Capacity(), c.capacities[i])
          << "max step " << c.max_step << ", step " << c.step << ", call " << i;
    }
  }
}

TEST(IntegerArray, CreatedWithAnInitialCountOfZeros) {
  const TVTRIntegerArray array(3, 100, 10);
  EXPECT_EQ(ItemsOf(array), (std::vector<int32_t>{0, 0, 0}));
  EXPECT_EQ(array.Capacity(), 20);
}

TEST(IntegerArray, AppendDeleteAndContainsKeepTheOrder) {
  TVTRIntegerArray array(0, 100, 10);
  for (int32_t value : {5, 7, 9, 11}) array.Append(value);
  array.Delete(1);
  EXPECT_EQ(ItemsOf(array), (std::vector<int32_t>{5, 9, 11}));
  array.Delete(0);
  EXPECT_EQ(ItemsOf(array), (std::vector<int32_t>{9, 11}));
  EXPECT_TRUE(array.Contains(11));
  EXPECT_FALSE(array.Contains(5));
  EXPECT_THROW(array.Delete(2), std::out_of_range);
  EXPECT_THROW(array.Delete(-1), std::out_of_range);
  EXPECT_THROW(array.SetSize(-1), std::invalid_argument);
}

TEST(IntegerArray, DeletingTheLastItemOnlyShrinks) {
  TVTRIntegerArray array(0, 100, 10);
  for (int32_t value = 1; value <= 15; ++value) array.Append(value);
  array.Delete(14);
  EXPECT_EQ(array.Count(), 14);
  EXPECT_EQ(array.Capacity(), 20);
  EXPECT_EQ(array[13], 14);
}

TEST(IntegerArray, ItemsRevealedByGrowingAgainReadAsZero) {
  TVTRIntegerArray array(0, 100, 10);
  for (int32_t value = 1; value <= 5; ++value) array.Append(value);
  array.SetSize(2);
  array.SetSize(4);
  EXPECT_EQ(ItemsOf(array), (std::vector<int32_t>{1, 2, 0, 0}));
}

}  // namespace
