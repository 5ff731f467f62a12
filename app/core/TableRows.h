#pragma once
// Rows written into tables of a database file through the table component,
// as values in the text form of each column's field: UTF-8 texts, numbers
// with "." as decimal separator, dates as dd/mm/yyyy of the Gregorian
// calendar. Columns not named stay NULL; autoincrement columns are numbered
// by the engine.
#include <filesystem>
#include <span>
#include <string>
#include <vector>

struct ColumnValue {
  std::string Column;
  std::string Value;
};

struct TableRow {
  std::string Table;
  std::vector<ColumnValue> Values;
};

// Connects to the file (which must exist) on a connection of its own and
// appends each row, one posted change per row, in the order given. Requires
// the engine runtime. A refused row (a duplicate key, an unknown column)
// raises and leaves the rows before it stored.
void AppendRows(const std::filesystem::path& file, std::span<const TableRow> rows);
