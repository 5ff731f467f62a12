#include "engine/storage/meta/ConstraintDef.h"

#include "engine/foundation/VTRExcept.h"

namespace {

constexpr TVTRConstraintTargetCodes kNotNullWrite{10240,          10241,          10242,
                                                  {10243, 10244}, {10245, 10246}, {10247, 10248}};
constexpr TVTRConstraintTargetCodes kNotNullRead{10249,          10250,          10251,
                                                 {10252, 10253}, {10254, 10255}, {10256, 10257}};
constexpr TVTRConstraintTargetCodes kCheckWrite{10227,          10228,          10229,
                                                {10221, 10222}, {10223, 10224}, {10225, 10226}};
constexpr TVTRConstraintTargetCodes kCheckRead{10230,          10231,          10232,
                                               {10233, 10234}, {10235, 10236}, {10237, 10238}};
constexpr TVTRConstraintTargetCodes kUniqueWrite{30313,          30314,          30318,
                                                 {30315, 30316}, {30317, 30318}, {30323, 30324}};
constexpr TVTRConstraintTargetCodes kUniqueRead{30303,          30304,          30317,
                                                {30305, 30306}, {30307, 30308}, {30321, 30322}};

// The smallest stored key column: the ID and a zero prefix.
constexpr int32_t kMinKeyColumnImageSize = 4 + 4;
// The smallest stored constraint: its type byte and the base image.
constexpr int32_t kMinConstraintImageSize = 1 + kMinDefImageSize;

}  // namespace

void TVTRConstraintDef::Assign(const TVTRMetaObjectDef& source) {
  TVTRMetaObjectDef::Assign(source);
  const auto* constraint = dynamic_cast<const TVTRConstraintDef*>(&source);
  if (!constraint) return;
  SpareName = constraint->SpareName;
  SpareID = constraint->SpareID;
  TableName = constraint->TableName;
  TableID = constraint->TableID;
  TargetName = constraint->TargetName;
  TargetID = constraint->TargetID;
}

void TVTRConstraintDef::SaveTarget(TStream& stream, const TVTRConstraintTargetCodes& codes,
                                   bool wide_prefix) const {
  WriteI32(stream, SpareID, codes.spare_id);
  WriteI32(stream, TableID, codes.table_id);
  WriteI32(stream, TargetID, codes.target_id);
  const auto write_name = wide_prefix ? WritePrefixed32ShortString : WritePrefixed8ShortString;
  write_name(stream, SpareName, codes.spare_name);
  write_name(stream, TableName, codes.table_name);
  write_name(stream, TargetName, codes.target_name);
}

void TVTRConstraintDef::LoadTarget(TStream& stream, const TVTRConstraintTargetCodes& codes,
                                   bool wide_prefix) {
  SpareID = ReadI32(stream, codes.spare_id);
  TableID = ReadI32(stream, codes.table_id);
  TargetID = ReadI32(stream, codes.target_id);
  const auto read_name = wide_prefix ? ReadPrefixed32ShortString : ReadPrefixed8ShortString;
  SpareName = read_name(stream, codes.spare_name);
  TableName = read_name(stream, codes.table_name);
  TargetName = read_name(stream, codes.target_name);
}

void TVTRConstraintDefNotNull::SaveToStream(TStream& stream) const {
  TVTRMetaObjectDef::SaveToStream(stream);
  SaveTarget(stream, kNotNullWrite, false);
}

void TVTRConstraintDefNotNull::LoadFromStream(TStream& stream) {
  TVTRMetaObjectDef::LoadFromStream(stream);
  LoadTarget(stream, kNotNullRead, false);
}

void TVTRConstraintDefCheck::Assign(const TVTRMetaObjectDef& source) {
  TVTRConstraintDef::Assign(source);
  if (const auto* check = dynamic_cast<const TVTRConstraintDefCheck*>(&source)) {
    MinValue = check->MinValue;
    MaxValue = check->MaxValue;
  }
}

void TVTRConstraintDefCheck::SaveToStream(TStream& stream) const {
  TVTRMetaObjectDef::SaveToStream(stream);
  SaveTarget(stream, kCheckWrite, false);
  MinValue.SaveToStream(stream);
  MaxValue.SaveToStream(stream);
}

void TVTRConstraintDefCheck::LoadFromStream(TStream& stream) {
  TVTRMetaObjectDef::LoadFromStream(stream);
  LoadTarget(stream, kCheckRead, false);
  MinValue.LoadFromStream(stream);
  MaxValue.LoadFromStream(stream);
}

void TVTRConstraintDefUnique::Assign(const TVTRMetaObjectDef& source) {
  TVTRConstraintDef::Assign(source);
  if (const auto* unique = dynamic_cast<const TVTRConstraintDefUnique*>(&source))
    KeyColumns = unique->KeyColumns;
}

void TVTRConstraintDefUnique::SaveToStream(TStream& stream) const {
  TVTRMetaObjectDef::SaveToStream(stream);
  SaveTarget(stream, kUniqueWrite, true);
  WriteI32(stream, static_cast<int32_t>(KeyColumns.size()), 30319);
  for (const TVTRConstraintKeyColumn& column : KeyColumns) {
    WriteI32(stream, column.FieldID, 30320);
    WritePrefixed32ShortString(stream, column.FieldName, {30321, 30322});
  }
}

void TVTRConstraintDefUnique::LoadFromStream(TStream& stream) {
  TVTRMetaObjectDef::LoadFromStream(stream);
  LoadTarget(stream, kUniqueRead, true);
  const int32_t count = ReadI32(stream, 30309);
  CheckStoredCount(stream, count, kMinKeyColumnImageSize, 30309);
  KeyColumns.assign(count, TVTRConstraintKeyColumn{});
  for (TVTRConstraintKeyColumn& column : KeyColumns) {
    column.FieldID = ReadI32(stream, 30310);
    column.FieldName = ReadPrefixed32ShortString(stream, {30311, 30312});
  }
}

void TVTRConstraintDefs::SaveToStream(TStream& stream) const {
  WriteI32(stream, GetCount(), 10158);
  for (int32_t i = 0; i < GetCount(); ++i) {
    const TVTRConstraintDef& constraint = GetConstraintDef(i);
    WriteU8(stream, constraint.ConstraintType, 10219);
    constraint.SaveToStream(stream);
  }
}

void TVTRConstraintDefs::LoadFromStream(TStream& stream) {
  Clear();
  const int32_t count = ReadI32(stream, 10159);
  CheckStoredCount(stream, count, kMinConstraintImageSize, 10159);
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t type = ReadU8(stream, 10220);
    auto constraint = CreateOfType(type);
    if (!constraint) throw EVTRException::CreateFmt(30316, "Unknown Constraint Type: '%d'", type);
    constraint->LoadFromStream(stream);
    Add(std::move(constraint));
  }
}

void TVTRConstraintDefs::Assign(const TVTRMetaObjectDefs& source) {
  Clear();
  for (int32_t i = 0; i < source.GetCount(); ++i) {
    const auto* constraint = dynamic_cast<const TVTRConstraintDef*>(&source.GetItem(i));
    auto copy = constraint ? CreateOfType(constraint->ConstraintType) : nullptr;
    if (!copy) throw EVTRException(30035, "Not implemented yet");
    copy->Assign(*constraint);
    Add(std::move(copy));
  }
}

std::unique_ptr<TVTRConstraintDef> TVTRConstraintDefs::CreateOfType(uint8_t type) {
  switch (type) {
    case ctPrimaryKey:
      return std::make_unique<TVTRConstraintDefPrimary>();
    case ctUnique:
      return std::make_unique<TVTRConstraintDefUnique>();
    case ctNotNull:
      return std::make_unique<TVTRConstraintDefNotNull>();
    case ctCheck:
      return std::make_unique<TVTRConstraintDefCheck>();
    default:
      return nullptr;
  }
}

template <typename Def>
Def& TVTRConstraintDefs::AddNew() {
  auto def = std::make_unique<Def>();
  Def& added = *def;
  Add(std::move(def));
  return added;
}

TVTRConstraintDefNotNull& TVTRConstraintDefs::AddNotNull() {
  return AddNew<TVTRConstraintDefNotNull>();
}

TVTRConstraintDefCheck& TVTRConstraintDefs::AddCheck() {
  return AddNew<TVTRConstraintDefCheck>();
}

TVTRConstraintDefPrimary& TVTRConstraintDefs::AddPrimaryKey() {
  return AddNew<TVTRConstraintDefPrimary>();
}

TVTRConstraintDefUnique& TVTRConstraintDefs::AddUnique() {
  return AddNew<TVTRConstraintDefUnique>();
}

bool TVTRConstraintDefs::Holds(const TVTRMetaObjectDef& def) const {
  return dynamic_cast<const TVTRConstraintDef*>(&def) != nullptr;
}
