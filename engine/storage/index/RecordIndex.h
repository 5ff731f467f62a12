#pragma once
// TVTRBTreeRecordIndex: a table index as one B-tree whose leaf entries map a
// compact key to the RecordID of a record. Entries are ordered by key, then
// by RecordID, so an ordinary index holds any number of equal keys and every
// (key, RecordID) pair at most once. Nulls compare equal to each other, so
// in a unique index two keys with nulls in the same columns collide.
//
// The tree lives in the page manager the index manager picks (the temporary
// one for a temporary index); its root page is Def.RootPage, -1 while the
// tree does not exist, and never moves.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/storage/pager/PageManager.h"
#include "engine/storage/btree/KeyPlace.h"
#include "engine/storage/btree/RecordKeyRef.h"
#include "engine/storage/index/Index.h"
#include "engine/storage/index/IndexTable.h"

class TVTRBTreeRecordIndex : public TVTRIndex {
 public:
  explicit TVTRBTreeRecordIndex(TVTRBaseIndexManager& manager);

  void CreateIndex(TVTRCursor* cursor, TVTRIndexDef& def) override;
  void DropIndex(int32_t session_id) override;
  void EmptyIndex(int32_t session_id) override;
  void OpenIndex(const TVTRIndexDef& def) override;
  void RebuildIndex(TVTRCursor& cursor) override;
  void GetRecord(int32_t session_id, NavigationRequest& request, int32_t change_count,
                 TVTRIndexPositionCache* cache) override;
  bool FindRecordKey(int32_t session_id, const TVTRRecordID& id, TVTRKeyPath& path,
                     const uint8_t* record) override;
  int ComparePaths(const TVTRKeyPath* path1, const TVTRKeyPath* path2) override;
  int64_t GetRecNo(int32_t session_id, const TVTRRecordID& id, const uint8_t* record) override;
  void SetRecNo(int32_t session_id, TVTRRecordID& id, int64_t rec_no) override;
  void RemoveDuplicateKeys(int32_t session_id, TVTRRecordBitmap* bitmap) override;
  bool ScanNext(int32_t session_id, bool restart, TVTRIndexScanState* state, TVTRRecordID& id,
                const uint8_t* record, const TVTRScanSearchCondition* end_bound,
                const TVTRScanSearchCondition* start_bound, bool forward) override;
  int CompareRecordKeys(const uint8_t* record1, const uint8_t* record2, int32_t column_count) override;
  int GetBoundKind(const TVTRScanSearchCondition& bound) override;
  int64_t EstimateRangeCount(int32_t session_id, const TVTRScanSearchCondition& bound1,
                             const TVTRScanSearchCondition& bound2, int64_t total) override;
  bool IsKeyFree(int32_t session_id, const uint8_t* record) override;
  bool IsKeyFreeForUpdate(int32_t session_id, const uint8_t* old_record, const uint8_t* new_record) override;
  void InsertKey(TVTRCursor& cursor) override;
  void DeleteKey(TVTRCursor& cursor) override;
  void UpdateKey(TVTRCursor& cursor) override;
  int32_t GetFanOut() override;
  int32_t GetEntrySize() override;
  void GetRecordIDAtPath(int32_t session_id, const TVTRKeyPath& path, TVTRRecordID& id) override;

  // Path operations: First and Last clear the path (20121, 20122 without a
  // tree); Next and Prior move it one entry and are false at the ends.
  bool First(int32_t session_id, TVTRKeyPath& path);
  bool Last(int32_t session_id, TVTRKeyPath& path);
  bool Next(int32_t session_id, TVTRKeyPath& path);
  bool Prior(int32_t session_id, TVTRKeyPath& path);
  // The RecordID of the entry a path ends at (20068 for an empty path).
  void GetValueAtPath(int32_t session_id, const TVTRKeyPath& path, TVTRRecordID& id);

  // Raises 20028 to 20034 or 20194 at the first fault of the tree.
  void CheckIntegrity(int32_t session_id);

 private:
  TVTRIndexTable& Table();
  TVTRPageManager& Pages();
  // The key reference for Def, over the table's fields.
  void MakeKeyRef();
  // Raises `native_error` "Invalid page number" while the tree does not exist.
  void CheckRoot(int32_t native_error) const;
  // Runs `operation` on the root page object.
  template <typename Operation>
  auto WithRoot(int32_t session_id, Operation operation);
  // The key of a bound's key buffer over its KeyFieldCount columns, searched
  // with FindKey into a cleared path.
  bool FindBound(int32_t session_id, const TVTRScanSearchCondition& bound, bool forward, TVTRKeyPath& path,
                 int32_t compared_columns);

  // Whether the key is free in a unique index; remembers where an absent key
  // would go for the insert that follows the check.
  bool ProbeFreeKey(int32_t session_id, uint8_t* key);
  // Inserts at the place the last check left for this key, when it still
  // holds; the place is used at most once.
  bool InsertAtCheckedPlace(int32_t session_id, uint8_t* key, const uint8_t* record_id);

  std::unique_ptr<TVTRRecordKeyRef> key_ref_;
  TVTRKeyPlace checked_place_;
  std::vector<uint8_t> checked_key_;  // the key of checked_place_; empty when there is none
};
