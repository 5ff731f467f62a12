#pragma once
// Keys of different type families (a number and a text) are compared in
// their common type. The input whose key has the other type is read through
// a projection that adds the key converted to that type.
#include <cstdint>

#include "engine/sql/operators/AO.h"

// The type two keys are compared in when their families differ; adtUnknown
// when they are of one family and compare as they are.
TVTRAdvancedDataType CommonKeyType(TVTRAdvancedDataType first, TVTRAdvancedDataType second);

// `input` becomes a projection over it that passes the child's columns on,
// visible as they were, and adds a column converting the child's column
// `child_column` to `type`. Returns the projection's number of that column.
int32_t AddConvertedColumn(TVTRAOPtr& input, int32_t child_column, TVTRAdvancedDataType type);

// The projection's column reading the child's column; -1 when none does.
int32_t ProjectedColumn(const TVTRAO& projection, int32_t child_column);
