#include "engine/foundation/containers/VTRIntegerArray.h"

#include <algorithm>
#include <stdexcept>

namespace {

int32_t DoubledStep(int32_t step, int32_t max_step) {
  return static_cast<int32_t>(std::min<int64_t>(int64_t{step} * 2, max_step));
}

}  // namespace

TVTRIntegerArray::TVTRIntegerArray(int32_t initial_count, int32_t max_step, int32_t step)
    : grow_step_(step), shrink_step_(step), max_step_(max_step) {
  SetSize(initial_count);
}

void TVTRIntegerArray::SetSize(int32_t n) {
  if (n < 0) throw std::invalid_argument("TVTRIntegerArray::SetSize: negative count");
  if (n == 0) {
    items_.reset();
    capacity_ = 0;
  } else if (n > capacity_) {
    grow_step_ = DoubledStep(grow_step_, max_step_);
    const int64_t stepped = int64_t{capacity_} + grow_step_;
    Reallocate(n < stepped ? static_cast<int32_t>(stepped) : n);
  } else if (n < count_ && shrink_step_ < capacity_ - n) {
    shrink_step_ = DoubledStep(shrink_step_, max_step_);
    Reallocate(n);
  }
  if (n > count_) std::fill(items_.get() + count_, items_.get() + n, 0);
  count_ = n;
}

void TVTRIntegerArray::Reallocate(int32_t capacity) {
  auto items = std::make_unique_for_overwrite<int32_t[]>(static_cast<size_t>(capacity));
  std::copy_n(items_.get(), std::min(count_, capacity), items.get());
  items_ = std::move(items);
  capacity_ = capacity;
}

void TVTRIntegerArray::Append(int32_t value) {
  SetSize(count_ + 1);
  items_[count_ - 1] = value;
}

void TVTRIntegerArray::Delete(int32_t position) {
  if (position < 0 || position >= count_) throw std::out_of_range("TVTRIntegerArray::Delete: bad position");
  std::copy(items_.get() + position + 1, items_.get() + count_, items_.get() + position);
  SetSize(count_ - 1);
}

bool TVTRIntegerArray::Contains(int32_t value) const {
  const auto items = Items();
  return std::find(items.begin(), items.end(), value) != items.end();
}
