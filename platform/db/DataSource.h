#pragma once
// The data source: the point where data links (grids, data-aware edits,
// navigators, detail datasets) attach to a dataset.
#include <functional>
#include <vector>

#include "platform/db/DBTypes.h"
#include "platform/rtl/Component.h"

class TDataLink;

using TDataChangeEvent = std::function<void(TObject* sender, TField* field)>;

class TDataSource : public TComponent {
 public:
  explicit TDataSource(TComponent* owner) : TComponent(owner) {}
  ~TDataSource() override;

  TDataSet* DataSet() const { return dataset_; }
  // Raises "Circular datalinks are not allowed" when `dataset` takes its values
  // from this source, directly or through its masters.
  void SetDataSet(TDataSet* dataset);
  // Editing a linked control puts the dataset into edit state by itself.
  bool AutoEdit() const { return auto_edit_; }
  void SetAutoEdit(bool auto_edit) { auto_edit_ = auto_edit; }
  // A disabled source shows its links an inactive dataset.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  TDataSetState State() const { return state_; }
  // Edits the dataset when AutoEdit and browsing.
  void Edit();
  // True when `dataset` leads back to this source through its masters.
  bool IsLinkedTo(const TDataSet* dataset) const;

  // The record or a field of it changed (field null: the whole record).
  TDataChangeEvent OnDataChange;
  TNotifyEvent OnStateChange;
  // The dataset asks the links to write pending edits.
  TNotifyEvent OnUpdateData;

 private:
  friend class TDataSet;
  friend class TDataLink;

  void DataEvent(TDataEvent event, intptr_t info);
  void NotifyState();
  void SetState(TDataSetState state);
  void NotifyDataLinks(TDataEvent event, intptr_t info);
  void DataChange(TField* field);
  void AddDataLink(TDataLink* link);
  void RemoveDataLink(TDataLink* link);

  TDataSet* dataset_ = nullptr;
  bool auto_edit_ = true;
  bool enabled_ = true;
  TDataSetState state_ = dsInactive;
  std::vector<TDataLink*> links_;
};
