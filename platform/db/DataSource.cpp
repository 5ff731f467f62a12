#include "platform/db/DataSource.h"

#include <algorithm>

#include "platform/db/DBConsts.h"
#include "platform/db/DataLink.h"
#include "platform/db/DataSet.h"

TDataSource::~TDataSource() {
  Destroying();
  ShowingErrors([this] { SetDataSet(nullptr); });
  while (!links_.empty()) ShowingErrors([this] { RemoveDataLink(links_.back()); });
}

void TDataSource::SetDataSet(TDataSet* dataset) {
  if (dataset == dataset_) return;
  if (IsLinkedTo(dataset)) DatabaseError(SCircularDataLink, this);
  if (dataset_ != nullptr) dataset_->RemoveDataSource(this);
  if (dataset != nullptr) dataset->AddDataSource(this);
}

bool TDataSource::IsLinkedTo(const TDataSet* dataset) const {
  std::vector<const TDataSet*> visited;
  while (dataset != nullptr) {
    const TDataSource* source = dataset->GetDataSource();
    if (source == nullptr) break;
    if (source == this) return true;
    if (std::find(visited.begin(), visited.end(), dataset) != visited.end()) break;
    visited.push_back(dataset);
    dataset = source->DataSet();
  }
  return false;
}

void TDataSource::SetEnabled(bool enabled) {
  enabled_ = enabled;
  NotifyState();
}

void TDataSource::Edit() {
  if (auto_edit_ && state_ == dsBrowse) dataset_->Edit();
}

void TDataSource::NotifyState() {
  SetState(enabled_ && dataset_ != nullptr ? dataset_->State() : dsInactive);
}

void TDataSource::SetState(TDataSetState state) {
  if (state_ == state) return;
  const TDataSetState prior = state_;
  state_ = state;
  NotifyDataLinks(deUpdateState, 0);
  if (ComponentState().Contains(csDestroying)) return;
  if (OnStateChange) OnStateChange(this);
  if (prior == dsInactive) DataChange(nullptr);
}

void TDataSource::DataEvent(TDataEvent event, intptr_t info) {
  if (event == deUpdateState) {
    NotifyState();
    return;
  }
  if (state_ == dsInactive) return;
  NotifyDataLinks(event, info);
  switch (event) {
    case deFieldChange:
      DataChange(reinterpret_cast<TField*>(info));
      break;
    case deRecordChange:
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange:
      DataChange(nullptr);
      break;
    case deUpdateRecord:
      if (OnUpdateData) OnUpdateData(this);
      break;
    default:
      break;
  }
}

void TDataSource::DataChange(TField* field) {
  if (OnDataChange) OnDataChange(this, field);
}

void TDataSource::NotifyDataLinks(TDataEvent event, intptr_t info) {
  // Links with larger windows (grids) adjust first. A link may detach itself
  // while notified; walk by index and re-check the bounds.
  for (const bool wide : {true, false}) {
    for (size_t i = links_.size(); i-- > 0;) {
      if (i >= links_.size()) continue;
      TDataLink* link = links_[i];
      if ((link->BufferCount() > 1) == wide) link->DataEvent(event, info);
    }
  }
}

void TDataSource::AddDataLink(TDataLink* link) {
  links_.push_back(link);
  link->data_source_ = this;
  if (dataset_ != nullptr) dataset_->UpdateBufferCount();
  link->UpdateState();
}

void TDataSource::RemoveDataLink(TDataLink* link) {
  link->data_source_ = nullptr;
  links_.erase(std::remove(links_.begin(), links_.end(), link), links_.end());
  link->UpdateState();
  if (dataset_ != nullptr) dataset_->UpdateBufferCount();
}
