#include "app/core/DueDate.h"

#include <algorithm>
#include <array>
#include <optional>

#include "app/core/MonthEnds.h"
#include "app/core/ThaiDateText.h"
#include "platform/rtl/TextCase.h"
#include "platform/ui/ThaiDate.h"

namespace {

struct CreditTerm {
  std::string_view text;
  bool months;  // else days
  int count;
};

constexpr std::array<CreditTerm, 15> kCreditTerms{{
    {"3 ว.", false, 3},
    {"7 ว.", false, 7},
    {"15 ว.", false, 15},
    {"30 ว.", false, 30},
    {"45 ว.", false, 45},
    {"60 ว.", false, 60},
    {"90 ว.", false, 90},
    {"120 ว.", false, 120},
    {"0 ด.", true, 0},
    {"1 ด.", true, 1},
    {"2 ด.", true, 2},
    {"3 ด.", true, 3},
    {"4 ด.", true, 4},
    {"5 ด.", true, 5},
    {"6 ด.", true, 6},
}};

}  // namespace

std::string DueDateByTerm(std::string_view start, std::string_view term) {
  if (Trim(start).empty()) return {};
  const auto found = std::find_if(kCreditTerms.begin(), kCreditTerms.end(),
                                  [term](const CreditTerm& credit) { return credit.text == term; });
  if (found == kCreditTerms.end()) return std::string(start);
  const std::optional<TDateTime> date = ReadThaiDate(start);
  if (!date) return {};
  if (!found->months) return DateToThaiText(*date + found->count);
  BuddhistDate from;
  DecodeDate(*date, from.year, from.month, from.day);
  from.year += kBuddhistEraOffset;
  return AddMonthsEndOfMonth(found->count, from);
}
