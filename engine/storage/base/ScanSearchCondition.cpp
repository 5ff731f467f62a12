#include "engine/storage/base/ScanSearchCondition.h"

#include <algorithm>
#include <cstring>

#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/VTRMemory.h"

void TVTRScanSearchCondition::Assign(const TVTRScanSearchCondition& source) {
  if (&source == this) return;
  Comparison = source.Comparison;
  FreeKey();
  if (source.KeyBuffer() && source.KeyBufferLength() > 0) {
    const auto length = static_cast<int32_t>(source.KeyBufferLength());
    VTRBufferPtr key(static_cast<uint8_t*>(EngineMemoryManager().GetMem(length)));
    std::memcpy(key.get(), source.KeyBuffer(), length);
    owned_key_ = std::move(key);
  }
  key_buffer_length_ = source.KeyBufferLength();
  KeyFieldCount = source.KeyFieldCount;
  IndexID = source.IndexID;
  Expression = source.Expression;
  FromExpression = source.FromExpression;
  CoveredExpressions = source.CoveredExpressions;
  CoveredNodes = source.CoveredNodes;
}

void TVTRScanSearchCondition::SetOwnedKey(VTRBufferPtr key, uint32_t length) {
  FreeKey();
  owned_key_ = std::move(key);
  key_buffer_length_ = length;
}

void TVTRScanSearchCondition::SetBorrowedKey(uint8_t* key, uint32_t length) {
  FreeKey();
  borrowed_key_ = key;
  key_buffer_length_ = length;
}

void TVTRScanSearchCondition::FreeKey() {
  owned_key_.reset();
  borrowed_key_ = nullptr;
  key_buffer_length_ = 0;
}

void TVTRScanSearchCondition::AddCovered(TVTRExpression* expression, TVTRExprNode* node) {
  CoveredExpressions.push_back(expression);
  CoveredNodes.push_back(node);
}

void TVTRScanSearchConditionArray::Delete(int32_t position) {
  if (position < 0 || position >= GetCount())
    throw EVTRException::CreateFmt(10413, "Invalid item number - ItemNo = %d, ItemCount = %d", position,
                                   GetCount());
  items_.erase(items_.begin() + position);
}

void TVTRScanSearchConditionArray::AddExpression(TVTRExpression* expression) {
  auto condition = std::make_unique<TVTRScanSearchCondition>();
  condition->Expression = expression;
  items_.push_back(std::move(condition));
}

void TVTRScanSearchConditionArray::AddCondition(const TVTRScanSearchCondition& condition) {
  if (!condition.Expression && condition.IndexID == -1)
    throw EVTRException::CreateFmt(10388, "Invalid scan condition - indexID = %d, count = %d",
                                   condition.IndexID, GetCount());
  auto copy = std::make_unique<TVTRScanSearchCondition>();
  copy->Assign(condition);
  items_.push_back(std::move(copy));
}

void TVTRScanSearchConditionArray::PrepareForIndexes(const TVTRIndexDefs& index_defs, int32_t session_id) {
  // Conditions appended on the way are index conditions: the walk need not reach them.
  const int32_t offered = GetCount();
  std::vector<TVTRExpression*> expressions;
  for (int32_t i = 0; i < offered; ++i) {
    if (TVTRExpression* expression = GetItem(i).Expression) {
      expression->CollectScanConditions(index_defs, *this, session_id);
      expressions.push_back(expression);
    }
  }
  if (expressions.empty()) return;
  for (int32_t i = 0; i < GetCount(); ++i) {
    if (GetItem(i).Expression) continue;
    const auto* index_def = static_cast<const TVTRIndexDef*>(index_defs.GetDefByObjectID(GetItem(i).IndexID));
    if (index_def) ExtendConditionKey(i, *index_def, expressions);
  }
}

void TVTRScanSearchConditionArray::ExtendConditionKey(int32_t position, const TVTRIndexDef& index_def,
                                                      const std::vector<TVTRExpression*>& expressions) {
  if (index_def.GetColumnCount() < 2) return;
  TVTRScanSearchCondition& condition = GetItem(position);
  bool extended = true;
  while (extended && condition.KeyFieldCount < index_def.GetColumnCount())
    extended = std::ranges::any_of(expressions,
                                   [&](TVTRExpression* e) { return e->CanUseIndex(condition, index_def); });
}

void TVTRScanSearchConditionArray::RemoveUnusedConditions(int32_t& start, int32_t& end) {
  int32_t i = 0;
  while (i < GetCount()) {
    if (i == start || i == end || !GetItem(i).FromExpression) {
      ++i;
      continue;
    }
    Delete(i);
    if (start > i) --start;
    if (end > i) --end;
  }
}

void TVTRScanSearchConditionArray::BindConditions(int32_t start, int32_t end) {
  std::vector<TVTRExpression*> detached;
  for (const auto& item : items_) {
    TVTRExpression* expression = item->Expression;
    if (!expression || std::ranges::find(detached, expression) != detached.end()) continue;
    expression->RemoveScanConditionNode(*this, start, end);
    detached.push_back(expression);
  }
}

void TVTRScanSearchConditionArray::ApplyConditions(int32_t start, int32_t end) {
  for (int32_t i = 0; i < GetCount(); ++i) {
    if (i != start && i != end) continue;
    const TVTRScanSearchCondition& condition = GetItem(i);
    for (size_t k = 0; k < condition.CoveredNodes.size(); ++k)
      condition.CoveredExpressions[k]->AppendConjunct(condition.CoveredNodes[k]);
  }
}
