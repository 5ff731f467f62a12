#include "app/core/ThaiDateText.h"

#include <cmath>

#include "platform/db/Utf8Char.h"
#include "platform/rtl/TextCase.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ThaiDate.h"

namespace {

// "dd/mm/yyyy"
constexpr size_t kDateTextLength = 10;

// "05/ 3/2567" becomes "05/3/2567".
std::string WithoutBlanksAroundParts(std::string_view text) {
  std::string joined;
  for (size_t start = 0;;) {
    const size_t slash = text.find('/', start);
    joined += Trim(text.substr(start, slash - start));
    if (slash == std::string_view::npos) return joined;
    joined += '/';
    start = slash + 1;
  }
}

}  // namespace

std::string DateToThaiText(TDateTime date) {
  return std::trunc(date) == 0 ? std::string(kBlankDateText) : BuddhistDateText(date);
}

std::optional<TDateTime> ParseThaiDate(std::string_view text) {
  const std::string trimmed = Trim(text);
  TDateTime date = 0;
  if (Utf8CharCount(trimmed) != kDateTextLength || !TryParseBuddhistDate(WithoutBlanksAroundParts(trimmed), date))
    return std::nullopt;
  return date;
}

bool IsBlankDateText(std::string_view text) { return text.find_first_not_of(" /") == std::string_view::npos; }

std::optional<TDateTime> ReadThaiDate(std::string_view text) {
  if (Utf8CharCount(Trim(text)) != kDateTextLength) {
    ShowMessage(std::string(kIncompleteDateMessage));
    return std::nullopt;
  }
  const std::optional<TDateTime> date = ParseThaiDate(text);
  if (!date) ShowMessage(std::string(kWrongDateMessage));
  return date;
}

TDateTime ThaiTextToDate(std::string_view text) {
  return ReadThaiDate(text).value_or(0);
}
