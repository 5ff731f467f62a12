#pragma once
// TVTRIndex: one index of a table as its index manager and table data use
// it. The B-tree record index (RecordIndex.h) is the one implementation.
//
// Every operation runs under the database's critical section; pages are
// fetched for the given session. Key paths and scan states belong to their
// callers and are only valid while the tree is unchanged.
#include <cstdint>
#include <memory>

#include "engine/storage/base/Cursor.h"
#include "engine/storage/base/NavigationRequest.h"
#include "engine/storage/base/RecordBitmap.h"
#include "engine/storage/base/RecordID.h"
#include "engine/storage/base/ScanSearchCondition.h"
#include "engine/storage/btree/KeyPath.h"
#include "engine/storage/index/IndexPositionCache.h"
#include "engine/storage/meta/IndexDef.h"

class TVTRBaseIndexManager;

// One range scan in index order.
struct TVTRIndexScanState {
  bool Forward = false;  // set by the first successful step
  bool Started = false;
  std::unique_ptr<TVTRKeyPath> EndPath;  // the last entry of the range in scan direction
  TVTRKeyPath Path;
};

class TVTRIndex {
 public:
  explicit TVTRIndex(TVTRBaseIndexManager& manager) : Manager(manager) {}
  virtual ~TVTRIndex() = default;
  TVTRIndex(const TVTRIndex&) = delete;
  TVTRIndex& operator=(const TVTRIndex&) = delete;

  // Both keep a copy of the definition (nothing to copy when given Def itself).
  // CreateIndex makes the index's storage, writes its RootPage into `def`
  // too, and with a cursor enters every record of the table.
  virtual void CreateIndex(TVTRCursor* cursor, TVTRIndexDef& def);
  virtual void DropIndex(int32_t session_id) = 0;
  virtual void EmptyIndex(int32_t session_id) = 0;
  virtual void OpenIndex(const TVTRIndexDef& def);
  virtual void RebuildIndex(TVTRCursor& cursor) = 0;
  // Moves from the request's position (or its Bof or Eof) in index order and
  // reads the record there; the cache, when given, saves the key search.
  virtual void GetRecord(int32_t session_id, NavigationRequest& request, int32_t change_count,
                         TVTRIndexPositionCache* cache) = 0;
  virtual std::unique_ptr<TVTRKeyPath> CreateKeyPath() { return std::make_unique<TVTRKeyPath>(); }
  // The path of a record's entry; `record` holds the record.
  virtual bool FindRecordKey(int32_t session_id, const TVTRRecordID& id, TVTRKeyPath& path,
                             const uint8_t* record) = 0;
  virtual int ComparePaths(const TVTRKeyPath* path1, const TVTRKeyPath* path2) = 0;
  // 1-based number of a record in index order; -1 when it is not in the index.
  virtual int64_t GetRecNo(int32_t session_id, const TVTRRecordID& id, const uint8_t* record) = 0;
  // The record with a 1-based number (numbers below 1 count as 1).
  virtual void SetRecNo(int32_t session_id, TVTRRecordID& id, int64_t rec_no) = 0;
  // Keeps in an index-ordered bitmap only the first record of each key.
  virtual void RemoveDuplicateKeys(int32_t session_id, TVTRRecordBitmap* bitmap) = 0;
  virtual std::unique_ptr<TVTRIndexScanState> CreateScanState() {
    return std::make_unique<TVTRIndexScanState>();
  }
  // One step of a range scan; `id` and `record` give the current record
  // (the scan may continue from it) and `id` receives the record found.
  virtual bool ScanNext(int32_t session_id, bool restart, TVTRIndexScanState* state, TVTRRecordID& id,
                        const uint8_t* record, const TVTRScanSearchCondition* end_bound,
                        const TVTRScanSearchCondition* start_bound, bool forward) = 0;
  // Compares the keys of two records over the first column_count columns.
  virtual int CompareRecordKeys(const uint8_t* record1, const uint8_t* record2, int32_t column_count) = 0;
  // -1 for a lower bound in index order, 1 for an upper bound, 0 otherwise.
  virtual int GetBoundKind(const TVTRScanSearchCondition& bound) = 0;
  // Entries between the two bounds, estimated from the tree's shape.
  virtual int64_t EstimateRangeCount(int32_t session_id, const TVTRScanSearchCondition& bound1,
                                     const TVTRScanSearchCondition& bound2, int64_t total) = 0;
  // Whether a unique or primary index can take the record's key.
  virtual bool IsKeyFree(int32_t session_id, const uint8_t* record) = 0;
  virtual bool IsKeyFreeForUpdate(int32_t session_id, const uint8_t* old_record,
                                  const uint8_t* new_record) = 0;
  // Key upkeep for the cursor's CurrentRecord at CurrentRecordID (and its
  // OldRecord for an update).
  virtual void InsertKey(TVTRCursor& cursor) = 0;
  virtual void DeleteKey(TVTRCursor& cursor) = 0;
  virtual void UpdateKey(TVTRCursor& cursor) = 0;
  // The base of the index's path position numbers.
  virtual int32_t GetFanOut() = 0;
  // Bytes of one leaf entry, key and value; searches weigh index pages by it.
  virtual int32_t GetEntrySize() = 0;
  // The record at a path, followed by entry positions alone.
  virtual void GetRecordIDAtPath(int32_t session_id, const TVTRKeyPath& path, TVTRRecordID& id) = 0;

  TVTRIndexDef Def;  // the index's own copy of its definition
  TVTRBaseIndexManager& Manager;
};
