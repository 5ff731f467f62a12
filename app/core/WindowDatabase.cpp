#include "app/core/WindowDatabase.h"

#include "app/core/WorkingFolder.h"

namespace {

constexpr int kMaxConnections = 500;

}  // namespace

void SetUpWindowDatabase(TVTRDatabase& database, const std::string& alias, bool keep_connection) {
  database.SetDatabaseName(alias);
  database.SetDatabaseFileName(WorkingPath(kDatabaseFileName));
  database.SetKeepConnection(keep_connection);
  database.Exclusive = false;
  database.MultiUser = true;
  database.MaxConnections = kMaxConnections;
}
