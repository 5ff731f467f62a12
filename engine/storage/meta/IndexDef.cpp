#include "engine/storage/meta/IndexDef.h"

#include <stdexcept>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/meta/DefImage.h"
#include "platform/rtl/TextCase.h"

namespace {

// The smallest stored column: an empty name, two flags and the size.
constexpr int32_t kMinColumnImageSize = 1 + 1 + 1 + 4;
constexpr const char* kListLengthMessage = "Error - different lists length. L1 = %d, L2 = %d";

void CheckSameLength(const TStringList& names, const TStringList& other, int32_t code) {
  if (other.Count() != names.Count())
    throw EVTRException::CreateFmt(code, kListLengthMessage, names.Count(), other.Count());
}

}  // namespace

void TVTRIndexDef::Assign(const TVTRMetaObjectDef& source) {
  TVTRMetaObjectDef::Assign(source);
  const auto* index = dynamic_cast<const TVTRIndexDef*>(&source);
  if (!index) return;
  Kind = index->Kind;
  Columns = index->Columns;
  Unique = index->Unique;
  Primary = index->Primary;
  RootPage = index->RootPage;
  Temporary = index->Temporary;
  OwnerSessionID = index->OwnerSessionID;
  ChangeStamp = index->ChangeStamp;
}

void TVTRIndexDef::SaveToStream(TStream& stream) const {
  TVTRMetaObjectDef::SaveToStream(stream);
  WriteU8(stream, Kind, 10344);
  WriteBool(stream, Unique, 10345);
  WriteBool(stream, Primary, 10346);
  WriteI32(stream, GetColumnCount(), 10347);
  WriteI32(stream, RootPage, 10348);
  for (const TVTRIndexColumn& column : Columns) {
    WriteShortString(stream, column.FieldName, {10354, 10355});
    WriteBool(stream, column.Descending, 10356);
    WriteBool(stream, column.CaseInsensitive, 10357);
    WriteI32(stream, column.MaxIndexedSize, 20169);
  }
}

void TVTRIndexDef::LoadFromStream(TStream& stream) {
  TVTRMetaObjectDef::LoadFromStream(stream);
  Kind = ReadU8(stream, 10349);
  Unique = ReadBool(stream, 10350);
  Primary = ReadBool(stream, 10351);
  const int32_t column_count = ReadI32(stream, 10352);
  RootPage = ReadI32(stream, 10353);
  CheckStoredCount(stream, column_count, kMinColumnImageSize, 10352);
  Columns.assign(column_count, TVTRIndexColumn{});
  for (TVTRIndexColumn& column : Columns) {
    column.FieldName = ReadShortString(stream, {10358, 10359});
    column.Descending = ReadBool(stream, 10360);
    column.CaseInsensitive = ReadBool(stream, 10361);
    column.MaxIndexedSize = ReadI32(stream, 20168);
  }
  Temporary = false;
}

void TVTRIndexDef::SetColumnCount(int32_t n) {
  if (n < 0) throw std::invalid_argument("negative column count");
  Columns.resize(n);
}

void TVTRIndexDef::SetColumnsFromLists(const TStringList& field_names, const TStringList& directions,
                                       const TStringList& case_flags) {
  CheckSameLength(field_names, directions, 10278);
  CheckSameLength(field_names, case_flags, 10279);
  Columns.assign(field_names.Count(), TVTRIndexColumn{});
  for (int32_t i = 0; i < field_names.Count(); ++i) {
    Columns[i].FieldName = field_names[i];
    Columns[i].Descending = directions[i] == "DESC";
    Columns[i].CaseInsensitive = case_flags[i] == "NO_CASE";
  }
}

void TVTRIndexDefs::SaveToStream(TStream& stream) const {
  int32_t stored = 0;
  for (int32_t i = 0; i < GetCount(); ++i) stored += !GetIndexDef(i).Temporary;
  WriteI32(stream, stored, 10343);
  for (int32_t i = 0; i < GetCount(); ++i)
    if (!GetIndexDef(i).Temporary) GetIndexDef(i).SaveToStream(stream);
}

TVTRIndexDef& TVTRIndexDefs::AddIndexDef() {
  return static_cast<TVTRIndexDef&>(InternalAddCreated());
}

namespace {

// Whether the column serves the name with its direction and case demands.
bool ColumnServes(const TVTRIndexColumn& column, const std::string& name, const std::string& direction,
                  const std::string& case_flag, const TVTRFieldDefs& field_defs) {
  if (!SameText(column.FieldName, name)) return false;
  if (direction == "ASC" && column.Descending) return false;
  if (direction == "DESC" && !column.Descending) return false;
  if (case_flag == "CASE" && column.CaseInsensitive) {
    const TVTRFieldDef* field = field_defs.GetFieldDefByName(name);
    if (field && IsStringBaseType(field->BaseType)) return false;
  }
  if (case_flag == "NO_CASE" && !column.CaseInsensitive) return false;
  return true;
}

}  // namespace

int32_t TVTRIndexDefs::FindIndex(const TStringList* field_names, const TStringList* directions,
                                 const TVTRFieldDefs& field_defs, int32_t session_id,
                                 const TStringList* case_flags) const {
  if (!field_names) throw EVTRException(10389, "Nil pointer occured");
  if (!directions) throw EVTRException(10390, "Nil pointer occured");
  if (!case_flags) throw EVTRException(10391, "Nil pointer occured");
  CheckSameLength(*field_names, *directions, 10276);
  CheckSameLength(*field_names, *case_flags, 10277);
  for (int32_t i = 0; i < GetCount(); ++i) {
    const TVTRIndexDef& index = GetIndexDef(i);
    if (index.GetColumnCount() < field_names->Count()) continue;
    if (index.Temporary && index.OwnerSessionID != session_id) continue;
    bool serves = true;
    for (int32_t k = 0; serves && k < field_names->Count(); ++k)
      serves =
          ColumnServes(index.Columns[k], (*field_names)[k], (*directions)[k], (*case_flags)[k], field_defs);
    if (serves) return index.ObjectID;
  }
  return -1;
}

std::unique_ptr<TVTRMetaObjectDef> TVTRIndexDefs::CreateDef() const {
  return std::make_unique<TVTRIndexDef>();
}

bool TVTRIndexDefs::Holds(const TVTRMetaObjectDef& def) const {
  return dynamic_cast<const TVTRIndexDef*>(&def) != nullptr;
}
