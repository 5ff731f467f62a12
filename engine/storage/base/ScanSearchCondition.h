#pragma once
// Scan search conditions: what a record search must satisfy. A condition is
// either an expression every found record must pass, or a comparison of an
// index key with a key value (a range end, a GotoKey key, or a comparison an
// expression offers for an index). The array lets the expressions turn their
// comparisons into index conditions, widen equality keys over several index
// columns, and detach and re-attach the expression nodes that an index scan
// makes redundant.
#include <cstdint>
#include <vector>

#include "engine/foundation/ValueBuffer.h"
#include "engine/storage/base/Expression.h"
#include "engine/storage/meta/IndexDef.h"

// Comparison of an index condition, in the index's order: for a descending
// column "before" means a greater value.
enum TVTRScanComparison : uint8_t {
  scNone = 0,
  scEqual = 1,
  scBefore = 2,     // key less than the value
  scAfter = 3,      // key greater than the value
  scNotAfter = 4,   // less or equal
  scNotBefore = 5,  // greater or equal
};

class TVTRScanSearchCondition {
 public:
  TVTRScanSearchCondition() = default;
  TVTRScanSearchCondition(const TVTRScanSearchCondition&) = delete;
  TVTRScanSearchCondition& operator=(const TVTRScanSearchCondition&) = delete;

  // Copies everything; the copy owns a copy of the source's key.
  void Assign(const TVTRScanSearchCondition& source);

  // The key: a record buffer holding the key values at their field offsets.
  uint8_t* KeyBuffer() const { return borrowed_key_ ? borrowed_key_ : owned_key_.get(); }
  uint32_t KeyBufferLength() const { return key_buffer_length_; }
  // The key belongs to the caller, who keeps it alive while the condition uses it.
  bool BorrowedKey() const { return borrowed_key_ != nullptr; }
  // A key block of the engine memory manager, owned by the condition.
  void SetOwnedKey(VTRBufferPtr key, uint32_t length);
  void SetBorrowedKey(uint8_t* key, uint32_t length);
  // Drops the key (freeing it unless borrowed).
  void FreeKey();

  // Records that the condition stands for `node` of `expression`.
  void AddCovered(TVTRExpression* expression, TVTRExprNode* node);

  TVTRExpression* Expression = nullptr;  // an expression condition's expression; not owned
  TVTRScanComparison Comparison = scNone;
  int32_t KeyFieldCount = 0;  // leading index columns the key covers
  int32_t IndexID = -1;       // -1: not an index condition
  // Derived from expression nodes that test the same while they are attached.
  bool FromExpression = false;
  // The (expression, node) pairs the condition stands for, position by position.
  std::vector<TVTRExpression*> CoveredExpressions;
  std::vector<TVTRExprNode*> CoveredNodes;

 private:
  VTRBufferPtr owned_key_;
  uint8_t* borrowed_key_ = nullptr;
  uint32_t key_buffer_length_ = 0;
};

class TVTRScanSearchConditionArray {
 public:
  TVTRScanSearchConditionArray() = default;
  TVTRScanSearchConditionArray(const TVTRScanSearchConditionArray&) = delete;
  TVTRScanSearchConditionArray& operator=(const TVTRScanSearchConditionArray&) = delete;

  int32_t GetCount() const { return static_cast<int32_t>(items_.size()); }
  // Positions are 0 .. GetCount() - 1; others raise std::out_of_range.
  TVTRScanSearchCondition& GetItem(int32_t position) const { return *items_.at(position); }
  // A position outside the array raises 10413; later conditions move down.
  void Delete(int32_t position);
  void AddExpression(TVTRExpression* expression);
  // Appends a copy. A condition with neither expression nor index raises 10388.
  void AddCondition(const TVTRScanSearchCondition& condition);

  // Lets every expression condition offer index conditions, then extends
  // every index condition's key by the equalities of all expressions.
  void PrepareForIndexes(const TVTRIndexDefs& index_defs, int32_t session_id);
  // Widens the key of the index condition at `position` column by column
  // while an expression fixes the next column by an equality.
  void ExtendConditionKey(int32_t position, const TVTRIndexDef& index_def,
                          const std::vector<TVTRExpression*>& expressions);
  // Deletes every condition derived from expressions except those at `start`
  // and `end` (-1: none), which are moved to keep naming the same conditions.
  void RemoveUnusedConditions(int32_t& start, int32_t& end);
  // Detaches from their expressions the nodes that the conditions at `start`
  // and `end` stand for; ApplyConditions attaches them again.
  void BindConditions(int32_t start, int32_t end);
  void ApplyConditions(int32_t start, int32_t end);

 private:
  std::vector<std::unique_ptr<TVTRScanSearchCondition>> items_;
};
