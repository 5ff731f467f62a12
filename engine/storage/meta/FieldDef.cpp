#include "engine/storage/meta/FieldDef.h"

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/meta/DefImage.h"
#include "platform/rtl/ArithmeticError.h"

void TVTRFieldDef::Assign(const TVTRMetaObjectDef& source) {
  TVTRMetaObjectDef::Assign(source);
  const auto* field = dynamic_cast<const TVTRFieldDef*>(&source);
  if (!field) return;
  BaseType = field->BaseType;
  DataType = field->DataType;
  Size = field->Size;
  DiskDataSize = field->DiskDataSize;
  MemoryDataSize = field->MemoryDataSize;
  DiskOffset = field->DiskOffset;
  MemoryOffset = field->MemoryOffset;
  DefaultValue = field->DefaultValue;
  BlobCompressionAlgorithm = field->BlobCompressionAlgorithm;
  BlobCompressionMode = field->BlobCompressionMode;
  BlobBlockSize = field->BlobBlockSize;
  AutoincIncrement = field->AutoincIncrement;
  AutoincInitialValue = field->AutoincInitialValue;
  AutoincMinValue = field->AutoincMinValue;
  AutoincMaxValue = field->AutoincMaxValue;
  AutoincCycled = field->AutoincCycled;
}

void TVTRFieldDef::SaveToStream(TStream& stream) const {
  TVTRMetaObjectDef::SaveToStream(stream);
  WriteU8(stream, BaseType, 10170);
  WriteU8(stream, DataType, 10171);
  WriteI32(stream, Size, 10172);
  if (IsBlobBaseType(BaseType)) {
    WriteU8(stream, BlobCompressionAlgorithm, 10175);
    WriteU8(stream, BlobCompressionMode, 10176);
    WriteI32(stream, BlobBlockSize, 10177);
  }
  WriteI64(stream, AutoincIncrement, 30412);
  WriteI64(stream, AutoincInitialValue, 30413);
  WriteI64(stream, AutoincMinValue, 30414);
  WriteI64(stream, AutoincMaxValue, 30415);
  WriteBool(stream, AutoincCycled, 30416);
  DefaultValue.SaveToStream(stream);
}

void TVTRFieldDef::LoadFromStream(TStream& stream) {
  TVTRMetaObjectDef::LoadFromStream(stream);
  BaseType = static_cast<TVTRBaseDataType>(ReadU8(stream, 10187));
  DataType = static_cast<TVTRAdvancedDataType>(ReadU8(stream, 10188));
  Size = ReadI32(stream, 10189);
  if (Size < 0) RaiseDamagedImage(stream, 10189, Size);
  if (IsBlobBaseType(BaseType)) {
    BlobCompressionAlgorithm = ReadU8(stream, 10192);
    BlobCompressionMode = ReadU8(stream, 10193);
    BlobBlockSize = ReadI32(stream, 10194);
  }
  AutoincIncrement = ReadI64(stream, 30407);
  AutoincInitialValue = ReadI64(stream, 30408);
  AutoincMinValue = ReadI64(stream, 30409);
  AutoincMaxValue = ReadI64(stream, 30410);
  AutoincCycled = ReadBool(stream, 30411);
  DefaultValue.Clear();
  DefaultValue.LoadFromStream(stream);
  CalcSizes();
}

void TVTRFieldDef::SetDataType(TVTRAdvancedDataType data_type, int32_t size) {
  DataType = data_type;
  BaseType = AdvancedTypeToBaseType(data_type);
  if (BaseType == bdtUnknown)
    throw EVTRException::CreateFmt(30007, "Unsupported data type '%s'", GetAdvancedTypeName(data_type));
  Size = size;
  CalcSizes();
}

void TVTRFieldDef::CalcSizes() {
  MemoryDataSize = GetBaseTypeDataSize(BaseType, Size);
  DiskDataSize = IsBlobBaseType(BaseType) ? kBlobDiskDataSize : MemoryDataSize;
}

TVTRFieldDef& TVTRFieldDefs::AddFieldDef() {
  return static_cast<TVTRFieldDef&>(InternalAddCreated());
}

namespace {

int32_t CheckedLayoutSize(int64_t size) {
  if (size > std::numeric_limits<int32_t>::max()) throw EIntOverflow();
  return static_cast<int32_t>(size);
}

}  // namespace

void TVTRFieldDefs::CalcOffsets() {
  int64_t disk_offset = GetNullFlagsSize();
  int64_t memory_offset = disk_offset;
  for (const auto& item : items_) {
    auto& field = static_cast<TVTRFieldDef&>(*item);
    field.DiskOffset = CheckedLayoutSize(disk_offset);
    field.MemoryOffset = CheckedLayoutSize(memory_offset);
    disk_offset += field.DiskDataSize;
    memory_offset += field.MemoryDataSize;
  }
  CheckedLayoutSize(disk_offset);
  CheckedLayoutSize(memory_offset);
}

int32_t TVTRFieldDefs::GetRecordBufferSize() const {
  int64_t size = GetNullFlagsSize();
  for (const auto& item : items_) size += static_cast<const TVTRFieldDef&>(*item).MemoryDataSize;
  return CheckedLayoutSize(size);
}

int32_t TVTRFieldDefs::GetDiskRecordSize() const {
  int64_t size = GetNullFlagsSize();
  for (const auto& item : items_) size += static_cast<const TVTRFieldDef&>(*item).DiskDataSize;
  return CheckedLayoutSize(size);
}

std::unique_ptr<TVTRMetaObjectDef> TVTRFieldDefs::CreateDef() const {
  return std::make_unique<TVTRFieldDef>();
}

bool TVTRFieldDefs::Holds(const TVTRMetaObjectDef& def) const {
  return dynamic_cast<const TVTRFieldDef*>(&def) != nullptr;
}
