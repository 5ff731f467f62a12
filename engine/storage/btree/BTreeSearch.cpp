// Searches and walks: binary search within a page, exact entries, first and
// last entries, and FindKey by mode.
#include <algorithm>
#include <cstring>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/btree/BTreePage.h"
#include "engine/storage/btree/KeyPath.h"

namespace {

// No session reads records while a node's separators are compared.
constexpr int32_t kNoSession = -1;

}  // namespace

int TVTRBTreePageController::CompareEntryKey(bool resolve_prefix, int32_t session_id, int32_t entry,
                                             uint8_t* key) {
  // Only leaf values are RecordIDs that a prefix tie can be settled with.
  const uint8_t* record_id = page_.Leaf() ? page_.EntryValue(entry) : nullptr;
  return page_.KeyRef().CompareKeys(key, page_.EntryKey(entry), resolve_prefix, session_id, nullptr,
                                    record_id);
}

int32_t TVTRBTreePageController::FindPosition(bool resolve_prefix, int32_t session_id, uint8_t* key,
                                              const uint8_t* record_id, int32_t low, TVTRSearchStatus& status,
                                              TVTREqualMode equal_mode) {
  const int32_t count = page_.Count();
  if (count == 0) {
    status = ssEmpty;
    return 0;
  }
  int32_t lo = low, hi = count - 1;
  while (lo <= hi) {
    const int32_t mid = (lo + hi) / 2;
    int c = CompareEntryKey(resolve_prefix, session_id, mid, key);
    if (c == 0 && record_id != nullptr)
      c = CompareEntryRecordID(resolve_prefix, session_id, mid, record_id, key);
    if (c < 0) {
      hi = mid - 1;
    } else if (c > 0) {
      lo = mid + 1;
    } else {
      status = ssFound;
      if (equal_mode == emFirst) return RunStart(resolve_prefix, session_id, key, low, mid);
      if (equal_mode == emLast) return RunEnd(resolve_prefix, session_id, key, mid);
      return mid;
    }
  }
  status = ssNotFound;
  return lo;
}

// Entries with an equal key stand together. Keys are mostly unique, so the
// neighbour is looked at first and the run's end halved for only when it
// is equal too.
int32_t TVTRBTreePageController::RunStart(bool resolve_prefix, int32_t session_id, uint8_t* key, int32_t low,
                                          int32_t position) {
  if (position <= low || CompareEntryKey(resolve_prefix, session_id, position - 1, key) != 0) return position;
  int32_t result = position - 1;
  for (int32_t a = low, b = result - 1; a <= b;) {
    const int32_t m = (a + b) / 2;
    if (CompareEntryKey(resolve_prefix, session_id, m, key) == 0) {
      result = m;
      b = m - 1;
    } else {
      a = m + 1;
    }
  }
  return result;
}

int32_t TVTRBTreePageController::RunEnd(bool resolve_prefix, int32_t session_id, uint8_t* key,
                                        int32_t position) {
  const int32_t last = page_.Count() - 1;
  if (position >= last || CompareEntryKey(resolve_prefix, session_id, position + 1, key) != 0)
    return position;
  int32_t result = position + 1;
  for (int32_t a = result + 1, b = last; a <= b;) {
    const int32_t m = (a + b) / 2;
    if (CompareEntryKey(resolve_prefix, session_id, m, key) == 0) {
      result = m;
      a = m + 1;
    } else {
      b = m - 1;
    }
  }
  return result;
}

bool TVTRBTreePageController::LocateEntry(int32_t session_id, uint8_t* key, const uint8_t* record_id,
                                          int32_t& position) {
  const int32_t count = page_.Count();
  const int32_t value_size = page_.ValueSize();
  if (key == nullptr) {
    for (int32_t i = 0; i < count; ++i) {
      if (TVTRBTreeKeyRef::CompareEntryValues(record_id, page_.EntryValue(i), value_size) == 0) {
        position = i;
        return true;
      }
    }
    return false;
  }
  TVTRSearchStatus status;
  position = FindPosition(true, session_id, key, record_id, 0, status, record_id ? emAny : emFirst);
  return status == ssFound;
}

void TVTRBTreePageController::CheckNotEmpty() const {
  if (page_.Count() == 0) {
    throw EVTRException::CreateFmt(20028, "Index integrity violated. PageNo=%d EntryNo=%d", page_.PageNo(),
                                   0);
  }
}

// Leaf

int TVTRBTreeLeafController::CompareEntryRecordID(bool, int32_t, int32_t entry, const uint8_t* record_id,
                                                  uint8_t*) {
  return TVTRBTreeKeyRef::CompareEntryValues(record_id, page_.EntryValue(entry), page_.ValueSize());
}

bool TVTRBTreeLeafController::FindEntry(int32_t session_id, uint8_t* key, TVTRKeyPath& path,
                                        const uint8_t* record_id) {
  int32_t position;
  if (!LocateEntry(session_id, key, record_id, position)) return false;
  path.Push(page_.PageNo(), position, page_.Count());
  return true;
}

bool TVTRBTreeLeafController::First(int32_t, TVTRKeyPath& path) {
  if (page_.Count() == 0) return false;
  path.Push(page_.PageNo(), 0, page_.Count());
  return true;
}

bool TVTRBTreeLeafController::Last(int32_t, TVTRKeyPath& path) {
  if (page_.Count() == 0) return false;
  path.Push(page_.PageNo(), page_.Count() - 1, page_.Count());
  return true;
}

int32_t TVTRBTreeLeafController::FindKeyPosition(int32_t session_id, bool forward, TVTRScanComparison mode,
                                                 uint8_t* key) {
  const int32_t count = page_.Count();
  const int32_t last = count - 1;
  TVTRSearchStatus status;
  const auto first_equal = [&] { return FindPosition(true, session_id, key, nullptr, 0, status, emFirst); };
  const auto last_equal = [&] { return FindPosition(true, session_id, key, nullptr, 0, status, emLast); };
  // Signs of the key against the first and the last entry.
  const auto against_first = [&] { return CompareEntryKey(true, session_id, 0, key); };
  const auto against_last = [&] { return CompareEntryKey(true, session_id, last, key); };
  int32_t position = -1;
  if (forward) {
    switch (mode) {
      case scNone:
        return 0;
      case scEqual:
        position = first_equal();
        return status == ssFound ? position : -1;
      case scBefore:
        return against_first() > 0 ? 0 : -1;
      case scAfter:
        position = last_equal();
        if (status == ssFound) ++position;
        break;
      case scNotAfter:
        return against_first() >= 0 ? 0 : -1;
      case scNotBefore:
        position = first_equal();
        break;
    }
    return position < count ? position : -1;
  }
  switch (mode) {
    case scNone:
      return last;
    case scEqual:
      position = last_equal();
      return status == ssFound ? position : -1;
    case scBefore:
      position = first_equal() - 1;
      break;
    case scAfter:
      return against_last() < 0 ? last : -1;
    case scNotAfter:
      position = last_equal();
      if (status != ssFound) --position;
      break;
    case scNotBefore:
      return against_last() <= 0 ? last : -1;
  }
  return position >= 0 ? position : -1;
}

bool TVTRBTreeLeafController::FindKey(int32_t session_id, bool forward, TVTRKeyPath& path,
                                      TVTRScanComparison mode, uint8_t* key) {
  const int32_t position = FindKeyPosition(session_id, forward, mode, key);
  if (position < 0) return false;
  path.Push(page_.PageNo(), position, page_.Count());
  return true;
}

void TVTRBTreeLeafController::GetFirstKey(int32_t, uint8_t* key) {
  CheckNotEmpty();
  std::memcpy(key, page_.EntryKey(0), static_cast<size_t>(page_.KeyLength()));
}

void TVTRBTreeLeafController::GetLastKey(int32_t, uint8_t* key) {
  CheckNotEmpty();
  std::memcpy(key, page_.EntryKey(page_.Count() - 1), static_cast<size_t>(page_.KeyLength()));
}

void TVTRBTreeLeafController::GetFirstEntry(int32_t session_id, uint8_t* key, uint8_t* value) {
  GetFirstKey(session_id, key);
  std::memcpy(value, page_.EntryValue(0), static_cast<size_t>(page_.ValueSize()));
}

void TVTRBTreeLeafController::GetLastEntry(int32_t session_id, uint8_t* key, uint8_t* value) {
  GetLastKey(session_id, key);
  std::memcpy(value, page_.EntryValue(page_.Count() - 1), static_cast<size_t>(page_.ValueSize()));
}

// Node

int TVTRBTreeNodeController::CompareEntryRecordID(bool, int32_t session_id, int32_t entry,
                                                  const uint8_t* record_id, uint8_t* key) {
  // The subtree's first entry is compared where it lies, in its leaf.
  TVTRBTreePage leaf = page_.Child();
  leaf.GetPage(session_id, page_.ChildPage(entry));
  while (!leaf.Leaf()) leaf.DescendTo(session_id, leaf.ChildPage(0));
  if (leaf.Count() == 0) {
    throw EVTRException::CreateFmt(20028, "Index integrity violated. PageNo=%d EntryNo=%d", leaf.PageNo(), 0);
  }
  const uint8_t* first_value = leaf.EntryValue(0);
  const int c = page_.KeyRef().CompareKeys(key, leaf.EntryKey(0), true, session_id, nullptr, first_value);
  if (c != 0) return c;
  return TVTRBTreeKeyRef::CompareEntryValues(record_id, first_value, leaf.ValueSize());
}

int32_t TVTRBTreeNodeController::ChooseChild(int32_t session_id, uint8_t* key, const uint8_t* record_id) {
  TVTRSearchStatus status;
  const int32_t position = FindPosition(false, session_id, key, record_id, 1, status, emAny);
  return status == ssFound ? position : position - 1;
}

bool TVTRBTreeNodeController::FindEntry(int32_t session_id, uint8_t* key, TVTRKeyPath& path,
                                        const uint8_t* record_id) {
  // Only a leaf can look for a value alone.
  if (key == nullptr) throw EVTRException(20020, "Internal index error");
  const int32_t child_entry = ChooseChild(session_id, key, record_id);
  path.Push(page_.PageNo(), child_entry, page_.Count());
  TVTRBTreePage child = page_.Child();
  child.GetPage(session_id, page_.ChildPage(child_entry));
  return child.FindEntry(session_id, key, path, record_id);
}

bool TVTRBTreeNodeController::First(int32_t session_id, TVTRKeyPath& path) {
  path.Push(page_.PageNo(), 0, page_.Count());
  TVTRBTreePage child = page_.Child();
  child.GetPage(session_id, page_.ChildPage(0));
  return child.First(session_id, path);
}

bool TVTRBTreeNodeController::Last(int32_t session_id, TVTRKeyPath& path) {
  const int32_t last = page_.Count() - 1;
  path.Push(page_.PageNo(), last, page_.Count());
  TVTRBTreePage child = page_.Child();
  child.GetPage(session_id, page_.ChildPage(last));
  return child.Last(session_id, path);
}

void TVTRBTreeNodeController::ChildRange(uint8_t* key, TVTRScanComparison mode, int32_t& low, int32_t& high) {
  const int32_t last = page_.Count() - 1;
  low = 0;
  high = last;
  if (key == nullptr || mode == scNone) return;
  TVTRSearchStatus status;
  const auto first_equal = [&] { return FindPosition(false, kNoSession, key, nullptr, 1, status, emFirst); };
  const auto last_equal = [&] { return FindPosition(false, kNoSession, key, nullptr, 1, status, emLast); };
  switch (mode) {
    case scNone:
      break;
    case scEqual: {
      const int32_t first = first_equal();
      if (status == ssFound) {
        low = std::max(first - 1, 0);
        high = RunEnd(false, kNoSession, key, first);
      } else {
        low = high = first - 1;
      }
      break;
    }
    case scBefore:
      high = first_equal() - 1;
      break;
    case scAfter: {
      const int32_t position = last_equal();
      low = status == ssFound ? position : position - 1;
      break;
    }
    case scNotAfter: {
      const int32_t position = last_equal();
      high = status == ssFound ? position : position - 1;
      break;
    }
    case scNotBefore:
      low = first_equal() - 1;
      break;
  }
}

bool TVTRBTreeNodeController::FindKeyInChildren(int32_t session_id, bool forward, TVTRKeyPath& path,
                                                TVTRScanComparison mode, uint8_t* key, int32_t low,
                                                int32_t high) {
  const int32_t step = forward ? 1 : -1;
  // A subtree that held nothing is never searched again in one search.
  PageVisitsScope searched(page_);
  for (int32_t i = forward ? low : high; low <= i && i <= high; i += step) {
    const int32_t child_no = page_.ChildPage(i);
    if (searched.Visits().Contains(child_no)) RaiseCircularLinks(page_.PageNo(), i);
    path.Push(page_.PageNo(), i, page_.Count());
    TVTRBTreePage child = page_.Child();
    child.GetPage(session_id, child_no);
    if (child.FindKey(session_id, forward, path, mode, key)) return true;
    searched.Visits().Enter(child_no);
    path.Pop();
  }
  return false;
}

bool TVTRBTreeNodeController::FindKey(int32_t session_id, bool forward, TVTRKeyPath& path,
                                      TVTRScanComparison mode, uint8_t* key) {
  int32_t low, high;
  ChildRange(key, mode, low, high);
  return FindKeyInChildren(session_id, forward, path, mode, key, low, high);
}

void TVTRBTreeNodeController::GetFirstKey(int32_t session_id, uint8_t* key) {
  TVTRBTreePage child = page_.Child();
  child.GetPage(session_id, page_.ChildPage(0));
  child.GetFirstKey(session_id, key);
}

void TVTRBTreeNodeController::GetLastKey(int32_t session_id, uint8_t* key) {
  TVTRBTreePage child = page_.Child();
  child.GetPage(session_id, page_.ChildPage(page_.Count() - 1));
  child.GetLastKey(session_id, key);
}

void TVTRBTreeNodeController::GetFirstEntry(int32_t session_id, uint8_t* key, uint8_t* value) {
  TVTRBTreePage child = page_.Child();
  child.GetPage(session_id, page_.ChildPage(0));
  child.GetFirstEntry(session_id, key, value);
}

void TVTRBTreeNodeController::GetLastEntry(int32_t session_id, uint8_t* key, uint8_t* value) {
  TVTRBTreePage child = page_.Child();
  child.GetPage(session_id, page_.ChildPage(page_.Count() - 1));
  child.GetLastEntry(session_id, key, value);
}
