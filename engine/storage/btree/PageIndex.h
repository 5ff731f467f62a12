#pragma once
// Page maps: B-trees that list the pages a table owns, keyed by i32 page
// number (signed order, each at most once) with a u16 amount per page, so a
// leaf entry is 6 bytes (4 + 2) and a node entry 8 (4 + 4). The record page
// map counts the records on each record page; the BLOB page map counts the
// bytes used on each shared BLOB page. A page leaves its map when its amount
// returns to 0.
//
// The root page number is not kept in the map's pages: the owning manager
// stores it with the table's metadata and gives it back with SetRoot.
// Callers hold the database's critical section.
#include <cstdint>

#include "engine/storage/pager/PageManager.h"
#include "engine/storage/btree/KeyPath.h"
#include "engine/storage/btree/KeyRef.h"

class TVTRBTreePageIndex {
 public:
  explicit TVTRBTreePageIndex(TVTRPageManager& page_manager) : page_manager_(page_manager) {}
  virtual ~TVTRBTreePageIndex() = default;
  TVTRBTreePageIndex(const TVTRBTreePageIndex&) = delete;
  TVTRBTreePageIndex& operator=(const TVTRBTreePageIndex&) = delete;

  // Whether a page holding `stored` can take `wanted` more.
  virtual bool HasRoom(uint16_t stored, int32_t wanted) const = 0;

  // A new empty tree; its root page is marked modified.
  void CreateTree(int32_t session_id);
  // Deletes every page of the tree; the map then has no tree.
  void DropTree(int32_t session_id);
  // Deletes every page but the root, which becomes an empty root leaf.
  void EmptyTree(int32_t session_id);
  void SetRoot(int32_t page_no) { root_ = page_no; }
  int32_t Root() const { return root_; }

  // The first or last entry, on a cleared path; 20115 and 20116 without a tree.
  bool First(int32_t session_id, TVTRKeyPath& path);
  bool Last(int32_t session_id, TVTRKeyPath& path);
  // One entry on; false at the end or the beginning.
  bool Next(int32_t session_id, TVTRKeyPath& path);
  bool Prior(int32_t session_id, TVTRKeyPath& path);
  // The entry of a page, on a cleared path; 20117 without a tree.
  bool Find(int32_t session_id, int32_t page_no, TVTRKeyPath& path);
  // The page number and the amount of the entry a path ends at.
  int32_t GetKey(int32_t session_id, const TVTRKeyPath& path);
  uint16_t GetValue(int32_t session_id, const TVTRKeyPath& path);
  void SetValue(int32_t session_id, const TVTRKeyPath& path, uint16_t value);

  // A page whose amount passes HasRoom, looking at the last leaf (from its
  // end) and then the first leaf (from its start) only, which favours the
  // highest-numbered pages.
  bool FindPageWithRoom(int32_t session_id, int32_t amount, int32_t& page_no);
  // Enters a page with the amount, or adds the amount to its entry (20106
  // when it has no room; 20118 without a tree).
  void AddAmount(int32_t session_id, int32_t amount, int32_t page_no);
  // Takes the amount off the page's entry and removes the entry when nothing
  // is left, also when more is taken than stored (20110 without a tree, 20111
  // for a page not in the map, 20112 for a stored amount of 0).
  void SubtractAmount(int32_t session_id, int32_t amount, int32_t page_no);

 protected:
  TVTRPageManager& page_manager_;
  TVTRPageKeyRef key_ref_;

 private:
  // One pass of FindPageWithRoom over the leaf a path ends at.
  bool FindRoomInLeaf(int32_t session_id, const TVTRKeyPath& path, bool backward, int32_t amount,
                      int32_t& page_no);

  int32_t root_ = -1;
};

class TVTRBTreeRecordPageIndex : public TVTRBTreePageIndex {
 public:
  using TVTRBTreePageIndex::TVTRBTreePageIndex;

  bool HasRoom(uint16_t stored, int32_t wanted) const override { return stored < Capacity; }

  bool FindPageWithRoom(int32_t session_id, int32_t& page_no) {
    return TVTRBTreePageIndex::FindPageWithRoom(session_id, 1, page_no);
  }
  void AddRecord(int32_t session_id, int32_t page_no) { AddAmount(session_id, 1, page_no); }
  void RemoveRecord(int32_t session_id, int32_t page_no) { SubtractAmount(session_id, 1, page_no); }

  // The lowest and highest record pages; false for an empty map.
  bool FirstPage(int32_t session_id, int32_t& page_no);
  bool LastPage(int32_t session_id, int32_t& page_no);
  // The record page after or before a page of the map (20104, 20105 for a
  // page not in it, or when the map's order is damaged); false at the end.
  bool NextPage(int32_t session_id, int32_t page_no, int32_t& next_page_no);
  bool PriorPage(int32_t session_id, int32_t page_no, int32_t& prior_page_no);

  // The page and 0-based ordinal on it of the record with 0-based number
  // `number` in storage order (numbers below 0 count as 0); 20113 past the
  // last record.
  void LocateRecordNo(int32_t session_id, int32_t& page_no, int32_t& ordinal, int64_t number);
  // The 0-based number of the record with the ordinal on a page (20114 for a
  // page not in the map).
  void GetRecordNo(int32_t session_id, int32_t page_no, int64_t& number, int32_t ordinal);

  // Records a record page holds; set when the table is laid out.
  int32_t Capacity = 0;
};

class TVTRBTreeBlobPageIndex : public TVTRBTreePageIndex {
 public:
  using TVTRBTreePageIndex::TVTRBTreePageIndex;

  bool HasRoom(uint16_t stored, int32_t wanted) const override {
    return int64_t{stored} + wanted < page_manager_.PageDataSize() - 2;
  }
};
