#pragma once
// The fields of a dataset, in order. The list does not own fields through
// ownership of components, but a dataset frees its fields when it is freed.
#include <string>
#include <string_view>
#include <vector>

class TDataSet;
class TField;

class TFields {
 public:
  explicit TFields(TDataSet* dataset) : dataset_(dataset) {}
  TFields(const TFields&) = delete;
  TFields& operator=(const TFields&) = delete;
  ~TFields() { Clear(); }

  int Count() const { return static_cast<int>(list_.size()); }
  TField* operator[](int index) const { return list_.at(index); }
  auto begin() const { return list_.begin(); }
  auto end() const { return list_.end(); }

  // Raises "Duplicate field name '%s'" for a name already in the list.
  void Add(TField* field);
  void Remove(TField* field);
  // Frees every field.
  void Clear();
  int IndexOf(const TField* field) const;
  TField* FindField(std::string_view name) const;
  // Raises "Field '%s' not found".
  TField* FieldByName(std::string_view name) const;
  TField* FieldByNumber(int field_no) const;

 private:
  TDataSet* dataset_;
  std::vector<TField*> list_;
};
