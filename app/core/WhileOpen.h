#pragma once
// Short reads and writes on a dataset that is opened for them only.
#include "platform/db/DB.h"

// Opens the dataset, runs `work` and closes the dataset on every exit
// (closing cancels a refused insert or edit); returns what `work` returns.
template <typename Work>
auto WhileOpen(TDataSet& data, Work&& work) {
  data.Open();
  try {
    auto result = work();
    data.Close();
    return result;
  } catch (...) {
    data.Close();
    throw;
  }
}
