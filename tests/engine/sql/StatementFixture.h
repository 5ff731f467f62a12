#pragma once
// SQL texts run by a window's query component on the window's database
// component "d_main", over the file of TableTest (with its table "Donate").
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/access/Query.h"
#include "engine/sql/SQLEngineStartup.h"
#include "platform/rtl/Exception.h"
#include "tests/engine/access/TableFixture.h"

class StatementTest : public TableTest {
 protected:
  StatementTest() { InitializeSQLEngine(); }

  // Runs the whole text as a statement without result.
  void Run(const std::string& sql) {
    query_->SQL().SetText(sql);
    query_->ExecSQL();
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

  std::unique_ptr<TVTRQuery> query_ = [this] {
    auto query = std::make_unique<TVTRQuery>(&form_);
    query->SetDatabaseName("d_main");
    return query;
  }();
};
