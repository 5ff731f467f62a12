#pragma once
// TVTRExprNode: one node of an expression tree. A node owns its operands
// (in text order) and its result value; every evaluation writes into that
// result and returns it, so a value read from a node stays valid until the
// node is evaluated again.
//
// The seventeen operations below are the node's virtual slots, in order. The
// base behaviour of each is what a node without an override does.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "engine/foundation/DataTypes.h"
#include "engine/foundation/VTRVariant.h"
#include "engine/sql/SelectListItem.h"
#include "engine/sql/nodes/ExprOperator.h"
#include "engine/storage/base/ScanSearchCondition.h"

class TVTRAO;
class TVTRCursor;

class TVTRExprNode {
 public:
  // Nodes the parser makes compare ignoring case unless they say otherwise.
  explicit TVTRExprNode(TVTRExprOperator op, bool case_insensitive = true);
  virtual ~TVTRExprNode();
  TVTRExprNode(const TVTRExprNode&) = delete;
  TVTRExprNode& operator=(const TVTRExprNode&) = delete;

  // 0: readies the tree for evaluation once its fields are bound.
  virtual void Prepare();
  // 1: evaluates the node into its result and returns it.
  virtual TVTRVariant& GetValue() = 0;
  // 2: whether an aggregate stands in the tree.
  virtual bool IsAggregated() const;
  // 3, 4: the grouping protocol: reset at the start of a group, accumulate each row.
  virtual void ResetAggregate();
  virtual void Accumulate();
  // 5: binds field references to the columns of operator nodes.
  virtual void AssignAO(TVTRAO* ao, TVTRAO* outer_ao, TVTRCursor* outer_cursor);
  // 6: binds field references to the cursor's fields and current record buffer.
  virtual void AssignCursor(TVTRCursor* cursor, TVTRAO* outer_ao, TVTRCursor* outer_cursor);
  // 7: field references of the side (0 inner, 1 outer) read `buffer` from now on.
  virtual void AssignRecordBuffer(const uint8_t* buffer, int32_t outer_side);
  // 8: the result's column type: the common type of the operands; none raises 30283.
  virtual TVTRAdvancedDataType GetDataType();
  // 9: the result's width in characters for text, else 0.
  virtual int32_t GetDataSize();
  // 10
  virtual int32_t GetPrecision() const { return 0; }
  // 11: whether the operator node (with its outer inputs) supplies every field of the tree.
  virtual bool CanEvaluateOn(TVTRAO* ao, TVTRAO* outer_ao, TVTRCursor* outer_cursor);
  // 12 to 14: index conditions; only comparisons and IS [NOT] NULL tests can offer one.
  virtual bool CanUseIndex(int32_t column, TVTRScanComparison kind, int32_t session_id,
                           const TVTRIndexDef& index);
  virtual void CollectScanConditions(TVTRScanSearchConditionArray& conditions, const TVTRIndexDef& index,
                                     TVTRExpression& expression);
  virtual void UpdateScanCondition(TVTRScanSearchCondition& condition, const TVTRIndexDef& index,
                                   TVTRExpression& expression);
  // 15: whether the node is an equi-join of the two inputs.
  virtual bool IsJoinCondition(TVTRAO* left_ao, TVTRAO* right_ao);
  // 16: field references named by a select-list alias take the item's field.
  virtual void MatchSelectList(std::span<const TVTRSelectListItem> items);

  TVTRExprOperator Operator() const { return operator_; }
  bool CaseInsensitive() const { return case_insensitive_; }
  int32_t OperandCount() const { return static_cast<int32_t>(operands_.size()); }
  TVTRExprNode& Operand(int32_t index) const { return *operands_[index]; }
  void AppendOperand(std::unique_ptr<TVTRExprNode> operand);
  // Removes the operand and hands it over.
  std::unique_ptr<TVTRExprNode> TakeOperand(int32_t index);
  // The position of the operand, -1 when it is none of this node's.
  int32_t IndexOfOperand(const TVTRExprNode* operand) const;

 protected:
  // The common column type of the operands; 0 when they have none.
  TVTRAdvancedDataType CommonOperandType(int32_t first, int32_t last);
  // Puts the operand into a CAST to `type` unless it has that type or is a CAST.
  void CastOperandTo(int32_t index, TVTRAdvancedDataType type);

  std::vector<std::unique_ptr<TVTRExprNode>> operands_;
  TVTRVariant result_;

 private:
  TVTRExprOperator operator_;
  bool case_insensitive_;
};

using TVTRExprNodePtr = std::unique_ptr<TVTRExprNode>;
