#pragma once
// Key references: how long the keys of one B-tree are and how two keys
// compare. A key is a fixed-size byte image, one column part after another;
// each column part is a null-flag byte (1 = null) followed by the value bytes.
// Compact keys (stored in pages) may keep only a prefix of a long text column;
// full keys keep every column whole.
#include <cstdint>
#include <vector>

#include "engine/foundation/DataTypes.h"

struct TVTRKeyColumn {
  int32_t KeyOffset = 0;     // column part in a compact key
  int32_t FullOffset = 0;    // column part in a full key
  int32_t RecordOffset = 0;  // the field in a record buffer
  uint32_t FieldNo = 0;      // the field's position, and its null-flag bit
  int32_t KeySize = 0;       // flag + value bytes in a compact key
  int32_t FullSize = 0;      // flag + value bytes in a full key
  int32_t PrefixExtra = 0;   // 2 for a prefix column (two zero bytes after the prefix), else 0
  TVTRBaseDataType DataType = bdtUnknown;
  bool Descending = false;
  bool CaseInsensitive = false;

  bool IsPrefix() const { return PrefixExtra != 0; }
  // Value bytes a prefix column keeps.
  int32_t PrefixLength() const { return KeySize - PrefixExtra - 1; }
};

// Values of leaf entries: a RecordID in a table index, an amount in a page map.
inline constexpr uint16_t kRecordIDValueSize = 6;
inline constexpr uint16_t kAmountValueSize = 2;

class TVTRBTreeKeyRef {
 public:
  TVTRBTreeKeyRef() = default;
  virtual ~TVTRBTreeKeyRef() = default;
  TVTRBTreeKeyRef(const TVTRBTreeKeyRef&) = delete;
  TVTRBTreeKeyRef& operator=(const TVTRBTreeKeyRef&) = delete;

  // -1, 0 or 1 as key1 sorts before, with or after key2 over the first
  // ComparedColumns columns. record_id1 and record_id2 are the stored
  // RecordIDs of the records the keys belong to (nullptr: unknown); with
  // resolve_prefix a tie between two filled prefixes is settled from the
  // records; key1 is then probed in place (one byte is written and
  // restored), so with resolve_prefix it must not point into a page.
  virtual int CompareKeys(uint8_t* key1, const uint8_t* key2, bool resolve_prefix, int32_t session_id,
                          const uint8_t* record_id1, const uint8_t* record_id2) = 0;
  virtual int CompareFullKeys(const uint8_t* full1, const uint8_t* full2) = 0;

  // RecordIDs (size 6) by page number (signed), then slot (unsigned); any
  // other size as unsigned bytes from the first.
  static int CompareEntryValues(const uint8_t* value1, const uint8_t* value2, int32_t size);

  int32_t ColumnCount() const { return static_cast<int32_t>(Columns.size()); }
  bool HasPrefixColumns() const { return KeyLength != FullKeyLength; }

  int32_t KeyLength = 0;
  int32_t FullKeyLength = 0;
  uint16_t ValueSize = 0;
  // Leading columns that comparisons look at; below the column count only
  // while a caller compares a partial key.
  int32_t ComparedColumns = 0;
  std::vector<TVTRKeyColumn> Columns;
};

// Keys of the page maps: one signed i32 page number; leaf values are u16 amounts.
class TVTRPageKeyRef : public TVTRBTreeKeyRef {
 public:
  TVTRPageKeyRef();

  int CompareKeys(uint8_t* key1, const uint8_t* key2, bool resolve_prefix, int32_t session_id,
                  const uint8_t* record_id1, const uint8_t* record_id2) override;
  int CompareFullKeys(const uint8_t* full1, const uint8_t* full2) override;
};
