#include "platform/db/Params.h"

#include "platform/db/DBConsts.h"
#include "platform/db/DatabaseError.h"
#include "platform/db/Field.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/TextCase.h"

namespace {

TFieldType TypeOfVariant(const Variant& value) {
  switch (value.VarType()) {
    case Variant::varSmallint:
    case Variant::varShortInt:
    case Variant::varByte:
      return ftSmallint;
    case Variant::varWord:
      return ftWord;
    case Variant::varInteger:
      return ftInteger;
    case Variant::varLongWord:
    case Variant::varInt64:
      return ftLargeint;
    case Variant::varSingle:
    case Variant::varDouble:
      return ftFloat;
    case Variant::varCurrency:
      return ftCurrency;
    case Variant::varDate:
      return ftDateTime;
    case Variant::varBoolean:
      return ftBoolean;
    case Variant::varOleStr:
      return ftWideString;
    case Variant::varString:
      return ftString;
    case Variant::varArray | Variant::varByte:
      return ftBlob;
    default:
      return ftUnknown;
  }
}

}  // namespace

void TParam::Set(TFieldType type, Variant value) {
  data_type_ = type;
  value_ = std::move(value);
  bound_ = true;
}

void TParam::SetValue(const Variant& value) {
  if (data_type_ == ftUnknown) data_type_ = TypeOfVariant(value);
  value_ = value.IsEmpty() ? Variant::Null() : value;
  bound_ = true;
}

std::string TParam::AsString() const {
  if (IsNull()) return {};
  if (value_.VarType() == Variant::varBoolean) return value_.AsBoolean() ? "True" : "False";
  return value_.AsString();
}

void TParam::AssignField(const TField* field) {
  data_type_ = field->DataType();
  value_ = field->Value();
  bound_ = true;
}

void TParam::Assign(const TPersistent* source) {
  if (const auto* param = dynamic_cast<const TParam*>(source)) {
    name_ = param->name_;
    data_type_ = param->data_type_;
    param_type_ = param->param_type_;
    bound_ = param->bound_;
    value_ = param->value_;
  } else if (const auto* field = dynamic_cast<const TField*>(source)) {
    AssignField(field);
  } else {
    TPersistent::Assign(source);
  }
}

TParam* TParams::CreateParam(TFieldType type, const std::string& name, TParamType param_type) {
  items_.push_back(std::make_unique<TParam>(name));
  TParam* param = items_.back().get();
  param->SetDataType(type);
  param->SetParamType(param_type);
  return param;
}

TParam* TParams::FindParam(std::string_view name) const {
  for (const auto& param : items_) {
    if (SameText(param->Name(), name)) return param.get();
  }
  return nullptr;
}

TParam* TParams::ParamByName(std::string_view name) const {
  TParam* param = FindParam(name);
  if (param == nullptr) DatabaseError(Format(SParameterNotFound, name));
  return param;
}

void TParams::AssignValues(const TParams& source) {
  for (const auto& from : source.items_) {
    if (TParam* to = FindParam(from->Name())) to->Assign(from.get());
  }
}

void TParams::Assign(const TPersistent* source) {
  const auto* params = dynamic_cast<const TParams*>(source);
  if (params == nullptr) return TPersistent::Assign(source);
  if (params == this) return;
  items_.clear();
  for (const auto& from : params->items_) CreateParam(ftUnknown, from->Name())->Assign(from.get());
}
