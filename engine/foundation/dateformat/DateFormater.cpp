#include "engine/foundation/dateformat/DateFormater.h"

#include <array>

#include "engine/foundation/VTRExcept.h"
#include "platform/rtl/ArithmeticError.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/NumberText.h"
#include "platform/rtl/TextCase.h"

namespace {

constexpr std::array<std::string_view, 12> kRomanMonths = {"I",   "II",   "III", "IV", "V",  "VI",
                                                           "VII", "VIII", "IX",  "X",  "XI", "XII"};

// A number of the text as the class library reads it into an unsigned 16-bit field.
int ReadNumber(std::string_view piece) {
  const int32_t value = StrToInt(piece);
  if (value < 0 || value > 65535) throw ERangeError();
  return value;
}

// Reads the element's piece of the text and moves the position past it.
class TextReader {
 public:
  explicit TextReader(std::string_view text) : text_(text) {}

  int Number(std::size_t length) { return ReadNumber(Take(length)); }
  // One digit, or two when the second character is a digit too.
  int ShortNumber() {
    const char second = pos_ + 1 < text_.size() ? text_[pos_ + 1] : '\0';
    return Number(second >= '0' && second <= '9' ? 2 : 1);
  }
  std::string_view Take(std::size_t length) {
    const std::size_t start = std::min(pos_, text_.size());
    pos_ += length;
    return text_.substr(start, length);
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

TDateTime TDateFormater::ParseDateTime(std::string_view text) const {
  TextReader reader(text);
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  enum { kNoHalf, kAM, kPM } half = kNoHalf;
  for (const TDateFormatToken& token : tokens_) {
    switch (token.kind) {
      case dftYYYY:
      case dftYEAR:
        year = reader.Number(4);
        break;
      case dftYY: {
        const int y = reader.Number(2);
        year = y < 30 ? 2000 + y : 1900 + y;
        break;
      }
      case dftQ:
        month = 3 * reader.Number(1) - 2;
        break;
      case dftMM:
        month = reader.Number(2);
        break;
      case dftM:
        month = reader.ShortNumber();
        break;
      case dftDD:
        day = reader.Number(2);
        break;
      case dftD:
        day = reader.ShortNumber();
        break;
      case dftHH24:
        hour = reader.Number(2);
        break;
      case dftHH12:
      case dftHH:
      case dftH12:
      case dftH:
      case dftH24:
        hour = reader.ShortNumber();
        break;
      case dftNN:
        minute = reader.Number(2);
        break;
      case dftN:
        minute = reader.ShortNumber();
        break;
      case dftSS:
        second = reader.Number(2);
        break;
      case dftS:
        second = reader.ShortNumber();
        break;
      case dftAMPM: {
        const std::string_view word = reader.Take(2);
        if (SameText(word, "PM"))
          half = kPM;
        else if (SameText(word, "AM"))
          half = kAM;
        else
          throw EVTRException::CreateFmt(30129, "AM/PM word expected, but '%s' found", word);
        break;
      }
      case dftMONTH:
      case dftMON:
      case dftRM:
      case dftDDD:
      case dftDAY:
      case dftDY:
      case dftDW:
      case dftLiteral:
        reader.Take(token.text.size());
        break;
    }
  }
  // 12 AM is the first hour of the day and 12 PM noon, wherever AMPM stands in the format.
  if (half == kAM && hour == 12) hour = 0;
  if (half == kPM && hour < 12) hour += 12;
  const TDateTime date = (year == 0 || month == 0 || day == 0) ? 0 : EncodeDate(year, month, day);
  return ComposeDateTime(date, EncodeTime(hour, minute, second, 0));
}

std::string TDateFormater::FormatDateTime(TDateTime value) const {
  int year, month, day, hour, minute, second, msec;
  DecodeDate(value, year, month, day);
  DecodeTime(value, hour, minute, second, msec);
  std::string result;
  for (const TDateFormatToken& token : tokens_) {
    switch (token.kind) {
      case dftYYYY:
      case dftYEAR:
        result += ::FormatDateTime("yyyy", value);
        break;
      case dftYY:
        result += ::FormatDateTime("yy", value);
        break;
      case dftQ:
        result += std::to_string((month - 1) / 3 + 1);
        break;
      case dftMONTH:
        result += ::FormatDateTime("mmmm", value);
        break;
      case dftMON:
        result += ::FormatDateTime("mmm", value);
        break;
      case dftMM:
        result += ::FormatDateTime("mm", value);
        break;
      case dftM:
        result += ::FormatDateTime("m", value);
        break;
      case dftRM:
        result += kRomanMonths[month - 1];
        break;
      case dftDDD:
        result += ::FormatDateTime("ddd", value);
        break;
      case dftDD:
        result += ::FormatDateTime("dd", value);
        break;
      case dftD:
        result += ::FormatDateTime("d", value);
        break;
      case dftDAY:
        result += ::FormatDateTime("dddd", value);
        break;
      case dftDY:
        result +=
            std::to_string(static_cast<int64_t>(EncodeDate(year, month, day) - EncodeDate(year, 1, 1)) + 1);
        break;
      case dftDW:
        result += std::to_string((DayOfWeek(value) + 5) % 7 + 1);
        break;
      case dftHH12:
      case dftHH:
        result += Format("%.2d", hour % 12);
        break;
      case dftHH24:
        result += ::FormatDateTime("hh", value);
        break;
      case dftH12:
      case dftH:
        result += std::to_string(hour % 12);
        break;
      case dftH24:
        result += ::FormatDateTime("h", value);
        break;
      case dftNN:
        result += ::FormatDateTime("nn", value);
        break;
      case dftN:
        result += ::FormatDateTime("n", value);
        break;
      case dftSS:
        result += ::FormatDateTime("ss", value);
        break;
      case dftS:
        result += ::FormatDateTime("s", value);
        break;
      case dftAMPM:
        result += hour > 11 ? "PM" : "AM";
        break;
      case dftLiteral:
        result += token.text;
        break;
    }
  }
  return result;
}

int32_t TDateFormater::GetResultLength() const {
  int32_t length = 0;
  for (const TDateFormatToken& token : tokens_) {
    switch (token.kind) {
      case dftYYYY:
      case dftYEAR:
        length += 4;
        break;
      case dftQ:
        length += 1;
        break;
      case dftMONTH:
        length += 9;
        break;
      case dftMON:
      case dftDDD:
      case dftDY:
        length += 3;
        break;
      case dftRM:
        length += 4;
        break;
      case dftDAY:
        length += 12;
        break;
      case dftLiteral:
        length += static_cast<int32_t>(token.text.size());
        break;
      default:
        length += 2;
    }
  }
  return length;
}

TVTRAdvancedDataType TDateFormater::GetResultDataType() const {
  bool date = false;
  bool time = false;
  for (const TDateFormatToken& token : tokens_) {
    if (token.kind <= dftD)
      date = true;
    else if (token.kind <= dftAMPM)
      time = true;
  }
  if (date && !time) return adtDate;
  if (time && !date) return adtTime;
  return adtDateTime;
}
