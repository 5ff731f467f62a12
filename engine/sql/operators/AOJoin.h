#pragma once
// TVTRAOJoin: joins two nodes. Apart from a cross join it needs at least one
// pair of key columns; both inputs are ordered by index on their keys and
// merged in one pass, a run of equal right keys being replayed from a
// bookmark for each left row of that key. NULL keys never pair.
//
// Keys of different type families (a number and a text) are compared in
// their common type; the input whose key has the other type is read through
// a projection that adds the key converted to the common type, and both
// inputs are ordered on the keys in that type, so the merge meets every
// pair that "=" accepts.
//
// An outer join's ON condition beyond the key pairs restricts the pairs: a
// pair matches when its keys are equal and the condition holds; a row of a
// preserved side that matches nothing appears once, the other side NULL.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/sql/operators/AO.h"
#include "platform/db/DBTypes.h"

enum TVTRJoinType : uint8_t { jtCross = 0, jtInner = 1, jtLeft = 2, jtRight = 3, jtFull = 4 };

class TVTRAOJoin : public TVTRAO {
 public:
  // The entries at one position of the two field lists name one key pair,
  // in either order of inputs. Lists of different length raise 10330 (or
  // 10332), a field found not exactly once 10331 (left) or 10332 (right),
  // no pair 10333, a pair within one input 10334.
  TVTRAOJoin(TVTRAOPtr left, std::unique_ptr<TVTRSQLExpression> on_condition, const TVTRFields* right_fields,
             const TVTRFields* left_fields, bool natural, TVTRJoinType join_type, TVTRAOPtr right);

  void First() override;
  void Next() override;
  bool Eof() override { return AtEnd; }
  // The product of the inputs for a cross join; 0 for others until materialised.
  int64_t GetRecordCount() override;
  void Execute(bool is_root, TVTRAO* outer_ao, TVTRCursor* outer_cursor) override;
  bool IsOuterJoin() const override { return IsOuter; }

  bool IsCross = false;
  bool IsOuter = false;
  bool IsInner = false;
  TVTRJoinType JoinType;
  std::vector<int32_t> LeftKeys, RightKeys;
  std::unique_ptr<TVTRSQLExpression> OnCondition;
  bool AtEnd = false;

 protected:
  // An inner or full join puts the input with fewer records on the left,
  // unless one of them is a filtered table.
  void PrepareInputs() override;
  void PassDistinctOn() override;

 private:
  // Where the merge stands between two output rows.
  enum class TStep : uint8_t {
    kLeftRow,      // a new left row stands (or the left input ended)
    kSeekRight,    // right rows below the left key are passed (or given alone)
    kInRun,        // the right rows of the left key are paired with the left row
    kLeftDone,     // the left row has met its run
    kFlushRun,     // the run's right rows that matched nothing are given alone
    kRightRest,    // the left input ended: the right rows left are given alone
    kDone,
  };

  void AddColumnsOf(TVTRAO& child);
  void FindKeys(const TVTRFields& left_fields, const TVTRFields& right_fields);
  void PairNaturally();
  void OrderKeyPairs();
  // The key column of the pair converted to the common type where the two
  // types differ in family.
  void ConvertKeyTypes(size_t pair);
  // Puts a projection between the join and its input, adding a column that
  // converts the child's column to `type`; returns the join's new column.
  int32_t AddConvertedKey(TVTRAOPtr& input, int32_t key, TVTRAdvancedDataType type);
  // The raw comparison code of the current rows' keys (0 equal, 1 left
  // less, 2 left greater, 3 left NULL, 4 right NULL, 5 both NULL).
  uint8_t CompareKeys();
  bool LeftHasNullKey();
  bool RightHasNullKey();
  bool ConditionHolds();
  // Sets the missing sides for the row about to be given.
  bool Emit(bool left_missing, bool right_missing);
  bool NextCross();
  bool NextMerged();
  bool PreservesLeft() const { return JoinType == jtLeft || JoinType == jtFull; }
  bool PreservesRight() const { return JoinType == jtRight || JoinType == jtFull; }

  TStep step_ = TStep::kDone;
  bool advance_right_ = false;  // the row given paired the right row: step past it first
  bool advance_left_ = false;
  bool left_matched_ = false;
  bool in_run_ = false;
  TBookmark group_start_;
  std::vector<bool> run_matched_;  // per right row of the run, whether any left row matched it
  size_t run_index_ = 0;
  TVTRVariant left_value_, right_value_;
};
