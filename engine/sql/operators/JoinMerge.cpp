// The merge of a join's two ordered inputs, one output row per call of Next.
//
// For each left row the run of right rows with an equal key is walked (from
// its bookmark again for every further left row of that key); each pair that
// the ON condition accepts is a row. Right rows below the left key, and those
// of a run that matched no left row, are given alone when the right side is
// preserved; a left row that matched nothing when the left side is.
#include "engine/access/Table.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/sql/operators/AOJoin.h"

void TVTRAOJoin::First() {
  Left->FirstResult();
  Right->FirstResult();
  LeftIsNull = RightIsNull = false;
  advance_left_ = advance_right_ = false;
  in_run_ = false;
  run_matched_.clear();
  if (IsCross) {
    AtEnd = Left->EofResult() || Right->EofResult();  // else on the first pair
    return;
  }
  AtEnd = false;
  step_ = TStep::kLeftRow;
  Next();
}

void TVTRAOJoin::Next() {
  if (AtEnd) return;
  AtEnd = !(IsCross ? NextCross() : NextMerged());
  if (AtEnd) LeftIsNull = RightIsNull = false;
}

bool TVTRAOJoin::NextCross() {
  Right->NextResult();
  if (!Right->EofResult()) return true;
  Left->NextResult();
  if (Left->EofResult()) return false;
  Right->FirstResult();
  return true;
}

uint8_t TVTRAOJoin::CompareKeys() {
  for (size_t i = 0; i < LeftKeys.size(); ++i) {
    GetColumnValue(left_value_, LeftKeys[i], true);
    GetColumnValue(right_value_, RightKeys[i], true);
    TVTRCompareResult code;
    try {
      code = left_value_.Compare(right_value_, {.raw_result = true});
    } catch (const EVTRException& error) {
      throw EVTRException::CreateFmt(10328, "Cannot compare values for fields: %s, %s. Error: %s",
                                     Columns[LeftKeys[i]].Name, Columns[RightKeys[i]].Name, error.Message());
    }
    if (code != crEqual) return code;
  }
  return crEqual;
}

bool TVTRAOJoin::LeftHasNullKey() {
  for (const int32_t key : LeftKeys) {
    GetColumnValue(left_value_, key, true);
    if (left_value_.IsNull()) return true;
  }
  return false;
}

bool TVTRAOJoin::RightHasNullKey() {
  for (const int32_t key : RightKeys) {
    GetColumnValue(right_value_, key, true);
    if (right_value_.IsNull()) return true;
  }
  return false;
}

bool TVTRAOJoin::ConditionHolds() {
  return !IsOuter || !OnCondition || !OnCondition->Root() || OnCondition->GetBooleanValue();
}

bool TVTRAOJoin::Emit(bool left_missing, bool right_missing) {
  LeftIsNull = left_missing;
  RightIsNull = right_missing;
  return true;
}

bool TVTRAOJoin::NextMerged() {
  LeftIsNull = RightIsNull = false;
  if (advance_right_) Right->NextResult();
  if (advance_left_) Left->NextResult();
  advance_right_ = advance_left_ = false;
  for (;;) {
    switch (step_) {
      case TStep::kLeftRow:
        if (Left->EofResult()) {
          step_ = TStep::kFlushRun;
          continue;
        }
        left_matched_ = false;
        if (LeftHasNullKey()) {
          step_ = TStep::kLeftDone;
          continue;
        }
        if (in_run_) {
          Right->Result().GotoBookmark(group_start_);
          if (CompareKeys() == crEqual) {
            run_index_ = 0;
            step_ = TStep::kInRun;
            continue;
          }
          // A greater key: the run is over for good.
          step_ = TStep::kFlushRun;
          continue;
        }
        step_ = TStep::kSeekRight;
        continue;
      case TStep::kSeekRight: {
        if (Right->EofResult()) {
          step_ = TStep::kLeftDone;
          continue;
        }
        const uint8_t code = CompareKeys();
        if (code == crGreater || code == crSecondNull || code == crBothNull) {
          advance_right_ = true;
          if (PreservesRight()) return Emit(true, false);
          Right->NextResult();
          advance_right_ = false;
          continue;
        }
        if (code == crEqual) {
          group_start_ = Right->Result().GetBookmark();
          in_run_ = true;
          run_matched_.clear();
          run_index_ = 0;
          step_ = TStep::kInRun;
          continue;
        }
        step_ = TStep::kLeftDone;
        continue;
      }
      case TStep::kInRun: {
        if (Right->EofResult() || CompareKeys() != crEqual) {
          step_ = TStep::kLeftDone;
          continue;
        }
        if (run_index_ == run_matched_.size()) run_matched_.push_back(false);
        const size_t index = run_index_++;
        advance_right_ = true;
        if (ConditionHolds()) {
          run_matched_[index] = true;
          left_matched_ = true;
          return Emit(false, false);
        }
        Right->NextResult();
        advance_right_ = false;
        continue;
      }
      case TStep::kLeftDone:
        step_ = TStep::kLeftRow;
        if (!left_matched_ && PreservesLeft()) {
          advance_left_ = true;
          return Emit(false, true);
        }
        Left->NextResult();
        continue;
      case TStep::kFlushRun:
        if (in_run_) {
          in_run_ = false;
          if (PreservesRight()) {
            Right->Result().GotoBookmark(group_start_);
            run_index_ = 0;
          } else {
            for (size_t i = 0; i < run_matched_.size() && !Right->EofResult(); ++i) Right->NextResult();
          }
        }
        while (PreservesRight() && run_index_ < run_matched_.size()) {
          const bool matched = run_matched_[run_index_++];
          if (!matched) {
            advance_right_ = true;
            return Emit(true, false);
          }
          Right->NextResult();
        }
        run_matched_.clear();
        run_index_ = 0;
        step_ = Left->EofResult() ? TStep::kRightRest : TStep::kSeekRight;
        continue;
      case TStep::kRightRest:
        if (Right->EofResult() || !PreservesRight()) {
          step_ = TStep::kDone;
          continue;
        }
        advance_right_ = true;
        return Emit(true, false);
      case TStep::kDone:
        return false;
    }
  }
}
