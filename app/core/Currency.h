#pragma once
// Currency: an exact amount of money, a 64-bit count of ten-thousandths, as the
// class library's fixed-point type holds it. Sums of many rows stay exact, which
// sums of doubles do not (0.1 + 0.2 ...).
//
// Range ±922,337,203,685,477.5807; a conversion or a sum outside it raises
// EOverflow, never wraps.
#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

// The mask that money is shown with.
inline constexpr std::string_view kMoneyMask = "###,###,##0.00";

class Currency {
 public:
  constexpr Currency() = default;

  // The value rounded to the nearest ten-thousandth (halves away from zero);
  // NaN and values outside the range raise EOverflow.
  static Currency FromDouble(double value);
  static constexpr Currency FromTenThousandths(int64_t units) { return Currency(units); }

  constexpr int64_t TenThousandths() const { return units_; }
  double ToDouble() const { return static_cast<double>(units_) / kScale; }
  // FormatFloat's text of the value; exact for amounts below a hundred billion,
  // which take no more than the fifteen digits it keeps.
  std::string Format(std::string_view mask = kMoneyMask) const;

  Currency& operator+=(Currency other);
  Currency& operator-=(Currency other);
  friend Currency operator+(Currency a, Currency b) { return a += b; }
  friend Currency operator-(Currency a, Currency b) { return a -= b; }
  friend constexpr auto operator<=>(Currency, Currency) = default;

  static constexpr int64_t kScale = 10000;

 private:
  explicit constexpr Currency(int64_t units) : units_(units) {}

  int64_t units_ = 0;
};
