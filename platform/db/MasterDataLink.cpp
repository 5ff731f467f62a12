#include "platform/db/MasterDataLink.h"

#include <algorithm>

#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"

bool TMasterDataLink::DetailActive() const {
  return detail_ != nullptr && detail_->Active() && !detail_->ComponentState().Contains(csDestroying);
}

void TMasterDataLink::SetFieldNames(const std::string& names) {
  if (names == field_names_) return;
  field_names_ = names;
  ActiveChanged();
}

void TMasterDataLink::ActiveChanged() {
  fields_.clear();
  if (Active()) fields_ = DataSet()->GetFieldList(field_names_);
  if (!DetailActive()) return;
  if (Active() && !fields_.empty()) {
    if (OnMasterChange) OnMasterChange();
  } else if (OnMasterDisable) {
    OnMasterDisable();
  }
}

void TMasterDataLink::CheckBrowseMode() {
  if (DetailActive()) detail_->CheckBrowseMode();
}

void TMasterDataLink::RecordChanged(TField* field) {
  if (DataSource()->State() == dsSetKey || !DetailActive() || fields_.empty()) return;
  if (field == nullptr || std::find(fields_.begin(), fields_.end(), field) != fields_.end()) {
    if (OnMasterChange) OnMasterChange();
  }
}
