#pragma once
// Dates as the windows type and show them in text boxes: "dd/mm/yyyy" with the
// Buddhist-era year. They are read by position, never by the machine's locale.
#include <optional>
#include <string>
#include <string_view>

#include "platform/rtl/DateTime.h"

// The text of no date (day 0).
inline constexpr std::string_view kBlankDateText = "  /  /    ";
inline constexpr std::string_view kIncompleteDateMessage = "ข้อมูล วัน เดือน ปี  ไม่ครบ";
inline constexpr std::string_view kWrongDateMessage = "ข้ อ ม ู ล วัน เดือน ปี ผิด ต้องตรวจสอบทันที";

// "05/03/2567" for 5 March 2024; kBlankDateText for day 0.
std::string DateToThaiText(TDateTime date);

// A date typed as day/month/Buddhist year: the text must have 10 characters once
// trimmed, and blanks around the day, month and year are allowed. Otherwise
// the user is told (kIncompleteDateMessage for another length,
// kWrongDateMessage for a text that is no date) and the result is empty.
std::optional<TDateTime> ReadThaiDate(std::string_view text);
// The same without telling the user: empty for a text that is no such date.
std::optional<TDateTime> ParseThaiDate(std::string_view text);
// "  /  /    " and the like: only blanks and slashes, so no date given.
bool IsBlankDateText(std::string_view text);
// The same with day 0 (30/12/1899) for a text that is no date, as the windows store it.
TDateTime ThaiTextToDate(std::string_view text);
