#pragma once
// Dates as the windows show and take them: day/month/Buddhist-era year, the
// Gregorian year plus 543 ("05/03/2567" for 5 March 2024).
#include <string>
#include <string_view>

#include "platform/rtl/DateTime.h"

inline constexpr int kBuddhistEraOffset = 543;

std::string BuddhistDateText(TDateTime value);
// FormatDateTime with the year in the Buddhist era.
std::string BuddhistDateTimeText(std::string_view format, TDateTime value);
// Reads "d/m/yyyy" with a Buddhist-era year into the date (time of day 0).
bool TryParseBuddhistDate(std::string_view text, TDateTime& value);
// Reads such a date, optionally followed by a time of day ("h:n[:s]").
bool TryParseBuddhistDateTime(std::string_view text, TDateTime& value);
// "มีนาคม" for 3.
std::string ThaiMonthName(int month);
