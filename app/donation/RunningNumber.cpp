#include "app/donation/RunningNumber.h"

#include <algorithm>
#include <cassert>
#include <cstdint>

#include "app/core/ZeroPadding.h"

bool IsRunningNumber(const RunningNumberShape& shape, std::string_view number) {
  if (number.size() != shape.prefix.size() + static_cast<size_t>(shape.digits)) return false;
  if (!number.starts_with(shape.prefix)) return false;
  const std::string_view running = number.substr(shape.prefix.size());
  return std::ranges::all_of(running, [](char c) { return c >= '0' && c <= '9'; });
}

std::string RunningNumberAfter(const RunningNumberShape& shape, std::string_view highest,
                               const std::string& used_up_message) {
  int64_t running = 0;
  if (!highest.empty()) {
    assert(IsRunningNumber(shape, highest));
    for (char digit : highest.substr(shape.prefix.size())) running = running * 10 + (digit - '0');
  }
  int64_t last = 1;
  for (int i = 0; i < shape.digits; ++i) last *= 10;
  if (running + 1 >= last) throw ERunningNumberRefused(used_up_message);
  return std::string(shape.prefix) + PadLeftZeros(std::to_string(running + 1), shape.digits);
}
