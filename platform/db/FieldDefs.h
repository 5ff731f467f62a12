#pragma once
// The definitions of a dataset's columns: what a dataset reports about its
// data, and what default fields are made from.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/DefCollection.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/FieldType.h"

class TField;
class TFieldDefs;

class TFieldDef : public TPersistent {
 public:
  TFieldDef(TFieldDefs* collection, std::string name, TFieldType type, int size, bool required, int field_no);

  const std::string& Name() const { return name_; }
  void SetName(std::string name);
  TFieldType DataType() const { return data_type_; }
  void SetDataType(TFieldType type);
  int Size() const { return size_; }
  void SetSize(int size);
  bool Required() const { return required_; }
  void SetRequired(bool required);
  // The dataset's number of the column, from 1.
  int FieldNo() const { return field_no_; }
  void SetFieldNo(int field_no) { field_no_ = field_no; }

  // A new field of the class for DataType, named like the definition, in `dataset`.
  TField* CreateField(TComponent* owner, TDataSet* dataset) const;
  void Assign(const TPersistent* source) override;

 private:
  TFieldDefs* collection_;
  std::string name_;
  TFieldType data_type_;
  int size_;
  bool required_;
  int field_no_;
};

class TFieldDefs : public TDefCollection {
 public:
  explicit TFieldDefs(TDataSet* dataset) : TDefCollection(dataset) {}

  int Count() const { return static_cast<int>(items_.size()); }
  TFieldDef* operator[](int index) const { return items_.at(index).get(); }
  // Appends a definition numbered after the last one.
  TFieldDef* Add(const std::string& name, TFieldType type, int size = 0, bool required = false);
  void Delete(int index);
  void Clear();
  // Position of the name (ignoring case), -1 when missing.
  int IndexOf(std::string_view name) const;
  // Raises "Field '%s' not found".
  TFieldDef* Find(std::string_view name) const;
  // Brings the definitions up to date through the dataset's InitFieldDefs.
  void Update();
  void Assign(const TPersistent* source) override;

 private:
  friend class TFieldDef;
  friend class TDataSet;
  using TDefCollection::Changed;

  std::vector<std::unique_ptr<TFieldDef>> items_;
};
