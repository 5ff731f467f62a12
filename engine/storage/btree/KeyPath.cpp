#include "engine/storage/btree/KeyPath.h"

#include <cmath>

#include "engine/foundation/VTRExcept.h"

void TVTRKeyPath::Assign(const TVTRKeyPath& source) {
  depth_ = source.depth_;
  level_ = source.level_;
  for (int32_t i = 0; i < depth_; ++i) At(i) = source.At(i);
}

void TVTRKeyPath::Push(int32_t page_no, int32_t position, int32_t count) {
  if (level_ >= kMaxKeyPathLevels) {
    throw EVTRException::CreateFmt(20032, "Index integrity violated. Circular links. PageNo=%d EntryNo=%d",
                                   page_no, position);
  }
  At(level_) = {page_no, position, count};
  ++level_;
  ++depth_;
}

bool TVTRKeyPath::ContainsPage(int32_t page_no) const {
  for (int32_t i = 0; i < depth_; ++i) {
    if (At(i).PageNo == page_no) return true;
  }
  return false;
}

int TVTRKeyPath::Compare(const TVTRKeyPath& other) const {
  if (depth_ != other.depth_) throw EVTRException(20051, "Invalid index key path");
  for (int32_t i = 0; i < depth_; ++i) {
    if (At(i).PageNo != other.At(i).PageNo) throw EVTRException(20052, "Invalid index key path");
    const int32_t a = At(i).Position, b = other.At(i).Position;
    if (a != b) return a < b ? -1 : 1;
  }
  return 0;
}

double TVTRKeyPath::GetFraction() const {
  long double a = 1, b = 0;
  for (int32_t i = depth_ - 1; i >= 0; --i) {
    b += At(i).Position * a;
    a *= At(i).Count;
  }
  return a == 0 ? 0.0 : static_cast<double>(b / a);
}

int64_t TVTRKeyPath::ToPositionNumber(int32_t fan_out) const {
  int64_t number = 0;
  for (int32_t i = depth_ - 1, k = 0; i >= 0; --i, ++k) {
    const long double weight = std::pow(static_cast<long double>(fan_out) + 1, k);
    number += std::llround((At(i).Position + 1) * weight);
  }
  return number;
}

void TVTRKeyPath::FromPositionNumber(int64_t number, int32_t fan_out) {
  Clear();
  const int64_t base = int64_t{fan_out} + 1;
  if (base < 2) throw EVTRException(20051, "Invalid index key path");
  int32_t digits = 0;
  for (int64_t rest = number; rest > 0; rest /= base) ++digits;
  if (digits > kMaxKeyPathLevels) throw EVTRException(20051, "Invalid index key path");
  depth_ = digits;
  int64_t rest = number;
  for (int32_t i = depth_ - 1; i >= 0; --i) {
    At(i) = {-1, static_cast<int32_t>(rest % base) - 1, 0};
    rest /= base;
  }
}
