#pragma once
// A type-checked Format in the class library's style:
//   %[index:][-][width][.precision]type   with type d u x e f g n m s p, and %%.
// Width and precision may be "*" (taken from the next integer argument).
// An argument whose kind does not fit its conversion, or a missing argument,
// raises EConvertError; surplus arguments are ignored.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

class FormatArg {
 public:
  enum class Kind { Integer, Unsigned, Float, String, Char, Pointer, Boolean };

  template <typename T>
    requires(std::is_integral_v<T> && std::is_signed_v<T> && !std::is_same_v<T, char>)
  FormatArg(T value) : kind_(Kind::Integer), integer_(value) {}
  template <typename T>
    requires(std::is_integral_v<T> && std::is_unsigned_v<T> && !std::is_same_v<T, bool>)
  FormatArg(T value) : kind_(Kind::Unsigned), unsigned_(value) {}
  FormatArg(bool value) : kind_(Kind::Boolean), integer_(value) {}
  FormatArg(char value) : kind_(Kind::Char), char_(value) {}
  FormatArg(double value) : kind_(Kind::Float), float_(value) {}
  FormatArg(long double value) : kind_(Kind::Float), float_(static_cast<double>(value)) {}
  FormatArg(float value) : kind_(Kind::Float), float_(value) {}
  FormatArg(const char* value) : kind_(Kind::String), string_(value ? value : "") {}
  FormatArg(std::string_view value) : kind_(Kind::String), string_(value) {}
  FormatArg(const std::string& value) : kind_(Kind::String), string_(value) {}
  FormatArg(const void* value) : kind_(Kind::Pointer), pointer_(value) {}

  Kind kind() const { return kind_; }
  int64_t integer() const { return integer_; }
  uint64_t unsigned_value() const { return unsigned_; }
  double floating() const { return float_; }
  std::string_view string() const { return string_; }
  char character() const { return char_; }
  const void* pointer() const { return pointer_; }

 private:
  Kind kind_;
  union {
    int64_t integer_;
    uint64_t unsigned_;
    double float_;
    char char_;
    const void* pointer_;
  };
  std::string_view string_;
};

std::string FormatList(std::string_view format, std::initializer_list<FormatArg> args);

template <typename... Args>
std::string Format(std::string_view format, const Args&... args) {
  return FormatList(format, {FormatArg(args)...});
}
