#pragma once
// TVTRBaseFieldManager: a table's field definitions and the two record
// layouts they fix, conversion between them, defaults, and the autoincrement
// counters.
//
// Record buffer (memory layout), n fields, B = (n + 7) div 8:
//   0             B                 null flags: bit i mod 8 of byte i div 8 set = field i is null
//   MemoryOffset  MemoryDataSize    each field, in list order without gaps; a
//                                   BLOB field takes 10 bytes: its 6-byte
//                                   reference and 4 bytes of bookkeeping
// Stored record (disk layout): the same null flags, then each field at its
// DiskOffset with DiskDataSize bytes; a BLOB field keeps only its reference.
//
// Autoincrement counters image:
//   0   4      i32 N, the number of counters
//   4   8 × N  the counters, i64, in field order
#include <cstdint>
#include <span>
#include <vector>

#include "engine/storage/base/Session.h"
#include "engine/storage/meta/FieldDef.h"

class TVTRTableData;

inline constexpr int32_t kAutoincCountSize = 4;
inline constexpr int32_t kAutoincValueSize = 8;

class TVTRBaseFieldManager {
 public:
  explicit TVTRBaseFieldManager(TVTRTableData* table_data) : TableData(table_data) {}

  // The fields of a new table: a copy of `defs` (a name met twice raises
  // 10424), laid out, with fresh counters. A default value longer than its
  // field raises 20056 and leaves the manager as it was.
  void DefineFields(const TVTRFieldDefs& defs);
  // The field definitions' image, then layout and fresh counters.
  void LoadMetadata(TStream& stream);
  void SaveMetadata(TStream& stream) const { FieldDefs.SaveToStream(stream); }
  // Lays the fields out; required after every change of FieldDefs.
  void CalcOffsets();
  // Each autoincrement field's counter starts at its AutoincInitialValue,
  // every other entry at 0.
  void InitAutoincValues();

  // Bytes of the counters image.
  int32_t GetAutoincValuesSize() const;
  // Read or write the counters image at `offset` and advance `offset` past
  // it. An image that does not fit the buffer raises 20164.
  void LoadAutoincValues(std::span<const uint8_t> buffer, int32_t& offset);
  void SaveAutoincValues(std::span<uint8_t> buffer, int32_t& offset) const;

  // `record` holds FieldDefs.GetRecordBufferSize() bytes, `stored`
  // FieldDefs.GetDiskRecordSize() bytes. Reading a stored record zeroes the
  // bookkeeping bytes of BLOB fields.
  void MemoryToDiskRecord(const uint8_t* record, uint8_t* stored) const;
  void DiskToMemoryRecord(const uint8_t* stored, uint8_t* record) const;
  // Null flags and the stored part of every field (values of null fields too,
  // BLOB fields by their reference) are equal, byte for byte.
  bool RecordsEqual(const uint8_t* a, const uint8_t* b) const;
  // Whether a BLOB field exists; the first one must have a positive block
  // size, else 10421.
  bool HasBlobFields() const;

  // Puts every non-null default into its field of `record` and clears the
  // field's null flag. A default longer than its field raises 20056.
  void ApplyDefaults(uint8_t* record) const;
  // Fills the autoincrement fields of a new record: null ones get the next
  // value, given ones raise the counter to their value.
  void ApplyAutoincs(TVTRBaseSession& session, uint8_t* record);
  // Advances the counter of field `field_no` by its step and returns it.
  // Passing the field's maximum, or the range of the field's type, raises
  // 20160 (the counter stays advanced, so later calls fail too) unless the
  // field cycles, when the counter restarts at AutoincMinValue. Field numbers
  // outside the fields raise 30402, outside the counters 30403.
  int64_t GetNextAutoincValue(int32_t field_no);
  // GetNextAutoincValue, remembered in the session as the field's last value.
  int64_t NextAutoincValue(TVTRBaseSession& session, int32_t field_no);
  // The last value this session drew for the field; none raises 30012.
  int64_t GetLastAutoincValue(const TVTRBaseSession& session, int32_t field_no) const;
  // Raises the counter to `value` when that is greater, remembering it in
  // the session.
  void UpdateAutoincIfGreater(TVTRBaseSession& session, int32_t field_no, int64_t value);

  TVTRFieldDefs FieldDefs;
  TVTRTableData* TableData;  // the owner; not owned
  std::vector<int64_t> AutoincValues;

 private:
  // A stretch of bytes that both layouts hold alike.
  struct CopyRun {
    int32_t memory_offset;
    int32_t disk_offset;
    int32_t length;
  };

  void CheckFieldNo(int32_t field_no) const;
  void RememberLastValue(TVTRBaseSession& session, int32_t field_no, int64_t value) const;

  std::vector<CopyRun> copy_runs_;  // null flags and fields, adjacent stretches merged
  bool runs_cover_record_ = true;   // the record buffer has no bytes outside the runs
};
