// Insertion: entries go in at their sorted place; a page that overflows
// splits at the middle and hands its new right half to its parent, the root
// by moving both halves into new pages so that it keeps its number.
#include <cstring>

#include "engine/foundation/Invariant.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/storage/pager/ByteOrder.h"
#include "engine/storage/btree/BTreePage.h"
#include "engine/storage/btree/KeyPath.h"

namespace {

[[noreturn]] void RaiseBrokenPath(int32_t page_no, int32_t entry_no) {
  throw EVTRException::CreateFmt(20028, "Index integrity violated. PageNo=%d EntryNo=%d", page_no, entry_no);
}

}  // namespace

bool TVTRBTreePageController::HasRoomForEntry() const {
  return (page_.Count() + 1) * page_.EntrySize() + page_.HeaderSize() <= page_.DataSize();
}

bool TVTRBTreePageController::IsOverfull() const {
  return page_.Count() * page_.EntrySize() + page_.HeaderSize() > page_.DataSize();
}

void TVTRBTreePageController::InsertEntryAt(const uint8_t* key, const uint8_t* value, int32_t position) {
  // The entry goes in first and the page splits afterwards, so the buffer
  // briefly holds one entry more than a page.
  if (!HasRoomForEntry()) page_.ResizeBuffer(page_.PageSize() + page_.EntrySize());
  // Marked before anything else can fail: a changed page left clean in the
  // cache would outlive the rollback of a failed operation.
  page_.SetDirty();
  const int32_t count = page_.Count();
  const int32_t entry_size = page_.EntrySize();
  uint8_t* entry = page_.Entry(position);
  std::memmove(entry + entry_size, entry, static_cast<size_t>((count - position) * entry_size));
  std::memset(entry, 0, static_cast<size_t>(entry_size));
  if (key != nullptr) page_.SetEntryKey(position, key);
  page_.SetEntryValue(position, value);
  page_.SetCount(count + 1);
}

void TVTRBTreePageController::SplitPage(int32_t session_id, TVTRKeyPath& path) {
  if (page_.Root()) {
    SplitRoot(session_id);
  } else {
    Split(session_id, path);
  }
}

void TVTRBTreePageController::Split(int32_t session_id, TVTRKeyPath& path) {
  const int32_t n = page_.Count();
  const int32_t h = n / 2;
  TVTRBTreePage right = page_.Sibling();
  right.NewPage(session_id);
  right.CopyEntries(page_, h, n - h);
  right.SetNextPage(page_.NextPage());
  right.SetPrevPage(page_.PageNo());
  right.SetDirty();
  if (right.NextPage() != -1) {
    TVTRBTreePage after = page_.Sibling();
    after.GetPage(session_id, right.NextPage());
    after.SetPrevPage(right.PageNo());
    after.SetDirty();
  }
  page_.SetNextPage(right.PageNo());
  page_.SetCount(h);
  page_.SetDirty();

  path.LevelUp();
  if (path.Level() < 0) RaiseBrokenPath(page_.PageNo(), h);
  TVTRBTreePage parent = page_.Sibling();
  parent.GetPage(session_id, path.CurrentPageNo());
  parent.InsertChild(session_id, right.EntryKey(0), path, right.PageNo());
  parent.SetDirty();
  path.LevelDown();
}

void TVTRBTreePageController::SplitRoot(int32_t session_id) {
  const int32_t n = page_.Count();
  const int32_t h = n / 2;
  TVTRBTreePage left = page_.Child();
  TVTRBTreePage right = page_.Child();
  left.NewPage(session_id);
  right.NewPage(session_id);
  left.CopyEntries(page_, 0, h);
  right.CopyEntries(page_, h, n - h);
  left.SetRoot(false);
  right.SetRoot(false);
  left.SetNextPage(right.PageNo());
  right.SetPrevPage(left.PageNo());
  left.SetDirty();
  right.SetDirty();

  page_.SetLeaf(false);
  page_.SetCount(0);
  TVTRKeyPath unused;
  page_.InsertChild(session_id, nullptr, unused, left.PageNo());
  page_.InsertChild(session_id, right.EntryKey(0), unused, right.PageNo());
  page_.SetDirty();
}

void TVTRBTreeLeafController::Insert(int32_t session_id, uint8_t* key, TVTRKeyPath& path,
                                     const uint8_t* record_id) {
  TVTRSearchStatus status;
  const int32_t position = FindPosition(true, session_id, key, record_id, 0, status, emAny);
  // The search compared the key with both neighbours of a new position, so
  // they bracket it even on a page whose own order is damaged.
  VTR_ASSERT(status == ssFound || position == 0 || CompareEntryKey(false, session_id, position - 1, key) >= 0);
  VTR_ASSERT(status == ssFound || position == page_.Count() ||
             CompareEntryKey(false, session_id, position, key) <= 0);
  InsertEntryAt(key, record_id, position);
  if (IsOverfull()) {
    SplitPage(session_id, path);
  } else {
    path.Push(page_.PageNo(), position, page_.Count());
  }
}

void TVTRBTreeNodeController::Insert(int32_t session_id, uint8_t* key, TVTRKeyPath& path,
                                     const uint8_t* record_id) {
  const int32_t child_entry = ChooseChild(session_id, key, record_id);
  path.Push(page_.PageNo(), child_entry, page_.Count());
  TVTRBTreePage child = page_.Child();
  child.GetPage(session_id, page_.ChildPage(child_entry));
  child.Insert(session_id, key, path, record_id);
}

void TVTRBTreeNodeController::InsertChild(int32_t session_id, const uint8_t* key, TVTRKeyPath& path,
                                          int32_t child_page_no) {
  const int32_t count = page_.Count();
  const int32_t position = count > 1 ? path.Current().Position + 1 : count;
  if (position < 0 || position > count) RaiseBrokenPath(page_.PageNo(), position);
  uint8_t value[kNodeValueSize];
  StoreI32(value, child_page_no);
  InsertEntryAt(key, value, position);
  if (IsOverfull()) SplitPage(session_id, path);
}
