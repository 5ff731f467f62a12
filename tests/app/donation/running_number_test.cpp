// The running numbers of the donor and supplier registers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/donation/RunningNumber.h"

namespace {

constexpr RunningNumberShape kDonor{"ABCD", 6};
constexpr RunningNumberShape kSupplier{"", 8};

TEST(RunningNumber, FollowsTheHighestStoredNumber) {
  struct Case {
    RunningNumberShape shape;
    std::string highest;
    std::string next;
  };
  const std::vector<Case> cases{
      {kDonor, "", "ABCD000001"},           {kDonor, "ABCD000001", "ABCD000002"},
      {kDonor, "ABCD000099", "ABCD000100"}, {kDonor, "ABCD999998", "ABCD999999"},
      {kSupplier, "", "00000001"},          {kSupplier, "00000041", "00000042"},
      {kSupplier, "09999999", "10000000"},
  };
  for (const Case& c : cases) EXPECT_EQ(RunningNumberAfter(c.shape, c.highest, "used up"), c.next) << c.highest;
}

TEST(RunningNumber, IsRefusedPastTheLastNumberOfItsDigits) {
  for (const auto& [shape, highest] : {std::pair{kDonor, "ABCD999999"}, std::pair{kSupplier, "99999999"}}) {
    try {
      RunningNumberAfter(shape, highest, "เต็มแล้ว");
      ADD_FAILURE() << highest << " was followed";
    } catch (const ERunningNumberRefused& error) {
      EXPECT_EQ(error.Message(), "เต็มแล้ว");
    }
  }
}

TEST(RunningNumber, OnlyThePrefixWithAllItsDigitsIsARunningNumber) {
  struct Case {
    RunningNumberShape shape;
    std::string number;
    bool running;
  };
  const std::vector<Case> cases{
      {kDonor, "ABCD000123", true},   {kDonor, "ABCE000123", false},  {kDonor, "abcd000123", false},
      {kDonor, "ABCD12345", false},   {kDonor, "ABCD0001234", false}, {kDonor, "ABCD00012X", false},
      {kDonor, "ABCD 00123", false},  {kSupplier, "00000042", true},  {kSupplier, "00042", false},
      {kSupplier, "0000004a", false}, {kSupplier, "", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsRunningNumber(c.shape, c.number), c.running) << c.number;
}

}  // namespace
