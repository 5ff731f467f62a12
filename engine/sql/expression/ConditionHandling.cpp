// Conditions as lists of conjuncts: flattening, putting conjuncts back, the
// index conditions the conjuncts offer, and select-list aliases.
#include "engine/foundation/VTRExcept.h"
#include "engine/sql/expression/SQLExpression.h"
#include "engine/sql/nodes/ExprNodeBoolean.h"
#include "engine/sql/nodes/ExprNodeComparison.h"

namespace {

bool IsIndexCandidate(const TVTRExprNode& node) {
  return node.Operator() == eoIsNull || node.Operator() == eoIsNotNull ||
         dynamic_cast<const TVTRExprNodeComparison*>(&node) != nullptr;
}

void CollectCandidates(TVTRExprNode& node, std::vector<TVTRExprNode*>& candidates) {
  if (AsAnd(node)) {
    for (int32_t i = 0; i < node.OperandCount(); ++i) CollectCandidates(node.Operand(i), candidates);
  } else if (IsIndexCandidate(node)) {
    candidates.push_back(&node);
  }
}

}  // namespace

void TVTRSQLExpression::FlattenConjunction() {
  if (!root_ || !AsAnd(*root_)) return;
  // Operands appended at the end are examined in their turn.
  for (int32_t i = 0; i < root_->OperandCount();) {
    if (!AsAnd(root_->Operand(i))) {
      ++i;
      continue;
    }
    TVTRExprNodePtr nested = root_->TakeOperand(i);
    while (nested->OperandCount() > 0) root_->AppendOperand(nested->TakeOperand(0));
  }
}

void TVTRSQLExpression::MatchSelectList(std::span<const TVTRSelectListItem> items) {
  if (root_) root_->MatchSelectList(items);
}

void TVTRSQLExpression::AppendConjunct(TVTRExprNode* node) {
  TVTRExprNodePtr owned(node);
  if (root_)
    root_->AppendOperand(std::move(owned));
  else
    root_ = std::move(owned);
}

std::vector<TVTRExprNode*> TVTRSQLExpression::IndexCandidates() const {
  std::vector<TVTRExprNode*> candidates;
  if (root_) CollectCandidates(*root_, candidates);
  return candidates;
}

void TVTRSQLExpression::CollectScanConditions(const TVTRIndexDefs& index_defs,
                                              TVTRScanSearchConditionArray& conditions, int32_t session_id) {
  for (TVTRExprNode* node : IndexCandidates()) {
    for (int32_t i = 0; i < index_defs.GetCount(); ++i) {
      const TVTRIndexDef& index = index_defs.GetIndexDef(i);
      if (node->CanUseIndex(0, scNone, session_id, index))
        node->CollectScanConditions(conditions, index, *this);
    }
  }
}

bool TVTRSQLExpression::CanUseIndex(TVTRScanSearchCondition& condition, const TVTRIndexDef& index_def) {
  if (condition.KeyFieldCount >= index_def.GetColumnCount()) return false;
  for (TVTRExprNode* node : IndexCandidates()) {
    if (!node->CanUseIndex(condition.KeyFieldCount, condition.Comparison, -1, index_def)) continue;
    node->UpdateScanCondition(condition, index_def, *this);
    return true;
  }
  return false;
}

void TVTRSQLExpression::RemoveScanConditionNode(const TVTRScanSearchConditionArray& conditions, int32_t first,
                                                int32_t second) {
  for (const int32_t position : {first, second}) {
    if (position < 0) continue;
    const TVTRScanSearchCondition& condition = conditions.GetItem(position);
    for (size_t k = 0; k < condition.CoveredNodes.size(); ++k) {
      if (condition.CoveredExpressions[k] != this) continue;
      TVTRExprNode* node = condition.CoveredNodes[k];
      // The node is not freed: the caller appends it again after the scan.
      if (node == root_.get()) {
        (void)root_.release();
        continue;
      }
      const int32_t index = root_ ? root_->IndexOfOperand(node) : -1;
      if (index < 0) throw EVTRException(20059, "Invalid index No (IndexOf)");
      (void)root_->TakeOperand(index).release();
    }
  }
}
