#pragma once
// The sum of a money column over every row of a dataset, as the report and
// income windows total their rows.
#include <string_view>

#include "app/core/Currency.h"

class TDataSet;

// Walks the open dataset from its first row to its last (it is left after the
// last) and adds each row's `field_name` taken as Currency; an empty value adds
// 0. The data-aware controls are not redrawn per row.
Currency SumColumn(TDataSet& dataset, std::string_view field_name);
