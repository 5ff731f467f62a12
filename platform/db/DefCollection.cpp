#include "platform/db/DefCollection.h"

#include "platform/db/DataSet.h"

void TDefCollection::Changed() {
  if (internal_updates_ == 0 && dataset_ != nullptr) dataset_->DefChanged(this);
}
