#pragma once
// The SQL text that creates one table of TempleSchema(): its columns in
// order with the engine's type names (a String with its length), and its
// indexes as table-level clauses, so that the table and its keys appear in
// one statement.
#include <string>

#include "app/core/TempleSchema.h"

std::string CreateTableStatement(const TableDefinition& definition);
