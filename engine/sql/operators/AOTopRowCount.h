#pragma once
// TVTRAOSQLTopRowCount: the node under which SELECT TOP applies. The select
// list (and DISTINCT) is applied to the node it wraps, so that a grouping
// node computes its aggregates and a projection its expressions; the TOP
// node passes the finished rows through, reading them in the ORDER BY
// order, and its materialisation keeps the requested rows of that order
// (TVTRAO::SetTopRowCount).
#include "engine/sql/operators/AO.h"

class TVTRAOSQLTopRowCount : public TVTRAO {
 public:
  explicit TVTRAOSQLTopRowCount(TVTRAOPtr child);

  void First() override { Left->FirstResult(); }
  void Next() override { Left->NextResult(); }
  bool Eof() override { return Left->EofResult(); }
  int64_t GetRecordCount() override { return Left->GetResultRecordCount(); }
  // Applies the select list to the child, then selects what the child
  // selected; the child's other columns stay hidden for ORDER BY to find.
  void ApplySelectList(std::span<TVTRSelectListItem> items, bool distinct) override;

 private:
  // One column per child column, under the child's name and shown under
  // its display name; visible when the child shows it.
  void MirrorChildColumns();
};
