#include "engine/sql/operators/SortSpec.h"

#include "engine/sql/expression/FieldList.h"

namespace {

void AppendName(std::string& text, const std::string& name) {
  if (!text.empty()) text += ';';
  text += name;
}

}  // namespace

void SortSpecToLists(std::string_view fields, std::string_view desc_fields, std::string_view no_case_fields,
                     TStringList& sort_fields, TStringList& sort_orders, TStringList& sort_cases) {
  TStringList descending, no_case;
  SplitFieldList(sort_fields, fields);
  SplitFieldList(descending, desc_fields);
  SplitFieldList(no_case, no_case_fields);
  sort_orders.Clear();
  sort_cases.Clear();
  for (int i = 0; i < sort_fields.Count(); ++i) {
    sort_orders.Add(descending.IndexOf(sort_fields[i]) >= 0 ? "DESC" : "ASC");
    sort_cases.Add(no_case.IndexOf(sort_fields[i]) >= 0 ? "NO_CASE" : "CASE");
  }
}

TVTRSortSpec ListsToSortSpec(const TStringList& sort_fields, const TStringList& sort_orders,
                             const TStringList& sort_cases) {
  TVTRSortSpec spec;
  for (int i = 0; i < sort_fields.Count(); ++i) {
    AppendName(spec.Fields, sort_fields[i]);
    if (sort_orders[i] == "DESC") AppendName(spec.DescFields, sort_fields[i]);
    if (sort_cases[i] == "NO_CASE") AppendName(spec.NoCaseFields, sort_fields[i]);
  }
  return spec;
}
