#pragma once
// SQL texts run through the statement processor as a window's query runs
// them: on the window's database component "d_main" over the file of
// TableTest (with its table "Donate").
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/sql/SQLEngineStartup.h"
#include "engine/sql/processor/SQLProcessor.h"
#include "engine/storage/base/Cursor.h"
#include "platform/rtl/Exception.h"
#include "tests/engine/access/TableFixture.h"

class StatementTest : public TableTest {
 protected:
  StatementTest() { InitializeSQLEngine(); }

  // Runs the whole text; the statements here hand back no cursor.
  void Run(const std::string& sql) {
    processor_.SetSQLText(sql);
    EXPECT_EQ(processor_.Execute(), nullptr) << sql;
  }

  // The message of any error the text raises; empty when none.
  std::string ErrorOf(const std::string& sql) {
    try {
      Run(sql);
    } catch (const Exception& error) {
      return error.Message();
    }
    return {};
  }

  bool TableExists(const std::string& name) { return Table(name)->Exists(); }

  // The stored indexes of the table, each "name fields desc:fields case:fields options".
  std::vector<std::string> IndexesOf(const std::string& table_name) {
    auto table = Table(table_name);
    table->Open();
    std::vector<std::string> indexes;
    for (int i = 0; i < table->IndexDefs().Count(); ++i) {
      const TIndexDef& def = *table->IndexDefs()[i];
      indexes.push_back(def.Name() + " " + def.Fields() + " desc:" + def.DescFields() +
                        " case:" + def.CaseInsFields() + " " + std::to_string(def.Options().Bits()));
    }
    return indexes;
  }

  // The names of the table's columns in order.
  std::vector<std::string> ColumnsOf(const std::string& table_name) {
    auto table = Table(table_name);
    table->Open();
    std::vector<std::string> names;
    for (int i = 0; i < table->FieldDefs().Count(); ++i) names.push_back(table->FieldDefs()[i]->Name());
    return names;
  }

  TVTRLocalSQLProcessor processor_{[this] {
    return TVTRQueryContext{
        .Query = nullptr, .Owner = &form_, .DatabaseName = "d_main", .SessionName = {}, .InMemory = false};
  }};
};
