#include "engine/storage/btree/PageIndex.h"

#include <algorithm>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/pager/ByteOrder.h"
#include "engine/storage/btree/BTreePage.h"
#include "engine/storage/btree/PathMoves.h"

namespace {

void CheckTree(int32_t root, int32_t native_error, const char* message) {
  if (root == -1) throw EVTRException(native_error, message);
}

void CheckPath(const TVTRKeyPath& path, int32_t native_error) {
  if (path.Empty()) throw EVTRException(native_error, "Index error: invalid position");
}

}  // namespace

void TVTRBTreePageIndex::CreateTree(int32_t session_id) {
  TVTRBTreePage root(page_manager_, key_ref_);
  root.NewPage(session_id);
  root.InitRootLeaf();
  root.SetDirty();
  root_ = root.PageNo();
}

void TVTRBTreePageIndex::DropTree(int32_t session_id) {
  if (root_ == -1) return;
  WithTreeRoot(page_manager_, key_ref_, session_id, root_,
               [&](TVTRBTreePage& root) { root.FreePages(session_id, false); });
  root_ = -1;
}

void TVTRBTreePageIndex::EmptyTree(int32_t session_id) {
  if (root_ == -1) return;
  WithTreeRoot(page_manager_, key_ref_, session_id, root_, [&](TVTRBTreePage& root) {
    root.FreePages(session_id, true);
    root.InitRootLeaf();
    root.SetDirty();
  });
}

bool TVTRBTreePageIndex::First(int32_t session_id, TVTRKeyPath& path) {
  CheckTree(root_, 20115, "Index error: invalid page number");
  path.Clear();
  return WithTreeRoot(page_manager_, key_ref_, session_id, root_,
                      [&](TVTRBTreePage& root) { return root.First(session_id, path); });
}

bool TVTRBTreePageIndex::Last(int32_t session_id, TVTRKeyPath& path) {
  CheckTree(root_, 20116, "Index error: invalid page number");
  path.Clear();
  return WithTreeRoot(page_manager_, key_ref_, session_id, root_,
                      [&](TVTRBTreePage& root) { return root.Last(session_id, path); });
}

bool TVTRBTreePageIndex::Next(int32_t session_id, TVTRKeyPath& path) {
  return MovePath(page_manager_, key_ref_, session_id, path, true, {20099, 20100});
}

bool TVTRBTreePageIndex::Prior(int32_t session_id, TVTRKeyPath& path) {
  return MovePath(page_manager_, key_ref_, session_id, path, false, {20101, 20102});
}

bool TVTRBTreePageIndex::Find(int32_t session_id, int32_t page_no, TVTRKeyPath& path) {
  CheckTree(root_, 20117, "Index error: invalid page number");
  path.Clear();
  uint8_t key[4];
  StoreI32(key, page_no);
  return WithTreeRoot(page_manager_, key_ref_, session_id, root_, [&](TVTRBTreePage& root) {
    return root.FindKey(session_id, true, path, scEqual, key);
  });
}

int32_t TVTRBTreePageIndex::GetKey(int32_t session_id, const TVTRKeyPath& path) {
  CheckPath(path, 20103);
  TVTRBTreePage leaf(page_manager_, key_ref_);
  leaf.GetPage(session_id, path.Deepest().PageNo);
  return LoadI32(leaf.EntryKey(path.Deepest().Position));
}

uint16_t TVTRBTreePageIndex::GetValue(int32_t session_id, const TVTRKeyPath& path) {
  CheckPath(path, 20107);
  TVTRBTreePage leaf(page_manager_, key_ref_);
  leaf.GetPage(session_id, path.Deepest().PageNo);
  return LoadU16(leaf.EntryValue(path.Deepest().Position));
}

void TVTRBTreePageIndex::SetValue(int32_t session_id, const TVTRKeyPath& path, uint16_t value) {
  CheckPath(path, 20108);
  TVTRBTreePage leaf(page_manager_, key_ref_);
  leaf.GetPage(session_id, path.Deepest().PageNo);
  StoreU16(leaf.EntryValue(path.Deepest().Position), value);
  leaf.SetDirty();
}

bool TVTRBTreePageIndex::FindRoomInLeaf(int32_t session_id, const TVTRKeyPath& path, bool backward,
                                        int32_t amount, int32_t& page_no) {
  TVTRBTreePage leaf(page_manager_, key_ref_);
  leaf.GetPage(session_id, path.Deepest().PageNo);
  const int32_t n = leaf.Count();
  // A leaf of two or more entries leaves its entry at the far end to the other pass.
  const int32_t looked_at = n >= 2 ? n - 1 : n;
  for (int32_t k = 0; k < looked_at; ++k) {
    const int32_t i = backward ? n - 1 - k : k;
    if (HasRoom(LoadU16(leaf.EntryValue(i)), amount)) {
      page_no = LoadI32(leaf.EntryKey(i));
      return true;
    }
  }
  return false;
}

bool TVTRBTreePageIndex::FindPageWithRoom(int32_t session_id, int32_t amount, int32_t& page_no) {
  TVTRKeyPath path;
  if (!Last(session_id, path)) return false;
  if (FindRoomInLeaf(session_id, path, true, amount, page_no)) return true;
  First(session_id, path);
  return FindRoomInLeaf(session_id, path, false, amount, page_no);
}

void TVTRBTreePageIndex::AddAmount(int32_t session_id, int32_t amount, int32_t page_no) {
  CheckTree(root_, 20118, "Index error: invalid page number");
  TVTRKeyPath path;
  if (!Find(session_id, page_no, path)) {
    uint8_t key[4], value[2];
    StoreI32(key, page_no);
    StoreU16(value, static_cast<uint16_t>(amount));
    WithTreeRoot(page_manager_, key_ref_, session_id, root_,
                 [&](TVTRBTreePage& root) { root.Insert(session_id, key, path, value); });
    return;
  }
  const uint16_t stored = GetValue(session_id, path);
  if (!HasRoom(stored, amount)) throw EVTRException(20106, "Cannot add data item to page. Page is full");
  SetValue(session_id, path, static_cast<uint16_t>(stored + amount));
}

void TVTRBTreePageIndex::SubtractAmount(int32_t session_id, int32_t amount, int32_t page_no) {
  CheckTree(root_, 20110, "Invalid page number");
  TVTRKeyPath path;
  if (!Find(session_id, page_no, path)) throw EVTRException(20111, "Invalid page number");
  const uint16_t stored = GetValue(session_id, path);
  if (stored == 0) throw EVTRException(20112, "Index error: page is empty");
  if (amount < stored) {
    SetValue(session_id, path, static_cast<uint16_t>(stored - amount));
    return;
  }
  uint8_t key[4], value[2];
  StoreI32(key, page_no);
  StoreU16(value, stored);
  path.Clear();
  WithTreeRoot(page_manager_, key_ref_, session_id, root_,
               [&](TVTRBTreePage& root) { root.Delete(session_id, key, path, value); });
}

bool TVTRBTreeRecordPageIndex::FirstPage(int32_t session_id, int32_t& page_no) {
  TVTRKeyPath path;
  if (!First(session_id, path)) return false;
  page_no = GetKey(session_id, path);
  return true;
}

bool TVTRBTreeRecordPageIndex::LastPage(int32_t session_id, int32_t& page_no) {
  TVTRKeyPath path;
  if (!Last(session_id, path)) return false;
  page_no = GetKey(session_id, path);
  return true;
}

bool TVTRBTreeRecordPageIndex::NextPage(int32_t session_id, int32_t page_no, int32_t& next_page_no) {
  TVTRKeyPath path;
  if (!Find(session_id, page_no, path)) throw EVTRException(20104, "Invalid page number");
  if (!Next(session_id, path)) return false;
  next_page_no = GetKey(session_id, path);
  // Out of order only in a damaged map, where it would lead a walk in storage order round in circles.
  if (next_page_no <= page_no) throw EVTRException(20104, "Invalid page number");
  return true;
}

bool TVTRBTreeRecordPageIndex::PriorPage(int32_t session_id, int32_t page_no, int32_t& prior_page_no) {
  TVTRKeyPath path;
  if (!Find(session_id, page_no, path)) throw EVTRException(20105, "Invalid page number");
  if (!Prior(session_id, path)) return false;
  prior_page_no = GetKey(session_id, path);
  if (prior_page_no >= page_no) throw EVTRException(20105, "Invalid page number");
  return true;
}

void TVTRBTreeRecordPageIndex::LocateRecordNo(int32_t session_id, int32_t& page_no, int32_t& ordinal,
                                              int64_t number) {
  number = std::max<int64_t>(number, 0);
  TVTRKeyPath path;
  if (First(session_id, path)) {
    // Leaf by leaf along the links: one page read per leaf.
    TVTRBTreePage leaf(page_manager_, key_ref_);
    leaf.GetPage(session_id, path.Deepest().PageNo);
    LinkCycleGuard walk(leaf.PageNo());
    for (int64_t sum = 0;; leaf.StepToLeaf(session_id, leaf.NextPage(), walk)) {
      for (int32_t i = 0; i < leaf.Count(); ++i) {
        const uint16_t amount = LoadU16(leaf.EntryValue(i));
        if (sum + amount > number) {
          page_no = LoadI32(leaf.EntryKey(i));
          ordinal = static_cast<int32_t>(number - sum);
          return;
        }
        sum += amount;
      }
      if (leaf.NextPage() == -1) break;
    }
  }
  throw EVTRException(20113, "Cannot set RecNo greater than RecordCount");
}

void TVTRBTreeRecordPageIndex::GetRecordNo(int32_t session_id, int32_t page_no, int64_t& number,
                                           int32_t ordinal) {
  TVTRKeyPath path;
  if (!Find(session_id, page_no, path)) throw EVTRException(20114, "Invalid page number");
  TVTRBTreePage leaf(page_manager_, key_ref_);
  leaf.GetPage(session_id, path.Deepest().PageNo);
  int64_t sum = 0;
  for (int32_t i = 0; i < path.Deepest().Position; ++i) sum += LoadU16(leaf.EntryValue(i));
  LinkCycleGuard walk(leaf.PageNo());
  while (leaf.PrevPage() != -1) {
    leaf.StepToLeaf(session_id, leaf.PrevPage(), walk);
    for (int32_t i = 0; i < leaf.Count(); ++i) sum += LoadU16(leaf.EntryValue(i));
  }
  number = sum + ordinal;
}
