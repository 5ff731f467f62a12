#pragma once
// The date format unit: format elements and the formatter of TODATE and TOSTRING.
#include "engine/foundation/dateformat/DateFormatTokens.h"
#include "engine/foundation/dateformat/DateFormater.h"
