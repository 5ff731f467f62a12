#pragma once
// TVTRIndexPositionCache: where a cursor last read a record in index order,
// so that the next step from the same record skips the key search while the
// table is unchanged.
#include <cstdint>

#include "engine/storage/base/RecordID.h"
#include "engine/storage/btree/KeyPath.h"

class TVTRIndexPositionCache {
 public:
  // Whether the cache holds the position of `id` in index `index_id`, taken
  // at the table's change count `change_count`.
  bool Holds(int32_t index_id, const TVTRRecordID& id, int32_t change_count) const {
    return IndexID != -1 && IndexID == index_id && RecordID == id && ChangeCount == change_count;
  }

  TVTRKeyPath KeyPath;
  int32_t IndexID = -1;  // -1: empty
  TVTRRecordID RecordID;
  int32_t ChangeCount = -1;  // -1: empty
};
