#pragma once
// Names of result tables and their indexes: the prefix and a random number
// below 1,000,000, drawn again while the database holds a table of that name.
#include <string>

class TVTRTable;

inline constexpr const char* kResultTablePrefix = "TEMPORARY_TABLE_";
inline constexpr const char* kResultIndexPrefix = "TEMPORARY_INDEX_";

// Gives the inactive table a name of the prefix that no table of its database has.
void NameResultTable(TVTRTable& table, const char* prefix = kResultTablePrefix);
// A name for an index of a result table.
std::string NewResultIndexName();
