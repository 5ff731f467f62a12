#pragma once
// Extended index definitions: an index as one flat record of texts, between
// the dataset layer's TIndexDefs and the engine's TVTRIndexDefs
// (DefConversions.h).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The dataset layer's index options as bits (TIndexOption): 0 primary,
// 1 unique, 2 descending (every column), 3 case-insensitive (every column);
// bits 4 and 5 (expression, not maintained) are carried and have no effect.
inline constexpr uint8_t kIndexPrimaryBit = 1 << 0;
inline constexpr uint8_t kIndexUniqueBit = 1 << 1;
inline constexpr uint8_t kIndexDescendingBit = 1 << 2;
inline constexpr uint8_t kIndexCaseInsensitiveBit = 1 << 3;

class TVTRAdvIndexDef {
 public:
  void Assign(const TVTRAdvIndexDef& source) { *this = source; }

  std::string Name;
  // Field names separated by ";" (a "," is accepted too).
  std::string Fields;
  // The names of the columns that sort descending / compare ignoring case.
  std::string DescFields;
  std::string CaseInsFields;
  uint8_t Options = 0;
  // One integer per column, separated by ";": the column's MaxIndexedSize;
  // an empty or missing entry means 20.
  std::string MaxIndexedSizes;
  bool Temporary = false;  // a temporary index of one session
};

class TVTRAdvIndexDefs {
 public:
  int32_t GetCount() const { return static_cast<int32_t>(items_.size()); }
  // Positions 0 .. GetCount() - 1; others raise std::out_of_range.
  TVTRAdvIndexDef& GetItem(int32_t index) const { return *items_.at(index); }
  // A new empty item appended.
  TVTRAdvIndexDef& AddIndexDef();
  TVTRAdvIndexDef& AppendIndexDef(std::string name, std::string fields, uint8_t options, bool temporary,
                                  std::string desc_fields, std::string case_ins_fields,
                                  std::string max_indexed_sizes);
  // Clear, then a copy of every item of the source; with `skip_temporary`
  // leaving out the temporary ones and those whose name contains
  // "TEMPORARY" in any letter case.
  void Assign(const TVTRAdvIndexDefs& source, bool skip_temporary);
  void Clear() { items_.clear(); }

 private:
  std::vector<std::unique_ptr<TVTRAdvIndexDef>> items_;
};
