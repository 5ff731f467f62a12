#include "platform/db/FieldDefs.h"

#include "platform/db/DBConsts.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/db/FieldClasses.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/TextCase.h"

TFieldDef::TFieldDef(TFieldDefs* collection, std::string name, TFieldType type, int size, bool required,
                     int field_no)
    : collection_(collection),
      name_(std::move(name)),
      data_type_(type),
      size_(size),
      required_(required),
      field_no_(field_no) {}

void TFieldDef::SetName(std::string name) {
  name_ = std::move(name);
  collection_->Changed();
}

void TFieldDef::SetDataType(TFieldType type) {
  data_type_ = type;
  collection_->Changed();
}

void TFieldDef::SetSize(int size) {
  size_ = size;
  collection_->Changed();
}

void TFieldDef::SetRequired(bool required) {
  required_ = required;
  collection_->Changed();
}

TField* TFieldDef::CreateField(TComponent* owner, TDataSet* dataset) const {
  std::unique_ptr<TField> field(CreateFieldOfType(data_type_, owner));
  if (!field) DatabaseError(Format(SUnknownFieldType, name_), dataset);
  field->SetSize(size_);
  field->SetFieldName(name_);
  field->SetRequired(required_);
  field->SetDataSet(dataset);
  return field.release();
}

void TFieldDef::Assign(const TPersistent* source) {
  const auto* def = dynamic_cast<const TFieldDef*>(source);
  if (def == nullptr) return TPersistent::Assign(source);
  name_ = def->name_;
  data_type_ = def->data_type_;
  size_ = def->size_;
  required_ = def->required_;
  field_no_ = def->field_no_;
  collection_->Changed();
}

TFieldDef* TFieldDefs::Add(const std::string& name, TFieldType type, int size, bool required) {
  if (IndexOf(name) >= 0) DatabaseError(Format(SDuplicateFieldName, name), DataSet());
  items_.push_back(std::make_unique<TFieldDef>(this, name, type, size, required, Count() + 1));
  Changed();
  return items_.back().get();
}

void TFieldDefs::Delete(int index) {
  items_.erase(items_.begin() + index);
  Changed();
}

void TFieldDefs::Clear() {
  items_.clear();
  Changed();
}

int TFieldDefs::IndexOf(std::string_view name) const {
  for (int i = 0; i < Count(); ++i) {
    if (SameText(items_[i]->Name(), name)) return i;
  }
  return -1;
}

TFieldDef* TFieldDefs::Find(std::string_view name) const {
  const int index = IndexOf(name);
  if (index < 0) DatabaseError(Format(SFieldNotFound, name), DataSet());
  return items_[index].get();
}

void TFieldDefs::Update() {
  if (DataSet() != nullptr) Refresh([this] { DataSet()->InitFieldDefs(); });
}

void TFieldDefs::Assign(const TPersistent* source) {
  const auto* defs = dynamic_cast<const TFieldDefs*>(source);
  if (defs == nullptr) return TPersistent::Assign(source);
  items_.clear();
  for (const auto& def : defs->items_) {
    items_.push_back(std::make_unique<TFieldDef>(this, def->Name(), def->DataType(), def->Size(),
                                                 def->Required(), def->FieldNo()));
  }
  Changed();
}
