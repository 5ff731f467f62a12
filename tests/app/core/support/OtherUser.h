#pragma once
// Another user's connection to the program's database file, made at its first
// use: table components on it store and read rows while a window works.
#include <memory>
#include <string>
#include <utility>

#include "engine/access/Database.h"
#include "engine/access/Table.h"

class OtherUserConnection {
 public:
  explicit OtherUserConnection(std::string alias) : alias_(std::move(alias)) {}

  // A table component of the connection to `file`.
  TVTRTable& Table(const std::string& file, const std::string& table_name) {
    if (!connection_) {
      connection_ = std::make_unique<TComponent>(nullptr);
      auto* database = new TVTRDatabase(connection_.get());
      database->SetDatabaseName(alias_);
      database->SetDatabaseFileName(file);
      database->MultiUser = true;
    }
    auto* table = new TVTRTable(connection_.get());
    table->SetDatabaseName(alias_);
    table->SetTableName(table_name);
    return *table;
  }

  void Disconnect() { connection_.reset(); }

 private:
  std::string alias_;
  std::unique_ptr<TComponent> connection_;
};
