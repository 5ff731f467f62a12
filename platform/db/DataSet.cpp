#include "platform/db/DataSet.h"

#include <algorithm>

#include "platform/db/DBConsts.h"
#include "platform/db/DataLink.h"
#include "platform/db/DataSource.h"
#include "platform/db/Field.h"
#include "platform/rtl/Application.h"

TDataSet::TDataSet(TComponent* owner) : TComponent(owner), fields_(this), field_defs_(this) {}

TDataSet::~TDataSet() {
  Destroying();
  // Descendants have closed the dataset; only what needs no override is left.
  while (!data_sources_.empty()) ShowingErrors([this] { RemoveDataSource(data_sources_.back()); });
  fields_.Clear();
}

void TDataSet::Fire(const TDataSetNotifyEvent& event, TDataSet* dataset) {
  if (event) event(dataset);
}

void TDataSet::CheckActive() const {
  if (!Active()) DatabaseError(SDataSetClosed, this);
}

void TDataSet::CheckInactive() const {
  if (Active()) DatabaseError(SDataSetOpen, this);
}

void TDataSet::SetActive(bool active) {
  if (ComponentState().Contains(csReading)) {
    streamed_active_ = active;
    return;
  }
  if (active == Active()) return;
  if (active) {
    Fire(BeforeOpen, this);
    try {
      OpenCursor(false);
    } catch (...) {
      CloseCursor();
      throw;
    }
    SetState(dsBrowse);
    Fire(AfterOpen, this);
    if (!IsEmpty()) Fire(AfterScroll, this);
  } else {
    const bool destroying = ComponentState().Contains(csDestroying);
    if (!destroying) Fire(BeforeClose, this);
    SetState(dsInactive);
    CloseCursor();
    if (!destroying) Fire(AfterClose, this);
  }
}

void TDataSet::Loaded() {
  TComponent::Loaded();
  if (!streamed_active_) return;
  try {
    SetActive(true);
  } catch (...) {
    if (!ComponentState().Contains(csDesigning)) throw;
    InternalHandleException();
  }
}

void TDataSet::OpenCursor(bool info_query) {
  if (info_query) {
    InternalInitFieldDefs();
  } else {
    DoInternalOpen();
  }
}

void TDataSet::DoInternalOpen() {
  default_fields_ = fields_.Count() == 0;
  InternalOpen();
  InternalFirst();
  UpdateBufferCount();
  bof_ = true;
}

void TDataSet::CloseCursor() {
  FreeFieldBuffers();
  FreeBuffers();
  InternalClose();
  default_fields_ = false;
}

void TDataSet::InitFieldDefs() {
  if (IsCursorOpen()) {
    InternalInitFieldDefs();
    return;
  }
  try {
    OpenCursor(true);
  } catch (...) {
    CloseCursor();
    throw;
  }
  CloseCursor();
}

void TDataSet::SetState(TDataSetState state) {
  if (state_ == state) return;
  state_ = state;
  modified_ = false;
  DataEvent(deUpdateState, 0);
}

TDataSetState TDataSet::SetTempState(TDataSetState state) {
  const TDataSetState saved = state_;
  state_ = state;
  ++disable_count_;
  return saved;
}

void TDataSet::RestoreState(TDataSetState state) {
  state_ = state;
  --disable_count_;
}

void TDataSet::DisableControls() {
  if (disable_count_ == 0) disable_state_ = state_;
  ++disable_count_;
}

void TDataSet::EnableControls() {
  if (disable_count_ == 0 || --disable_count_ > 0) return;
  if (disable_state_ != state_) DataEvent(deUpdateState, 0);
  if (disable_state_ != dsInactive && state_ != dsInactive) DataEvent(deDataSetChange, 0);
}

void TDataSet::DataEvent(TDataEvent event, intptr_t info) {
  switch (event) {
    case deFieldChange: {
      auto* field = reinterpret_cast<TField*>(info);
      if (field->FieldKind() == fkData || field->FieldKind() == fkInternalCalc) modified_ = true;
      UpdateCalcFields();
      if (field->OnChange) field->OnChange(field);
      break;
    }
    case dePropertyChange:
      field_defs_.SetUpdated(false);
      break;
    default:
      break;
  }
  if (!ControlsDisabled()) NotifyDataSources(event, info);
}

void TDataSet::NotifyDataSources(TDataEvent event, intptr_t info) {
  // A notified source may detach itself; walk by index and re-check the bounds.
  for (size_t i = 0; i < data_sources_.size(); ++i) data_sources_[i]->DataEvent(event, info);
}

void TDataSet::AddDataSource(TDataSource* source) {
  data_sources_.push_back(source);
  source->dataset_ = this;
  UpdateBufferCount();
  source->DataEvent(deUpdateState, 0);
}

void TDataSet::RemoveDataSource(TDataSource* source) {
  source->dataset_ = nullptr;
  data_sources_.erase(std::remove(data_sources_.begin(), data_sources_.end(), source), data_sources_.end());
  source->DataEvent(deUpdateState, 0);
  if (!ComponentState().Contains(csDestroying)) UpdateBufferCount();
}

int TDataSet::MaxLinkBufferCount() const {
  int count = 1;
  for (const TDataSource* source : data_sources_) {
    for (const TDataLink* link : source->links_) count = std::max(count, link->buffer_count_);
  }
  return count;
}

bool TDataSet::IsLinkedTo(const TDataSource* source) const {
  std::vector<const TDataSet*> visited;
  while (source != nullptr) {
    const TDataSet* dataset = source->DataSet();
    if (dataset == nullptr) break;
    if (dataset == this) return true;
    // A chain that loops without reaching this dataset is not a link to it.
    if (std::find(visited.begin(), visited.end(), dataset) != visited.end()) break;
    visited.push_back(dataset);
    source = dataset->GetDataSource();
  }
  return false;
}

void TDataSet::InternalHandleException() {
  Application().HandleException(this);
}

void TDataSet::DoOnNewRecord() {
  Fire(OnNewRecord, this);
}

std::unique_ptr<EUpdateError> TDataSet::PSGetUpdateException(const std::exception& error,
                                                             const EUpdateError* previous) {
  return std::make_unique<EUpdateError>(error.what());
}

std::string TDataSet::PSGetKeyFields() {
  std::string keys;
  for (const TField* field : fields_) {
    if (!field->ProviderFlags().Contains(pfInKey)) continue;
    if (!keys.empty()) keys += ';';
    keys += field->FieldName();
  }
  return keys;
}
