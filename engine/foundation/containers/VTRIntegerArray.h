#pragma once
// A growable array of 32-bit integers whose capacity moves in steps that
// double with every use, up to a maximum step, so a list that keeps growing
// (the page numbers of a file, the column numbers of a query) reallocates
// rarely, and one that shrinks a lot gives its memory back.
#include <cstdint>
#include <memory>
#include <span>

class TVTRIntegerArray {
 public:
  // grow and shrink step = step; the array starts with initial_count zeros.
  TVTRIntegerArray(int32_t initial_count, int32_t max_step, int32_t step);

  TVTRIntegerArray(const TVTRIntegerArray&) = delete;
  TVTRIntegerArray& operator=(const TVTRIntegerArray&) = delete;

  int32_t Count() const { return count_; }
  // Items allocated; never below Count().
  int32_t Capacity() const { return capacity_; }

  // Requires 0 <= index < Count().
  int32_t& operator[](int32_t index) { return items_[index]; }
  int32_t operator[](int32_t index) const { return items_[index]; }
  std::span<int32_t> Items() { return {items_.get(), static_cast<size_t>(count_)}; }
  std::span<const int32_t> Items() const { return {items_.get(), static_cast<size_t>(count_)}; }

  // Items past the old count read as 0. Raises std::invalid_argument for n < 0.
  void SetSize(int32_t n);
  void Append(int32_t value);
  // Removes the item at position; later items move down. Raises
  // std::out_of_range for a position outside 0 .. Count() - 1.
  void Delete(int32_t position);
  bool Contains(int32_t value) const;

 private:
  void Reallocate(int32_t capacity);

  std::unique_ptr<int32_t[]> items_;
  int32_t count_ = 0;
  int32_t grow_step_;
  int32_t shrink_step_;
  int32_t max_step_;
  int32_t capacity_ = 0;
};
