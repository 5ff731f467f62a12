#include "app/core/ColumnSum.h"

#include "platform/db/DB.h"
#include "platform/rtl/ScopeExit.h"

Currency SumColumn(TDataSet& dataset, std::string_view field_name) {
  const TField& field = *dataset.FieldByName(field_name);
  dataset.DisableControls();
  const ScopeExit enable([&dataset]() noexcept { dataset.EnableControls(); });
  Currency sum;
  for (dataset.First(); !dataset.Eof(); dataset.Next()) {
    if (!field.IsNull()) sum += Currency::FromDouble(field.AsCurrency());
  }
  return sum;
}
