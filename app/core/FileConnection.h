#pragma once
// A connection of its own to one database file, as the programs' windows make
// theirs (multi-user, up to 500 connections), with table components on it;
// for the code that writes a file outside any window. Requires the engine
// runtime; the file must exist.
#include <filesystem>
#include <memory>
#include <string>

#include "engine/access/Database.h"
#include "platform/rtl/Component.h"

class TVTRTable;

class FileConnection {
 public:
  explicit FileConnection(const std::filesystem::path& file);
  FileConnection(const FileConnection&) = delete;
  FileConnection& operator=(const FileConnection&) = delete;

  // A closed table component named `table_name` on this connection; the
  // connection owns it too, so it must be freed first.
  std::unique_ptr<TVTRTable> Table(const std::string& table_name);
  // Closes the tables and disconnects, raising what that fails with; without
  // it, the destructor disconnects and reports a failure to the application.
  void Close() { database_.Close(); }

 private:
  TComponent owner_{nullptr};
  TVTRDatabase database_{&owner_};
};
