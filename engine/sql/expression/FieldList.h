#pragma once
// Small routines of the expression unit.
#include <string_view>

#include "engine/foundation/DataTypes.h"
#include "platform/rtl/StringList.h"

// Clears the list and fills it with the parts of `text` between ";", each
// trimmed of blanks and in upper case: "a;;b" gives A, an empty item and B;
// a ";" at the end gives no item.
void SplitFieldList(TStringList& list, std::string_view text);

// The column type of an SQL type name, any letter case; 0 for a name the
// data-type table does not hold.
TVTRAdvancedDataType AdvancedTypeByName(std::string_view name);
