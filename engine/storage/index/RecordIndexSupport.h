#pragma once
// Helpers the record index's operations share.
#include <algorithm>
#include <cstdint>
#include <optional>

#include "engine/storage/btree/BTreePage.h"
#include "engine/storage/btree/RecordKeyRef.h"
#include "engine/storage/index/RecordIndex.h"

template <typename Operation>
auto TVTRBTreeRecordIndex::WithRoot(int32_t session_id, Operation operation) {
  return WithTreeRoot(Pages(), *key_ref_, session_id, Def.RootPage, operation);
}

// The compact key of a record buffer, for one operation: the key reference
// forgets the buffer again when the key goes.
class BuiltKey {
 public:
  BuiltKey(TVTRRecordKeyRef& key_ref, const uint8_t* record,
           std::optional<TVTRRecordID> stored_as = std::nullopt)
      : key_ref_(key_ref), key_(key_ref.AllocKey()) {
    key_ref_.BuildKey(record, key_.get(), stored_as);
  }
  ~BuiltKey() { key_ref_.ForgetRecord(); }
  BuiltKey(const BuiltKey&) = delete;
  BuiltKey& operator=(const BuiltKey&) = delete;

  uint8_t* Get() const { return key_.get(); }

 private:
  TVTRRecordKeyRef& key_ref_;
  VTRBufferPtr key_;
};

// Compares only the leading columns while it lives.
class ComparedColumnsScope {
 public:
  ComparedColumnsScope(TVTRRecordKeyRef& key_ref, int32_t columns) : key_ref_(key_ref) {
    key_ref_.ComparedColumns = std::clamp(columns, 0, key_ref_.ColumnCount());
  }
  ~ComparedColumnsScope() { key_ref_.ComparedColumns = key_ref_.ColumnCount(); }
  ComparedColumnsScope(const ComparedColumnsScope&) = delete;
  ComparedColumnsScope& operator=(const ComparedColumnsScope&) = delete;

 private:
  TVTRRecordKeyRef& key_ref_;
};
