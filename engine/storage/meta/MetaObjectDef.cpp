#include "engine/storage/meta/MetaObjectDef.h"

#include <stdexcept>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/meta/DefImage.h"
#include "platform/rtl/TextCase.h"

void TVTRMetaObjectDef::Assign(const TVTRMetaObjectDef& source) {
  Name = source.Name;
  ObjectID = source.ObjectID;
}

void TVTRMetaObjectDef::SaveToStream(TStream& stream) const {
  WriteShortString(stream, Name, {10164, 10165});
  WriteI32(stream, ObjectID, 10168);
}

void TVTRMetaObjectDef::LoadFromStream(TStream& stream) {
  Name = ReadShortString(stream, {10166, 10167});
  ObjectID = ReadI32(stream, 10169);
}

int32_t TVTRMetaObjectDefs::Add(std::unique_ptr<TVTRMetaObjectDef> def) {
  CheckKind(*def);
  items_.push_back(std::move(def));
  return GetCount() - 1;
}

TVTRMetaObjectDef& TVTRMetaObjectDefs::InternalAddCreated() {
  return GetItem(Add(CreateDef()));
}

std::unique_ptr<TVTRMetaObjectDef> TVTRMetaObjectDefs::CreateDef() const {
  throw EVTRException::CreateFmt(30339, "The method '%s' not overrided in class '%s'", "InternalAddCreated",
                                 ClassName());
}

void TVTRMetaObjectDefs::SaveToStream(TStream& stream) const {
  WriteI32(stream, GetCount(), 10158);
  for (const auto& def : items_) def->SaveToStream(stream);
}

void TVTRMetaObjectDefs::LoadFromStream(TStream& stream) {
  Clear();
  const int32_t count = ReadCount(stream);
  for (int32_t i = 0; i < count; ++i) {
    auto def = CreateDef();
    def->LoadFromStream(stream);
    Add(std::move(def));
  }
}

int32_t TVTRMetaObjectDefs::ReadCount(TStream& stream) {
  const int32_t count = ReadI32(stream, 10159);
  CheckStoredCount(stream, count, kMinDefImageSize, 10159);
  return count;
}

void TVTRMetaObjectDefs::Assign(const TVTRMetaObjectDefs& source) {
  Clear();
  for (int32_t i = 0; i < source.GetCount(); ++i) {
    const TVTRMetaObjectDef& def = source.GetItem(i);
    if (IndexOf(def.Name) >= 0) throw EVTRException::CreateFmt(10424, "Duplicate field name %s", def.Name);
    InternalAddCreated().Assign(def);
  }
}

void TVTRMetaObjectDefs::Delete(int32_t index) {
  CheckIndex(index, GetCount());
  items_.erase(items_.begin() + index);
}

void TVTRMetaObjectDefs::Insert(int32_t index, std::unique_ptr<TVTRMetaObjectDef> def) {
  CheckIndex(index, GetCount() + 1);
  CheckKind(*def);
  items_.insert(items_.begin() + index, std::move(def));
}

void TVTRMetaObjectDefs::Move(int32_t from, int32_t to) {
  CheckIndex(from, GetCount());
  CheckIndex(to, GetCount());
  auto def = std::move(items_[from]);
  items_.erase(items_.begin() + from);
  items_.insert(items_.begin() + to, std::move(def));
}

void TVTRMetaObjectDefs::Clear() {
  items_.clear();
}

TVTRMetaObjectDef& TVTRMetaObjectDefs::GetItem(int32_t index) const {
  CheckIndex(index, GetCount());
  return *items_[index];
}

void TVTRMetaObjectDefs::SetItem(int32_t index, std::unique_ptr<TVTRMetaObjectDef> def) {
  CheckIndex(index, GetCount());
  CheckKind(*def);
  items_[index] = std::move(def);
}

int32_t TVTRMetaObjectDefs::IndexOf(std::string_view name) const {
  for (int32_t i = 0; i < GetCount(); ++i)
    if (SameText(items_[i]->Name, name)) return i;
  return -1;
}

TVTRMetaObjectDef* TVTRMetaObjectDefs::FindByName(std::string_view name) const {
  const int32_t index = IndexOf(name);
  return index < 0 ? nullptr : items_[index].get();
}

int32_t TVTRMetaObjectDefs::IndexOfObjectID(int32_t id) const {
  for (int32_t i = 0; i < GetCount(); ++i)
    if (items_[i]->ObjectID == id) return i;
  return -1;
}

TVTRMetaObjectDef* TVTRMetaObjectDefs::GetDefByObjectID(int32_t id) const {
  const int32_t index = IndexOfObjectID(id);
  return index < 0 ? nullptr : items_[index].get();
}

void TVTRMetaObjectDefs::CheckIndex(int32_t index, int32_t count) const {
  if (index < 0 || index >= count) throw std::out_of_range("definition position out of range");
}

void TVTRMetaObjectDefs::CheckKind(const TVTRMetaObjectDef& def) const {
  if (!Holds(def)) throw std::invalid_argument("definition of another kind than the list holds");
}
