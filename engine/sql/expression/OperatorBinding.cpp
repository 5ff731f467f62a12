// An expression over the operator tree: binding to a node, pushing the
// conjuncts of a condition down the tree, and taking out join pairs.
#include "engine/sql/expression/SQLExpression.h"
#include "engine/sql/nodes/ExprNodeBoolean.h"
#include "engine/sql/nodes/ExprNodeField.h"
#include "engine/sql/operators/AO.h"

namespace {

void AppendFieldOf(TVTRExprNode& operand, TVTRFields& fields) {
  const TVTRExprNodeField& field = *AsField(operand);
  fields.Add({.TableName = field.TableName(), .FieldName = field.FieldName()});
}

void TakeJoinPair(TVTRExprNode& comparison, TVTRFields& first_fields, TVTRFields& second_fields) {
  AppendFieldOf(comparison.Operand(0), first_fields);
  AppendFieldOf(comparison.Operand(1), second_fields);
}

}  // namespace

void TVTRSQLExpression::AssignAO(TVTRAO* ao, TVTRAO* outer_ao, TVTRCursor* outer_cursor) {
  if (!root_) return;
  root_->AssignAO(ao, outer_ao, outer_cursor);
  root_->Prepare();
}

void TVTRSQLExpression::PushDown(TVTRAO* ao, TVTRAO* outer_ao, TVTRCursor* outer_cursor) {
  if (!ao->IsOuterJoin()) {
    if (ao->LeftNode()) PushDown(ao->LeftNode(), outer_ao, outer_cursor);
    if (ao->RightNode()) PushDown(ao->RightNode(), outer_ao, outer_cursor);
  }
  if (!root_) return;
  std::vector<TVTRExprNodePtr> taken;
  if (AsAnd(*root_)) {
    for (int32_t i = 0; i < root_->OperandCount();) {
      if (root_->Operand(i).CanEvaluateOn(ao, outer_ao, outer_cursor))
        taken.push_back(root_->TakeOperand(i));
      else
        ++i;
    }
    if (root_->OperandCount() == 0) root_.reset();
  } else if (root_->CanEvaluateOn(ao, outer_ao, outer_cursor)) {
    taken.push_back(std::move(root_));
  }
  if (taken.empty()) return;
  TVTRExprNodePtr conjuncts;
  if (taken.size() == 1) {
    conjuncts = std::move(taken.front());
  } else {
    conjuncts = std::make_unique<TVTRExprNodeBoolean>(eoAnd);
    for (TVTRExprNodePtr& conjunct : taken) conjuncts->AppendOperand(std::move(conjunct));
  }
  auto filter = std::make_unique<TVTRSQLExpression>(std::move(conjuncts));
  filter->query_ = query_;
  filter->options_ = options_;
  ao->SetFilter(std::move(filter));
}

int32_t TVTRSQLExpression::ExtractJoinFields(TVTRAO* left_ao, TVTRAO* right_ao, TVTRFields& first_fields,
                                             TVTRFields& second_fields) {
  if (!root_) return 0;
  if (!AsAnd(*root_)) {
    if (!root_->IsJoinCondition(left_ao, right_ao)) return 0;
    TakeJoinPair(*root_, first_fields, second_fields);
    root_.reset();
    return 1;
  }
  int32_t count = 0;
  for (int32_t i = 0; i < root_->OperandCount();) {
    if (!root_->Operand(i).IsJoinCondition(left_ao, right_ao)) {
      ++i;
      continue;
    }
    TakeJoinPair(root_->Operand(i), first_fields, second_fields);
    root_->TakeOperand(i);
    ++count;
  }
  if (root_->OperandCount() == 0) root_.reset();
  return count;
}
