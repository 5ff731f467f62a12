// Ranges over a record index: bound searches, range scans, range estimates
// from the tree's shape, and the distinct rule over an index-ordered bitmap.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/btree/BTreePage.h"
#include "engine/storage/btree/PathMoves.h"
#include "engine/storage/index/RecordIndex.h"
#include "engine/storage/index/RecordIndexSupport.h"

bool TVTRBTreeRecordIndex::FindBound(int32_t session_id, const TVTRScanSearchCondition& bound, bool forward,
                                     TVTRKeyPath& path, int32_t compared_columns) {
  path.Clear();
  // A bound without a key has no key condition.
  if (bound.KeyBuffer() == nullptr) {
    return WithRoot(session_id, [&](TVTRBTreePage& root) {
      return root.FindKey(session_id, forward, path, scNone, nullptr);
    });
  }
  BuiltKey key(*key_ref_, bound.KeyBuffer());
  ComparedColumnsScope compared(*key_ref_, compared_columns);
  return WithRoot(session_id, [&](TVTRBTreePage& root) {
    return root.FindKey(session_id, forward, path, bound.Comparison, key.Get());
  });
}

bool TVTRBTreeRecordIndex::ScanNext(int32_t session_id, bool restart, TVTRIndexScanState* state,
                                    TVTRRecordID& id, const uint8_t* record,
                                    const TVTRScanSearchCondition* end_bound,
                                    const TVTRScanSearchCondition* start_bound, bool forward) {
  if (state == nullptr) throw EVTRException(20077, "Pointer is nil");
  if (restart && state->Started) throw EVTRException(20078, "Index error: invalid params");
  if (!state->Started) {
    if (start_bound != nullptr) {
      if (!FindBound(session_id, *start_bound, forward, state->Path, start_bound->KeyFieldCount))
        return false;
      if (!restart) {
        TVTRKeyPath current;
        if (!FindRecordKey(session_id, id, current, record)) return false;
        const int c = current.Compare(state->Path);
        if (forward ? c < 0 : c > 0) {
          // The current record lies before the range: the step below lands on its first entry.
          if (forward) {
            Prior(session_id, state->Path);
          } else {
            Next(session_id, state->Path);
          }
        } else {
          state->Path.Assign(current);
        }
      }
      const TVTRScanSearchCondition& end = end_bound != nullptr ? *end_bound : *start_bound;
      auto end_path = std::make_unique<TVTRKeyPath>();
      if (!FindBound(session_id, end, !forward, *end_path, end.KeyFieldCount)) return false;
      state->EndPath = std::move(end_path);
    } else if (restart) {
      if (!(forward ? First(session_id, state->Path) : Last(session_id, state->Path))) return false;
    } else if (!FindRecordKey(session_id, id, state->Path, record)) {
      return false;
    }
  }
  if (!restart && !(forward ? Next(session_id, state->Path) : Prior(session_id, state->Path))) return false;
  if (state->EndPath != nullptr) {
    const int c = state->Path.Compare(*state->EndPath);
    if (forward ? c > 0 : c < 0) return false;
  }
  GetValueAtPath(session_id, state->Path, id);
  if (!state->Started) {
    state->Forward = forward;
    state->Started = true;
  }
  return true;
}

int TVTRBTreeRecordIndex::GetBoundKind(const TVTRScanSearchCondition& bound) {
  switch (bound.Comparison) {
    case scAfter:
    case scNotBefore:
      return -1;
    case scBefore:
    case scNotAfter:
      return 1;
    default:
      return 0;
  }
}

int64_t TVTRBTreeRecordIndex::EstimateRangeCount(int32_t session_id, const TVTRScanSearchCondition& bound1,
                                                 const TVTRScanSearchCondition& bound2, int64_t total) {
  CheckRoot(20125);
  const bool first_is_low = GetBoundKind(bound1) < 0;
  const TVTRScanSearchCondition& low = first_is_low ? bound1 : bound2;
  const TVTRScanSearchCondition& high = first_is_low ? bound2 : bound1;
  TVTRKeyPath path;
  if (!FindBound(session_id, low, true, path, low.KeyFieldCount)) return 0;
  const double from = path.GetFraction();
  if (!FindBound(session_id, high, false, path, low.KeyFieldCount)) return 0;
  const double to = path.GetFraction();
  return std::clamp<int64_t>(std::llround((to - from) * static_cast<double>(total)), 0,
                             std::max<int64_t>(total, 0));
}

void TVTRBTreeRecordIndex::RemoveDuplicateKeys(int32_t session_id, TVTRRecordBitmap* bitmap) {
  if (bitmap == nullptr) throw EVTRException(20076, "Pointer is nil");
  TVTRKeyPath path;
  if (!First(session_id, path)) return;
  key_ref_->ForgetRecord();
  VTRBufferPtr kept_key = key_ref_->AllocKey();
  uint8_t kept_id[kRecordIDSize];
  bool kept = false;
  TVTRPathWalk walk(path);
  do {
    walk.Moved(path);
    if (!bitmap->HasPath(Def.ObjectID, path)) continue;
    TVTRBTreePage leaf(Pages(), *key_ref_);
    leaf.GetPage(session_id, path.Deepest().PageNo);
    const uint8_t* key = leaf.EntryKey(path.Deepest().Position);
    const uint8_t* value = leaf.EntryValue(path.Deepest().Position);
    if (kept && key_ref_->CompareKeys(kept_key.get(), key, true, session_id, kept_id, value) == 0) {
      bitmap->RemovePath(Def.ObjectID, path);
    } else {
      std::memcpy(kept_key.get(), key, static_cast<size_t>(key_ref_->KeyLength));
      std::memcpy(kept_id, value, kRecordIDSize);
      kept = true;
    }
  } while (Next(session_id, path));
}
