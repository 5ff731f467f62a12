#pragma once
// A sort order in two forms: three ";"-separated texts (the fields, the
// descending ones, the case-insensitive ones) and three parallel lists (the
// field names; "ASC" or "DESC"; "CASE" or "NO_CASE").
#include <string>
#include <string_view>

#include "platform/rtl/StringList.h"

struct TVTRSortSpec {
  std::string Fields, DescFields, NoCaseFields;
};

// Names are compared with the two other texts ignoring case.
void SortSpecToLists(std::string_view fields, std::string_view desc_fields, std::string_view no_case_fields,
                     TStringList& sort_fields, TStringList& sort_orders, TStringList& sort_cases);
TVTRSortSpec ListsToSortSpec(const TStringList& sort_fields, const TStringList& sort_orders,
                             const TStringList& sort_cases);
