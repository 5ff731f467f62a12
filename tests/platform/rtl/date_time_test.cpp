#include <gtest/gtest.h>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Variant.h"

namespace {

struct CalendarCase {
  int year, month, day;
  TDateTime value;
  int day_of_week;
};

TEST(DateTime, EncodesAndDecodesCalendarDays) {
  const CalendarCase cases[] = {
      {1899, 12, 30, 0, 7},   {1899, 12, 29, -1, 6},      {1900, 1, 1, 2, 2},
      {1, 1, 1, -693593, 2},  {9999, 12, 31, 2958465, 6}, {2000, 2, 29, 36585, 3},
      {2024, 3, 1, 45352, 6}, {1600, 2, 29, -109512, 3},  {1900, 3, 1, 61, 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << "-" << c.day);
    EXPECT_EQ(c.value, EncodeDate(c.year, c.month, c.day));
    int year, month, day;
    DecodeDate(c.value, year, month, day);
    EXPECT_EQ(c.year, year);
    EXPECT_EQ(c.month, month);
    EXPECT_EQ(c.day, day);
    EXPECT_EQ(c.day_of_week, DayOfWeek(c.value));
  }
}

TEST(DateTime, RefusesDatesAndTimesOutsideTheCalendar) {
  TDateTime value = 123;
  EXPECT_FALSE(TryEncodeDate(1900, 2, 29, value));
  EXPECT_FALSE(TryEncodeDate(0, 1, 1, value));
  EXPECT_FALSE(TryEncodeDate(10000, 1, 1, value));
  EXPECT_FALSE(TryEncodeDate(2024, 13, 1, value));
  EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, value));
  EXPECT_FALSE(TryEncodeTime(0, 0, 0, 1000, value));
  EXPECT_EQ(123, value);
  EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
  EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
  EXPECT_EQ(29, DaysInMonth(2024, 2));
  EXPECT_EQ(28, DaysInMonth(2100, 2));
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(1900));
}

TEST(DateTime, TimeOfDayOfANegativeValueIsTheFractionsAbsoluteValue) {
  int hour, min, sec, msec, year, month, day;
  DecodeTime(-1.25, hour, min, sec, msec);
  DecodeDate(-1.25, year, month, day);
  EXPECT_EQ(6, hour);
  EXPECT_EQ(29, day);
  EXPECT_EQ(-1.25, ComposeDateTime(EncodeDate(1899, 12, 29), EncodeTime(6, 0, 0, 0)));
  EXPECT_EQ(2.25, ComposeDateTime(2, EncodeTime(6, 0, 0, 0)));
}

TEST(DateTime, DecodesToTheNearestMillisecondCarryingIntoTheNextDay) {
  int hour, min, sec, msec, year, month, day;
  const TDateTime last = EncodeTime(23, 59, 59, 999);
  DecodeTime(last, hour, min, sec, msec);
  EXPECT_EQ(23, hour);
  EXPECT_EQ(59, min);
  EXPECT_EQ(59, sec);
  EXPECT_EQ(999, msec);
  const TDateTime almost_midnight = 10 + (86399999.7 / kMSecsPerDay);
  DecodeTime(almost_midnight, hour, min, sec, msec);
  DecodeDate(almost_midnight, year, month, day);
  EXPECT_EQ(0, hour + min + sec + msec);
  EXPECT_EQ(1900, year);
  EXPECT_EQ(10, day);  // day 10 is 1900-01-09; the carry makes it the 10th
}

TEST(DateTime, FormatsWithTheFixedLocale) {
  const TDateTime value = EncodeDate(2007, 3, 5) + EncodeTime(14, 7, 9, 45);
  const struct {
    const char* format;
    const char* text;
  } cases[] = {
      {"dd/mm/yyyy", "05/03/2007"},
      {"d/m/yy", "5/3/07"},
      {"ddd dddd", "Mon Monday"},
      {"mmm mmmm", "Mar March"},
      {"hh:mm:ss", "14:07:09"},
      {"h:n:s.zzz z", "14:7:9.045 45"},
      {"hh:nn am/pm", "02:07 pm"},
      {"hh:nn AMPM", "02:07 PM"},
      {"h a/p", "2 p"},
      {"t", "14:07"},
      {"tt", "14:07:09"},
      {"ddddd", "05/03/2007"},
      {"dddddd", "Monday, 5 March 2007"},
      {"c", "05/03/2007 14:07:09"},
      {"'d' \"mm\" yyyy", "d mm 2007"},
      {"yyyy-mm-dd#", "2007-03-05#"},
      {"", "05/03/2007 14:07:09"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.text, FormatDateTime(c.format, value)) << c.format;
  EXPECT_EQ("12:00 AM", FormatDateTime("hh:nn ampm", EncodeDate(2007, 3, 5)));
  EXPECT_EQ("12:30 PM", FormatDateTime("hh:nn ampm", EncodeTime(12, 30, 0, 0)));
  EXPECT_EQ("05/03/2007", DateTimeToStr(EncodeDate(2007, 3, 5)));
  EXPECT_EQ("05/03/2007", DateToStr(value));
  EXPECT_EQ("14:07:09", TimeToStr(value));
  EXPECT_EQ("01/01/0001", DateToStr(EncodeDate(1, 1, 1)));
}

TEST(DateTime, FormatsInAnotherEraByShiftingTheYearOnly) {
  const TDateTime leap_day = EncodeDate(2024, 2, 29) + EncodeTime(9, 5, 0, 0);
  EXPECT_EQ("29/02/2567 09:05:00", FormatDateTimeInEra("c", leap_day, 543));
  EXPECT_EQ("Thursday 29 Feb 67", FormatDateTimeInEra("dddd d mmm yy", leap_day, 543));
  EXPECT_EQ("29/02/2024", FormatDateTime("ddddd", leap_day));
}

TEST(DateTime, ParsesTheFixedFormats) {
  const struct {
    const char* text;
    TDateTime value;
  } cases[] = {
      {"05/03/2007", EncodeDate(2007, 3, 5)},
      {" 5 / 3 / 2007 ", EncodeDate(2007, 3, 5)},
      {"31/12/9999", EncodeDate(9999, 12, 31)},
      {"01/01/0001 06:00", ComposeDateTime(EncodeDate(1, 1, 1), EncodeTime(6, 0, 0, 0))},
      {"05/03/2007 14:07:09", EncodeDate(2007, 3, 5) + EncodeTime(14, 7, 9, 0)},
      {"05/03/2007 2:07 PM", EncodeDate(2007, 3, 5) + EncodeTime(14, 7, 0, 0)},
      {"14:07:09.045", EncodeTime(14, 7, 9, 45)},
      {"12:30 PM", EncodeTime(12, 30, 0, 0)},
      {"12:30 am", EncodeTime(0, 30, 0, 0)},
      {"05/03/99", EncodeDate(1999, 3, 5)},
      {"05/03/07", EncodeDate(2007, 3, 5)},
  };
  for (const auto& c : cases) {
    TDateTime value = -1e9;
    EXPECT_TRUE(TryStrToDateTime(c.text, value)) << c.text;
    EXPECT_EQ(c.value, value) << c.text;
  }
  EXPECT_EQ(EncodeDate(2007, 3, 5), StrToDate("05/03/2007"));
  EXPECT_EQ(EncodeTime(14, 7, 0, 0), StrToTime("14:07"));
  for (const char* bad :
       {"", "29/02/2023", "2007-03-05", "05/03/2007x", "13:00 PM", "24:00", "05/03/2007 x"}) {
    TDateTime value;
    EXPECT_FALSE(TryStrToDateTime(bad, value)) << bad;
  }
  try {
    StrToDate("31/02/2007");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_STREQ("'31/02/2007' is not a valid date", e.what());
  }
  EXPECT_THROW(StrToTime("25:00"), EConvertError);
  EXPECT_THROW(StrToDateTime("x"), EConvertError);
}

TEST(DateTime, ClockGivesTodayAndATimeOfDay) {
  const TDateTime now = Now();
  EXPECT_GT(now, EncodeDate(2020, 1, 1));
  EXPECT_LE(Date(), now);
  EXPECT_GE(Time(), 0);
  EXPECT_LT(Time(), 1);
}

TEST(DateTime, VariantDateShowsAsDateTimeText) {
  EXPECT_EQ("05/03/2007 14:07:00",
            Variant::Date(EncodeDate(2007, 3, 5) + EncodeTime(14, 7, 0, 0)).AsString());
}

}  // namespace
