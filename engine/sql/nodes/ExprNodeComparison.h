#pragma once
// The comparisons "=", "<>", ">", "<", ">=", "<=" of two operands. The
// result is never NULL: with raw NULL semantics (SQL, dataset filters) a
// NULL operand makes every operator but "<>" false; without them (Locate,
// searches) NULL equals NULL and sorts before every value.
#include "engine/sql/nodes/ExprNode.h"

// The operands of a partial comparison that are prefixes: a text compared
// with a prefix counts only as many characters as the prefix has, so it
// equals the prefix only when it begins with it.
enum class TVTRPrefixOperand : uint8_t { None, Left, Right, Both };

// ANY and SOME, or ALL, before a subquery on the right.
enum TVTRQuantifier : uint8_t { qnNone = 0, qnAll = 1, qnAny = 2 };

struct TVTRComparisonOptions {
  bool case_insensitive = false;
  bool raw_null = true;
  TVTRPrefixOperand prefix = TVTRPrefixOperand::None;
  // With a quantifier the right operand is a subquery, whose rows the left value is tested against.
  TVTRQuantifier quantifier = qnNone;
};

class TVTRExprNodeComparison : public TVTRExprNode {
 public:
  TVTRExprNodeComparison(TVTRExprOperator op, const TVTRComparisonOptions& options, TVTRExprNodePtr left,
                         TVTRExprNodePtr right);

  // A constant compared with a field is converted once to the field's type.
  void Prepare() override;
  // Another operator code raises 30117. A quantified comparison is the
  // subquery's test of the left value.
  TVTRVariant& GetValue() override;
  TVTRAdvancedDataType GetDataType() override { return adtLogical; }
  // Index conditions: a comparison of a field of the searched table with a
  // constant or an outer reference. With raw NULL semantics a NULL key value
  // gives none (the comparison refuses every row), a range keeps the
  // comparison for the record test (the range reaches the NULL keys), and a
  // key value of another type family than the field gives none (the key
  // would be converted where the comparison is not).
  bool CanUseIndex(int32_t column, TVTRScanComparison kind, int32_t session_id,
                   const TVTRIndexDef& index) override;
  void CollectScanConditions(TVTRScanSearchConditionArray& conditions, const TVTRIndexDef& index,
                             TVTRExpression& expression) override;
  void UpdateScanCondition(TVTRScanSearchCondition& condition, const TVTRIndexDef& index,
                           TVTRExpression& expression) override;
  // An "=" between a field of each input, neither correlated; a field found
  // more than once in the two inputs raises 10404 (first operand) or 10405.
  bool IsJoinCondition(TVTRAO* left_ao, TVTRAO* right_ao) override;

 private:
  TVTRCompareResult Compare(const TVTRVariant& left, const TVTRVariant& right) const;
  // The operator as if the field stood on the left.
  TVTRExprOperator FieldOperator(bool field_is_right) const;

  TVTRComparisonOptions options_;
};
