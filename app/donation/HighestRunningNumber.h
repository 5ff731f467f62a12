#pragma once
// The look-up that numbering starts from: the highest running number of a
// shape stored in a register's number column.
#include <string>

#include "app/core/WindowQuery.h"
#include "app/donation/RunningNumber.h"

// Asks `query` for the highest stored number between the shape's lowest and
// highest (a range the index on the number serves); a stored number of
// another shape in that range is passed over by asking again below it.
// Empty when none is stored. The query is left closed.
std::string HighestRunningNumber(WindowQuery& query, const std::string& table, const std::string& column,
                                 const RunningNumberShape& shape);
