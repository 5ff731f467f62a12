#include "engine/sql/nodes/ExprNode.h"

#include <algorithm>

#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/ValueConversion.h"
#include "engine/sql/nodes/ExprNodeCast.h"

TVTRExprNode::TVTRExprNode(TVTRExprOperator op, bool case_insensitive)
    : operator_(op), case_insensitive_(case_insensitive) {}

TVTRExprNode::~TVTRExprNode() = default;

void TVTRExprNode::Prepare() {
  for (const TVTRExprNodePtr& operand : operands_) operand->Prepare();
}

bool TVTRExprNode::IsAggregated() const {
  return std::ranges::any_of(operands_,
                             [](const TVTRExprNodePtr& operand) { return operand->IsAggregated(); });
}

void TVTRExprNode::ResetAggregate() {
  for (const TVTRExprNodePtr& operand : operands_) operand->ResetAggregate();
}

void TVTRExprNode::Accumulate() {
  for (const TVTRExprNodePtr& operand : operands_) operand->Accumulate();
}

void TVTRExprNode::AssignAO(TVTRAO* ao, TVTRAO* outer_ao, TVTRCursor* outer_cursor) {
  for (const TVTRExprNodePtr& operand : operands_) operand->AssignAO(ao, outer_ao, outer_cursor);
}

void TVTRExprNode::AssignCursor(TVTRCursor* cursor, TVTRAO* outer_ao, TVTRCursor* outer_cursor) {
  for (const TVTRExprNodePtr& operand : operands_) operand->AssignCursor(cursor, outer_ao, outer_cursor);
}

void TVTRExprNode::AssignRecordBuffer(const uint8_t* buffer, int32_t outer_side) {
  for (const TVTRExprNodePtr& operand : operands_) operand->AssignRecordBuffer(buffer, outer_side);
}

TVTRAdvancedDataType TVTRExprNode::GetDataType() {
  const TVTRAdvancedDataType type = CommonOperandType(0, OperandCount() - 1);
  if (type == adtUnknown) throw EVTRException(30283, "Cannot determine expression type");
  return type;
}

int32_t TVTRExprNode::GetDataSize() {
  return 0;
}

bool TVTRExprNode::CanEvaluateOn(TVTRAO* ao, TVTRAO* outer_ao, TVTRCursor* outer_cursor) {
  return std::ranges::all_of(operands_, [&](const TVTRExprNodePtr& operand) {
    return operand->CanEvaluateOn(ao, outer_ao, outer_cursor);
  });
}

bool TVTRExprNode::CanUseIndex(int32_t, TVTRScanComparison, int32_t, const TVTRIndexDef&) {
  return false;
}

void TVTRExprNode::CollectScanConditions(TVTRScanSearchConditionArray&, const TVTRIndexDef&,
                                         TVTRExpression&) {}

void TVTRExprNode::UpdateScanCondition(TVTRScanSearchCondition&, const TVTRIndexDef&, TVTRExpression&) {}

bool TVTRExprNode::IsJoinCondition(TVTRAO*, TVTRAO*) {
  return false;
}

void TVTRExprNode::MatchSelectList(std::span<const TVTRSelectListItem> items) {
  for (const TVTRExprNodePtr& operand : operands_) operand->MatchSelectList(items);
}

void TVTRExprNode::AppendOperand(TVTRExprNodePtr operand) {
  operands_.push_back(std::move(operand));
}

TVTRExprNodePtr TVTRExprNode::TakeOperand(int32_t index) {
  TVTRExprNodePtr operand = std::move(operands_[index]);
  operands_.erase(operands_.begin() + index);
  return operand;
}

int32_t TVTRExprNode::IndexOfOperand(const TVTRExprNode* operand) const {
  const auto found =
      std::ranges::find_if(operands_, [operand](const TVTRExprNodePtr& own) { return own.get() == operand; });
  return found == operands_.end() ? -1 : static_cast<int32_t>(found - operands_.begin());
}

TVTRAdvancedDataType TVTRExprNode::CommonOperandType(int32_t first, int32_t last) {
  if (first > last) return adtUnknown;
  TVTRAdvancedDataType type = operands_[first]->GetDataType();
  for (int32_t i = first + 1; i <= last && type != adtUnknown; ++i)
    type = ChooseResultDataType(type, operands_[i]->GetDataType(), false);
  return type;
}

void TVTRExprNode::CastOperandTo(int32_t index, TVTRAdvancedDataType type) {
  TVTRExprNodePtr& operand = operands_[index];
  if (operand->Operator() == eoCast || operand->GetDataType() == type) return;
  operand = std::make_unique<TVTRExprNodeCast>(type, std::move(operand), nullptr);
}
