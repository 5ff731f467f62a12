#pragma once
// The one fixed locale of the system, never the machine's: "." for decimals,
// "," for thousands, Gregorian dates as dd/mm/yyyy, 24-hour times as
// hh:nn:ss, English month and day names.
#include <array>
#include <string_view>

struct TFormatSettings {
  char DecimalSeparator;
  char ThousandSeparator;
  char DateSeparator;
  char TimeSeparator;
  std::string_view ShortDateFormat;
  std::string_view LongDateFormat;
  std::string_view ShortTimeFormat;
  std::string_view LongTimeFormat;
  std::string_view TimeAMString;
  std::string_view TimePMString;
  std::array<std::string_view, 12> ShortMonthNames;  // January first
  std::array<std::string_view, 12> LongMonthNames;
  std::array<std::string_view, 7> ShortDayNames;  // Sunday first
  std::array<std::string_view, 7> LongDayNames;
};

inline constexpr TFormatSettings kFormatSettings{
    '.',
    ',',
    '/',
    ':',
    "dd/mm/yyyy",
    "dddd, d mmmm yyyy",
    "hh:nn",
    "hh:nn:ss",
    "AM",
    "PM",
    {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
    {"January", "February", "March", "April", "May", "June", "July", "August", "September", "October",
     "November", "December"},
    {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"},
    {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
};
