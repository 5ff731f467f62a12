#include "app/core/DocumentNumber.h"

#include <algorithm>
#include <exception>

#include "app/core/WindowQuery.h"
#include "app/core/ZeroPadding.h"
#include "platform/db/DB.h"
#include "platform/db/Utf8Char.h"
#include "platform/ui/Dialogs.h"

namespace {

constexpr int kHighestRunningNumber = 999999;

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The byte offset of each character of `text`, and its length at the end.
std::vector<size_t> CharacterStarts(std::string_view text) {
  std::vector<size_t> starts;
  for (size_t pos = 0; pos < text.size(); pos += Utf8CharLength(text, pos)) starts.push_back(pos);
  starts.push_back(text.size());
  return starts;
}

// Characters [first, first + count) of `text`, cut at its end.
std::string_view Characters(std::string_view text, size_t first, size_t count) {
  const std::vector<size_t> starts = CharacterStarts(text);
  const size_t characters = starts.size() - 1;
  first = std::min(first, characters);
  const size_t last = std::min(first + count, characters);
  return text.substr(starts[first], starts[last] - starts[first]);
}

// The running number the user types for the first number of a head, or none
// after telling the user why the answer is refused.
std::optional<std::string> AskFirstRunningNumber() {
  const std::string answer =
      InputBox(std::string(kFirstNumberCaption), std::string(kFirstNumberPrompt), std::string(kFirstNumberDefault));
  const bool digits = AllDigits(answer);
  const bool six = answer.size() == static_cast<size_t>(kRunningNumberDigits);
  if (!digits) ShowMessage(std::string(kFirstNumberNotDigitsMessage));
  if (!six) ShowMessage(std::string(kFirstNumberLengthMessage));
  if (!digits || !six) return std::nullopt;
  return answer;
}

// The running number of the highest well-formed number among the rows, which
// come in ascending order; none when the head has no well-formed number.
std::optional<int> HighestRunningNumber(TDataSet& rows) {
  for (rows.Last(); !rows.Bof() && !rows.IsEmpty(); rows.Prior()) {
    const std::string number = rows.Fields()[0]->AsString();
    if (IsWellFormedDocumentNumber(number)) return std::stoi(std::string(RunningNumberOf(number)));
  }
  return std::nullopt;
}

}  // namespace

std::string SeriesHeadOf(std::string_view number) {
  return std::string(Characters(number, 0, kSeriesHeadLength));
}

std::string RunningNumberOf(std::string_view number) {
  return std::string(Characters(number, kSeriesHeadLength, kRunningNumberDigits));
}

bool IsWellFormedDocumentNumber(std::string_view number) {
  return Utf8CharCount(number) == static_cast<size_t>(kDocumentNumberLength) && AllDigits(RunningNumberOf(number));
}

std::string SplitDocumentNumber(std::string_view number) {
  std::string split(Characters(number, 0, kSeriesPrefixLength));
  split += '-';
  split += Characters(number, kSeriesPrefixLength, 1);
  split += '-';
  split += RunningNumberOf(number);
  return split;
}

std::optional<std::string> NextDocumentNumber(WindowQuery& numbers, const NumberingStatement& statement,
                                              std::string_view prefix, char kind_digit) {
  if (Utf8CharCount(prefix) != static_cast<size_t>(kSeriesPrefixLength)) {
    ShowMessage(std::string(kShortPrefixMessage));
    return std::nullopt;
  }
  const std::string head = std::string(prefix) + kind_digit;
  std::optional<int> highest;
  try {
    numbers.Open({statement.lines, {{"head_bill", Variant(head)}}});
    highest = HighestRunningNumber(numbers.Rows());
    numbers.Rows().Close();
  } catch (const std::exception&) {
    numbers.Rows().Close();
    ShowMessage(std::string(kNumberingFailedMessage));
    return std::nullopt;
  }
  if (!highest) {
    const std::optional<std::string> first = AskFirstRunningNumber();
    if (!first) return std::nullopt;
    return head + *first;
  }
  if (*highest >= kHighestRunningNumber) {
    ShowMessage(std::string(kSeriesFullMessage));
    return std::nullopt;
  }
  return head + PadLeftZeros(std::to_string(*highest + 1), kRunningNumberDigits);
}
