#include "engine/storage/base/RecordBitmap.h"

#include <limits>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/table/TableData.h"
#include "platform/rtl/ArithmeticError.h"

namespace {

TVTRTableData& CheckedTable(TVTRTableData* table_data) {
  if (!table_data) throw EVTRException(10425, "Nil pointer occured");
  return *table_data;
}

// Bit maps count their bits in 32 bits.
int32_t BitNo(int64_t position) {
  if (position < 0 || position > std::numeric_limits<int32_t>::max()) throw ERangeError();
  return static_cast<int32_t>(position);
}

}  // namespace

TVTRRecordBitmap::TVTRRecordBitmap(TVTRTableData* table_data) : TableData(CheckedTable(table_data)) {}

void TVTRRecordBitmap::SetSize(int64_t size) {
  Bits.SetSize(BitNo(size));
}

bool TVTRRecordBitmap::IsStale() const {
  return TableData.GetChangeCount() != Stamp;
}

void TVTRRecordBitmap::Reset() {
  Complete = false;
  Bits.SetSize(0);
}

void TVTRRecordBitmap::AddRecord(const TVTRRecordID& id) {
  if (IndexOrdered)
    Reset();
  else
    Mark(TableData.RecordIDToPosition(id), true);
}

void TVTRRecordBitmap::RemoveRecord(const TVTRRecordID& id) {
  if (IndexOrdered)
    Reset();
  else
    Mark(TableData.RecordIDToPosition(id), false);
}

void TVTRRecordBitmap::AddPath(int32_t index_id, const TVTRKeyPath& path) {
  Mark(TableData.PathToPosition(index_id, path), true);
}

void TVTRRecordBitmap::RemovePath(int32_t index_id, const TVTRKeyPath& path) {
  Mark(TableData.PathToPosition(index_id, path), false);
}

bool TVTRRecordBitmap::HasPath(int32_t index_id, const TVTRKeyPath& path) const {
  const int64_t position = TableData.PathToPosition(index_id, path);
  return position >= 0 && position < Bits.Size() && Bits.GetBit(static_cast<int32_t>(position));
}

int64_t TVTRRecordBitmap::GetRecNo(const TVTRRecordID& id) const {
  return 1 + int64_t{Bits.SetBitOrdinal(BitNo(TableData.RecordIDToPosition(id)))};
}

int64_t TVTRRecordBitmap::GetRecNoOfPath(int32_t index_id, const TVTRKeyPath& path) const {
  return 1 + int64_t{Bits.SetBitOrdinal(BitNo(TableData.PathToPosition(index_id, path)))};
}

TVTRRecordID TVTRRecordBitmap::GetRecordIDByRecNo(int64_t rec_no) const {
  return TableData.PositionToRecordID(PositionOfRecNo(rec_no));
}

void TVTRRecordBitmap::GetPathByRecNo(int32_t index_id, TVTRKeyPath& path, int64_t rec_no) const {
  TableData.PositionToPath(index_id, PositionOfRecNo(rec_no), path);
}

bool TVTRRecordBitmap::FindRecord(bool from_start, bool forward, TVTRRecordID& found,
                                  const TVTRRecordID& current) const {
  int64_t position;
  if (!Find(from_start, forward, from_start ? 0 : TableData.RecordIDToPosition(current), position))
    return false;
  found = TableData.PositionToRecordID(position);
  return true;
}

bool TVTRRecordBitmap::FindPath(bool from_start, bool forward, int32_t index_id, TVTRKeyPath& found,
                                const TVTRKeyPath& current) const {
  int64_t position;
  if (!Find(from_start, forward, from_start ? 0 : TableData.PathToPosition(index_id, current), position))
    return false;
  TableData.PositionToPath(index_id, position, found);
  return true;
}

void TVTRRecordBitmap::Mark(int64_t position, bool value) {
  const int32_t bit = BitNo(position);
  if (bit >= Bits.Size()) {
    if (!value) return;
    Bits.SetSize(BitNo(position + 1));
  }
  Bits.SetBit(bit, value);
}

bool TVTRRecordBitmap::Find(bool from_start, bool forward, int64_t current, int64_t& found) const {
  int32_t position;
  if (!Bits.FindNext(from_start, forward, position, BitNo(current))) return false;
  found = position;
  return true;
}

int64_t TVTRRecordBitmap::PositionOfRecNo(int64_t rec_no) const {
  if (rec_no < 1 || rec_no > Bits.SetBitsCount())
    throw EVTRException::CreateFmt(10428, "Invalid bit no = %d, number of bits = %d", rec_no - 1,
                                   Bits.SetBitsCount());
  return Bits.SetBitPosition(static_cast<int32_t>(rec_no - 1));
}
