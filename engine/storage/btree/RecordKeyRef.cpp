#include "engine/storage/btree/RecordKeyRef.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/ValueCompare.h"
#include "engine/foundation/containers/BufferBits.h"
#include "platform/rtl/Collation.h"
#include "platform/rtl/ScopeExit.h"

namespace {

template <typename T>
int Order(const uint8_t* a, const uint8_t* b, int32_t size, bool& done) {
  done = size >= static_cast<int32_t>(sizeof(T));
  if (!done) return 0;
  T x, y;
  std::memcpy(&x, a, sizeof x);
  std::memcpy(&y, b, sizeof y);
  return x < y ? -1 : y < x ? 1 : 0;
}

// The text of a code page 874 value part: up to its terminator or the part's end.
std::string_view AnsiText(const uint8_t* value, int32_t size) {
  const auto* text = reinterpret_cast<const char*>(value);
  return {text, strnlen(text, static_cast<size_t>(size))};
}

// Two non-null values of a column, compared in place: keys are compared on
// every step of every search. Fixed-size numbers compare here in the order
// the value comparison gives them, text goes straight to the collation, and
// other types, and numbers cut short, to the same-type value comparison.
int CompareValues(const TVTRKeyColumn& column, const uint8_t* a, const uint8_t* b, int32_t size) {
  bool done = false;
  int r = 0;
  switch (column.DataType) {
    case bdtFixedChar:
    case bdtString:
      r = CollateText(AnsiText(a, size), AnsiText(b, size), column.CaseInsensitive);
      return r < 0 ? -1 : r > 0 ? 1 : 0;
    case bdtShortInt:
      r = Order<int8_t>(a, b, size, done);
      break;
    case bdtSmallInt:
      r = Order<int16_t>(a, b, size, done);
      break;
    case bdtInteger:
    case bdtDate:
    case bdtTime:
      r = Order<int32_t>(a, b, size, done);
      break;
    case bdtLargeInt:
      r = Order<int64_t>(a, b, size, done);
      break;
    case bdtByte:
      r = Order<uint8_t>(a, b, size, done);
      break;
    case bdtWord:
      r = Order<uint16_t>(a, b, size, done);
      break;
    case bdtCardinal:
      r = Order<uint32_t>(a, b, size, done);
      break;
    case bdtDouble:
    case bdtCurrency:
      r = Order<double>(a, b, size, done);
      break;
    default:
      break;
  }
  if (done) return r;
  const TVTRCompareOptions options{column.CaseInsensitive, -1};
  // A memo part compares through its common type, as the value comparison does.
  if (column.DataType == bdtMemo) {
    return CompareValueBuffersSign({a, size, bdtMemo, false}, {b, size, bdtMemo, false}, options);
  }
  switch (CompareSameType(a, size, b, size, column.DataType, options)) {
    case crLess:
      return -1;
    case crGreater:
      return 1;
    default:
      return 0;
  }
}

// One column part: the flag byte, then `size` value bytes. Nulls sort first.
int CompareColumn(const TVTRKeyColumn& column, const uint8_t* a, const uint8_t* b, int32_t size) {
  const bool null_a = a[0] == 1, null_b = b[0] == 1;
  if (null_a || null_b) return null_a == null_b ? 0 : null_a ? -1 : 1;
  return CompareValues(column, a + 1, b + 1, size);
}

// Whether key1's text of two equal prefix parts filled its prefix, so that
// the texts may still differ: lengthening it by one character past the prefix
// changes the comparison only then.
bool FillsPrefix(const TVTRKeyColumn& column, uint8_t* a, const uint8_t* b) {
  uint8_t& probe = a[1 + column.PrefixLength()];
  probe = 1;
  const ScopeExit clear([&probe]() noexcept { probe = 0; });
  return CompareColumn(column, a, b, column.KeySize - 1) != 0;
}

// Writes one column part of `part_size` bytes, `copied` of them from the field.
void WriteColumn(const TVTRKeyColumn& column, const uint8_t* record, uint8_t* part, int32_t part_size,
                 int32_t copied) {
  const bool is_null = GetBufferBit(static_cast<int32_t>(column.FieldNo), record);
  part[0] = is_null ? 1 : 0;
  if (is_null) copied = 0;
  std::memcpy(part + 1, record + column.RecordOffset, static_cast<size_t>(copied));
  std::memset(part + 1 + copied, 0, static_cast<size_t>(part_size - 1 - copied));
}

VTRBufferPtr AllocZeroed(int32_t size) {
  return VTRBufferPtr(static_cast<uint8_t*>(EngineMemoryManager().AllocMem(std::max(size, 1))));
}

}  // namespace

void TVTRRecordKeyRef::Init(const TVTRIndexDef& index_def, const TVTRFieldDefs* field_defs) {
  if (field_defs == nullptr) throw EVTRException(20044, "Pointer is nil");
  if (field_defs->GetCount() == 0) throw EVTRException(20045, "Pointer is nil");
  Columns.clear();
  KeyLength = FullKeyLength = 0;
  for (const TVTRIndexColumn& index_column : index_def.Columns) {
    const int32_t field_no = field_defs->IndexOf(index_column.FieldName);
    if (field_no < 0) {
      throw EVTRException::CreateFmt(20043, "Cannot find index field '%s'", index_column.FieldName);
    }
    const TVTRFieldDef& field = field_defs->GetFieldDef(field_no);
    AddColumn(static_cast<uint32_t>(field_no), field.MemoryOffset, field.MemoryDataSize, field.BaseType,
              index_column.MaxIndexedSize, index_column.Descending, index_column.CaseInsensitive);
  }
  ComparedColumns = ColumnCount();
  ValueSize = kRecordIDValueSize;
}

void TVTRRecordKeyRef::AddColumn(uint32_t field_no, int32_t record_offset, int32_t memory_data_size,
                                 TVTRBaseDataType type, int32_t max_indexed_size, bool descending,
                                 bool case_insensitive) {
  TVTRKeyColumn column;
  column.KeyOffset = KeyLength;
  column.FullOffset = FullKeyLength;
  column.RecordOffset = record_offset;
  column.FieldNo = field_no;
  // A key keeps at least one byte of a column, whatever a damaged definition says.
  max_indexed_size = std::max(max_indexed_size, 1);
  if (max_indexed_size < memory_data_size) {
    column.PrefixExtra = 2;
    column.KeySize = max_indexed_size + 3;
  } else {
    column.KeySize = memory_data_size + 1;
  }
  column.FullSize = memory_data_size + 1;
  column.DataType = type;
  column.Descending = descending;
  column.CaseInsensitive = case_insensitive;
  Columns.push_back(column);
  KeyLength += column.KeySize;
  FullKeyLength += column.FullSize;
  ComparedColumns = ColumnCount();
}

VTRBufferPtr TVTRRecordKeyRef::AllocKey() const {
  return AllocZeroed(KeyLength);
}

VTRBufferPtr TVTRRecordKeyRef::AllocFullKey() const {
  return AllocZeroed(FullKeyLength);
}

void TVTRRecordKeyRef::BuildKey(const uint8_t* record, uint8_t* key, std::optional<TVTRRecordID> stored_as) {
  for (const TVTRKeyColumn& column : Columns) {
    WriteColumn(column, record, key + column.KeyOffset, column.KeySize,
                column.KeySize - column.PrefixExtra - 1);
  }
  last_record_ = record;
  last_record_id_ = stored_as;
}

void TVTRRecordKeyRef::BuildFullKey(const uint8_t* record, uint8_t* full) const {
  for (const TVTRKeyColumn& column : Columns) {
    WriteColumn(column, record, full + column.FullOffset, column.FullSize, column.FullSize - 1);
  }
}

void TVTRRecordKeyRef::ReadFullKey(const TVTRRecordID& id, uint8_t* full, int32_t session_id) {
  if (records_ == nullptr) throw EVTRException(20170, "Cannot retreive record for index");
  VTRBufferPtr record = AllocZeroed(records_->RecordBufferSize());
  if (!records_->ReadRecord(session_id, id, record.get())) {
    throw EVTRException(20170, "Cannot retreive record for index");
  }
  BuildFullKey(record.get(), full);
}

int TVTRRecordKeyRef::CompareKeys(uint8_t* key1, const uint8_t* key2, bool resolve_prefix, int32_t session_id,
                                  const uint8_t* record_id1, const uint8_t* record_id2) {
  const int32_t compared = std::min(ComparedColumns, ColumnCount());
  for (int32_t i = 0; i < compared; ++i) {
    const TVTRKeyColumn& column = Columns[static_cast<size_t>(i)];
    uint8_t* a = key1 + column.KeyOffset;
    const uint8_t* b = key2 + column.KeyOffset;
    int r = CompareColumn(column, a, b, column.KeySize - 1);
    if (r == 0 && column.IsPrefix() && FillsPrefix(column, a, b)) {
      // The prefixes do not decide and the records must. Without them the
      // keys tie: the leaves order such keys by the records, not by the
      // columns behind this one, so those columns say nothing here.
      return resolve_prefix && record_id2 != nullptr ? CompareRecords(session_id, record_id1, record_id2) : 0;
    }
    if (column.Descending) r = -r;
    if (r != 0) return r;
  }
  return 0;
}

int TVTRRecordKeyRef::CompareFullKeys(const uint8_t* full1, const uint8_t* full2) {
  const int32_t compared = std::min(ComparedColumns, ColumnCount());
  for (int32_t i = 0; i < compared; ++i) {
    const TVTRKeyColumn& column = Columns[static_cast<size_t>(i)];
    int r = CompareColumn(column, full1 + column.FullOffset, full2 + column.FullOffset, column.FullSize - 1);
    if (column.Descending) r = -r;
    if (r != 0) return r;
  }
  return 0;
}

int TVTRRecordKeyRef::CompareRecords(int32_t session_id, const uint8_t* record_id1,
                                     const uint8_t* record_id2) {
  VTRBufferPtr full1 = AllocFullKey();
  VTRBufferPtr full2 = AllocFullKey();
  FullKeyOf(record_id1, full1.get(), session_id);
  FullKeyOf(record_id2, full2.get(), session_id);
  return CompareFullKeys(full1.get(), full2.get());
}

void TVTRRecordKeyRef::FullKeyOf(const uint8_t* record_id, uint8_t* full, int32_t session_id) {
  const bool own = record_id == nullptr || (last_record_id_ && LoadRecordID(record_id) == *last_record_id_);
  if (!own) {
    ReadFullKey(LoadRecordID(record_id), full, session_id);
  } else if (last_record_ != nullptr) {
    BuildFullKey(last_record_, full);
  } else {
    throw EVTRException(20170, "Cannot retreive record for index");
  }
}
