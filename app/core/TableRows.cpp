#include "app/core/TableRows.h"

#include "app/core/FileConnection.h"
#include "engine/access/Table.h"
#include "platform/db/Field.h"

void AppendRows(const std::filesystem::path& file, std::span<const TableRow> rows) {
  FileConnection connection(file);
  for (const TableRow& row : rows) {
    const std::unique_ptr<TVTRTable> table = connection.Table(row.Table);
    table->Open();
    table->Append();
    for (const ColumnValue& value : row.Values) table->FieldByName(value.Column)->SetAsString(value.Value);
    table->Post();
  }
  connection.Close();
}
