#pragma once
// Field definitions: one column of a table, and the list that fixes the two
// record layouts, the record buffer and the shorter stored record.
//
// Field definition image (after the base image of MetaObjectDef.h):
//   u8   BaseType                  (write 10170 / read 10187)
//   u8   DataType                  (10171 / 10188)
//   i32  Size                      (10172 / 10189)
//   only for the BLOB base types 18, 19 and 20:
//   u8   BlobCompressionAlgorithm  (10175 / 10192)
//   u8   BlobCompressionMode       (10176 / 10193)
//   i32  BlobBlockSize             (10177 / 10194)
//   i64  AutoincIncrement          (30412 / 30407)
//   i64  AutoincInitialValue       (30413 / 30408)
//   i64  AutoincMinValue           (30414 / 30409)
//   i64  AutoincMaxValue           (30415 / 30410)
//   u8   AutoincCycled             (30416 / 30411)
//   var  DefaultValue, the value's own stream image
// Sizes and offsets are not stored: reading recomputes the sizes, and the
// list's CalcOffsets the offsets.
#include <cstdint>
#include <limits>

#include "engine/foundation/DataTypes.h"
#include "engine/foundation/VTRVariant.h"
#include "engine/storage/meta/MetaObjectDef.h"

// Bytes of a BLOB field in a stored record: its BLOB reference.
inline constexpr int32_t kBlobDiskDataSize = 6;
inline constexpr int32_t kDefaultBlobBlockSize = 102400;

class TVTRFieldDef : public TVTRMetaObjectDef {
 public:
  // Copies everything but FieldNo, offsets and sizes included.
  void Assign(const TVTRMetaObjectDef& source) override;
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;

  // Sets DataType, its BaseType and Size, then the sizes. A column type
  // without a base type raises 30007.
  void SetDataType(TVTRAdvancedDataType data_type, int32_t size);
  // MemoryDataSize from BaseType and Size; DiskDataSize 6 for BLOB types,
  // else the same.
  void CalcSizes();

  TVTRBaseDataType BaseType = bdtUnknown;
  TVTRAdvancedDataType DataType = adtUnknown;
  int32_t Size = 0;  // characters of text types, bytes of byte types, else 0
  int32_t DiskDataSize = 0;
  int32_t MemoryDataSize = 0;
  int32_t DiskOffset = 0;
  int32_t MemoryOffset = 0;
  // In a cursor's list: the number of the table field the entry shows.
  int32_t FieldNo = 0;
  TVTRVariant DefaultValue;
  uint8_t BlobCompressionAlgorithm = 0;
  uint8_t BlobCompressionMode = 0;
  int32_t BlobBlockSize = kDefaultBlobBlockSize;
  int64_t AutoincIncrement = 1;  // 0 counts as 1
  int64_t AutoincInitialValue = 0;
  int64_t AutoincMinValue = 0;
  int64_t AutoincMaxValue = std::numeric_limits<int64_t>::max();  // 0: no maximum
  bool AutoincCycled = false;
};

class TVTRFieldDefs : public TVTRMetaObjectDefs {
 public:
  TVTRFieldDef& AddFieldDef();
  TVTRFieldDef& GetFieldDef(int32_t index) const { return static_cast<TVTRFieldDef&>(GetItem(index)); }
  TVTRFieldDef* GetFieldDefByName(std::string_view name) const {
    return static_cast<TVTRFieldDef*>(FindByName(name));
  }

  // Lays the fields out in list order behind the null flags, in both layouts.
  // A layout larger than 2 GiB raises EIntOverflow.
  void CalcOffsets();
  // Null-flag bytes: one bit per field.
  int32_t GetNullFlagsSize() const { return (GetCount() + 7) / 8; }
  // Null flags plus the sizes of all fields; 0 for an empty list.
  int32_t GetRecordBufferSize() const;
  int32_t GetDiskRecordSize() const;

 protected:
  std::string_view ClassName() const override { return "TVTRFieldDefs"; }
  std::unique_ptr<TVTRMetaObjectDef> CreateDef() const override;
  bool Holds(const TVTRMetaObjectDef& def) const override;
};
