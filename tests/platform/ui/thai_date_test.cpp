#include <gtest/gtest.h>

#include "platform/ui/ThaiDate.h"

namespace {

TEST(ThaiDate, ShowsDayMonthAndBuddhistEraYear) {
  EXPECT_EQ(BuddhistDateText(EncodeDate(2024, 3, 5) + EncodeTime(8, 30, 0, 0)), "05/03/2567");
  EXPECT_EQ(BuddhistDateText(EncodeDate(1999, 12, 31)), "31/12/2542");
  EXPECT_EQ(ThaiMonthName(3), "มีนาคม");
  EXPECT_EQ(ThaiMonthName(13), "");
}

TEST(ThaiDate, ReadsBuddhistEraDates) {
  struct Case {
    const char* text;
    bool valid;
    int year, month, day;
  };
  for (const Case& c :
       {Case{"05/03/2567", true, 2024, 3, 5}, Case{" 5/3/2567 ", true, 2024, 3, 5},
        Case{"29/02/2567", true, 2024, 2, 29}, Case{"29/02/2566", false, 0, 0, 0},
        Case{"05/03", false, 0, 0, 0}, Case{"05/03/2567x", false, 0, 0, 0}, Case{"", false, 0, 0, 0}}) {
    TDateTime value = -1;
    EXPECT_EQ(TryParseBuddhistDate(c.text, value), c.valid) << c.text;
    if (c.valid) {
      EXPECT_EQ(value, EncodeDate(c.year, c.month, c.day)) << c.text;
    }
  }
}

TEST(ThaiDate, ReadsBuddhistEraDatesWithATimeOfDay) {
  struct Case {
    const char* text;
    bool valid;
    TDateTime value;
  };
  for (const Case& c : {Case{"15/03/2567 08:05", true, EncodeDate(2024, 3, 15) + EncodeTime(8, 5, 0, 0)},
                        Case{" 15/03/2567 08:05:30 ", true, EncodeDate(2024, 3, 15) + EncodeTime(8, 5, 30, 0)},
                        Case{"15/03/2567", true, EncodeDate(2024, 3, 15)},
                        Case{"15/03/2567 25:00", false, 0}, Case{"31/02/2567 08:05", false, 0},
                        Case{"08:05", false, 0}, Case{" ", false, 0}}) {
    TDateTime value = -1;
    EXPECT_EQ(TryParseBuddhistDateTime(c.text, value), c.valid) << c.text;
    if (c.valid) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
  EXPECT_EQ(BuddhistDateTimeText("d mmmm yyyy hh:nn", EncodeDate(2024, 3, 15) + EncodeTime(8, 5, 0, 0)),
            "15 March 2567 08:05");
}

}  // namespace
