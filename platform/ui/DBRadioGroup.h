#pragma once
// A radio group bound to a field of the current record: each item stands for a
// stored value, and the group shows the item whose value the field holds (none
// when no item's value matches). A click writes the item's value into the field,
// putting the record into edit when the data source's AutoEdit allows; a click
// that cannot edit the record changes nothing.
#include <string>
#include <vector>

#include "platform/ui/FieldDataLink.h"
#include "platform/ui/RadioGroup.h"

class TDataSource;

class TDBRadioGroup : public TRadioGroup {
 public:
  explicit TDBRadioGroup(TComponent* owner);

  TDataSource* DataSource() const { return link_.DataSource(); }
  void SetDataSource(TDataSource* source);
  const std::string& DataField() const { return link_.FieldName(); }
  void SetDataField(const std::string& name) { link_.SetFieldName(name); }
  TField* Field() const { return link_.Field(); }
  // The stored value of each item; an item without one stands for its text.
  const std::vector<std::string>& Values() const { return values_; }
  void SetValues(const std::vector<std::string>& values);
  // The value of the chosen item; the field's text while no item matches it.
  const std::string& Value() const { return value_; }
  bool ReadOnly() const { return link_.ReadOnly(); }
  void SetReadOnly(bool read_only) { link_.SetReadOnly(read_only); }

  void Click() override;

 protected:
  bool CanModify() override { return link_.Edit(); }
  void ItemsChanged() override { DataChange(); }

 private:
  std::string ItemValue(int index) const;
  void DataChange();

  TFieldDataLink link_{*this};
  std::vector<std::string> values_;
  std::string value_;
  // Set while the group shows the field's value, which is no click.
  bool showing_ = false;
};
