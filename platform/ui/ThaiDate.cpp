#include "platform/ui/ThaiDate.h"

#include <array>
#include <charconv>

std::string BuddhistDateText(TDateTime value) {
  return BuddhistDateTimeText("dd/mm/yyyy", value);
}

std::string BuddhistDateTimeText(std::string_view format, TDateTime value) {
  return FormatDateTimeInEra(format, value, kBuddhistEraOffset);
}

bool TryParseBuddhistDate(std::string_view text, TDateTime& value) {
  std::array<int, 3> parts{};
  size_t part = 0;
  const char* at = text.data();
  const char* end = text.data() + text.size();
  while (at < end && *at == ' ') ++at;
  while (end > at && end[-1] == ' ') --end;
  for (; part < parts.size(); ++part) {
    const auto [next, error] = std::from_chars(at, end, parts[part]);
    if (error != std::errc() || next == at) return false;
    at = next;
    if (part + 1 < parts.size()) {
      if (at == end || *at != '/') return false;
      ++at;
    }
  }
  if (at != end) return false;
  return TryEncodeDate(parts[2] - kBuddhistEraOffset, parts[1], parts[0], value);
}

bool TryParseBuddhistDateTime(std::string_view text, TDateTime& value) {
  const size_t start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) return false;
  const size_t blank = text.find(' ', start);
  TDateTime date = 0;
  if (!TryParseBuddhistDate(text.substr(0, blank), date)) return false;
  const std::string_view rest = blank == std::string_view::npos ? std::string_view() : text.substr(blank);
  TDateTime time = 0;
  if (rest.find_first_not_of(' ') != std::string_view::npos && !TryStrToTime(rest, time)) return false;
  value = ComposeDateTime(date, time);
  return true;
}

std::string ThaiMonthName(int month) {
  static const std::array<const char*, 12> kNames{"มกราคม",  "กุมภาพันธ์", "มีนาคม",    "เมษายน",
                                                  "พฤษภาคม", "มิถุนายน",  "กรกฎาคม",  "สิงหาคม",
                                                  "กันยายน",  "ตุลาคม",   "พฤศจิกายน", "ธันวาคม"};
  return month >= 1 && month <= 12 ? kNames[month - 1] : std::string();
}
