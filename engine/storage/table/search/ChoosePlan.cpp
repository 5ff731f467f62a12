// Choosing how a search runs: a plain walk in the cursor's order, or a range
// of one index, the one whose estimated page reads are fewest.
#include <algorithm>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/table/TableData.h"
#include "engine/storage/fields/FieldManager.h"
#include "engine/storage/index/IndexManager.h"
#include "engine/storage/table/search/RecordSearch.h"

void TVTRTableData::ChoosePlan(TVTRRecordSearch& search) {
  search.Start = -1;
  search.End = -1;
  if (ChooseQuickPlan(search)) {
    search.Trace.QuickPlan = true;
    return;
  }
  ChooseCheapestPlan(search);
  if (search.End == -1) return;
  const TVTRScanSearchCondition& start = search.Conditions->GetItem(search.Start);
  if (IndexManager->IndexDefs.IndexOfObjectID(start.IndexID) < 0)
    throw EVTRException(20059, "Pointer is nil");
  const bool start_is_lower = IndexManager->GetIndexByID(start.IndexID).GetBoundKind(start) < 0;
  const int32_t lower = start_is_lower ? search.Start : search.End;
  const int32_t upper = start_is_lower ? search.End : search.Start;
  search.Start = search.Forward ? lower : upper;
  search.End = search.Forward ? upper : lower;
}

bool TVTRTableData::ChooseQuickPlan(TVTRRecordSearch& search) {
  const TVTRScanSearchConditionArray& conditions = *search.Conditions;
  int32_t index_conditions = 0;
  int32_t last_index_condition = -1;
  for (int32_t i = 0; i < conditions.GetCount(); ++i) {
    const TVTRScanSearchCondition& condition = conditions.GetItem(i);
    if (!IsIndexCondition(condition)) continue;
    ++index_conditions;
    last_index_condition = i;
    if (condition.Comparison != scEqual || !IsUniqueIndex(condition.IndexID)) continue;
    const auto* def =
        static_cast<const TVTRIndexDef*>(IndexManager->IndexDefs.GetDefByObjectID(condition.IndexID));
    if (def->GetColumnCount() == 1) {
      search.Start = i;
      return true;
    }
  }
  if (index_conditions != 1 || conditions.GetItem(last_index_condition).IndexID != search.Cursor.IndexID)
    return false;
  search.Start = last_index_condition;
  return true;
}

bool TVTRTableData::IsUniqueIndex(int32_t index_id) {
  const auto* def = static_cast<const TVTRIndexDef*>(IndexManager->IndexDefs.GetDefByObjectID(index_id));
  if (def == nullptr) return false;
  if (def->Unique || def->Primary) return true;
  if (def->GetColumnCount() == 0 || !FieldManager) return false;
  const TVTRFieldDef* field = FieldManager->FieldDefs.GetFieldDefByName(def->GetColumn(0).FieldName);
  return field != nullptr && IsAutoincAdvancedType(field->DataType);
}

void TVTRTableData::ChooseCheapestPlan(TVTRRecordSearch& search) {
  const TVTRScanSearchConditionArray& conditions = *search.Conditions;
  double best = static_cast<double>(GetRecordCount());
  for (int32_t i = 0; i < conditions.GetCount(); ++i) {
    const TVTRScanSearchCondition& first = conditions.GetItem(i);
    if (!IsIndexCondition(first)) continue;
    const int32_t a = i;
    // Only a lower and an upper bound make a range; any other neighbour on
    // the index stays a condition to check.
    if (i + 1 < conditions.GetCount()) {
      const TVTRScanSearchCondition& second = conditions.GetItem(i + 1);
      if (IsIndexCondition(second) && second.IndexID == first.IndexID &&
          IndexManager->IndexDefs.IndexOfObjectID(first.IndexID) >= 0) {
        TVTRIndex& index = IndexManager->GetIndexByID(first.IndexID);
        if (index.GetBoundKind(first) * index.GetBoundKind(second) < 0) ++i;
      }
    }
    const double cost = PlanCost(search, a, i);
    if (cost < best) {
      search.Start = a;
      search.End = a == i ? -1 : i;
      best = cost;
    }
  }
  if (search.Start != -1 && PageManager->PageDataSize() != 0 && PlainWalkCost(search) < best) {
    search.Start = -1;
    search.End = -1;
  }
}

double TVTRTableData::PlanCost(TVTRRecordSearch& search, int32_t first, int32_t last) {
  TVTRScanSearchConditionArray& conditions = *search.Conditions;
  const TVTRScanSearchCondition& start = conditions.GetItem(first);
  if (IndexManager->IndexDefs.IndexOfObjectID(start.IndexID) < 0)
    throw EVTRException(20058, "Pointer is nil");
  TVTRIndex& index = IndexManager->GetIndexByID(start.IndexID);
  const auto keys = static_cast<double>(
      index.EstimateRangeCount(search.SessionID, start, conditions.GetItem(last), GetRecordCount()));
  const double entry = index.GetEntrySize();
  const double data_size = std::max(1, PageManager->PageDataSize());
  double cost = keys * entry / data_size;

  const int32_t end = last == first ? -1 : last;
  conditions.BindConditions(first, end);
  bool needs_record;
  try {
    needs_record = NeedsRecordCheck(search, first, end);
  } catch (...) {
    conditions.ApplyConditions(first, end);
    throw;
  }
  conditions.ApplyConditions(first, end);

  const bool other_order = search.Cursor.HasIndex() && search.Cursor.IndexID != start.IndexID;
  if (needs_record || other_order) cost += keys * (FieldManager->FieldDefs.GetDiskRecordSize() / data_size);
  if (other_order) cost += keys * entry / data_size;
  return cost;
}

double TVTRTableData::PlainWalkCost(TVTRRecordSearch& search) {
  const auto remaining = static_cast<double>(
      GetRecordCount() - RecordManager->EstimateRecordNo(search.SessionID, search.Cursor.CurrentRecordID));
  if (search.Cursor.HasIndex()) return remaining;  // a page per record, in the order of another index
  return remaining *
         (FieldManager->FieldDefs.GetDiskRecordSize() / static_cast<double>(PageManager->PageDataSize()));
}
