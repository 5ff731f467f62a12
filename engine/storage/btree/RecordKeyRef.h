#pragma once
// TVTRRecordKeyRef: the keys of a table index, built from record buffers.
//
// Column part of a key (one per index column, in index order):
//   compact key, whole column:  1 null flag, MemoryDataSize value bytes
//   compact key, prefix column: 1 null flag, prefix-length value bytes, 2 zero bytes
//   full key:                   1 null flag, MemoryDataSize value bytes
// A column is a prefix column when its index column keeps fewer bytes
// (MaxIndexedSize) than the field holds. The value bytes are the field's bytes
// as they stand in the record buffer; a null column has flag 1 and zero bytes.
// Nulls sort first in an ascending column and last in a descending one.
#include <cstdint>
#include <optional>

#include "engine/foundation/ValueBuffer.h"
#include "engine/storage/base/RecordID.h"
#include "engine/storage/btree/KeyRef.h"
#include "engine/storage/meta/FieldDef.h"
#include "engine/storage/meta/IndexDef.h"

// How a table index reads the records its keys come from.
class TVTRKeyRecordSource {
 public:
  virtual ~TVTRKeyRecordSource() = default;
  // Bytes of one record buffer of the table.
  virtual int32_t RecordBufferSize() = 0;
  // Reads the stored record into `record`; false when there is none.
  virtual bool ReadRecord(int32_t session_id, const TVTRRecordID& id, uint8_t* record) = 0;
};

class TVTRRecordKeyRef : public TVTRBTreeKeyRef {
 public:
  explicit TVTRRecordKeyRef(TVTRKeyRecordSource* records = nullptr) : records_(records) {}

  // The columns of an index over the table's fields (nullptr: the table has
  // no field manager, 20044); no fields raise 20045, an index column naming
  // no field 20043. Value size 6: leaf values are RecordIDs.
  void Init(const TVTRIndexDef& index_def, const TVTRFieldDefs* field_defs);
  // Appends the descriptor of one index column over a field of the record
  // buffer; a column keeping fewer bytes than the field is a prefix column.
  void AddColumn(uint32_t field_no, int32_t record_offset, int32_t memory_data_size, TVTRBaseDataType type,
                 int32_t max_indexed_size, bool descending, bool case_insensitive);
  void SetRecordSource(TVTRKeyRecordSource* records) { records_ = records; }
  // Drops the record buffer BuildKey remembered, once it may go away.
  void ForgetRecord() {
    last_record_ = nullptr;
    last_record_id_.reset();
  }

  // Zeroed key buffers of KeyLength and FullKeyLength bytes.
  VTRBufferPtr AllocKey() const;
  VTRBufferPtr AllocFullKey() const;

  // Writes the compact key of a record buffer and remembers the buffer for
  // prefix resolution. stored_as is the RecordID the record is stored under
  // when the caller knows it: the entry of that RecordID is then compared
  // with this buffer rather than with the stored copy, which an update may
  // already have changed. The buffer must outlive the comparisons that use it.
  void BuildKey(const uint8_t* record, uint8_t* key, std::optional<TVTRRecordID> stored_as = std::nullopt);
  void BuildFullKey(const uint8_t* record, uint8_t* full) const;
  // The full key of a stored record; 20170 when the record cannot be read.
  void ReadFullKey(const TVTRRecordID& id, uint8_t* full, int32_t session_id);

  int CompareKeys(uint8_t* key1, const uint8_t* key2, bool resolve_prefix, int32_t session_id,
                  const uint8_t* record_id1, const uint8_t* record_id2) override;
  int CompareFullKeys(const uint8_t* full1, const uint8_t* full2) override;

 private:
  // Compares the full keys of the two records; the first one is the last
  // built record buffer when record_id1 is nullptr.
  int CompareRecords(int32_t session_id, const uint8_t* record_id1, const uint8_t* record_id2);
  void FullKeyOf(const uint8_t* record_id, uint8_t* full, int32_t session_id);

  TVTRKeyRecordSource* records_;
  const uint8_t* last_record_ = nullptr;
  std::optional<TVTRRecordID> last_record_id_;
};
