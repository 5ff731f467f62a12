#pragma once
// The look-up that numbering starts from: the highest running number of a
// shape stored in a register's number column.
#include <string>

#include "app/core/WindowQuery.h"
#include "app/donation/RunningNumber.h"

// Runs `query` over the numbers of `table` between the shape's lowest and
// highest, highest first, so that the index on the number serves it without
// reading every row; stored numbers of another shape in that range are
// passed over. Empty when none is stored. The query is left closed.
std::string HighestRunningNumber(WindowQuery& query, const std::string& table, const std::string& column,
                                 const RunningNumberShape& shape);
