// Simplifying the conditions of a search: the index conditions of each index
// are merged pairwise where one implies the other, contradictions end the
// search before it reads anything, and duplicates go.
#include <algorithm>

#include "engine/storage/table/TableData.h"
#include "engine/storage/index/IndexManager.h"
#include "engine/storage/table/search/RecordSearch.h"

enum class TVTRConditionMerge : uint8_t {
  kBoth,         // no merge: both stay
  kKeepFirst,    // the kept condition absorbs the new one
  kTakeSecond,   // the kept condition is replaced by the new one
  kShorter,      // the one with fewer key fields replaces the kept one
  kLonger,       // the one with more key fields replaces the kept one
  kEqualLonger,  // as kLonger, and the comparison becomes "equal"
  kNothing,      // no record can pass both
};

namespace {

// The merge of a kept condition of comparison `kept` with a new one of
// comparison `next`, where c compares the kept key with the new one over the
// key fields both have, in index order, and the counts are their key fields.
// A strict bound with more key fields than an equality can hold beside it:
// "= 5" on A and "> (5, 1)" on (A, B) both hold for (5, 2).
TVTRConditionMerge MergeOutcome(TVTRScanComparison kept, TVTRScanComparison next, int c, int32_t kept_count,
                                int32_t next_count) {
  using M = TVTRConditionMerge;
  const bool kept_max = kept_count >= next_count;
  const bool kept_min = kept_count <= next_count;
  const bool next_max = next_count >= kept_count;
  const bool next_min = next_count <= kept_count;
  const bool equal_counts = kept_count == next_count;
  switch (kept) {
    case scEqual:
      switch (next) {
        case scEqual:
          return c != 0 ? M::kNothing : M::kLonger;
        case scBefore:
          return c < 0 ? M::kKeepFirst : c == 0 && next_count > kept_count ? M::kBoth : M::kNothing;
        case scAfter:
          return c > 0 ? M::kKeepFirst : c == 0 && next_count > kept_count ? M::kBoth : M::kNothing;
        case scNotAfter:
          return c < 0 ? M::kKeepFirst : c > 0 ? M::kNothing : kept_max ? M::kKeepFirst : M::kBoth;
        default:
          return c > 0 ? M::kKeepFirst : c < 0 ? M::kNothing : kept_max ? M::kKeepFirst : M::kBoth;
      }
    case scBefore:
      switch (next) {
        case scEqual:
          return c > 0 ? M::kTakeSecond : c == 0 && kept_count > next_count ? M::kBoth : M::kNothing;
        case scBefore:
          return c < 0 ? M::kKeepFirst : c > 0 ? M::kTakeSecond : M::kShorter;
        case scAfter:
          return c <= 0 ? M::kNothing : M::kBoth;
        case scNotAfter:
          return c <= 0 ? M::kKeepFirst : M::kTakeSecond;
        default:
          return c < 0 ? M::kNothing : c > 0 ? M::kBoth : kept_min ? M::kNothing : M::kBoth;
      }
    case scAfter:
      switch (next) {
        case scEqual:
          return c < 0 ? M::kTakeSecond : c == 0 && kept_count > next_count ? M::kBoth : M::kNothing;
        case scBefore:
          return c < 0 ? M::kBoth : M::kNothing;
        case scAfter:
          return c > 0 ? M::kKeepFirst : c < 0 ? M::kTakeSecond : M::kShorter;
        case scNotAfter:
          return c < 0 ? M::kBoth : c > 0 ? M::kNothing : kept_min ? M::kNothing : M::kBoth;
        default:
          return c >= 0 ? M::kKeepFirst : M::kTakeSecond;
      }
    case scNotAfter:
      switch (next) {
        case scEqual:
          return c < 0 ? M::kNothing : c > 0 ? M::kTakeSecond : next_max ? M::kTakeSecond : M::kBoth;
        case scBefore:
          return c < 0 ? M::kKeepFirst : c > 0 ? M::kTakeSecond : M::kBoth;
        case scAfter:
          return c < 0 ? M::kNothing : c > 0 ? M::kBoth : next_min ? M::kNothing : M::kBoth;
        case scNotAfter:
          return c < 0 ? M::kKeepFirst : c > 0 ? M::kTakeSecond : M::kLonger;
        default:
          return c < 0 ? M::kNothing : c > 0 ? M::kBoth : equal_counts ? M::kEqualLonger : M::kBoth;
      }
    default:  // scNotBefore
      switch (next) {
        case scEqual:
          return c < 0 ? M::kTakeSecond : c > 0 ? M::kNothing : next_max ? M::kTakeSecond : M::kBoth;
        case scBefore:
          return c < 0 ? M::kBoth : c > 0 ? M::kNothing : next_min ? M::kNothing : M::kBoth;
        case scAfter:
          return c <= 0 ? M::kTakeSecond : M::kKeepFirst;
        case scNotAfter:
          return c < 0 ? M::kBoth : c > 0 ? M::kNothing : equal_counts ? M::kEqualLonger : M::kBoth;
        default:
          return c < 0 ? M::kTakeSecond : c > 0 ? M::kKeepFirst : M::kLonger;
      }
  }
}

}  // namespace

TVTRConditionMerge TVTRTableData::MergeConditions(TVTRScanSearchCondition& kept,
                                                  const TVTRScanSearchCondition& next) {
  using M = TVTRConditionMerge;
  if (kept.Comparison == scNone || next.Comparison == scNone) return M::kBoth;
  const int c = IndexManager->GetIndexByID(kept.IndexID)
                    .CompareRecordKeys(kept.KeyBuffer(), next.KeyBuffer(),
                                       std::min(kept.KeyFieldCount, next.KeyFieldCount));
  const TVTRConditionMerge outcome =
      MergeOutcome(kept.Comparison, next.Comparison, c, kept.KeyFieldCount, next.KeyFieldCount);
  switch (outcome) {
    case M::kTakeSecond:
      kept.Assign(next);
      break;
    case M::kShorter:
      if (next.KeyFieldCount < kept.KeyFieldCount) kept.Assign(next);
      break;
    case M::kLonger:
    case M::kEqualLonger:
      if (next.KeyFieldCount > kept.KeyFieldCount) kept.Assign(next);
      if (outcome == M::kEqualLonger) kept.Comparison = scEqual;
      break;
    default:
      break;
  }
  return outcome;
}

bool TVTRTableData::ConditionsEqual(const TVTRScanSearchCondition& a, const TVTRScanSearchCondition& b) {
  return a.IndexID == b.IndexID && a.Comparison != scNone && a.Comparison == b.Comparison &&
         a.KeyFieldCount == b.KeyFieldCount &&
         IndexManager->GetIndexByID(a.IndexID).CompareRecordKeys(a.KeyBuffer(), b.KeyBuffer(),
                                                                 a.KeyFieldCount) == 0;
}

void TVTRTableData::RemoveDuplicateConditions(std::vector<std::unique_ptr<TVTRScanSearchCondition>>& kept) {
  for (size_t i = 0; i < kept.size();) {
    bool duplicate = false;
    for (size_t j = 0; j < kept.size() && !duplicate; ++j)
      duplicate = j != i && ConditionsEqual(*kept[i], *kept[j]);
    if (duplicate)
      kept.erase(kept.begin() + static_cast<std::ptrdiff_t>(i));
    else
      ++i;
  }
}

bool TVTRTableData::SimplifyConditions(TVTRRecordSearch& search) {
  const TVTRScanSearchConditionArray& conditions = *search.Conditions;
  std::vector<int32_t> index_ids;
  for (int32_t i = 0; i < conditions.GetCount(); ++i) {
    const TVTRScanSearchCondition& condition = conditions.GetItem(i);
    if (IsIndexCondition(condition) && std::ranges::find(index_ids, condition.IndexID) == index_ids.end())
      index_ids.push_back(condition.IndexID);
  }

  auto simplified = std::make_unique<TVTRScanSearchConditionArray>();
  for (const int32_t index_id : index_ids) {
    std::vector<std::unique_ptr<TVTRScanSearchCondition>> kept;
    for (int32_t i = 0; i < conditions.GetCount(); ++i) {
      const TVTRScanSearchCondition& next = conditions.GetItem(i);
      if (!IsIndexCondition(next) || next.IndexID != index_id) continue;
      bool absorbed = false;
      for (const auto& each : kept) {
        const TVTRConditionMerge outcome = MergeConditions(*each, next);
        if (outcome == TVTRConditionMerge::kNothing) return false;
        absorbed = absorbed || outcome != TVTRConditionMerge::kBoth;
      }
      if (absorbed) continue;
      kept.push_back(std::make_unique<TVTRScanSearchCondition>());
      kept.back()->Assign(next);
    }
    RemoveDuplicateConditions(kept);
    for (const auto& each : kept) simplified->AddCondition(*each);
  }
  for (int32_t i = 0; i < conditions.GetCount(); ++i)
    if (conditions.GetItem(i).Expression != nullptr) simplified->AddCondition(conditions.GetItem(i));
  search.Conditions = std::move(simplified);
  return true;
}
