// Moving through a record index: key paths, record reads in index order and
// record numbers. Record numbers walk the leaf links, one page read per leaf,
// and stop at links that run in a circle (20032).
#include <algorithm>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/btree/BTreePage.h"
#include "engine/storage/btree/PathMoves.h"
#include "engine/storage/index/IndexManager.h"
#include "engine/storage/index/RecordIndex.h"
#include "engine/storage/index/RecordIndexSupport.h"
#include "platform/rtl/ScopeExit.h"

namespace {

[[noreturn]] void RaiseInvalidPosition() {
  throw EVTRException(20068, "Index error: invalid position");
}

}  // namespace

bool TVTRBTreeRecordIndex::First(int32_t session_id, TVTRKeyPath& path) {
  CheckRoot(20121);
  path.Clear();
  return WithRoot(session_id, [&](TVTRBTreePage& root) { return root.First(session_id, path); });
}

bool TVTRBTreeRecordIndex::Last(int32_t session_id, TVTRKeyPath& path) {
  CheckRoot(20122);
  path.Clear();
  return WithRoot(session_id, [&](TVTRBTreePage& root) { return root.Last(session_id, path); });
}

bool TVTRBTreeRecordIndex::Next(int32_t session_id, TVTRKeyPath& path) {
  return MovePath(Pages(), *key_ref_, session_id, path, true, {20069, 20070});
}

bool TVTRBTreeRecordIndex::Prior(int32_t session_id, TVTRKeyPath& path) {
  return MovePath(Pages(), *key_ref_, session_id, path, false, {20069, 20071});
}

void TVTRBTreeRecordIndex::GetValueAtPath(int32_t session_id, const TVTRKeyPath& path, TVTRRecordID& id) {
  if (path.Empty()) RaiseInvalidPosition();
  TVTRBTreePage leaf(Pages(), *key_ref_);
  leaf.GetPage(session_id, path.Deepest().PageNo);
  const int32_t position = path.Deepest().Position;
  if (!leaf.Leaf() || position < 0 || position >= leaf.Count()) RaiseInvalidPosition();
  id = LoadRecordID(leaf.EntryValue(position));
}

void TVTRBTreeRecordIndex::GetRecordIDAtPath(int32_t session_id, const TVTRKeyPath& path, TVTRRecordID& id) {
  if (path.Empty()) RaiseInvalidPosition();
  TVTRBTreePage page(Pages(), *key_ref_);
  page.GetPage(session_id, Def.RootPage);
  for (int32_t level = 0;; ++level) {
    const int32_t position = path.At(level).Position;
    if (position < 0 || position >= page.Count()) RaiseInvalidPosition();
    const bool deepest = level == path.Depth() - 1;
    if (deepest != page.Leaf()) RaiseInvalidPosition();
    if (deepest) {
      id = LoadRecordID(page.EntryValue(position));
      return;
    }
    page.DescendTo(session_id, page.ChildPage(position));
  }
}

bool TVTRBTreeRecordIndex::FindRecordKey(int32_t session_id, const TVTRRecordID& id, TVTRKeyPath& path,
                                         const uint8_t* record) {
  CheckRoot(20124);
  path.Clear();
  BuiltKey key(*key_ref_, record, id);
  uint8_t value[kRecordIDSize];
  StoreRecordID(value, id);
  return WithRoot(session_id,
                  [&](TVTRBTreePage& root) { return root.FindEntry(session_id, key.Get(), path, value); });
}

int TVTRBTreeRecordIndex::ComparePaths(const TVTRKeyPath* path1, const TVTRKeyPath* path2) {
  if (path1 == nullptr) throw EVTRException(10384, "Nil pointer occured");
  if (path2 == nullptr) throw EVTRException(10385, "Nil pointer occured");
  return path1->Compare(*path2);
}

void TVTRBTreeRecordIndex::GetRecord(int32_t session_id, NavigationRequest& request, int32_t change_count,
                                     TVTRIndexPositionCache* cache) {
  if (request.Direction == fmCurrent)
    throw EVTRException(20053, "Invalid get record mode for index: grmCurrent");
  CheckRoot(20123);
  const bool forward = request.Direction == fmNext;
  TVTRKeyPath path;
  bool moved;
  if (request.Bof || request.Eof) {
    // From an end the first or last entry is the record itself; moving away
    // from the index (prior before the first, next after the last) finds none.
    const bool into_index = request.Bof ? forward : !forward;
    moved = into_index && (request.Bof ? First(session_id, path) : Last(session_id, path));
  } else {
    bool found;
    if (cache != nullptr && cache->Holds(Def.ObjectID, request.RecordID, change_count)) {
      path.Assign(cache->KeyPath);
      found = true;
    } else {
      found = FindRecordKey(session_id, request.RecordID, path, request.Buffer);
    }
    if (!found) {
      request.Result = grError;
      return;
    }
    moved = forward ? Next(session_id, path) : Prior(session_id, path);
  }
  if (!moved) {
    request.Result = forward ? grEOF : grBOF;
    request.Bof = !forward;
    request.Eof = forward;
    return;
  }
  request.Result = grOK;
  request.Bof = request.Eof = false;
  GetValueAtPath(session_id, path, request.RecordID);
  {
    const TVTRFetchMode direction = request.Direction;
    const ScopeExit restore([&request, direction]() noexcept { request.Direction = direction; });
    request.Direction = fmCurrent;
    Table().GetRecord(session_id, request);
  }
  if (cache != nullptr && request.Result == grOK) {
    cache->IndexID = Def.ObjectID;
    cache->ChangeCount = change_count;
    cache->RecordID = request.RecordID;
    cache->KeyPath.Assign(path);
  }
}

int64_t TVTRBTreeRecordIndex::GetRecNo(int32_t session_id, const TVTRRecordID& id, const uint8_t* record) {
  TVTRKeyPath path;
  if (!FindRecordKey(session_id, id, path, record)) return -1;
  TVTRBTreePage leaf(Pages(), *key_ref_);
  leaf.GetPage(session_id, path.Deepest().PageNo);
  int64_t rec_no = path.Deepest().Position + 1;
  LinkCycleGuard walk(leaf.PageNo());
  while (leaf.PrevPage() != -1) {
    leaf.StepToLeaf(session_id, leaf.PrevPage(), walk);
    rec_no += leaf.Count();
  }
  return rec_no;
}

void TVTRBTreeRecordIndex::SetRecNo(int32_t session_id, TVTRRecordID& id, int64_t rec_no) {
  rec_no = std::max<int64_t>(rec_no, 1);
  TVTRKeyPath path;
  if (!First(session_id, path)) throw EVTRException(20074, "Cannot retreive record from empty index");
  TVTRBTreePage leaf(Pages(), *key_ref_);
  leaf.GetPage(session_id, path.Deepest().PageNo);
  LinkCycleGuard walk(leaf.PageNo());
  int64_t sum = 0;
  while (sum + leaf.Count() < rec_no) {
    sum += leaf.Count();
    if (leaf.NextPage() == -1) throw EVTRException(20075, "Cannot set RecNo greater than RecordCount");
    leaf.StepToLeaf(session_id, leaf.NextPage(), walk);
  }
  id = LoadRecordID(leaf.EntryValue(static_cast<int32_t>(rec_no - sum - 1)));
}
