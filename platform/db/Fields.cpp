#include "platform/db/Fields.h"

#include <algorithm>

#include "platform/db/DBConsts.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/TextCase.h"

void TFields::Add(TField* field) {
  if (FindField(field->FieldName()) != nullptr && !field->FieldName().empty()) {
    DatabaseError(Format(SDuplicateFieldName, field->FieldName()), dataset_);
  }
  list_.push_back(field);
}

void TFields::Remove(TField* field) {
  list_.erase(std::remove(list_.begin(), list_.end(), field), list_.end());
}

void TFields::Clear() {
  while (!list_.empty()) {
    TField* field = list_.back();
    list_.pop_back();
    field->dataset_ = nullptr;
    delete field;
  }
}

int TFields::IndexOf(const TField* field) const {
  const auto found = std::find(list_.begin(), list_.end(), field);
  return found == list_.end() ? -1 : static_cast<int>(found - list_.begin());
}

TField* TFields::FindField(std::string_view name) const {
  for (TField* field : list_) {
    if (SameText(field->FieldName(), name)) return field;
  }
  return nullptr;
}

TField* TFields::FieldByName(std::string_view name) const {
  TField* field = FindField(name);
  if (field == nullptr) DatabaseError(Format(SFieldNotFound, name), dataset_);
  return field;
}

TField* TFields::FieldByNumber(int field_no) const {
  for (TField* field : list_) {
    if (field->FieldNo() == field_no) return field;
  }
  return nullptr;
}
