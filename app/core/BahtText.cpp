#include "app/core/BahtText.h"

#include <algorithm>
#include <array>

#include "platform/rtl/Exception.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/FormatFloat.h"
#include "platform/rtl/NumberText.h"

namespace {

// Nine integer digits before the point; larger amounts print more.
constexpr std::string_view kAmountMask = "000000000.00";
// Digits of the largest amount said in words: 999999 millions.
constexpr size_t kIntegerDigits = 12;

constexpr std::string_view kZeroAmount = "ศูนย์บาทถ้วน";
constexpr std::string_view kMillion = "ล้าน";
constexpr std::string_view kBaht = "บาท";
constexpr std::string_view kExact = "ถ้วน";
constexpr std::string_view kSatang = "สตางค์ ";
constexpr std::string_view kHundred = "ร้อย";
constexpr std::array<std::string_view, 3> kThousandsPlaces{"แสน", "หมื่น", "พัน"};
constexpr std::string_view kTen = "สิบ";
constexpr std::string_view kTwenty = "ยี่สิบ";
constexpr std::string_view kUnitOneAfterTens = "เอ็ด";
constexpr std::array<std::string_view, 10> kDigitWords{"",   "หนึ่ง", "สอง", "สาม", "สี่",
                                                       "ห้า", "หก",  "เจ็ด", "แปด", "เก้า"};

// The words of 1 to 99 (empty for 0).
std::string NumberWords(int n) {
  const int tens = n / 10;
  const int units = n % 10;
  if (tens == 0) return std::string(kDigitWords[units]);
  std::string words;
  if (tens == 2) {
    words = kTwenty;
  } else {
    words = tens == 1 ? "" : kDigitWords[tens];
    words += kTen;
  }
  words += units == 1 ? kUnitOneAfterTens : kDigitWords[units];
  return words;
}

std::array<int, 3> GroupDigits(std::string_view group) {
  const auto is_digit = [](char c) { return c >= '0' && c <= '9'; };
  if (group.size() != 3 || !std::all_of(group.begin(), group.end(), is_digit))
    throw EConvertError(Format("'%s' is not a three-digit group", group));
  return {group[0] - '0', group[1] - '0', group[2] - '0'};
}

// Two parts of an amount's words: a space between them when both are there.
std::string JoinWords(std::string first, std::string_view second) {
  if (!first.empty() && !second.empty()) first += ' ';
  first += second;
  return first;
}

}  // namespace

std::string HundredsToText(std::string_view group) {
  const std::array<int, 3> digits = GroupDigits(group);
  std::string words;
  if (digits[0] != 0) {
    words = kDigitWords[digits[0]];
    words += kHundred;
  }
  return words + NumberWords(digits[1] * 10 + digits[2]);
}

std::string MillionsToText(std::string_view group) {
  return HundredsToText(group);
}

std::string ThousandsToText(std::string_view group) {
  const std::array<int, 3> digits = GroupDigits(group);
  std::string words;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (digits[i] == 0) continue;
    words += kDigitWords[digits[i]];
    words += kThousandsPlaces[i];
  }
  return words;
}

std::string SatangToText(std::string_view satang) {
  const int32_t value = StrToInt(satang);
  if (value < 0 || value > 99) throw EConvertError(Format("'%s' is not a number of satang", satang));
  if (value == 0) return {};
  return NumberWords(value) + std::string(kSatang);
}

std::string BahtToText(std::string_view amount) {
  const std::string formatted = FormatFloat(kAmountMask, StrToFloat(amount));
  if (!(StrToFloat(formatted) > 0)) return std::string(kZeroAmount);

  const size_t point = formatted.find('.');
  std::string integer = formatted.substr(0, point);
  if (integer.size() > kIntegerDigits) throw EConvertError(Format(kAmountTooLargeMessage, amount));
  integer.insert(0, kIntegerDigits - integer.size(), '0');
  const std::string_view digits = integer;
  const std::string_view thousands_of_millions = digits.substr(0, 3);
  const std::string_view millions = digits.substr(3, 3);
  const std::string_view thousands = digits.substr(6, 3);
  const std::string_view units = digits.substr(9, 3);
  const std::string_view satang = std::string_view(formatted).substr(point + 1);

  // From one billion the number of millions is said as an amount below one
  // million is; below it only the millions group speaks. A zero group says nothing.
  std::string million_words = JoinWords(ThousandsToText(thousands_of_millions), MillionsToText(millions));
  if (!million_words.empty()) million_words += kMillion;
  const std::string thousand_words = ThousandsToText(thousands);
  std::string unit_words = HundredsToText(units);
  unit_words += kBaht;
  if (satang == "00") {
    unit_words += kExact;
  } else {
    unit_words += ' ';
    unit_words += SatangToText(satang);
  }

  std::string text = million_words;
  if (!thousand_words.empty()) text += " " + thousand_words;
  return text + " " + unit_words;
}
