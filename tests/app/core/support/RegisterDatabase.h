#pragma once
// The program's database file in a scratch working folder, with the tables a
// window test needs made through table components, and the engine runtime
// with the program's prompts and exception handler, and the SQL engine
// started (the register windows list through queries): what the register window
// tests stand on.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/core/InstallEngineUi.h"
#include "app/core/WorkingFolder.h"
#include "engine/access/Database.h"
#include "engine/access/LocalSession.h"
#include "engine/access/Table.h"
#include "engine/sql/SQLEngineStartup.h"
#include "platform/db/DB.h"
#include "platform/ui/Form.h"
#include "platform/ui/FormsApplication.h"
#include "tests/app/core/support/MdiFrame.h"
#include "tests/app/core/support/OtherUser.h"
#include "tests/app/core/support/ScopedWorkingFolder.h"
#include "tests/platform/ui/support/UiTest.h"
#include "tests/support/ScratchFolder.h"

class RegisterDatabaseTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    installed_ = InstallEngineUi();
    InitializeSQLEngine();
    TVTRLocalSession session;
    session.DatabaseName = "d_create";
    session.DatabaseFileName = File();
    session.MaxConnections = 8;
    session.PageSize = 4096;
    session.PagesPerExtent = 8;
    session.MultiUser = true;
    session.CreateDatabase();
    MdiFrame::Open();
  }
  void TearDown() override {
    Application().DestroyComponents();
    user::ProcessEvents();
    other_user_.Disconnect();
    installed_.reset();
    UiTest::TearDown();
  }

  std::string File() const { return WorkingPath(kDatabaseFileName); }

  // Another user's connection to the file, with a table component on it.
  TVTRTable& OtherUser(const std::string& table_name) { return other_user_.Table(File(), table_name); }

  // Creates a table of text columns whose first column is its unique key.
  void CreateTable(const std::string& name, const std::vector<std::pair<std::string, int>>& text_columns) {
    TVTRTable& table = OtherUser(name);
    for (const auto& [column, size] : text_columns) table.FieldDefs().Add(column, ftString, size);
    table.IndexDefs().Add("ByKey", text_columns.front().first, TIndexOptions{ixPrimary});
    table.CreateTable();
  }

  // Stores rows through the other user's connection.
  void Store(const std::string& name, const std::vector<std::vector<std::string>>& rows) {
    TVTRTable& table = OtherUser(name);
    table.Open();
    for (const auto& row : rows) {
      table.Append();
      for (int i = 0; i < static_cast<int>(row.size()); ++i) table.Fields()[i]->SetAsString(row[i]);
      table.Post();
    }
    table.Close();
  }

  // The stored rows, each column as text, in the table's order.
  std::vector<std::vector<std::string>> Stored(const std::string& name) {
    TVTRTable& table = OtherUser(name);
    std::vector<std::vector<std::string>> rows;
    table.Open();
    for (table.First(); !table.Eof(); table.Next()) {
      std::vector<std::string>& row = rows.emplace_back();
      for (int i = 0; i < table.FieldCount(); ++i) row.push_back(table.Fields()[i]->AsString());
    }
    table.Close();
    return rows;
  }

  ScratchFolder folder_;
  ScopedWorkingFolder working_folder_{folder_.Path()};
  std::unique_ptr<TInstalledEngineUi> installed_;
  OtherUserConnection other_user_{"d_other"};
};
