#pragma once
// TVTRAOGroupBy: GROUP BY and aggregates. The input is sorted on the group
// columns and walked once by two cursors on the same result table, the
// second one row ahead, so a group ends where the two disagree; no group is
// held in memory. For every group the aggregate columns and the HAVING
// condition (the node's filter) are reset, accumulate the group's rows and
// give one row. Without a GROUP BY list the whole input is one group, so
// it gives exactly one row, also when it is empty.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "engine/sql/operators/AO.h"

class TVTRAOGroupBy : public TVTRAO {
 public:
  // One hidden column per child column, linking to it. Each GROUP BY entry
  // names a column, or else the alias of a select-list item that is no
  // aggregate (`items`); neither raises 20245. The child is sorted on the
  // group columns, ascending and case-sensitively. A stored table is read
  // through a projection, so that the look-ahead cursor sees the rows the
  // table's filter lets through.
  TVTRAOGroupBy(TVTRAOPtr child, std::span<const TVTRSelectListItem> items, const TVTRFields* group_fields);
  ~TVTRAOGroupBy() override;

  void First() override;
  void Next() override;
  bool Eof() override { return AtEnd; }
  int64_t GetRecordCount() override { return Left->GetResultRecordCount(); }
  // Adds the aggregate columns; a selected plain field must be a group
  // column (10342; unknown: 10341). Without GROUP BY no plain field may be
  // selected.
  void ApplySelectList(std::span<TVTRSelectListItem> items, bool distinct) override;

 protected:
  // Opens the look-ahead cursor on the child's result (10304).
  void PrepareInputs() override;
  void ReleaseInputs() override;

 private:
  void ResetAggregates();
  void Accumulate();
  void AdvanceBoth();
  // Whether the child's row and the look-ahead row have equal group keys
  // (two NULLs are equal); 10340 when they cannot be compared.
  bool SameGroupKeys();
  // Moves onto the next group and accumulates it; the child ends on the
  // group's last row.
  void NextGroup(bool is_first);
  bool ChildAtEnd() { return Left->EofResult(); }

  std::unique_ptr<TVTRTable> LookAhead;
  bool FirstPending = false;
  bool WholeInput = false;
  std::vector<int32_t> GroupColumns;
  bool AtEnd = false;
  // Reused by every key comparison.
  TVTRVariant child_key_, ahead_key_;
};
