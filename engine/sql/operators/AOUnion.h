#pragma once
// TVTRAOUnion: UNION, INTERSECT and EXCEPT (MINUS) of two query operands. The
// selected columns of the two inputs are paired by position, or by name
// (CORRESPONDING, or the names of CORRESPONDING BY); each pair is one column,
// read from the input that gives the current row. The comparing operations
// (all but UNION ALL) sort both inputs on the pairs and merge them in one
// pass; without ALL the node is distinct, NULL equal to NULL. Columns that
// cannot be indexed (BYTES, VARBYTES, BLOB, GRAPHIC, GUID) cannot be
// compared either: the comparing operations leave them out, UNION ALL
// keeps them. Pairs of different type families are compared, and given, in
// their common type.
#include <cstdint>
#include <vector>

#include "engine/sql/operators/AO.h"

enum TVTRUnionType : uint8_t { utUnion = 0, utIntersect = 1, utExcept = 2 };

class TVTRAOUnion : public TVTRAO {
 public:
  // `fields` holds the names of CORRESPONDING BY, or is nil; an empty list
  // raises 10337, no pair at all 10339.
  TVTRAOUnion(TVTRAOPtr left, const TVTRFields* fields, bool distinct, bool corresponding,
              TVTRUnionType union_type, TVTRAOPtr right);

  void First() override;
  void Next() override;
  bool Eof() override;
  int64_t GetRecordCount() override;

  bool AtEnd = false;
  TVTRUnionType UnionType;
  // The paired columns of the two inputs, in the inputs' numbering.
  std::vector<int32_t> LeftKeys, RightKeys;
  bool BeforeFirst = false;
  bool CurrentIsLeft = true;

 private:
  // The union compares rows: every operation but UNION ALL.
  bool Compares() const { return UnionType != utUnion || Distinct; }
  void PairColumns(const TVTRFields* fields, bool corresponding);
  // Converts the pair's sides to their common type where the families differ.
  void ConvertPair(size_t pair);
  void AddColumns();
  void SortInputs();
  // 0 equal, 1 left less, 2 left greater; NULL equals NULL and is less than a value.
  TVTRCompareResult CompareRows();
  // The columns read the left input's row, or the right one's.
  void LinkTo(bool left);
  void NextIntersect();
  void NextExcept();
  void NextUnion();
  void NextUnionAll();

  TVTRVariant left_value_, right_value_;
};
