#pragma once
// A data link: what a data-aware control or a detail dataset holds to follow a
// data source. The link sees a window of BufferCount records of the dataset; the
// dataset's window is as large as its largest link's.
//
// Descendants override the notifications. By default a scroll, a layout change
// and a data-set change all end in RecordChanged(nullptr), which detail links
// rely on.
#include "platform/db/DBTypes.h"

class TDataSource;

class TDataLink {
 public:
  TDataLink() = default;
  TDataLink(const TDataLink&) = delete;
  TDataLink& operator=(const TDataLink&) = delete;
  virtual ~TDataLink();

  TDataSource* DataSource() const { return data_source_; }
  // Raises "Data source cannot be changed" when the source is fixed.
  void SetDataSource(TDataSource* source);
  bool DataSourceFixed() const { return data_source_fixed_; }
  void SetDataSourceFixed(bool fixed) { data_source_fixed_ = fixed; }
  TDataSet* DataSet() const;

  // The source is enabled and its dataset open.
  bool Active() const { return active_; }
  // The dataset edits or inserts and the link is not read-only.
  bool Editing() const { return editing_; }
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool read_only);
  // The link's current record within its window (0 .. RecordCount - 1).
  int ActiveRecord() const;
  // Makes another record of the window current for reading (grids painting rows);
  // callers restore the previous one.
  void SetActiveRecord(int record);
  int BufferCount() const { return buffer_count_; }
  void SetBufferCount(int count);
  // Records in the link's window.
  int RecordCount() const;
  // Edits the dataset (AutoEdit permitting) unless read-only; answers Editing.
  virtual bool Edit();
  // Writes pending changes of the control into the record (UpdateData).
  void UpdateRecord();

 protected:
  virtual void ActiveChanged() {}
  virtual void CheckBrowseMode() {}
  virtual void DataSetChanged() { RecordChanged(nullptr); }
  virtual void DataSetScrolled(int distance) { DataSetChanged(); }
  virtual void EditingChanged() {}
  // `field` points at the field to focus; a link that focuses it sets it to null.
  virtual void FocusControl(TField** field) {}
  virtual void LayoutChanged() { DataSetChanged(); }
  virtual void RecordChanged(TField* field) {}
  virtual void UpdateData() {}

 private:
  friend class TDataSource;
  friend class TDataSet;

  void DataEvent(TDataEvent event, intptr_t info);
  void UpdateState();
  void SetActive(bool active);
  void SetEditing(bool editing);
  void UpdateRange();

  TDataSource* data_source_ = nullptr;
  int first_record_ = 0;
  int buffer_count_ = 1;
  bool active_ = false;
  bool editing_ = false;
  bool read_only_ = false;
  bool updating_ = false;
  bool data_source_fixed_ = false;
};

// A link that drives another dataset: a detail follows its master.
class TDetailDataLink : public TDataLink {
 public:
  virtual TDataSet* DetailDataSet() const { return nullptr; }
};
