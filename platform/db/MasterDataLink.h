#pragma once
// The link of a detail dataset to its master: the master's fields named in
// FieldNames (";"-separated) are resolved when the master opens, and the detail
// hears OnMasterChange when the master moves or one of those fields changes,
// and OnMasterDisable when the master closes or the link is cut.
#include <functional>
#include <string>
#include <vector>

#include "platform/db/DataLink.h"

class TMasterDataLink : public TDetailDataLink {
 public:
  explicit TMasterDataLink(TDataSet* detail) : detail_(detail) {}

  TDataSet* DetailDataSet() const override { return detail_; }
  const std::string& FieldNames() const { return field_names_; }
  // Resolves the names at once when the master is open.
  void SetFieldNames(const std::string& names);
  // The master's fields, in the order of FieldNames; empty while inactive.
  const std::vector<TField*>& Fields() const { return fields_; }

  std::function<void()> OnMasterChange;
  std::function<void()> OnMasterDisable;

 protected:
  // Raises "Field '%s' not found" for a name the master lacks.
  void ActiveChanged() override;
  void CheckBrowseMode() override;
  void LayoutChanged() override { ActiveChanged(); }
  void RecordChanged(TField* field) override;

 private:
  bool DetailActive() const;

  TDataSet* detail_;
  std::string field_names_;
  std::vector<TField*> fields_;
};
