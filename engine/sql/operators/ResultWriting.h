#pragma once
// Writing rows into a result table through its cursor, without an
// allocation per row: one record buffer for all rows, values written in place.
#include <cstdint>
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

// The neighbour test of a DISTINCT node while its result table fills: a row
// repeats the previous one when every distinct column is equal, NULL equal
// to NULL. Equal rows that are not neighbours are refused by the unique
// distinct index, whose check finds NULL keys equal too.
class TVTRDistinctNeighbours {
 public:
  explicit TVTRDistinctNeighbours(TVTRAO& node);

  // Reads the node's current row; true when it repeats the previous one.
  // The row's values become the previous ones.
  bool Repeats();

 private:
  TVTRAO& node_;
  std::vector<TVTRVariant> previous_, current_;
  bool has_previous_ = false;
};
