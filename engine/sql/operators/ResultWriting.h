#pragma once
// Writing rows into a result table through its cursor, without an
// allocation per row: one record buffer for all rows, values written in place.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/foundation/VTRVariant.h"
#include "engine/storage/base/Cursor.h"

class TVTRAO;

// A record buffer of the cursor, given back when it goes.
class TVTRRecordBuffer {
 public:
  explicit TVTRRecordBuffer(TVTRCursor& cursor) : cursor_(cursor), buffer_(cursor.AllocRecordBuffer()) {}
  ~TVTRRecordBuffer() { cursor_.FreeRecordBuffer(buffer_); }
  TVTRRecordBuffer(const TVTRRecordBuffer&) = delete;
  TVTRRecordBuffer& operator=(const TVTRRecordBuffer&) = delete;
  uint8_t* get() const { return buffer_; }

 private:
  TVTRCursor& cursor_;
  uint8_t* buffer_;
};

// Writes the value into table field `field_no` of the cursor's current
// record: a BLOB through a stream, anything else in place.
void WriteField(TVTRCursor& cursor, TVTRVariant& value, int32_t field_no);

// Posts the cursor's current record as a new one; a refusal raises
// EVTREngineError with the cursor's result code.
void PostNewRecord(TVTRCursor& cursor);

// The duplicate test of a DISTINCT node while its result table fills: a row
// repeats an earlier one when its previous neighbour or any row already in
// the table has the same values in the distinct columns, NULL equal to NULL.
// The table look-up searches the unique distinct index by key.
class TVTRDistinctProbe {
 public:
  // `visible` maps the result table's fields to the node's columns.
  TVTRDistinctProbe(TVTRAO& node, TVTRCursor& cursor, const std::string& index_name,
                    const std::vector<int32_t>& visible);
  ~TVTRDistinctProbe();
  TVTRDistinctProbe(const TVTRDistinctProbe&) = delete;
  TVTRDistinctProbe& operator=(const TVTRDistinctProbe&) = delete;

  // Reads the node's current row; true when it repeats an earlier one. The
  // row's values become the previous ones.
  bool Repeats();

 private:
  bool EqualsPrevious() const;
  bool InTable();

  TVTRAO& node_;
  TVTRCursor& cursor_;
  std::vector<int32_t> fields_;  // the result field of each distinct column
  std::vector<TVTRVariant> previous_, current_;
  bool has_previous_ = false;
  TVTRRecordBuffer key_;
  TVTRRecordBuffer found_;
  std::string restored_index_;
};
