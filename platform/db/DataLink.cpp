#include "platform/db/DataLink.h"

#include <algorithm>

#include "platform/db/DBConsts.h"
#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/rtl/Application.h"

TDataLink::~TDataLink() {
  // No notification of this link's own overrides: they are gone by now.
  if (data_source_ != nullptr) {
    TDataSource* source = data_source_;
    data_source_ = nullptr;
    active_ = false;
    source->links_.erase(std::remove(source->links_.begin(), source->links_.end(), this),
                         source->links_.end());
    // Destructors never throw: a failing fetch is shown instead.
    try {
      if (source->DataSet() != nullptr) source->DataSet()->UpdateBufferCount();
    } catch (...) {
      Application().HandleException(source);
    }
  }
}

void TDataLink::SetDataSource(TDataSource* source) {
  if (source == data_source_) return;
  if (data_source_fixed_) DatabaseError(SDataSourceChange);
  if (data_source_ != nullptr) data_source_->RemoveDataLink(this);
  if (source != nullptr) source->AddDataLink(this);
}

TDataSet* TDataLink::DataSet() const {
  return data_source_ != nullptr ? data_source_->DataSet() : nullptr;
}

void TDataLink::SetReadOnly(bool read_only) {
  if (read_only_ == read_only) return;
  read_only_ = read_only;
  UpdateState();
}

int TDataLink::ActiveRecord() const {
  if (!active_ || data_source_->State() == dsSetKey) return 0;
  return DataSet()->active_record_ - first_record_;
}

void TDataLink::SetActiveRecord(int record) {
  if (active_ && data_source_->State() != dsSetKey) DataSet()->active_record_ = record + first_record_;
}

void TDataLink::SetBufferCount(int count) {
  count = std::max(1, count);
  if (buffer_count_ == count) return;
  buffer_count_ = count;
  if (!active_) return;
  UpdateRange();
  DataSet()->UpdateBufferCount();
  UpdateRange();
}

int TDataLink::RecordCount() const {
  if (!active_) return 0;
  if (data_source_->State() == dsSetKey) return 1;
  return std::clamp(DataSet()->record_count_ - first_record_, 0, buffer_count_);
}

bool TDataLink::Edit() {
  if (!read_only_ && data_source_ != nullptr) data_source_->Edit();
  return editing_;
}

void TDataLink::UpdateRecord() {
  updating_ = true;
  try {
    UpdateData();
  } catch (...) {
    updating_ = false;
    throw;
  }
  updating_ = false;
}

void TDataLink::UpdateState() {
  const bool active = data_source_ != nullptr && data_source_->State() != dsInactive;
  SetActive(active);
  SetEditing(active && !read_only_ &&
             (IsEditState(data_source_->State()) || data_source_->State() == dsSetKey));
}

void TDataLink::SetActive(bool active) {
  if (active_ == active) return;
  active_ = active;
  if (active) {
    UpdateRange();
  } else {
    first_record_ = 0;
  }
  ActiveChanged();
}

void TDataLink::SetEditing(bool editing) {
  if (editing_ == editing) return;
  editing_ = editing;
  EditingChanged();
}

void TDataLink::UpdateRange() {
  const TDataSet* dataset = DataSet();
  const int lowest = std::max(0, dataset->active_record_ - buffer_count_ + 1);
  const int highest = std::max(0, std::min(dataset->buffer_count_ - buffer_count_, dataset->active_record_));
  first_record_ = std::clamp(first_record_, lowest, std::max(lowest, highest));
}

void TDataLink::DataEvent(TDataEvent event, intptr_t info) {
  if (event == deUpdateState) {
    UpdateState();
    return;
  }
  if (!active_) return;
  switch (event) {
    case deFieldChange:
    case deRecordChange:
      if (!updating_) RecordChanged(reinterpret_cast<TField*>(info));
      break;
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange: {
      // The link's window follows the dataset's contents and keeps the active record inside.
      int moved = 0;
      if (data_source_->State() != dsSetKey) {
        const int active = DataSet()->active_record_;
        const int first = first_record_ + static_cast<int>(info);
        const int last = first + buffer_count_ - 1;
        if (active > last) {
          moved = active - last;
        } else if (active < first) {
          moved = active - first;
        }
        first_record_ = std::max(0, first + moved);
      }
      if (event == deDataSetChange) {
        DataSetChanged();
      } else if (event == deDataSetScroll) {
        DataSetScrolled(moved);
      } else {
        LayoutChanged();
      }
      break;
    }
    case deUpdateRecord:
      UpdateRecord();
      break;
    case deCheckBrowseMode:
      CheckBrowseMode();
      break;
    case deFocusControl:
      FocusControl(reinterpret_cast<TField**>(info));
      break;
    default:
      break;
  }
}
