#pragma once
// Damage done to a database file made by CreateDonateDatabase (and tables
// added to it), for the tests of what compaction and repair make of it.
#include <string>

// Overwrites the first record page of `table` with bytes no page holds.
void DamageFirstRecordPage(const std::string& file_name, const std::string& table);
// Overwrites the data of the table list's pages, which a connection does
// not read until it looks for a table.
void DamageTableList(const std::string& file_name);
