#pragma once
// What field and index definitions share: the dataset they describe, an
// up-to-date flag, and a change notice to the dataset when a program (not the
// dataset's own refresh) edits them.
#include "platform/rtl/Persistent.h"

class TDataSet;

class TDefCollection : public TPersistent {
 public:
  explicit TDefCollection(TDataSet* dataset) : dataset_(dataset) {}

  TDataSet* DataSet() const { return dataset_; }
  // Set once the definitions have been read from the dataset.
  bool Updated() const { return updated_; }
  void SetUpdated(bool updated) { updated_ = updated; }

 protected:
  // Tells the dataset that a program changed the definitions (DefChanged), unless
  // the dataset itself is filling them in.
  void Changed();
  // Fills the definitions from the dataset without change notices.
  template <typename Fill>
  void Refresh(Fill fill) {
    ++internal_updates_;
    try {
      fill();
    } catch (...) {
      --internal_updates_;
      throw;
    }
    --internal_updates_;
    updated_ = true;
  }

 private:
  TDataSet* dataset_;
  bool updated_ = false;
  int internal_updates_ = 0;
};
