#pragma once
// Window tests on a fresh temple database file: the program's main window to
// open register windows under, and another user's connection that stores and
// reads rows of the file's tables meanwhile.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/access/Database.h"
#include "engine/access/Table.h"
#include "platform/db/DB.h"
#include "platform/ui/Form.h"
#include "platform/ui/FormsApplication.h"
#include "tests/app/core/support/MdiFrame.h"
#include "tests/app/core/support/OtherUser.h"
#include "tests/app/core/support/TempleDatabaseTest.h"

class TempleWindowTest : public TempleDatabaseTest {
 protected:
  void SetUp() override {
    TempleDatabaseTest::SetUp();
    MdiFrame::Open();
  }
  void TearDown() override {
    Application().DestroyComponents();
    user::ProcessEvents();
    other_user_.Disconnect();
    TempleDatabaseTest::TearDown();
  }

  // A table component of another user's connection to the file.
  TVTRTable& OtherUser(const std::string& table_name) { return other_user_.Table(database_file_.string(), table_name); }

  // The named columns of the stored rows, as text, in storage order.
  std::vector<std::vector<std::string>> Stored(const std::string& table_name, const std::vector<std::string>& columns) {
    TVTRTable& table = OtherUser(table_name);
    std::vector<std::vector<std::string>> rows;
    table.Open();
    for (table.First(); !table.Eof(); table.Next()) {
      std::vector<std::string>& row = rows.emplace_back();
      for (const std::string& column : columns) row.push_back(table.FieldByName(column)->AsString());
    }
    table.Close();
    return rows;
  }

  void Store(const std::vector<TableRow>& rows) { AppendRows(database_file_, rows); }

  // The temple's address as the envelopes print it as the sender, with blanks
  // around the name and a blank second address line.
  void StoreTempleAddress() {
    TVTRTable& office = OtherUser("tresksys");
    office.Open();
    office.Edit();
    for (const auto& [column, value] : {std::pair{"of_name", " วัดป่า "}, std::pair{"of_add1", "1 ถนนวัด"},
                                        std::pair{"of_add2", " "}, std::pair{"of_add4", "เชียงใหม่"},
                                        std::pair{"of_zip", "50000"}})
      office.FieldByName(column)->SetAsString(value);
    office.Post();
    office.Close();
  }

 private:
  OtherUserConnection other_user_{"d_other_user"};
};
