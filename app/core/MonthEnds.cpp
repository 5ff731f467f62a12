#include "app/core/MonthEnds.h"

#include "platform/rtl/Exception.h"
#include "platform/rtl/Format.h"
#include "platform/ui/ThaiDate.h"

namespace {

constexpr int kMonthsPerYear = 12;

void CheckMonth(int month) {
  if (month < 1 || month > kMonthsPerYear) throw EConvertError(Format("%d is not a month", month));
}

std::string DayOfMonthText(int day, int month, int buddhist_year) {
  return Format("%.2d/%.2d/%d", day, month, buddhist_year);
}

}  // namespace

std::string LastDayOfMonthText(int month, int buddhist_year) {
  CheckMonth(month);
  return DayOfMonthText(DaysInMonth(buddhist_year - kBuddhistEraOffset, month), month, buddhist_year);
}

std::string FirstDayOfMonthText(int month, int buddhist_year) {
  CheckMonth(month);
  return DayOfMonthText(1, month, buddhist_year);
}

std::string AddMonthsEndOfMonth(int months, const BuddhistDate& start) {
  const int index = start.month - 1 + months;
  const int carry = index / kMonthsPerYear - (index % kMonthsPerYear < 0 ? 1 : 0);
  return LastDayOfMonthText(index - carry * kMonthsPerYear + 1, start.year + carry);
}
