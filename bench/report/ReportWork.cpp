#include "bench/report/ReportWork.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int32_t kDaysBefore[] = {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366};  // leap year

std::string Numbered(const char* format, int64_t n) {
  char text[32];
  std::snprintf(text, sizeof text, format, static_cast<long long>(n));
  return text;
}

}  // namespace

ReportSizes ReportSizes::Scaled(int64_t divisor) const {
  return {std::max<int64_t>(1, donors / divisor), std::max<int64_t>(1, lines / divisor)};
}

CustomerRow MakeCustomer(int64_t n, const ReportSizes& sizes) {
  // About two donors share a name; the names come in scattered order.
  const int64_t names = std::max<int64_t>(1, sizes.donors / 2);
  return {Numbered("C%05lld", n), Numbered("Name%04lld", (n * 7919) % names)};
}

DonateRow MakeDonate(int64_t n, const ReportSizes& sizes) {
  DonateRow row;
  row.bill_no = Numbered("B%07lld", n);
  const int32_t day_of_year = static_cast<int32_t>((n * 37) % 366);
  row.year = 2024;
  row.month = 1;
  while (day_of_year >= kDaysBefore[row.month]) ++row.month;
  row.day = day_of_year - kDaysBefore[row.month - 1] + 1;
  row.second_of_day = static_cast<int32_t>((n * 997) % 86400);
  row.cust_no = Numbered("C%05lld", (n * 7907) % sizes.donors + 1);
  row.total = static_cast<double>(n % 1000) + 0.25 * static_cast<double>(n % 4);
  return row;
}

bool ReportSum::operator==(const ReportSum& other) const {
  return rows == other.rows && counts == other.counts && text_bytes == other.text_bytes &&
         std::fabs(amounts - other.amounts) <= 1e-6 * std::max(1.0, std::fabs(amounts));
}
