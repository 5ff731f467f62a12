#include "platform/rtl/DateTime.h"

#include <array>
#include <chrono>
#include <cmath>
#include <ctime>

#include "platform/rtl/Exception.h"
#include "platform/rtl/FormatSettings.h"

namespace {

// The fixed locale's date and time texts.
constexpr std::string_view kShortDateFormat = kFormatSettings.ShortDateFormat;
constexpr std::string_view kLongDateFormat = kFormatSettings.LongDateFormat;
constexpr std::string_view kShortTimeFormat = kFormatSettings.ShortTimeFormat;
constexpr std::string_view kLongTimeFormat = kFormatSettings.LongTimeFormat;
constexpr char kDateSeparator = kFormatSettings.DateSeparator;
constexpr char kTimeSeparator = kFormatSettings.TimeSeparator;
constexpr char kDecimalSeparator = kFormatSettings.DecimalSeparator;
constexpr std::string_view kTimeAMString = kFormatSettings.TimeAMString;
constexpr std::string_view kTimePMString = kFormatSettings.TimePMString;
constexpr int kTwoDigitYearCenturyWindow = 50;

constexpr const auto& kShortMonthNames = kFormatSettings.ShortMonthNames;
constexpr const auto& kLongMonthNames = kFormatSettings.LongMonthNames;
constexpr const auto& kShortDayNames = kFormatSettings.ShortDayNames;
constexpr const auto& kLongDayNames = kFormatSettings.LongDayNames;

// 0001-01-01 and 9999-12-31 as days since 1899-12-30.
constexpr int64_t kMinDay = 1 - kDateDelta;
constexpr int64_t kMaxDay = 2958465;

// A value split into its calendar day (days since 1899-12-30, the value
// truncated toward zero) and its time of day in milliseconds.
struct DayAndTime {
  int64_t day = 0;
  int32_t msec = 0;
  bool valid = false;  // day within years 1 to 9999
};

DayAndTime Split(TDateTime value) {
  DayAndTime result;
  if (!std::isfinite(value) || value < kMinDay - 1 || value > kMaxDay + 1) return result;
  double whole;
  const double fraction = std::modf(value, &whole);
  result.day = static_cast<int64_t>(whole);
  auto msec = static_cast<int32_t>(std::nearbyint(std::fabs(fraction) * kMSecsPerDay));
  if (msec >= kMSecsPerDay) {
    msec -= kMSecsPerDay;
    ++result.day;
  }
  result.msec = msec;
  result.valid = result.day >= kMinDay && result.day <= kMaxDay;
  return result;
}

int64_t DaysBeforeYear(int year) {
  const int64_t y = year - 1;
  return y * 365 + y / 4 - y / 100 + y / 400;
}

int DaysBeforeMonth(int year, int month) {
  int days = 0;
  for (int m = 1; m < month; ++m) days += DaysInMonth(year, m);
  return days;
}

void DecodeDay(int64_t day, int& year, int& month, int& mday) {
  constexpr int64_t kD1 = 365, kD4 = kD1 * 4 + 1, kD100 = kD4 * 25 - 1, kD400 = kD100 * 4 + 1;
  int64_t t = day + kDateDelta - 1;  // days since 0001-01-01
  int64_t y = 1 + t / kD400 * 400;
  t %= kD400;
  int64_t i = t / kD100;
  int64_t d = t % kD100;
  if (i == 4) {
    --i;
    d += kD100;
  }
  y += i * 100;
  y += d / kD4 * 4;
  d %= kD4;
  i = d / kD1;
  d %= kD1;
  if (i == 4) {
    --i;
    d += kD1;
  }
  year = static_cast<int>(y + i);
  month = 1;
  for (int length = DaysInMonth(year, month); d >= length; length = DaysInMonth(year, month)) {
    d -= length;
    ++month;
  }
  mday = static_cast<int>(d) + 1;
}

struct Parts {
  int year = 0, month = 0, day = 0, hour = 0, min = 0, sec = 0, msec = 0, day_of_week = 0;
};

Parts PartsOf(TDateTime value) {
  Parts p;
  const DayAndTime split = Split(value);
  if (split.valid) {
    DecodeDay(split.day, p.year, p.month, p.day);
    p.day_of_week = static_cast<int>((split.day + kDateDelta) % 7) + 1;
  }
  p.hour = split.msec / 3600000;
  p.min = split.msec / 60000 % 60;
  p.sec = split.msec / 1000 % 60;
  p.msec = split.msec % 1000;
  return p;
}

void AppendNumber(std::string& out, int value, int digits) {
  std::string text = std::to_string(value);
  if (static_cast<int>(text.size()) < digits) out.append(digits - text.size(), '0');
  out += text;
}

char Upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (Upper(text[i]) != Upper(prefix[i])) return false;
  return true;
}

// True when an am/pm word follows before the next hour word.
bool UsesTwelveHourClock(std::string_view rest) {
  char quote = 0;
  for (size_t i = 0; i < rest.size(); ++i) {
    const char c = rest[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == 'h' || c == 'H') {
      return false;
    } else if (StartsWithNoCase(rest.substr(i), "am/pm") || StartsWithNoCase(rest.substr(i), "a/p") ||
               StartsWithNoCase(rest.substr(i), "ampm")) {
      return true;
    }
  }
  return false;
}

void AppendFormat(std::string& out, std::string_view format, const Parts& p) {
  char last_token = 0;
  size_t i = 0;
  while (i < format.size()) {
    const char starter = format[i++];
    char token = Upper(starter);
    if (token >= 'A' && token <= 'Z') {
      if (token == 'M' && last_token == 'H') token = 'N';
      last_token = token;
    }
    auto count = [&] {
      int n = 1;
      while (i < format.size() && format[i] == starter) ++i, ++n;
      return n;
    };
    switch (token) {
      case 'Y':
        if (count() <= 2)
          AppendNumber(out, p.year % 100, 2);
        else
          AppendNumber(out, p.year, 4);
        break;
      case 'M': {
        const int n = count();
        if (n <= 2)
          AppendNumber(out, p.month, n);
        else if (p.month >= 1)
          out += (n == 3 ? kShortMonthNames : kLongMonthNames)[p.month - 1];
        break;
      }
      case 'D': {
        const int n = count();
        if (n <= 2)
          AppendNumber(out, p.day, n);
        else if (n <= 4 && p.day_of_week >= 1)
          out += (n == 3 ? kShortDayNames : kLongDayNames)[p.day_of_week - 1];
        else if (n == 5)
          AppendFormat(out, kShortDateFormat, p);
        else if (n >= 6)
          AppendFormat(out, kLongDateFormat, p);
        break;
      }
      case 'H': {
        const int n = std::min(count(), 2);
        int hour = p.hour;
        if (UsesTwelveHourClock(format.substr(i))) {
          if (hour == 0)
            hour = 12;
          else if (hour > 12)
            hour -= 12;
        }
        AppendNumber(out, hour, n);
        break;
      }
      case 'N':
        AppendNumber(out, p.min, std::min(count(), 2));
        break;
      case 'S':
        AppendNumber(out, p.sec, std::min(count(), 2));
        break;
      case 'Z':
        AppendNumber(out, p.msec, std::min(count(), 3));
        break;
      case 'T':
        AppendFormat(out, count() == 1 ? kShortTimeFormat : kLongTimeFormat, p);
        break;
      case 'C':
        count();
        AppendFormat(out, kShortDateFormat, p);
        if (p.hour != 0 || p.min != 0 || p.sec != 0) {
          out += ' ';
          AppendFormat(out, kLongTimeFormat, p);
        }
        break;
      case 'A': {
        const std::string_view rest = format.substr(i - 1);
        const bool pm = p.hour >= 12;
        if (StartsWithNoCase(rest, "am/pm")) {
          out += rest.substr(pm ? 3 : 0, 2);
          i += 4;
        } else if (StartsWithNoCase(rest, "a/p")) {
          out += rest.substr(pm ? 2 : 0, 1);
          i += 2;
        } else if (StartsWithNoCase(rest, "ampm")) {
          out += pm ? kTimePMString : kTimeAMString;
          i += 3;
        } else {
          out += starter;
        }
        break;
      }
      case '/':
        out += kDateSeparator;
        break;
      case ':':
        out += kTimeSeparator;
        break;
      case '\'':
      case '"': {
        const size_t end = format.find(starter, i);
        out += format.substr(i, end == std::string_view::npos ? std::string_view::npos : end - i);
        i = end == std::string_view::npos ? format.size() : end + 1;
        break;
      }
      default:
        out += starter;
    }
  }
}

// A small scanner over date and time text: blanks are skipped before every
// part.
class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  void SkipBlanks() {
    while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
  }
  bool AtEnd() {
    SkipBlanks();
    return pos_ == text_.size();
  }
  // Up to four digits.
  bool Number(int& value, int& digits) {
    SkipBlanks();
    value = 0;
    digits = 0;
    while (pos_ < text_.size() && digits < 4 && text_[pos_] >= '0' && text_[pos_] <= '9') {
      value = value * 10 + (text_[pos_++] - '0');
      ++digits;
    }
    return digits > 0;
  }
  bool Char(char c) {
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  bool Word(std::string_view word) {
    SkipBlanks();
    if (!StartsWithNoCase(text_.substr(pos_), word)) return false;
    pos_ += word.size();
    return true;
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

int CurrentYear() {
  int year, month, day;
  DecodeDate(Now(), year, month, day);
  return year;
}

bool ScanDate(Scanner& s, TDateTime& value) {
  int day, month, year, digits, year_digits;
  if (!s.Number(day, digits) || !s.Char(kDateSeparator) || !s.Number(month, digits)) return false;
  if (s.Char(kDateSeparator)) {
    if (!s.Number(year, year_digits)) return false;
  } else {
    year = CurrentYear();
    year_digits = 4;
  }
  if (year_digits <= 2) {
    const int century_base = CurrentYear() - kTwoDigitYearCenturyWindow;
    year += century_base / 100 * 100;
    if (year < century_base) year += 100;
  }
  return TryEncodeDate(year, month, day, value);
}

// -1 without an am/pm word, else 0 or 12.
int ScanHalfDay(Scanner& s) {
  if (s.Word(kTimeAMString)) return 0;
  if (s.Word(kTimePMString)) return 12;
  return -1;
}

bool ScanTime(Scanner& s, TDateTime& value) {
  int base_hour = ScanHalfDay(s);
  int hour, min = 0, sec = 0, msec = 0, digits;
  if (!s.Number(hour, digits)) return false;
  if (s.Char(kTimeSeparator)) {
    if (!s.Number(min, digits)) return false;
    if (s.Char(kTimeSeparator)) {
      if (!s.Number(sec, digits)) return false;
      if (s.Char(kDecimalSeparator)) {
        if (!s.Number(msec, digits) || digits > 3) return false;
        for (; digits < 3; ++digits) msec *= 10;
      }
    }
  }
  if (base_hour < 0) base_hour = ScanHalfDay(s);
  if (base_hour >= 0) {
    if (hour == 0 || hour > 12) return false;
    hour = hour % 12 + base_hour;
  }
  return TryEncodeTime(hour, min, sec, msec, value);
}

[[noreturn]] void InvalidText(std::string_view text, const char* what) {
  throw EConvertError("'" + std::string(text) + "' is not a valid " + what);
}

}  // namespace

bool IsLeapYear(int year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) {
  static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& value) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
    return false;
  value = static_cast<TDateTime>(DaysBeforeYear(year) + DaysBeforeMonth(year, month) + day - kDateDelta);
  return true;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& value) {
  if (hour < 0 || hour >= 24 || min < 0 || min >= 60 || sec < 0 || sec >= 60 || msec < 0 || msec >= 1000)
    return false;
  value = static_cast<TDateTime>(((hour * 60 + min) * 60 + sec) * 1000 + msec) / kMSecsPerDay;
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime value;
  if (!TryEncodeDate(year, month, day, value)) throw EConvertError("Invalid argument to date encode");
  return value;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
  TDateTime value;
  if (!TryEncodeTime(hour, min, sec, msec, value)) throw EConvertError("Invalid argument to time encode");
  return value;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
  const Parts p = PartsOf(value);
  year = p.year;
  month = p.month;
  day = p.day;
}

void DecodeTime(TDateTime value, int& hour, int& min, int& sec, int& msec) {
  const Parts p = PartsOf(value);
  hour = p.hour;
  min = p.min;
  sec = p.sec;
  msec = p.msec;
}

int DayOfWeek(TDateTime value) {
  return PartsOf(value).day_of_week;
}

TDateTime ComposeDateTime(TDateTime date, TDateTime time) {
  return date >= 0 ? date + time : date - time;
}

TDateTime Now() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  const auto msec =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  return ComposeDateTime(
      EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday),
      EncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), static_cast<int>(msec)));
}

TDateTime Date() {
  return std::trunc(Now());
}

TDateTime Time() {
  const TDateTime now = Now();
  return std::fabs(now - std::trunc(now));
}

std::string FormatDateTime(std::string_view format, TDateTime value) {
  return FormatDateTimeInEra(format, value, 0);
}

std::string FormatDateTimeInEra(std::string_view format, TDateTime value, int year_offset) {
  Parts parts = PartsOf(value);
  parts.year += year_offset;
  std::string out;
  AppendFormat(out, format.empty() ? std::string_view("c") : format, parts);
  return out;
}

std::string DateTimeToStr(TDateTime value) {
  return FormatDateTime("c", value);
}
std::string DateToStr(TDateTime value) {
  return FormatDateTime(kShortDateFormat, value);
}
std::string TimeToStr(TDateTime value) {
  return FormatDateTime(kLongTimeFormat, value);
}

bool TryStrToDate(std::string_view text, TDateTime& value) {
  Scanner s(text);
  return ScanDate(s, value) && s.AtEnd();
}

bool TryStrToTime(std::string_view text, TDateTime& value) {
  Scanner s(text);
  return ScanTime(s, value) && s.AtEnd();
}

bool TryStrToDateTime(std::string_view text, TDateTime& value) {
  Scanner s(text);
  TDateTime date, time = 0;
  if (ScanDate(s, date) && (s.AtEnd() || (ScanTime(s, time) && s.AtEnd()))) {
    value = ComposeDateTime(date, time);
    return true;
  }
  return TryStrToTime(text, value);
}

TDateTime StrToDate(std::string_view text) {
  TDateTime value;
  if (!TryStrToDate(text, value)) InvalidText(text, "date");
  return value;
}

TDateTime StrToTime(std::string_view text) {
  TDateTime value;
  if (!TryStrToTime(text, value)) InvalidText(text, "time");
  return value;
}

TDateTime StrToDateTime(std::string_view text) {
  TDateTime value;
  if (!TryStrToDateTime(text, value)) InvalidText(text, "date and time");
  return value;
}
