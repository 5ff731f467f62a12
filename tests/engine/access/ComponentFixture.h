#pragma once
// The engine runtime with headless prompts, and database files in a scratch
// folder: what the tests of the session and database components stand on.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "engine/access/HeadlessUi.h"
#include "engine/access/VTRMain.h"
#include "engine/storage/database/DatabaseDataList.h"
#include "tests/engine/access/DonateTable.h"
#include "tests/support/ScratchFolder.h"

// The file's database object in DatabaseDataList, or nullptr.
inline TVTRDatabaseData* ListedDatabase(const std::string& file_name) {
  return DatabaseDataList().Find(
      [&](const TVTRDatabaseData& database) { return database.DatabaseFileName == file_name; });
}

// Overwrites bytes of a file in place.
inline void PatchFile(const std::string& file_name, std::streamoff offset, const void* bytes, std::streamsize size) {
  std::fstream file(file_name, std::ios::in | std::ios::out | std::ios::binary);
  file.seekp(offset);
  file.write(static_cast<const char*>(bytes), size);
  ASSERT_TRUE(file.good()) << file_name;
}

// The message of the dataset layer's error an action raises; empty when none.
inline std::string DatabaseErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const EDatabaseError& error) {
    return error.Message();
  }
  return {};
}

class ComponentTest : public ::testing::Test {
 protected:
  // A multi-user file with the table Donate, optionally encrypted.
  std::string CreateFile(const std::string& name, const std::string& password = {}) {
    const std::string file_name = folder_.File(name);
    CreateDonateDatabase(file_name, password);
    return file_name;
  }

  // A database component as the programs set theirs, owned by `owner`.
  static std::unique_ptr<TVTRDatabase> Database(const std::string& alias, const std::string& file_name,
                                                TComponent* owner = nullptr) {
    auto database = std::make_unique<TVTRDatabase>(owner);
    database->SetDatabaseName(alias);
    database->SetDatabaseFileName(file_name);
    database->MultiUser = true;
    database->SetKeepConnection(false);
    return database;
  }

  TVTRHeadlessUi ui_;
  TVTREngineRuntime runtime_{ui_};
  ScratchFolder folder_;
};
