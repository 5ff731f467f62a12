#include "engine/sql/expression/FieldList.h"

#include "platform/rtl/TextCase.h"

void SplitFieldList(TStringList& list, std::string_view text) {
  list.Clear();
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find(';', start);
    if (end == std::string_view::npos) end = text.size();
    list.Add(UpperCase(Trim(text.substr(start, end - start))));
    start = end + 1;
  }
}

TVTRAdvancedDataType AdvancedTypeByName(std::string_view name) {
  const TVTRDataTypeName* row = FindDataTypeName(name);
  return row ? row->advanced_type : adtUnknown;
}
