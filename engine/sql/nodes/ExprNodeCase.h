#pragma once
// CASE, simple (an input compared with each WHEN value) or searched (each
// WHEN a condition). Operands: the input of a simple CASE, then each WHEN
// and its THEN in text order, then the ELSE value.
#include <utility>
#include <vector>

#include "engine/sql/nodes/ExprNode.h"

class TVTRExprNodeCase : public TVTRExprNode {
 public:
  using Branch = std::pair<TVTRExprNodePtr, TVTRExprNodePtr>;  // WHEN, THEN

  // `input` is nil for a searched CASE, `else_value` nil without ELSE.
  TVTRExprNodeCase(TVTRExprNodePtr input, std::vector<Branch> branches, TVTRExprNodePtr else_value);

  // The THEN value of the first WHEN that matches, else the ELSE value, else
  // NULL; the result refers to that value. A simple CASE matches a WHEN value
  // equal to the input (NULL equal to NULL, case ignored); a searched CASE a
  // condition that is true, so a NULL condition does not match.
  TVTRVariant& GetValue() override;
  // The common type of the THEN values and the ELSE value.
  TVTRAdvancedDataType GetDataType() override;
  // The widest of the THEN values and the ELSE value, once each of them that
  // has another type is put into a CAST to the CASE's type (so that
  // evaluation converts them from then on).
  int32_t GetDataSize() override;

 private:
  int32_t FirstBranch() const { return has_input_ ? 1 : 0; }
  int32_t BranchEnd() const { return FirstBranch() + 2 * branch_count_; }
  // The THEN values and the ELSE value.
  std::vector<int32_t> ResultOperands() const;

  bool has_input_;
  int32_t branch_count_;
  bool has_else_;
};
