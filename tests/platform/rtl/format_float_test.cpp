#include <gtest/gtest.h>

#include <ostream>

#include "platform/rtl/FormatFloat.h"

namespace {

struct Case {
  const char* mask;
  double value;
  const char* expected;
};

// How the test log names a case.
void PrintTo(const Case& c, std::ostream* out) {
  *out << "mask \"" << c.mask << "\", value " << c.value;
}

class FormatFloatCases : public ::testing::TestWithParam<Case> {};

TEST_P(FormatFloatCases, FormatsAsTheMaskSays) {
  const Case& c = GetParam();
  EXPECT_EQ(FormatFloat(c.mask, c.value), c.expected) << "mask " << c.mask << ", value " << c.value;
}

INSTANTIATE_TEST_SUITE_P(RoundingAtFifteenDigitsThenHalfAwayFromZero, FormatFloatCases,
                         ::testing::Values(Case{"0.00", 1.005, "1.01"}, Case{"0.00", 0.1 + 0.2, "0.30"},
                                           Case{"0.00", 2.675, "2.68"}, Case{"0", 2.5, "3"},
                                           Case{"0", -2.5, "-3"},
                                           Case{"0.00", 123456789012.345, "123456789012.35"},
                                           Case{"0.00", -0.001, "0.00"}, Case{"#,##0", 999.5, "1,000"}));

INSTANTIATE_TEST_SUITE_P(
    DigitsAndGrouping, FormatFloatCases,
    ::testing::Values(Case{"###,###,##0.00", 1234.5, "1,234.50"}, Case{"#,##0", -1234567, "-1,234,567"},
                      Case{"#,##0.00", 1234567.891, "1,234,567.89"}, Case{"#,##0.00", 0, "0.00"},
                      Case{"#,##0.00", 12, "12.00"}, Case{"000", 7, "007"}, Case{"000,000", 5, "000,005"},
                      Case{"0", 12345, "12345"}, Case{"#.##", 0.5, ".5"}, Case{"0.##", 5, "5"},
                      Case{"0.0#", 2.345, "2.35"}, Case{"0.#0", 2.5, "2.50"}, Case{".00", 12.5, "12.50"},
                      Case{"0.00.0", 1.25, "1.250"}));

INSTANTIATE_TEST_SUITE_P(LiteralsAndSections, FormatFloatCases,
                         ::testing::Values(Case{"'Total: '#,##0.00' Baht'", 1234.5, "Total: 1,234.50 Baht"},
                                           Case{"\"x;y\"0", 5, "x;y5"}, Case{"$0.00", -5, "-$5.00"},
                                           Case{"0.00;(0.00)", -12.345, "(12.35)"},
                                           Case{"0.00;(0.00);'nil'", 0, "nil"},
                                           Case{"0.00;(0.00);'nil'", 0.001, "nil"},
                                           Case{"0.00;(0.00);'nil'", -0.001, "nil"},
                                           Case{"0.00;;'nil'", -3, "-3.00"}, Case{"0.00;(0.00)", 0, "0.00"}));

INSTANTIATE_TEST_SUITE_P(
    Scientific, FormatFloatCases,
    ::testing::Values(Case{"0.00E+00", 1234.5, "1.23E+03"}, Case{"0.00E-00", 0.000123, "1.23E-04"},
                      Case{"0.00E-00", 1234.5, "1.23E03"}, Case{"0.00e+0", 1234.5, "1.23e+3"},
                      Case{"00.0E+0", 1234.5, "12.3E+2"}, Case{"0.0E+00", 9.96, "1.0E+01"},
                      Case{"0.00E+00", 0, "0.00E+00"}, Case{"0.00E+00", -1234.5, "-1.23E+03"}));

INSTANTIATE_TEST_SUITE_P(GeneralFormat, FormatFloatCases,
                         ::testing::Values(Case{"", 1234.5, "1234.5"}, Case{"", 0.1 + 0.2, "0.3"},
                                           Case{"0.00", 1e20, "1E20"}));

}  // namespace
