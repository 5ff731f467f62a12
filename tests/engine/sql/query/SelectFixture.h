#pragma once
// SELECT statements run through a window's query component over tables made
// with CREATE TABLE and filled through table components.
#include <string>
#include <vector>

#include "engine/access/Table.h"
#include "platform/db/Field.h"
#include "tests/engine/sql/StatementFixture.h"
#include "tests/engine/sql/TemporaryTables.h"

class SelectTest : public StatementTest {
 protected:
  // CREATE TABLE name (columns), then the rows, each value as text ("NULL" for none).
  void MakeTable(const std::string& name, const std::string& columns,
                 const std::vector<std::vector<std::string>>& rows) {
    Run("CREATE TABLE " + name + " (" + columns + ")");
    auto table = Table(name);
    table->Open();
    for (const auto& row : rows) {
      table->Append();
      for (size_t i = 0; i < row.size(); ++i)
        if (row[i] != "NULL") table->Fields()[static_cast<int>(i)]->SetAsString(row[i]);
      table->Post();
    }
  }

  // Opens the query on the text (parameters set beforehand stay) and gives
  // every row, its fields' texts joined by "|"; the query stays open.
  std::vector<std::string> OpenRows(const std::string& sql) {
    query_->Close();
    query_->SQL().SetText(sql);
    query_->Open();
    return RowsOf(*query_);
  }

  // OpenRows, the query closed afterwards.
  std::vector<std::string> RowsFor(const std::string& sql) {
    std::vector<std::string> rows = OpenRows(sql);
    query_->Close();
    return rows;
  }

  static std::vector<std::string> RowsOf(TDataSet& data_set) {
    std::vector<std::string> rows;
    for (data_set.First(); !data_set.Eof(); data_set.Next()) {
      std::string row;
      for (int i = 0; i < data_set.Fields().Count(); ++i) {
        if (i > 0) row += '|';
        TField* field = data_set.Fields()[i];
        row += field->IsNull() ? "NULL" : field->AsString();
      }
      rows.push_back(row);
    }
    return rows;
  }

  // The names of the query's fields in order.
  std::vector<std::string> FieldNames() {
    std::vector<std::string> names;
    for (int i = 0; i < query_->Fields().Count(); ++i) names.push_back(query_->Fields()[i]->FieldName());
    return names;
  }

  // The message of the error opening the text raises; empty when none.
  std::string OpenError(const std::string& sql) {
    try {
      RowsFor(sql);
    } catch (const Exception& error) {
      return error.Message();
    }
    return {};
  }
};
