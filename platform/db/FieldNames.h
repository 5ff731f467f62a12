#pragma once
// Lists of field names as the layer writes them: names separated by ";".
#include <string>
#include <string_view>
#include <vector>

// The name that starts at `pos`, trimmed of blanks; `pos` moves past the next ";"
// (or to the end). Call it while pos < fields.size().
std::string ExtractFieldName(std::string_view fields, size_t& pos);

// Every name of the list in order; blank entries are dropped.
std::vector<std::string> SplitFieldNameList(std::string_view fields);
