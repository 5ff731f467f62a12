#include "platform/db/IndexDefs.h"

#include "platform/db/DBConsts.h"
#include "platform/db/DataSet.h"
#include "platform/db/FieldNames.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/TextCase.h"

namespace {

// True when the index's field list starts with `fields` (all of it with `exact`).
bool FieldsMatch(const std::vector<std::string>& fields, std::string_view index_fields, bool exact) {
  const std::vector<std::string> index = SplitFieldNameList(index_fields);
  if (fields.empty() || index.size() < fields.size() || (exact && index.size() != fields.size()))
    return false;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (!SameText(fields[i], index[i])) return false;
  }
  return true;
}

}  // namespace

TIndexDef::TIndexDef(TIndexDefs* collection, std::string name, std::string fields, TIndexOptions options)
    : collection_(collection), name_(std::move(name)), fields_(std::move(fields)), options_(options) {}

void TIndexDef::SetName(std::string name) {
  name_ = std::move(name);
  if (collection_ != nullptr) collection_->Changed();
}

void TIndexDef::SetFields(std::string fields) {
  fields_ = std::move(fields);
  if (collection_ != nullptr) collection_->Changed();
}

void TIndexDef::SetDescFields(std::string fields) {
  desc_fields_ = std::move(fields);
  if (collection_ != nullptr) collection_->Changed();
}

void TIndexDef::SetCaseInsFields(std::string fields) {
  case_ins_fields_ = std::move(fields);
  if (collection_ != nullptr) collection_->Changed();
}

void TIndexDef::SetOptions(TIndexOptions options) {
  options_ = options;
  if (collection_ != nullptr) collection_->Changed();
}

void TIndexDef::Assign(const TPersistent* source) {
  const auto* def = dynamic_cast<const TIndexDef*>(source);
  if (def == nullptr) return TPersistent::Assign(source);
  name_ = def->name_;
  fields_ = def->fields_;
  desc_fields_ = def->desc_fields_;
  case_ins_fields_ = def->case_ins_fields_;
  options_ = def->options_;
  if (collection_ != nullptr) collection_->Changed();
}

TIndexDef* TIndexDefs::Add(const std::string& name, const std::string& fields, TIndexOptions options) {
  if (IndexOf(name) >= 0) DatabaseError(Format(SDuplicateIndexName, name), DataSet());
  items_.push_back(std::make_unique<TIndexDef>(this, name, fields, options));
  Changed();
  return items_.back().get();
}

void TIndexDefs::Delete(int index) {
  items_.erase(items_.begin() + index);
  Changed();
}

void TIndexDefs::Clear() {
  items_.clear();
  Changed();
}

int TIndexDefs::IndexOf(std::string_view name) const {
  for (int i = 0; i < Count(); ++i) {
    if (SameText(items_[i]->Name(), name)) return i;
  }
  return -1;
}

TIndexDef* TIndexDefs::Find(std::string_view name) const {
  const int index = IndexOf(name);
  if (index < 0) DatabaseError(Format(SIndexNotFound, name), DataSet());
  return items_[index].get();
}

TIndexDef* TIndexDefs::GetIndexForFields(std::string_view fields, bool case_insensitive) const {
  const std::vector<std::string> wanted = SplitFieldNameList(fields);
  for (const bool exact : {true, false}) {
    for (const auto& def : items_) {
      const TIndexOptions options = def->Options();
      if (options.Contains(ixDescending) || options.Contains(ixExpression)) continue;
      if (case_insensitive && !options.Contains(ixCaseInsensitive)) continue;
      if (FieldsMatch(wanted, def->Fields(), exact)) return def.get();
    }
  }
  return nullptr;
}

TIndexDef* TIndexDefs::FindIndexForFields(std::string_view fields) const {
  TIndexDef* def = GetIndexForFields(fields, false);
  if (def == nullptr) DatabaseError(Format(SNoIndexForFields, fields), DataSet());
  return def;
}

void TIndexDefs::Update() {
  if (DataSet() != nullptr) Refresh([this] { DataSet()->UpdateIndexDefs(); });
}

void TIndexDefs::Assign(const TPersistent* source) {
  const auto* defs = dynamic_cast<const TIndexDefs*>(source);
  if (defs == nullptr) return TPersistent::Assign(source);
  items_.clear();
  for (const auto& def : defs->items_) {
    items_.push_back(std::make_unique<TIndexDef>(this, def->Name(), def->Fields(), def->Options()));
    items_.back()->desc_fields_ = def->DescFields();
    items_.back()->case_ins_fields_ = def->CaseInsFields();
  }
  Changed();
}
