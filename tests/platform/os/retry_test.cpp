#include <gtest/gtest.h>

#include <cstring>

#include "platform/os/Clock.h"
#include "platform/os/Random.h"
#include "platform/os/RetryPolicy.h"

namespace {

TEST(RetryPolicy, CapsShortenEveryWaitAndAreRestoredAfterTheScope) {
  const RetryPolicy header_lock{4500, 20};
  EXPECT_EQ(header_lock.Tries(), 4500);
  EXPECT_EQ(header_lock.DelayMs(), 20);
  {
    ScopedRetryCaps caps({5, 1});
    EXPECT_EQ(header_lock.Tries(), 5);
    EXPECT_EQ(header_lock.DelayMs(), 1);
    EXPECT_EQ((RetryPolicy{3, 0}).Tries(), 3) << "a cap never lengthens a wait";
    int attempts = 0;
    const int64_t start = MonotonicMilliseconds();
    EXPECT_FALSE(header_lock.Run([&] { return ++attempts == 0; }));
    EXPECT_EQ(attempts, 5);
    EXPECT_LT(MonotonicMilliseconds() - start, 1000);
  }
  EXPECT_EQ(header_lock.Tries(), 4500);
}

TEST(RetryPolicy, RunStopsAtTheFirstSuccess) {
  ScopedRetryCaps caps({0, 0});
  int attempts = 0;
  EXPECT_TRUE((RetryPolicy{10, 100, true}).Run([&] { return ++attempts == 3; }));
  EXPECT_EQ(attempts, 3);
}

TEST(RandomSource, SeededSourcesRepeatAndStayInRange) {
  RandomSource a(42);
  RandomSource b(7);
  b.Seed(42);
  for (int i = 0; i < 1000; ++i) {
    const int32_t value = a.Below(50);
    EXPECT_EQ(value, b.Below(50));
    EXPECT_GE(value, 0);
    EXPECT_LT(value, 50);
    const double d = a.NextDouble();
    EXPECT_EQ(d, b.NextDouble());
    EXPECT_GE(d, 0.0);
    EXPECT_LT(d, 1.0);
  }
  EXPECT_EQ(a.Below(0), 0);
  unsigned char x[13];
  unsigned char y[13];
  a.Fill(x, sizeof x);
  b.Fill(y, sizeof y);
  EXPECT_EQ(std::memcmp(x, y, sizeof x), 0);
}

TEST(Clock, MonotonicClockAdvancesAcrossASleepAndLocalTimeIsPlausible) {
  const int64_t start = MonotonicMilliseconds();
  SleepMilliseconds(5);
  EXPECT_GE(MonotonicMilliseconds() - start, 5);
  const SystemTime now = LocalTimeNow();
  EXPECT_GE(now.year, 2024);
  EXPECT_TRUE(now.month >= 1 && now.month <= 12);
  EXPECT_TRUE(now.millisecond >= 0 && now.millisecond <= 999);
  EXPECT_TRUE(now.day_of_week >= 0 && now.day_of_week <= 6);
}

}  // namespace
