#include "app/core/FileConnection.h"

#include "engine/access/Table.h"

namespace {

// Unique among the databases of the connection's own owner, whatever windows use.
constexpr const char* kAlias = "d_file";

}  // namespace

FileConnection::FileConnection(const std::filesystem::path& file) {
  database_.SetDatabaseName(kAlias);
  database_.SetDatabaseFileName(file.string());
  database_.MultiUser = true;
  database_.MaxConnections = 500;
  database_.SilentMode = true;
  database_.Open();
}

std::unique_ptr<TVTRTable> FileConnection::Table(const std::string& table_name) {
  auto table = std::make_unique<TVTRTable>(&owner_);
  table->SetDatabaseName(kAlias);
  table->SetTableName(table_name);
  return table;
}
