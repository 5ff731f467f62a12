#include "platform/ui/ThaiDate.h"

#include <array>
#include <charconv>
#include <cmath>

#include "platform/rtl/Format.h"

std::string BuddhistDateText(TDateTime value) {
  int year = 0;
  int month = 0;
  int day = 0;
  DecodeDate(value, year, month, day);
  return Format("%.2d/%.2d/%.4d", day, month, year + kBuddhistEraOffset);
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

std::string ThaiMonthName(int month) {
  static const std::array<const char*, 12> kNames{"มกราคม",  "กุมภาพันธ์", "มีนาคม",    "เมษายน",
                                                  "พฤษภาคม", "มิถุนายน",  "กรกฎาคม",  "สิงหาคม",
                                                  "กันยายน",  "ตุลาคม",   "พฤศจิกายน", "ธันวาคม"};
  return month >= 1 && month <= 12 ? kNames[month - 1] : std::string();
}
