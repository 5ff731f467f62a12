#pragma once
// Aggregates: SUM, AVG, MIN, MAX, COUNT (one argument) and COUNT(*) (none),
// driven by the grouping protocol: ResetAggregate at the start of a group,
// Accumulate for each of its rows, then GetValue, which leaves the state as
// it is.
//
// NULL arguments are skipped (COUNT(*) counts every row). Integer SUMs and
// AVG's running sum are kept in 64 bits, whatever the argument's width; an
// overflow there raises instead of wrapping. A DISTINCT aggregate
// accumulates each value once per group (equal as DISTINCT rows are:
// case-sensitively); MIN and MAX do not need it.
#include <set>

#include "engine/sql/nodes/ExprNode.h"

class TVTRExprNodeAggregated : public TVTRExprNode {
 public:
  // `argument` is nil for COUNT(*).
  TVTRExprNodeAggregated(TVTRExprOperator op, bool distinct, TVTRExprNodePtr argument);

  // SUM, MIN, MAX: NULL when no value was seen; COUNT an INTEGER; AVG a
  // DOUBLE, NULL without values.
  TVTRVariant& GetValue() override;
  bool IsAggregated() const override { return true; }
  void ResetAggregate() override;
  // SUM and AVG of a value that is not a number raise 30132 and 30133;
  // another operator code 30134.
  void Accumulate() override;
  TVTRAdvancedDataType GetDataType() override;
  // Only a grouping node can evaluate an aggregate, so a HAVING conjunct
  // that holds one stays on the grouping node when conditions are pushed down.
  bool CanEvaluateOn(TVTRAO* ao, TVTRAO* outer_ao, TVTRCursor* outer_cursor) override;

 private:
  struct DistinctOrder {
    bool operator()(const TVTRVariant& a, const TVTRVariant& b) const;
  };

  // False for a value this group has accumulated before (DISTINCT only).
  bool FirstOccurrence(const TVTRVariant& value);
  // Adds the value to a running total.
  static void AddToTotal(TVTRVariant& total, const TVTRVariant& value);

  bool distinct_;
  int32_t count_ = 0;
  TVTRVariant total_;  // SUM, MIN, MAX: the result so far; AVG: the running sum
  std::set<TVTRVariant, DistinctOrder> seen_;
};
