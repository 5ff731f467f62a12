#pragma once
// TVTRBTreePage: one page of a B-tree (page type 12) while a tree operation
// works on it. The B-tree layout fills the page's data area:
//
//   offset  size  field
//   0       1     root flag: 1 on the tree's root page
//   1       1     leaf flag: 1 on a leaf, 0 on an inner node
//   2       4     i32 previous page on the same level, -1 for none
//   6       4     i32 next page on the same level, -1 for none
//   10      1     tree mark: 1 from the root leaf on, copied with headers; never read
//   11      1     record-ID flag: 1 when every entry ends in a 6-byte RecordID (never written)
//   12      2     u16 key length
//   14      2     u16 entry count
//   16      2     i16 extra header size E (written 0)
//   18 + E        entries, entry i at 18 + E + i x entry size
//
// entry = key (key length bytes), value, [6-byte RecordID with the flag]
// value = leaf: the key reference's value size; node: i32 child page number
//
// Entries are sorted by key (then value). In a node the key of entry i >= 1
// is not larger than any key of child i's subtree and not smaller than any of
// child i - 1's; entry 0's key is never compared. Every level is a doubly
// linked list of pages, across parents. The root keeps its page number for
// the life of the tree.
//
// A page object is short-lived: it holds its page from GetPage or NewPage
// until ReleasePage or its destruction, and hands every tree operation to the
// controller for its leaf flag.
#include <cstdint>
#include <cstring>
#include <unordered_set>

#include "engine/foundation/Invariant.h"
#include "engine/storage/pager/ByteOrder.h"
#include "engine/storage/pager/LinkCycleGuard.h"
#include "engine/storage/pager/Page.h"
#include "engine/storage/pager/PageManager.h"
#include "engine/storage/btree/BTreeControllers.h"
#include "engine/storage/btree/KeyRef.h"

inline constexpr int32_t kBTreePageHeaderSize = 18;
inline constexpr int32_t kNodeValueSize = 4;
inline constexpr int32_t kEntryRecordIDSize = 6;

// Offsets of the header's fields in the data area.
namespace btree_field {
inline constexpr int32_t kRoot = 0;
inline constexpr int32_t kLeaf = 1;
inline constexpr int32_t kPrev = 2;
inline constexpr int32_t kNext = 6;
inline constexpr int32_t kTreeMark = 10;
inline constexpr int32_t kRecordIDFlag = 11;
inline constexpr int32_t kKeyLength = 12;
inline constexpr int32_t kCount = 14;
inline constexpr int32_t kExtra = 16;
}  // namespace btree_field

struct TVTRBTreePageHeader {
  bool Root = false;
  bool Leaf = false;
  int32_t PrevPage = -1;
  int32_t NextPage = -1;
  uint8_t TreeMark = 0;
  uint8_t RecordIDFlag = 0;
  uint16_t KeyLength = 0;
  uint16_t Count = 0;
  int16_t ExtraSize = 0;
};

void EncodeBTreePageHeader(const TVTRBTreePageHeader& header, uint8_t* data);
TVTRBTreePageHeader DecodeBTreePageHeader(const uint8_t* data);

// 20032: the links of a damaged tree lead back to a page.
[[noreturn]] void RaiseCircularLinks(int32_t page_no, int32_t entry_no);
// 20033 (previous) or 20034 (next): a page's link on its level is not the
// neighbour its parent gives it.
[[noreturn]] void RaiseBrokenLink(int32_t native_error, int32_t page_no, int32_t entry_no);

// The pages one walk over several subtrees has entered. The subtrees of an
// intact tree are disjoint, so a page entered twice means nodes that share a
// child, which would make the walk repeat itself without end.
class TVTRPageVisits {
 public:
  bool Contains(int32_t page_no) const { return pages_.contains(page_no); }
  // False when the page was entered before.
  bool Enter(int32_t page_no) { return pages_.insert(page_no).second; }

 private:
  std::unordered_set<int32_t> pages_;
};

class TVTRBTreePage : public TVTRPageController {
 public:
  // depth counts the pages above this one in the current descent; a descent
  // deeper than a key path can record means the links run in a circle.
  // visits, when given, records the pages of the walk the page object is part of.
  TVTRBTreePage(TVTRPageManager& manager, TVTRBTreeKeyRef& key_ref, int32_t depth = 0,
                TVTRPageVisits* visits = nullptr);
  // Releases a held page without reporting errors.
  ~TVTRBTreePage();
  TVTRBTreePage(const TVTRBTreePage&) = delete;
  TVTRBTreePage& operator=(const TVTRBTreePage&) = delete;

  // Page objects of the same tree and walk for a page one level down or on
  // the same level; they hold no page yet.
  TVTRBTreePage Child() const { return TVTRBTreePage(manager_, key_ref_, depth_ + 1, visits_); }
  TVTRBTreePage Sibling() const { return TVTRBTreePage(manager_, key_ref_, depth_, visits_); }

  // A new TableIndex page of the session with a cleared header.
  void NewPage(int32_t session_id);
  // An existing page. A layout that does not fit the page or the tree's keys
  // raises 20028.
  void GetPage(int32_t session_id, int32_t page_no);
  // GetPage one level deeper, for the next step of a descent that keeps one page object.
  void DescendTo(int32_t session_id, int32_t page_no) {
    ++depth_;
    GetPage(session_id, page_no);
  }
  // The leaf a walk along the leaf level's links reaches next: 20032 when the
  // links have come back to a page the walk passed, 20028 for a page that is
  // no leaf.
  void StepToLeaf(int32_t session_id, int32_t page_no, LinkCycleGuard& walk);
  void ReleasePage();
  void DeletePage(int32_t session_id, int32_t page_no) { manager_.DeletePage(session_id, page_no); }

  TVTRPageManager& Manager() const { return manager_; }
  TVTRBTreeKeyRef& KeyRef() const { return key_ref_; }
  int32_t Depth() const { return depth_; }
  TVTRPageVisits* Visits() const { return visits_; }
  void SetVisits(TVTRPageVisits* visits) { visits_ = visits; }

  void ClearHeader();
  void InitRootLeaf();

  // The data area of the held page (inline: every search step reads it).
  uint8_t* Data() const {
    VTR_ASSERT(Page() != nullptr && Page()->UseCount() > 0);
    return Page()->Buffer() + manager_.PageHeaderSize();
  }
  int32_t DataSize() const { return manager_.PageDataSize(); }

  bool Root() const { return Data()[btree_field::kRoot] != 0; }
  void SetRoot(bool root) { Data()[btree_field::kRoot] = root ? 1 : 0; }
  bool Leaf() const { return Data()[btree_field::kLeaf] != 0; }
  void SetLeaf(bool leaf) { Data()[btree_field::kLeaf] = leaf ? 1 : 0; }
  int32_t PrevPage() const { return LoadI32(Data() + btree_field::kPrev); }
  void SetPrevPage(int32_t page_no) { StoreI32(Data() + btree_field::kPrev, page_no); }
  int32_t NextPage() const { return LoadI32(Data() + btree_field::kNext); }
  void SetNextPage(int32_t page_no) { StoreI32(Data() + btree_field::kNext, page_no); }
  uint8_t RecordIDFlag() const { return Data()[btree_field::kRecordIDFlag]; }
  int32_t KeyLength() const { return LoadU16(Data() + btree_field::kKeyLength); }
  int32_t Count() const { return LoadU16(Data() + btree_field::kCount); }
  void SetCount(int32_t count) { StoreU16(Data() + btree_field::kCount, static_cast<uint16_t>(count)); }
  int32_t ExtraSize() const { return LoadI16(Data() + btree_field::kExtra); }

  int32_t ValueSize() const { return Leaf() ? key_ref_.ValueSize : kNodeValueSize; }
  int32_t EntrySize() const {
    return KeyLength() + ValueSize() + (RecordIDFlag() == 1 ? kEntryRecordIDSize : 0);
  }
  int32_t HeaderSize() const { return kBTreePageHeaderSize + ExtraSize(); }
  uint8_t* Entry(int32_t i) const { return Data() + HeaderSize() + i * EntrySize(); }
  uint8_t* EntryKey(int32_t i) const { return Entry(i); }
  uint8_t* EntryValue(int32_t i) const { return Entry(i) + KeyLength(); }
  void SetEntryKey(int32_t i, const uint8_t* key) {
    std::memcpy(EntryKey(i), key, static_cast<size_t>(KeyLength()));
  }
  void SetEntryValue(int32_t i, const uint8_t* value) {
    std::memcpy(EntryValue(i), value, static_cast<size_t>(ValueSize()));
  }
  // The child page of node entry i.
  int32_t ChildPage(int32_t i) const { return LoadI32(EntryValue(i)); }

  // This page takes the source's header and its entries start .. start + n - 1.
  void CopyEntries(const TVTRBTreePage& source, int32_t start, int32_t n);
  // The source's entries start .. start + n - 1 after or before this page's own.
  void AppendEntries(const TVTRBTreePage& source, int32_t start, int32_t n);
  void PrependEntries(const TVTRBTreePage& source, int32_t start, int32_t n);

  // The tree operations, run by the controller of the page's kind.
  TVTRBTreePageController& Controller() {
    return Leaf() ? static_cast<TVTRBTreePageController&>(leaf_) : node_;
  }
  void Insert(int32_t session_id, uint8_t* key, TVTRKeyPath& path, const uint8_t* record_id) {
    Controller().Insert(session_id, key, path, record_id);
  }
  bool Delete(int32_t session_id, uint8_t* key, TVTRKeyPath& path, const uint8_t* record_id) {
    return Controller().Delete(session_id, key, path, record_id);
  }
  bool FindEntry(int32_t session_id, uint8_t* key, TVTRKeyPath& path, const uint8_t* record_id) {
    return Controller().FindEntry(session_id, key, path, record_id);
  }
  bool First(int32_t session_id, TVTRKeyPath& path) { return Controller().First(session_id, path); }
  bool Last(int32_t session_id, TVTRKeyPath& path) { return Controller().Last(session_id, path); }
  // False at once on a page without entries.
  bool FindKey(int32_t session_id, bool forward, TVTRKeyPath& path, TVTRScanComparison mode, uint8_t* key) {
    return Count() > 0 && Controller().FindKey(session_id, forward, path, mode, key);
  }
  void FreePages(int32_t session_id, bool keep_root) { Controller().FreePages(session_id, keep_root); }
  void CheckIntegrity(int32_t session_id, TVTRKeyPath& path) {
    Controller().CheckIntegrity(session_id, path);
  }
  void GetFirstKey(int32_t session_id, uint8_t* key) { Controller().GetFirstKey(session_id, key); }
  void GetLastKey(int32_t session_id, uint8_t* key) { Controller().GetLastKey(session_id, key); }
  void GetFirstEntry(int32_t session_id, uint8_t* key, uint8_t* value) {
    Controller().GetFirstEntry(session_id, key, value);
  }
  void GetLastEntry(int32_t session_id, uint8_t* key, uint8_t* value) {
    Controller().GetLastEntry(session_id, key, value);
  }
  // Node operations; on a leaf they raise 20020 and 20024.
  void InsertChild(int32_t session_id, const uint8_t* key, TVTRKeyPath& path, int32_t child_page_no);
  void RemoveChild(int32_t session_id, TVTRKeyPath& path, bool merged_into_prior, int32_t receiver_page_no);

 private:
  void Attach(TVTRPage* page);
  void CheckLayout() const;

  TVTRPageManager& manager_;
  TVTRBTreeKeyRef& key_ref_;
  int32_t depth_;
  TVTRPageVisits* visits_;
  HeldPage held_;
  TVTRBTreeLeafController leaf_;
  TVTRBTreeNodeController node_;
};

// The record of visited pages of a walk that starts at a page object: its
// own, unless the page object is part of a walk that has one already.
class PageVisitsScope {
 public:
  explicit PageVisitsScope(TVTRBTreePage& page) : page_(page), owner_(page.Visits() == nullptr) {
    if (owner_) page_.SetVisits(&own_);
  }
  ~PageVisitsScope() {
    if (owner_) page_.SetVisits(nullptr);
  }
  PageVisitsScope(const PageVisitsScope&) = delete;
  PageVisitsScope& operator=(const PageVisitsScope&) = delete;

  TVTRPageVisits& Visits() { return *page_.Visits(); }

 private:
  TVTRBTreePage& page_;
  bool owner_;
  TVTRPageVisits own_;
};

// Runs `operation` on the root page of the tree whose root is root_no.
template <typename Operation>
auto WithTreeRoot(TVTRPageManager& manager, TVTRBTreeKeyRef& key_ref, int32_t session_id, int32_t root_no,
                  Operation operation) {
  TVTRBTreePage root(manager, key_ref);
  root.GetPage(session_id, root_no);
  return operation(root);
}
