#pragma once
// The class library's date-time value and its helpers, in the fixed locale:
// short date "dd/mm/yyyy" (Gregorian), long time "hh:nn:ss", short time
// "hh:nn", English month and day names, "AM"/"PM".
//
// A TDateTime counts days since 1899-12-30 (day 0); its fraction is the time of
// day. For a negative value the time of day is the fraction's absolute value:
// -1.25 is 1899-12-29 06:00.
#include <cstdint>
#include <string>
#include <string_view>

using TDateTime = double;

inline constexpr int32_t kHoursPerDay = 24;
inline constexpr int32_t kMinsPerDay = kHoursPerDay * 60;
inline constexpr int32_t kSecsPerDay = kMinsPerDay * 60;
inline constexpr int32_t kMSecsPerDay = kSecsPerDay * 1000;
// Days from 0001-01-01 (day 1) to 1899-12-30.
inline constexpr int32_t kDateDelta = 693594;

bool IsLeapYear(int year);
// 0 for a month outside 1..12.
int DaysInMonth(int year, int month);

// Raise EConvertError "Invalid argument to date encode" / "... time encode".
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int min, int sec, int msec);
bool TryEncodeDate(int year, int month, int day, TDateTime& value);
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& value);

// Splits on the nearest millisecond; a time that rounds up to midnight moves
// to the next day.
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& min, int& sec, int& msec);
// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime value);

// Joins a whole-day date and a time of day under the sign rule above.
TDateTime ComposeDateTime(TDateTime date, TDateTime time);

// The machine's local clock.
TDateTime Now();
TDateTime Date();
TDateTime Time();

// Format words (letters in either case): d dd ddd dddd ddddd (short date)
// dddddd (long date), m mm mmm mmmm (minutes right after an hour), yy yyyy,
// h hh, n nn, s ss, z zzz, t (short time), tt (long time), am/pm a/p ampm
// (12-hour clock for the hours before them), c (short date, then the long
// time unless it is midnight), "/" and ":" the separators, text between
// single or double quotes as it is. Any other character is copied.
std::string FormatDateTime(std::string_view format, TDateTime value);
// FormatDateTime with every year shown `year_offset` years on (the windows show
// Buddhist-era years, 543 on); days of the week and leap days stay those of the
// value's own calendar.
std::string FormatDateTimeInEra(std::string_view format, TDateTime value, int year_offset);

std::string DateTimeToStr(TDateTime value);  // "c"
std::string DateToStr(TDateTime value);      // short date
std::string TimeToStr(TDateTime value);      // long time

// Parse "d/m/y" (a year of one or two digits takes the century that puts it
// within 50 years before the current year; a missing year is the current
// year), "h:n[:s[.z]]" or "h[:n[:s]] AM|PM", and a date followed by a time.
// Blanks around the parts are allowed. The StrTo forms raise EConvertError
// "'%s' is not a valid date" (time, date and time).
bool TryStrToDate(std::string_view text, TDateTime& value);
bool TryStrToTime(std::string_view text, TDateTime& value);
bool TryStrToDateTime(std::string_view text, TDateTime& value);
TDateTime StrToDate(std::string_view text);
TDateTime StrToTime(std::string_view text);
TDateTime StrToDateTime(std::string_view text);
