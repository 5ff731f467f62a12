#pragma once
// The numbers the donation program gives its registers' rows: a fixed prefix
// (the donor prefix of the settings, or none for suppliers) followed by a
// running number of a fixed count of digits with leading zeros, such as
// ABCD000001 or 00000042. Stored numbers of another shape (left by older
// files) are not running numbers and never count as the highest.
#include <string>
#include <string_view>

#include "platform/rtl/Exception.h"

// The number cannot be given (the running numbers are used up, or the prefix is
// not what the numbers need); the message says why.
class ERunningNumberRefused : public Exception {
 public:
  using Exception::Exception;
};

struct RunningNumberShape {
  std::string_view prefix;
  int digits;
};

// Whether `number` is the prefix followed by exactly `digits` decimal digits.
bool IsRunningNumber(const RunningNumberShape& shape, std::string_view number);

// The number after `highest` (a running number of the shape, or empty when
// none is stored yet: the first number, ...001). Past the last number of the
// digits it raises ERunningNumberRefused with `used_up_message`.
std::string RunningNumberAfter(const RunningNumberShape& shape, std::string_view highest,
                               const std::string& used_up_message);
