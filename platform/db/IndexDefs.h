#pragma once
// The definitions of a dataset's indexes.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/DBTypes.h"
#include "platform/db/DefCollection.h"

class TIndexDefs;

class TIndexDef : public TPersistent {
 public:
  // A definition without a collection (a copy handed to a caller) tells no
  // one of its changes.
  TIndexDef(TIndexDefs* collection, std::string name, std::string fields, TIndexOptions options);

  const std::string& Name() const { return name_; }
  void SetName(std::string name);
  // Field names separated by ";".
  const std::string& Fields() const { return fields_; }
  void SetFields(std::string fields);
  const std::string& DescFields() const { return desc_fields_; }
  void SetDescFields(std::string fields);
  const std::string& CaseInsFields() const { return case_ins_fields_; }
  void SetCaseInsFields(std::string fields);
  TIndexOptions Options() const { return options_; }
  void SetOptions(TIndexOptions options);

  void Assign(const TPersistent* source) override;

 private:
  friend class TIndexDefs;

  TIndexDefs* collection_;
  std::string name_;
  std::string fields_;
  std::string desc_fields_;
  std::string case_ins_fields_;
  TIndexOptions options_;
};

class TIndexDefs : public TDefCollection {
 public:
  explicit TIndexDefs(TDataSet* dataset) : TDefCollection(dataset) {}

  int Count() const { return static_cast<int>(items_.size()); }
  TIndexDef* operator[](int index) const { return items_.at(index).get(); }
  // Raises "Duplicate index name '%s'" for a name already present.
  TIndexDef* Add(const std::string& name, const std::string& fields, TIndexOptions options = {});
  void Delete(int index);
  void Clear();
  int IndexOf(std::string_view name) const;
  // Raises "Index '%s' not found".
  TIndexDef* Find(std::string_view name) const;
  // The first ascending index whose fields are exactly `fields` (names compared
  // ignoring case), else the first whose leading fields are; with
  // case_insensitive only case-insensitive indexes count. Null when none.
  TIndexDef* GetIndexForFields(std::string_view fields, bool case_insensitive) const;
  // As GetIndexForFields, case-sensitive; raises "No index for fields '%s'".
  TIndexDef* FindIndexForFields(std::string_view fields) const;
  // Brings the definitions up to date through the dataset's UpdateIndexDefs.
  void Update();
  void Assign(const TPersistent* source) override;

 private:
  friend class TIndexDef;
  friend class TDataSet;
  using TDefCollection::Changed;

  std::vector<std::unique_ptr<TIndexDef>> items_;
};
