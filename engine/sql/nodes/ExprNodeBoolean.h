#pragma once
// The three-valued predicates: NOT, AND, OR, IN with a list or a subquery,
// EXISTS, BETWEEN, LIKE, IS NULL and their negations. The result is a
// logical value or NULL.
//   NOT (one operand), AND (any number), OR (two), IN (value, list values...
//   or a subquery), EXISTS (a subquery), BETWEEN (value, low, high), LIKE
//   (value, pattern), IS [NOT] NULL (one).
// IN gives NULL for a NULL value, and a NULL in its list or subquery
// matches nothing.
#include <optional>

#include "engine/sql/nodes/ExprNode.h"

class TVTRExprNodeBoolean : public TVTRExprNode {
 public:
  // LIKE nodes match case-sensitively: pass false for them.
  explicit TVTRExprNodeBoolean(TVTRExprOperator op, bool case_insensitive = true);

  // Constants that BETWEEN and IN compare with a field are converted once to its type.
  void Prepare() override;
  // Another operator code raises 30116; LIKE of values that are not text 30120.
  TVTRVariant& GetValue() override;
  TVTRAdvancedDataType GetDataType() override { return adtLogical; }
  // IS NULL and IS NOT NULL of a field of the searched table give index
  // conditions: IS NULL an equality with NULL, IS NOT NULL the keys after NULL.
  bool CanUseIndex(int32_t column, TVTRScanComparison kind, int32_t session_id,
                   const TVTRIndexDef& index) override;
  void CollectScanConditions(TVTRScanSearchConditionArray& conditions, const TVTRIndexDef& index,
                             TVTRExpression& expression) override;
  void UpdateScanCondition(TVTRScanSearchCondition& condition, const TVTRIndexDef& index,
                           TVTRExpression& expression) override;

 private:
  // nullopt stands for NULL.
  std::optional<bool> Evaluate();
  // AND (decisive false) and OR (decisive true): the first operand with the
  // decisive value decides; else NULL when an operand was NULL.
  std::optional<bool> EvaluateJunction(bool decisive);
  std::optional<bool> EvaluateIn();
  std::optional<bool> EvaluateBetween();
  std::optional<bool> EvaluateLike();
};

// The node as an AND node, or nil.
TVTRExprNodeBoolean* AsAnd(TVTRExprNode& node);
