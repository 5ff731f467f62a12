#pragma once
// The B-tree algorithms, run on one page by the controller of its kind: a
// B+-tree with all entries in leaves, doubly linked pages on every level,
// splits at the middle, merges with a neighbour when a page falls below half
// its space (no borrowing), and a root page that never moves.
//
// Every operation starts at the root with a key path, onto which it records
// the route it takes from the path's working level on. Splits and merges find
// a page's parent as the level recorded just above it. A "record_id" is the
// leaf value to match (a RecordID in a table index, an amount in a page map),
// or nullptr when only the key matters.
//
// Callers hold the database's critical section; pages are fetched for the
// given session through the page cache and released on every path.
#include <cstdint>

#include "engine/storage/base/ScanSearchCondition.h"

class TVTRBTreePage;
class TVTRKeyPath;

enum TVTRSearchStatus : uint8_t {
  ssFound = 1,
  ssNotFound = 2,  // the position is where the key would be inserted
  ssEmpty = 5,
};

// Which of several entries with an equal key a search returns.
enum TVTREqualMode : uint8_t {
  emFirst = 0,
  emLast = 1,
  emAny = 2,
};

class TVTRBTreePageController {
 public:
  explicit TVTRBTreePageController(TVTRBTreePage& page) : page_(page) {}
  virtual ~TVTRBTreePageController() = default;
  TVTRBTreePageController(const TVTRBTreePageController&) = delete;
  TVTRBTreePageController& operator=(const TVTRBTreePageController&) = delete;

  // Compares key and record_id with entry `entry`: a leaf with the entry's
  // value (the key is taken as equal), a node with the first entry of the
  // entry's subtree.
  virtual int CompareEntryRecordID(bool resolve_prefix, int32_t session_id, int32_t entry,
                                   const uint8_t* record_id, uint8_t* key) = 0;
  // Adds the entry (key, record_id) next to any equal one; splits overfull pages.
  virtual void Insert(int32_t session_id, uint8_t* key, TVTRKeyPath& path, const uint8_t* record_id) = 0;
  // Removes the exact entry; merges pages that fall below half. False when
  // there is no such entry.
  virtual bool Delete(int32_t session_id, uint8_t* key, TVTRKeyPath& path, const uint8_t* record_id) = 0;
  // Deletes every page of the subtree, the root too unless keep_root.
  virtual void FreePages(int32_t session_id, bool keep_root) = 0;
  // Raises 20028 to 20034 or 20194 at the first fault of order or links.
  virtual void CheckIntegrity(int32_t session_id, TVTRKeyPath& path) = 0;
  // The exact entry (key, record_id); a leaf also finds record_id alone when key is nullptr.
  virtual bool FindEntry(int32_t session_id, uint8_t* key, TVTRKeyPath& path, const uint8_t* record_id) = 0;
  virtual bool First(int32_t session_id, TVTRKeyPath& path) = 0;
  virtual bool Last(int32_t session_id, TVTRKeyPath& path) = 0;
  // The first (forward) or last entry in index order that satisfies the mode.
  virtual bool FindKey(int32_t session_id, bool forward, TVTRKeyPath& path, TVTRScanComparison mode,
                       uint8_t* key) = 0;
  // Copies of the first or last entry of the subtree.
  virtual void GetFirstKey(int32_t session_id, uint8_t* key) = 0;
  virtual void GetLastKey(int32_t session_id, uint8_t* key) = 0;
  virtual void GetFirstEntry(int32_t session_id, uint8_t* key, uint8_t* value) = 0;
  virtual void GetLastEntry(int32_t session_id, uint8_t* key, uint8_t* value) = 0;

  // Key against entry `entry`'s key, the entry's value standing for its record.
  int CompareEntryKey(bool resolve_prefix, int32_t session_id, int32_t entry, uint8_t* key);
  // Binary search from position `low`: the position of an equal entry (by
  // key, then by record_id when given), or where the key would go.
  int32_t FindPosition(bool resolve_prefix, int32_t session_id, uint8_t* key, const uint8_t* record_id,
                       int32_t low, TVTRSearchStatus& status, TVTREqualMode equal_mode);
  bool HasRoomForEntry() const;
  bool IsOverfull() const;
  bool IsUnderfull() const;
  // Both pages' entries fit into one page. A page without entries fits anywhere.
  bool CanMergeWith(const TVTRBTreePage& other) const;
  // Grows the page buffer past the page when it is full; the caller splits
  // then. Both mark the page modified.
  void InsertEntryAt(const uint8_t* key, const uint8_t* value, int32_t position);
  // 20025 on a page without entries.
  void RemoveEntryAt(int32_t position);
  // The exact entry on a leaf.
  bool LocateEntry(int32_t session_id, uint8_t* key, const uint8_t* record_id, int32_t& position);

  void SplitPage(int32_t session_id, TVTRKeyPath& path);
  // Merges the page into a neighbour and deletes it; the root never merges.
  bool TryMerge(int32_t session_id, TVTRKeyPath& path);

 protected:
  void Split(int32_t session_id, TVTRKeyPath& path);
  void SplitRoot(int32_t session_id);
  bool TryMergeWith(int32_t session_id, TVTRKeyPath& path, int32_t sibling_no);
  void MergeIntoPrior(int32_t session_id, TVTRKeyPath& path, TVTRBTreePage& prior);
  void MergeIntoNext(int32_t session_id, TVTRKeyPath& path, TVTRBTreePage& next);
  // The first and the last entry of the run of entries whose key equals the
  // key of the entry at `position`.
  int32_t RunStart(bool resolve_prefix, int32_t session_id, uint8_t* key, int32_t low, int32_t position);
  int32_t RunEnd(bool resolve_prefix, int32_t session_id, uint8_t* key, int32_t position);
  // Raises 20028 for a leaf without entries where one is needed.
  void CheckNotEmpty() const;

  TVTRBTreePage& page_;
};

class TVTRBTreeLeafController final : public TVTRBTreePageController {
 public:
  using TVTRBTreePageController::TVTRBTreePageController;

  int CompareEntryRecordID(bool resolve_prefix, int32_t session_id, int32_t entry, const uint8_t* record_id,
                           uint8_t* key) override;
  void Insert(int32_t session_id, uint8_t* key, TVTRKeyPath& path, const uint8_t* record_id) override;
  bool Delete(int32_t session_id, uint8_t* key, TVTRKeyPath& path, const uint8_t* record_id) override;
  void FreePages(int32_t session_id, bool keep_root) override;
  void CheckIntegrity(int32_t session_id, TVTRKeyPath& path) override;
  bool FindEntry(int32_t session_id, uint8_t* key, TVTRKeyPath& path, const uint8_t* record_id) override;
  bool First(int32_t session_id, TVTRKeyPath& path) override;
  bool Last(int32_t session_id, TVTRKeyPath& path) override;
  bool FindKey(int32_t session_id, bool forward, TVTRKeyPath& path, TVTRScanComparison mode,
               uint8_t* key) override;
  void GetFirstKey(int32_t session_id, uint8_t* key) override;
  void GetLastKey(int32_t session_id, uint8_t* key) override;
  void GetFirstEntry(int32_t session_id, uint8_t* key, uint8_t* value) override;
  void GetLastEntry(int32_t session_id, uint8_t* key, uint8_t* value) override;

 private:
  // The position FindKey settles on, or -1.
  int32_t FindKeyPosition(int32_t session_id, bool forward, TVTRScanComparison mode, uint8_t* key);
};

class TVTRBTreeNodeController final : public TVTRBTreePageController {
 public:
  using TVTRBTreePageController::TVTRBTreePageController;

  int CompareEntryRecordID(bool resolve_prefix, int32_t session_id, int32_t entry, const uint8_t* record_id,
                           uint8_t* key) override;
  void Insert(int32_t session_id, uint8_t* key, TVTRKeyPath& path, const uint8_t* record_id) override;
  bool Delete(int32_t session_id, uint8_t* key, TVTRKeyPath& path, const uint8_t* record_id) override;
  void FreePages(int32_t session_id, bool keep_root) override;
  void CheckIntegrity(int32_t session_id, TVTRKeyPath& path) override;
  bool FindEntry(int32_t session_id, uint8_t* key, TVTRKeyPath& path, const uint8_t* record_id) override;
  bool First(int32_t session_id, TVTRKeyPath& path) override;
  bool Last(int32_t session_id, TVTRKeyPath& path) override;
  bool FindKey(int32_t session_id, bool forward, TVTRKeyPath& path, TVTRScanComparison mode,
               uint8_t* key) override;
  void GetFirstKey(int32_t session_id, uint8_t* key) override;
  void GetLastKey(int32_t session_id, uint8_t* key) override;
  void GetFirstEntry(int32_t session_id, uint8_t* key, uint8_t* value) override;
  void GetLastEntry(int32_t session_id, uint8_t* key, uint8_t* value) override;

  // Adds the child after the one recorded for this node in the path (at the
  // end while the node has at most one entry); a null key is all zeros.
  void InsertChild(int32_t session_id, const uint8_t* key, TVTRKeyPath& path, int32_t child_page_no);
  // Removes the child recorded for this node in the path, whose entries went
  // to its previous page (merged_into_prior) or to its next page,
  // receiver_page_no, and repairs the separators above. A node left without
  // entries merges away; a root left with one child takes the child's place.
  void RemoveChild(int32_t session_id, TVTRKeyPath& path, bool merged_into_prior, int32_t receiver_page_no);
  void CollapseRoot(int32_t session_id);
  // The children that may hold entries satisfying the mode.
  void ChildRange(uint8_t* key, TVTRScanComparison mode, int32_t& low, int32_t& high);
  bool FindKeyInChildren(int32_t session_id, bool forward, TVTRKeyPath& path, TVTRScanComparison mode,
                         uint8_t* key, int32_t low, int32_t high);

 private:
  // The child to descend into for an exact entry.
  int32_t ChooseChild(int32_t session_id, uint8_t* key, const uint8_t* record_id);
  // Writes `key` over the separator of the first ancestor that bounds the
  // recorded route from the left (merged_into_prior) or right.
  void RepairSeparator(int32_t session_id, TVTRKeyPath& path, bool merged_into_prior, const uint8_t* key);
};
