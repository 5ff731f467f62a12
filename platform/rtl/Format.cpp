#include "platform/rtl/Format.h"

#include <cstdio>
#include <vector>

#include "platform/rtl/Exception.h"
#include "platform/rtl/FloatText.h"

namespace {

[[noreturn]] void Invalid(std::string_view format) {
  throw EConvertError("Format '" + std::string(format) + "' invalid or incompatible with argument");
}

class ArgumentReader {
 public:
  ArgumentReader(std::string_view format, std::initializer_list<FormatArg> args)
      : format_(format), args_(args.begin(), args.end()) {}

  const FormatArg& Next() {
    if (next_ >= args_.size()) Invalid(format_);
    return args_[next_++];
  }
  void JumpTo(size_t index) {
    if (index >= args_.size()) Invalid(format_);
    next_ = index;
  }
  int NextInteger() {
    const FormatArg& arg = Next();
    if (arg.kind() == FormatArg::Kind::Integer) return static_cast<int>(arg.integer());
    if (arg.kind() == FormatArg::Kind::Unsigned) return static_cast<int>(arg.unsigned_value());
    Invalid(format_);
  }

 private:
  std::string_view format_;
  std::vector<FormatArg> args_;
  size_t next_ = 0;
};

std::string Pad(std::string text, int width, bool left_justify) {
  if (width > static_cast<int>(text.size())) {
    const size_t fill = width - text.size();
    if (left_justify)
      text.append(fill, ' ');
    else
      text.insert(0, fill, ' ');
  }
  return text;
}

std::string IntegerText(const FormatArg& arg, char type, int precision, std::string_view format) {
  std::string digits;
  bool negative = false;
  if (arg.kind() == FormatArg::Kind::Integer) {
    const int64_t v = arg.integer();
    negative = v < 0;
    const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
    char buffer[32];
    if (type == 'x') {
      // Hexadecimal shows the two's complement of negative 32-bit values, as the platform does.
      const uint64_t bits = (v >= INT32_MIN && v <= INT32_MAX) ? static_cast<uint32_t>(v) : static_cast<uint64_t>(v);
      std::snprintf(buffer, sizeof buffer, "%llX", static_cast<unsigned long long>(bits));
      negative = false;
    } else if (type == 'u') {
      const uint64_t bits = (v >= INT32_MIN && v <= INT32_MAX) ? static_cast<uint32_t>(v) : static_cast<uint64_t>(v);
      std::snprintf(buffer, sizeof buffer, "%llu", static_cast<unsigned long long>(bits));
      negative = false;
    } else {
      std::snprintf(buffer, sizeof buffer, "%llu", static_cast<unsigned long long>(magnitude));
    }
    digits = buffer;
  } else if (arg.kind() == FormatArg::Kind::Unsigned) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, type == 'x' ? "%llX" : "%llu",
                  static_cast<unsigned long long>(arg.unsigned_value()));
    digits = buffer;
  } else {
    Invalid(format);
  }
  if (precision > static_cast<int>(digits.size())) digits.insert(0, precision - digits.size(), '0');
  return negative ? "-" + digits : digits;
}

std::string FloatText(const FormatArg& arg, char type, int precision, std::string_view format) {
  if (arg.kind() != FormatArg::Kind::Float) Invalid(format);
  const double v = arg.floating();
  switch (type) {
    case 'f':
      return FloatToFixedText(v, precision < 0 ? 2 : precision, false);
    case 'n':
    case 'm':
      return FloatToFixedText(v, precision < 0 ? 2 : precision, true);
    case 'e':
      return FloatToExponentText(v, precision < 0 ? 15 : precision);
    default:
      return FloatToGeneralText(v, precision < 0 ? 15 : precision);
  }
}

}  // namespace

std::string FormatList(std::string_view format, std::initializer_list<FormatArg> args) {
  ArgumentReader reader(format, args);
  std::string out;
  out.reserve(format.size() + 16);
  size_t i = 0;
  const size_t n = format.size();
  while (i < n) {
    const char c = format[i++];
    if (c != '%') {
      out.push_back(c);
      continue;
    }
    if (i >= n) Invalid(format);
    if (format[i] == '%') {
      out.push_back('%');
      ++i;
      continue;
    }
    // [index:]
    size_t j = i;
    int number = -1;
    auto read_number = [&](size_t& pos) -> int {
      if (pos < n && format[pos] == '*') {
        ++pos;
        return reader.NextInteger();
      }
      int value = -1;
      while (pos < n && format[pos] >= '0' && format[pos] <= '9') {
        value = (value < 0 ? 0 : value * 10) + (format[pos] - '0');
        if (value > 100000) Invalid(format);
        ++pos;
      }
      return value;
    };
    if (j < n && format[j] >= '0' && format[j] <= '9') {
      size_t k = j;
      number = read_number(k);
      if (k < n && format[k] == ':') {
        reader.JumpTo(number);
        i = k + 1;
      }
    } else if (j < n && format[j] == '*') {
      size_t k = j + 1;
      if (k < n && format[k] == ':') Invalid(format);
    }
    bool left_justify = false;
    if (i < n && format[i] == '-') {
      left_justify = true;
      ++i;
    }
    const int width = read_number(i);
    int precision = -1;
    if (i < n && format[i] == '.') {
      ++i;
      precision = read_number(i);
      if (precision < 0) precision = 0;
    }
    if (i >= n) Invalid(format);
    const char type = static_cast<char>(format[i] | 0x20);  // lower case
    ++i;
    std::string text;
    switch (type) {
      case 'd':
      case 'u':
      case 'x':
        text = IntegerText(reader.Next(), type, precision, format);
        break;
      case 'e':
      case 'f':
      case 'g':
      case 'n':
      case 'm':
        text = FloatText(reader.Next(), type, precision, format);
        break;
      case 's': {
        const FormatArg& arg = reader.Next();
        if (arg.kind() == FormatArg::Kind::String)
          text = arg.string();
        else if (arg.kind() == FormatArg::Kind::Char)
          text = std::string(1, arg.character());
        else
          Invalid(format);
        if (precision >= 0 && precision < static_cast<int>(text.size())) text.resize(precision);
        break;
      }
      case 'p': {
        const FormatArg& arg = reader.Next();
        if (arg.kind() != FormatArg::Kind::Pointer) Invalid(format);
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%016llX",
                      static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(arg.pointer())));
        text = buffer;
        break;
      }
      default:
        Invalid(format);
    }
    out += Pad(std::move(text), width, left_justify);
  }
  return out;
}
