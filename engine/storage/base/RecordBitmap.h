#pragma once
// TVTRRecordBitmap: the records a cursor sees (through its range, filter,
// search condition or distinct rule), one bit per record position of its
// table. Positions are storage positions, or key-path positions of an index
// in an index-ordered bitmap; the table turns records and paths into
// positions. When and how a bitmap is filled is the table's business.
#include <cstdint>

#include "engine/foundation/containers/VTRBitsArray.h"
#include "engine/storage/base/RecordID.h"

class TVTRKeyPath;
class TVTRTableData;

class TVTRRecordBitmap {
 public:
  // A nil table raises 10425.
  explicit TVTRRecordBitmap(TVTRTableData* table_data);

  void SetSize(int64_t size);
  // Empties the bitmap; it is no longer complete.
  void Reset();
  void SetAll() { Bits.SetAllBits(); }
  // The table changed since the bitmap was emptied for its last fill.
  bool IsStale() const;
  int64_t GetRecordCount() const { return Bits.SetBitsCount(); }

  // In an index-ordered bitmap a change cannot be kept up in place: the
  // bitmap is reset instead, to be filled again. Otherwise the bitmap grows
  // to hold the record's position.
  void AddRecord(const TVTRRecordID& id);
  void RemoveRecord(const TVTRRecordID& id);
  // The same for a key path of index `index_id`, without the reset.
  void AddPath(int32_t index_id, const TVTRKeyPath& path);
  void RemovePath(int32_t index_id, const TVTRKeyPath& path);
  bool HasPath(int32_t index_id, const TVTRKeyPath& path) const;

  // Record numbers count the marked positions from 1; the record must be
  // marked. A number past the marked records raises 10428.
  int64_t GetRecNo(const TVTRRecordID& id) const;
  int64_t GetRecNoOfPath(int32_t index_id, const TVTRKeyPath& path) const;
  TVTRRecordID GetRecordIDByRecNo(int64_t rec_no) const;
  void GetPathByRecNo(int32_t index_id, TVTRKeyPath& path, int64_t rec_no) const;

  // The first (from_start) or next marked record in the direction; the
  // current record is not converted when starting from an end.
  bool FindRecord(bool from_start, bool forward, TVTRRecordID& found, const TVTRRecordID& current) const;
  bool FindPath(bool from_start, bool forward, int32_t index_id, TVTRKeyPath& found,
                const TVTRKeyPath& current) const;

  TVTRBitsArray Bits;
  TVTRTableData& TableData;
  bool Complete = false;      // holds the whole view and may be used
  bool IndexOrdered = false;  // positions are key-path positions
  int32_t Stamp = -1;         // the table's change count when last emptied for a fill

 private:
  void Mark(int64_t position, bool value);
  bool Find(bool from_start, bool forward, int64_t current, int64_t& found) const;
  int64_t PositionOfRecNo(int64_t rec_no) const;
};
