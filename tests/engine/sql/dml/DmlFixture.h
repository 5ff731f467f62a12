#pragma once
// Statements that change rows, run by the window's query component, and
// the rows they leave as a table component reads them.
#include <string>
#include <vector>

#include "tests/engine/sql/StatementFixture.h"

class DmlTest : public StatementTest {
 protected:
  // Every row of the table in its stored order (or by the index), fields
  // joined by "|", NULL shown as "-".
  std::vector<std::string> Rows(const std::string& name, const std::string& index_name = {}) {
    auto table = Table(name, index_name);
    table->Open();
    std::vector<std::string> rows;
    for (; !table->Eof(); table->Next()) {
      std::string row;
      for (int i = 0; i < table->Fields().Count(); ++i) {
        const TField* field = table->Fields()[i];
        row += (i ? "|" : "") + (field->IsNull() ? std::string("-") : field->AsString());
      }
      rows.push_back(row);
    }
    return rows;
  }

  int32_t RowsAffectedBy(const std::string& sql) {
    Run(sql);
    return query_->RowsAffected();
  }
};
