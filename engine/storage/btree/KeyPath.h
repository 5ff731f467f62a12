#pragma once
// TVTRKeyPath: one position in a B-tree, recorded level by level from the root
// (level 0) down to a leaf entry: the page, the entry position on it and the
// page's entry count when the level was recorded. A path is valid only for the
// tree state it was made in; any insert or delete may invalidate it.
//
// Position numbers give every entry position of a tree its own number, so that
// a record bitmap can hold a bit per index position: the sum over the levels of
// (position + 1) x (fan-out + 1)^k, k = 0 at the deepest level.
#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/foundation/Invariant.h"

inline constexpr int32_t kMaxKeyPathLevels = 32;

struct TVTRKeyPathLevel {
  int32_t PageNo = -1;
  int32_t Position = 0;
  int32_t Count = 0;
};

class TVTRKeyPath {
 public:
  void Clear() {
    depth_ = 0;
    level_ = 0;
  }
  void Assign(const TVTRKeyPath& source);

  // Records a level at the working level and moves both the working level and
  // the depth one down. A 33rd level means the tree links run in a circle:
  // 20032.
  void Push(int32_t page_no, int32_t position, int32_t count);
  void Pop() {
    VTR_ASSERT(depth_ > 0 && level_ > 0);
    --level_;
    --depth_;
  }
  void LevelDown() { ++level_; }
  void LevelUp() { --level_; }

  int32_t Depth() const { return depth_; }
  int32_t Level() const { return level_; }
  bool Empty() const { return depth_ == 0; }
  TVTRKeyPathLevel& At(int32_t level) {
    VTR_ASSERT(level >= 0 && level < kMaxKeyPathLevels);
    return levels_[static_cast<std::size_t>(level)];
  }
  const TVTRKeyPathLevel& At(int32_t level) const {
    VTR_ASSERT(level >= 0 && level < kMaxKeyPathLevels);
    return levels_[static_cast<std::size_t>(level)];
  }
  TVTRKeyPathLevel& Deepest() { return At(depth_ - 1); }
  const TVTRKeyPathLevel& Deepest() const { return At(depth_ - 1); }
  // The page recorded at the working level.
  int32_t CurrentPageNo() const { return At(level_).PageNo; }
  TVTRKeyPathLevel& Current() { return At(level_); }
  bool ContainsPage(int32_t page_no) const;

  // -1, 0 or 1 by the first level whose positions differ. Paths of different
  // depth raise 20051; different pages before that level 20052.
  int Compare(const TVTRKeyPath& other) const;
  // The position as a fraction of the tree, in [0, 1).
  double GetFraction() const;
  int64_t ToPositionNumber(int32_t fan_out) const;
  // Levels with page -1 and count 0, so only the positions are meaningful.
  void FromPositionNumber(int64_t number, int32_t fan_out);

 private:
  std::array<TVTRKeyPathLevel, kMaxKeyPathLevels> levels_;
  int32_t depth_ = 0;
  int32_t level_ = 0;
};
