#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/foundation/VTRTypes.h"

namespace {

TEST(UniqueName, IsThePrefixAndOneToSixDigits) {
  RandomSource random(1);
  const std::string prefix = "TEMPORARY_TABLE_";
  for (int i = 0; i < 200; ++i) {
    const std::string name = MakeUniqueName(
        prefix, [](const std::string&) { return false; }, random);
    ASSERT_EQ(name.substr(0, prefix.size()), prefix);
    const std::string digits = name.substr(prefix.size());
    EXPECT_TRUE(digits.size() >= 1 && digits.size() <= 6) << name;
    EXPECT_EQ(digits.find_first_not_of("0123456789"), std::string::npos) << name;
    EXPECT_TRUE(digits == "0" || digits[0] != '0') << name;
  }
}

TEST(UniqueName, NeverGivesANameInUse) {
  // A few thousand names from a small seed collide by the birthday rule
  // unless each draw skips the names already taken.
  RandomSource random(7);
  std::set<std::string> taken;
  const auto in_use = [&](const std::string& name) { return taken.count(name) > 0; };
  for (int i = 0; i < 5000; ++i) {
    const std::string name = MakeUniqueName("TEMPORARY_INDEX_", in_use, random);
    EXPECT_TRUE(taken.insert(name).second) << name;
  }

  RandomSource replay(7);
  const std::string first = MakeUniqueName(
      "T_", [](const std::string&) { return false; }, replay);
  replay.Seed(7);
  EXPECT_NE(MakeUniqueName(
                "T_", [&](const std::string& name) { return name == first; }, replay),
            first);
}

TEST(UniqueName, FailsWhenEveryNameIsTaken) {
  EXPECT_THROW(MakeUniqueName("Expr", [](const std::string&) { return true; }), Exception);
}

}  // namespace
