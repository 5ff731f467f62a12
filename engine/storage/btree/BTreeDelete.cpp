// Deletion: a page that falls below half its space merges into a neighbour
// when both fit into one page (a page without entries always does), and its
// parent loses the child; separators above are moved so that they keep
// bounding their subtrees. A root node left with one child takes the child's
// content, so the tree shrinks at the root and the root keeps its number.
#include <cstring>
#include <vector>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/btree/BTreePage.h"
#include "engine/storage/btree/KeyPath.h"

namespace {

[[noreturn]] void RaiseBrokenPath(int32_t page_no, int32_t entry_no) {
  throw EVTRException::CreateFmt(20028, "Index integrity violated. PageNo=%d EntryNo=%d", page_no, entry_no);
}

}  // namespace

bool TVTRBTreePageController::IsUnderfull() const {
  return page_.Count() * page_.EntrySize() < (page_.DataSize() - page_.HeaderSize()) / 2;
}

bool TVTRBTreePageController::CanMergeWith(const TVTRBTreePage& other) const {
  if (page_.Count() == 0) return true;
  return (page_.Count() + other.Count()) * page_.EntrySize() + page_.HeaderSize() < page_.DataSize();
}

void TVTRBTreePageController::RemoveEntryAt(int32_t position) {
  const int32_t count = page_.Count();
  if (count == 0) throw EVTRException(20025, "Index error: page is empty");
  page_.SetDirty();  // see InsertEntryAt
  const int32_t entry_size = page_.EntrySize();
  uint8_t* entry = page_.Entry(position);
  std::memmove(entry, entry + entry_size, static_cast<size_t>((count - position - 1) * entry_size));
  page_.SetCount(count - 1);
}

bool TVTRBTreeLeafController::Delete(int32_t session_id, uint8_t* key, TVTRKeyPath& path,
                                     const uint8_t* record_id) {
  int32_t position;
  if (!LocateEntry(session_id, key, record_id, position)) return false;
  RemoveEntryAt(position);
  if (IsUnderfull()) TryMerge(session_id, path);
  return true;
}

bool TVTRBTreeNodeController::Delete(int32_t session_id, uint8_t* key, TVTRKeyPath& path,
                                     const uint8_t* record_id) {
  const int32_t child_entry = ChooseChild(session_id, key, record_id);
  path.Push(page_.PageNo(), child_entry, page_.Count());
  TVTRBTreePage child = page_.Child();
  child.GetPage(session_id, page_.ChildPage(child_entry));
  return child.Delete(session_id, key, path, record_id);
}

bool TVTRBTreePageController::TryMerge(int32_t session_id, TVTRKeyPath& path) {
  if (page_.Root()) return false;
  if (page_.PrevPage() != -1 && TryMergeWith(session_id, path, page_.PrevPage())) return true;
  return page_.NextPage() != -1 && TryMergeWith(session_id, path, page_.NextPage());
}

bool TVTRBTreePageController::TryMergeWith(int32_t session_id, TVTRKeyPath& path, int32_t sibling_no) {
  TVTRBTreePage sibling = page_.Sibling();
  sibling.GetPage(session_id, sibling_no);
  if (sibling.Leaf() != page_.Leaf()) RaiseBrokenPath(sibling_no, 0);
  if (!CanMergeWith(sibling)) return false;
  const int32_t page_no = page_.PageNo();
  if (sibling_no == page_.PrevPage()) {
    MergeIntoPrior(session_id, path, sibling);
  } else {
    MergeIntoNext(session_id, path, sibling);
  }
  page_.DeletePage(session_id, page_no);
  return true;
}

void TVTRBTreePageController::MergeIntoPrior(int32_t session_id, TVTRKeyPath& path, TVTRBTreePage& prior) {
  if (page_.NextPage() != -1) {
    TVTRBTreePage after = page_.Sibling();
    after.GetPage(session_id, page_.NextPage());
    after.SetPrevPage(prior.PageNo());
    after.SetDirty();
  }
  path.LevelUp();
  if (path.Level() < 0) RaiseBrokenPath(page_.PageNo(), 0);
  // Entry 0's key is never compared, so it may be stale; in the prior page it
  // becomes a middle entry and must bound its subtree.
  if (!page_.Leaf() && page_.Count() > 0) page_.GetFirstKey(session_id, page_.EntryKey(0));
  prior.AppendEntries(page_, 0, page_.Count());
  prior.SetNextPage(page_.NextPage());
  prior.SetDirty();
  TVTRBTreePage parent = page_.Sibling();
  parent.GetPage(session_id, path.CurrentPageNo());
  parent.RemoveChild(session_id, path, true, prior.PageNo());
}

void TVTRBTreePageController::MergeIntoNext(int32_t session_id, TVTRKeyPath& path, TVTRBTreePage& next) {
  if (page_.PrevPage() != -1) {
    TVTRBTreePage before = page_.Sibling();
    before.GetPage(session_id, page_.PrevPage());
    before.SetNextPage(next.PageNo());
    before.SetDirty();
  }
  path.LevelUp();
  if (path.Level() < 0) RaiseBrokenPath(page_.PageNo(), 0);
  // The next page's entry 0 becomes a middle entry behind the moved ones.
  if (!page_.Leaf() && page_.Count() > 0) next.GetFirstKey(session_id, next.EntryKey(0));
  next.PrependEntries(page_, 0, page_.Count());
  next.SetPrevPage(page_.PrevPage());
  next.SetDirty();
  TVTRBTreePage parent = page_.Sibling();
  parent.GetPage(session_id, path.CurrentPageNo());
  parent.RemoveChild(session_id, path, false, next.PageNo());
}

void TVTRBTreeNodeController::RepairSeparator(int32_t session_id, TVTRKeyPath& path, bool merged_into_prior,
                                              const uint8_t* key) {
  for (int32_t level = path.Level() - 1; level >= 0; --level) {
    const TVTRKeyPathLevel& recorded = path.At(level);
    int32_t entry;
    if (merged_into_prior) {
      if (recorded.Position == 0) continue;
      entry = recorded.Position;
    } else {
      if (recorded.Position >= recorded.Count - 1) continue;
      entry = recorded.Position + 1;
    }
    TVTRBTreePage ancestor = page_.Sibling();
    ancestor.GetPage(session_id, recorded.PageNo);
    if (entry >= ancestor.Count()) RaiseBrokenPath(recorded.PageNo, entry);
    ancestor.SetEntryKey(entry, key);
    ancestor.SetDirty();
    return;
  }
}

void TVTRBTreeNodeController::RemoveChild(int32_t session_id, TVTRKeyPath& path, bool merged_into_prior,
                                          int32_t receiver_page_no) {
  const int32_t count = page_.Count();
  const int32_t position = path.Current().Position;
  if (position < 0 || position >= count) RaiseBrokenPath(page_.PageNo(), position);
  if (merged_into_prior) {
    // This node's subtree now starts at its second child. A node losing its
    // only child has no second one; it merges away below and its parent
    // repairs then.
    if (position == 0 && count > 1) RepairSeparator(session_id, path, true, page_.EntryKey(1));
  } else if (position < count - 1) {
    // The next child starts with the moved entries now; the removed entry's
    // key bounds them.
    page_.SetEntryKey(position + 1, page_.EntryKey(position));
  } else if (position > 0) {
    RepairSeparator(session_id, path, false, page_.EntryKey(position));
  } else {
    // The only child went to a page under another parent. Entry 0's key need
    // not bound anything, so the receiver's first key is taken instead.
    TVTRBTreePage receiver = page_.Sibling();
    receiver.GetPage(session_id, receiver_page_no);
    std::vector<uint8_t> first_key(static_cast<size_t>(page_.KeyLength()));
    receiver.GetFirstKey(session_id, first_key.data());
    receiver.ReleasePage();
    RepairSeparator(session_id, path, false, first_key.data());
  }
  RemoveEntryAt(position);
  if (page_.Root()) {
    if (page_.Count() == 1) CollapseRoot(session_id);
  } else if (IsUnderfull()) {
    TryMerge(session_id, path);
  }
}

void TVTRBTreeNodeController::CollapseRoot(int32_t session_id) {
  // A child that is itself a node with a single child collapses in turn.
  while (!page_.Leaf() && page_.Count() == 1) {
    const int32_t child_no = page_.ChildPage(0);
    TVTRBTreePage child = page_.Child();
    child.GetPage(session_id, child_no);
    page_.CopyEntries(child, 0, child.Count());
    page_.SetRoot(true);
    page_.SetPrevPage(-1);
    page_.SetNextPage(-1);
    page_.SetDirty();
    page_.DeletePage(session_id, child_no);
  }
}

void TVTRBTreeLeafController::FreePages(int32_t session_id, bool keep_root) {
  if (!(page_.Root() && keep_root)) page_.DeletePage(session_id, page_.PageNo());
}

void TVTRBTreeNodeController::FreePages(int32_t session_id, bool keep_root) {
  PageVisitsScope freed(page_);
  for (int32_t i = 0; i < page_.Count(); ++i) {
    if (!freed.Visits().Enter(page_.ChildPage(i))) RaiseCircularLinks(page_.PageNo(), i);
    TVTRBTreePage child = page_.Child();
    child.GetPage(session_id, page_.ChildPage(i));
    child.FreePages(session_id, keep_root);
  }
  if (!(page_.Root() && keep_root)) page_.DeletePage(session_id, page_.PageNo());
}
