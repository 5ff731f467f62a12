#include <gtest/gtest.h>

#include "engine/storage/btree/KeyPath.h"
#include "tests/support/EngineErrors.h"

namespace {

TVTRKeyPath PathOf(std::initializer_list<TVTRKeyPathLevel> levels) {
  TVTRKeyPath path;
  for (const TVTRKeyPathLevel& level : levels) path.Push(level.PageNo, level.Position, level.Count);
  return path;
}

TEST(KeyPath, ComparesByTheFirstDifferingPositionAndRefusesPathsOfOtherTrees) {
  const TVTRKeyPath a = PathOf({{7, 1, 3}, {9, 4, 10}});
  EXPECT_EQ(a.Compare(PathOf({{7, 1, 3}, {9, 5, 10}})), -1);
  EXPECT_EQ(a.Compare(PathOf({{7, 0, 3}, {4, 8, 10}})), 1);
  EXPECT_EQ(a.Compare(PathOf({{7, 1, 3}, {9, 4, 10}})), 0);
  EXPECT_EQ(NativeErrorOf([&] { a.Compare(PathOf({{7, 1, 3}})); }), 20051);
  EXPECT_EQ(NativeErrorOf([&] { a.Compare(PathOf({{7, 1, 3}, {8, 4, 10}})); }), 20052);
}

TEST(KeyPath, FractionWeighsEveryLevelByTheCountsAboveIt) {
  EXPECT_DOUBLE_EQ(PathOf({{1, 0, 4}, {2, 0, 5}}).GetFraction(), 0.0);
  EXPECT_DOUBLE_EQ(PathOf({{1, 2, 4}, {2, 0, 5}}).GetFraction(), 0.5);
  EXPECT_DOUBLE_EQ(PathOf({{1, 3, 4}, {2, 4, 5}}).GetFraction(), 0.75 + 0.25 * 0.8);
}

TEST(KeyPath, PositionNumbersGiveEveryPositionItsOwnNumberAndComeBack) {
  const int32_t fan_out = 9;
  const TVTRKeyPath path = PathOf({{1, 0, 2}, {2, 3, 9}, {3, 8, 9}});
  const int64_t number = path.ToPositionNumber(fan_out);
  EXPECT_EQ(number, 1 * 100 + 4 * 10 + 9);
  TVTRKeyPath back;
  back.FromPositionNumber(number, fan_out);
  ASSERT_EQ(back.Depth(), 3);
  for (int32_t i = 0; i < 3; ++i) EXPECT_EQ(back.At(i).Position, path.At(i).Position);
  EXPECT_EQ(back.ToPositionNumber(fan_out), number);
}

TEST(KeyPath, ALevelBeyondTheLastThatCanBeRecordedIsACircle) {
  TVTRKeyPath path;
  for (int32_t i = 0; i < kMaxKeyPathLevels; ++i) path.Push(i, 0, 1);
  EXPECT_TRUE(path.ContainsPage(31));
  EXPECT_FALSE(path.ContainsPage(32));
  EXPECT_EQ(NativeErrorOf([&] { path.Push(99, 0, 1); }), 20032);
}

}  // namespace
