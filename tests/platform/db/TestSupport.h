#pragma once
// Fixtures shared by the dataset layer's tests.
#include <memory>
#include <string>
#include <vector>

#include "tests/support/ArrayDataSet.h"

// An open dataset of `rows` people: ID 1..rows, NAME "P1".."Pn".
inline std::unique_ptr<TArrayDataSet> People(int rows, TComponent* owner = nullptr) {
  auto dataset = std::make_unique<TArrayDataSet>(
      owner, std::vector<ArrayFieldDef>{{"ID", ftInteger}, {"NAME", ftString, 20}});
  dataset->Open();
  for (int i = 1; i <= rows; ++i) {
    dataset->Append();
    dataset->FieldByName("ID")->SetAsInteger(i);
    dataset->FieldByName("NAME")->SetAsString("P" + std::to_string(i));
    dataset->Post();
  }
  dataset->First();
  return dataset;
}

// A link that counts what it hears.
class CountingLink : public TDataLink {
 public:
  int active_changes = 0;
  int dataset_changes = 0;
  int scrolls = 0;
  int record_changes = 0;
  int editing_changes = 0;
  std::vector<TField*> changed_fields;

 protected:
  void ActiveChanged() override { ++active_changes; }
  void DataSetChanged() override { ++dataset_changes; }
  void DataSetScrolled(int distance) override { ++scrolls; }
  void EditingChanged() override { ++editing_changes; }
  void RecordChanged(TField* field) override {
    ++record_changes;
    changed_fields.push_back(field);
  }
};
