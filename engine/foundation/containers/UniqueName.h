#pragma once
// Names for scratch objects (temporary tables and indexes, expression
// columns, aliases of external databases): the prefix followed by a random
// number from 0 to 999999 in decimal digits, never one that is in use.
#include <functional>
#include <string>
#include <string_view>

#include "platform/os/Random.h"

// in_use(name) tells whether the name is taken. A name stays free only until
// the caller claims it, so callers that race must claim under one lock.
// Raises Exception when every name of the prefix is in use.
std::string MakeUniqueName(std::string_view prefix, const std::function<bool(const std::string&)>& in_use,
                           RandomSource& random = DefaultRandom());
