// The integrity check: entry order in every leaf, sibling links between
// children, no page twice in the tree, and separators that bound their
// subtrees. Ordinary operations never validate the tree.
#include <vector>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/btree/BTreePage.h"
#include "engine/storage/btree/KeyPath.h"

namespace {

constexpr int32_t kNoSession = -1;

[[noreturn]] void RaiseViolation(int32_t native_error, int32_t page_no, int32_t entry_no) {
  throw EVTRException::CreateFmt(native_error, "Index integrity violated. PageNo=%d EntryNo=%d", page_no,
                                 entry_no);
}

}  // namespace

void TVTRBTreeLeafController::CheckIntegrity(int32_t, TVTRKeyPath&) {
  // Only an emptied tree has a leaf without entries: its root.
  if (page_.Count() == 0 && !page_.Root()) RaiseViolation(20028, page_.PageNo(), 0);
  TVTRBTreeKeyRef& key_ref = page_.KeyRef();
  const bool whole_keys = !key_ref.HasPrefixColumns();
  for (int32_t i = 0; i + 1 < page_.Count(); ++i) {
    const int c =
        key_ref.CompareKeys(page_.EntryKey(i), page_.EntryKey(i + 1), false, kNoSession, nullptr, nullptr);
    const int d =
        TVTRBTreeKeyRef::CompareEntryValues(page_.EntryValue(i), page_.EntryValue(i + 1), page_.ValueSize());
    if (c > 0 || (whole_keys && c == 0 && d >= 0)) RaiseViolation(20028, page_.PageNo(), i);
  }
}

void TVTRBTreeNodeController::CheckIntegrity(int32_t session_id, TVTRKeyPath& path) {
  const int32_t page_no = page_.PageNo();
  const int32_t count = page_.Count();
  PageVisitsScope checked(page_);
  for (int32_t i = 0; i < count; ++i) {
    if (path.ContainsPage(page_no) || !checked.Visits().Enter(page_.ChildPage(i)))
      RaiseCircularLinks(page_no, i);
    path.Push(page_no, i, count);
    TVTRBTreePage child = page_.Child();
    child.GetPage(session_id, page_.ChildPage(i));
    if (child.Root()) RaiseViolation(20028, child.PageNo(), 0);
    if (i > 0 && child.PrevPage() != page_.ChildPage(i - 1)) RaiseBrokenLink(20033, page_no, i);
    if (i < count - 1 && child.NextPage() != page_.ChildPage(i + 1)) RaiseBrokenLink(20034, page_no, i);
    child.CheckIntegrity(session_id, path);
    child.ReleasePage();
    path.Pop();
  }
  // Every separator lies between its neighbours, at or above the last entry
  // of the child before it and at or below the first entry of its own child;
  // equal keys on both sides of a boundary keep their values in order.
  TVTRBTreeKeyRef& key_ref = page_.KeyRef();
  const bool whole_keys = !key_ref.HasPrefixColumns();
  const auto compare = [&](uint8_t* a, const uint8_t* b) {
    return key_ref.CompareKeys(a, b, false, kNoSession, nullptr, nullptr);
  };
  std::vector<uint8_t> last_key(static_cast<size_t>(page_.KeyLength()));
  std::vector<uint8_t> first_key(last_key.size());
  std::vector<uint8_t> last_value(key_ref.ValueSize), first_value(key_ref.ValueSize);
  for (int32_t i = 1; i < count; ++i) {
    if (i + 1 < count && compare(page_.EntryKey(i), page_.EntryKey(i + 1)) > 0)
      RaiseViolation(20029, page_no, i);
    TVTRBTreePage before = page_.Child();
    before.GetPage(session_id, page_.ChildPage(i - 1));
    before.GetLastEntry(session_id, last_key.data(), last_value.data());
    before.ReleasePage();
    if (compare(last_key.data(), page_.EntryKey(i)) > 0) RaiseViolation(20030, page_no, i);
    TVTRBTreePage own = page_.Child();
    own.GetPage(session_id, page_.ChildPage(i));
    own.GetFirstEntry(session_id, first_key.data(), first_value.data());
    own.ReleasePage();
    if (compare(first_key.data(), page_.EntryKey(i)) < 0) RaiseViolation(20031, page_no, i);
    if (whole_keys && compare(last_key.data(), first_key.data()) == 0 &&
        TVTRBTreeKeyRef::CompareEntryValues(last_value.data(), first_value.data(), key_ref.ValueSize) >= 0) {
      RaiseViolation(20194, page_no, i);
    }
  }
}
