#include "app/core/SchemaStatements.h"

#include <algorithm>

#include "engine/access/AdvIndexDefs.h"
#include "engine/foundation/DataTypes.h"

namespace {

void AppendColumn(std::string& text, const ColumnDefinition& column) {
  text += column.Name;
  text += ' ';
  text += GetAdvancedTypeName(column.DataType);
  if (IsStringOrBytesAdvancedType(column.DataType)) text += "(" + std::to_string(column.Size) + ")";
}

// PRIMARY KEY, UNIQUE INDEX or INDEX with the index's name and columns.
void AppendIndexClause(std::string& text, const IndexDefinition& index) {
  if ((index.Options & kIndexPrimaryBit) != 0)
    text += "PRIMARY KEY ";
  else if ((index.Options & kIndexUniqueBit) != 0)
    text += "UNIQUE INDEX ";
  else
    text += "INDEX ";
  std::string columns = index.Fields;
  std::replace(columns.begin(), columns.end(), ';', ',');
  text += index.Name + " (" + columns + ")";
}

}  // namespace

std::string CreateTableStatement(const TableDefinition& definition) {
  std::string text = "CREATE TABLE " + definition.Name + " (";
  const char* separator = "";
  for (const ColumnDefinition& column : definition.Columns) {
    text += separator;
    AppendColumn(text, column);
    separator = ", ";
  }
  for (const IndexDefinition& index : definition.Indexes) {
    text += separator;
    AppendIndexClause(text, index);
  }
  return text + ")";
}
