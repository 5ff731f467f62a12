#pragma once
// A set of values of one small enumeration (at most 32 members), as the class
// library's set types are: options, states and flags.
#include <cstdint>
#include <initializer_list>

template <typename E>
class EnumSet {
 public:
  constexpr EnumSet() = default;
  constexpr EnumSet(std::initializer_list<E> members) {
    for (E member : members) Include(member);
  }
  static constexpr EnumSet FromBits(uint32_t bits) {
    EnumSet set;
    set.bits_ = bits;
    return set;
  }

  constexpr bool Contains(E member) const { return (bits_ & Bit(member)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr uint32_t Bits() const { return bits_; }
  constexpr EnumSet& Include(E member) {
    bits_ |= Bit(member);
    return *this;
  }
  constexpr EnumSet& Exclude(E member) {
    bits_ &= ~Bit(member);
    return *this;
  }

  constexpr EnumSet operator|(EnumSet other) const { return FromBits(bits_ | other.bits_); }
  constexpr EnumSet operator&(EnumSet other) const { return FromBits(bits_ & other.bits_); }
  constexpr bool operator==(const EnumSet&) const = default;

 private:
  static constexpr uint32_t Bit(E member) { return uint32_t{1} << static_cast<uint32_t>(member); }
  uint32_t bits_ = 0;
};
