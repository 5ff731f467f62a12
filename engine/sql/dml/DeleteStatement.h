#pragma once
// TVTRSQLDelete: DELETE FROM table [alias] [WHERE condition], the table
// part as in a SELECT's FROM (MEMORY, file.table, PASSWORD). The statement
// reads as SELECT * followed by its words from FROM on, so a DELETE without
// FROM fails as that SELECT does (30184).
#include "engine/sql/dml/RowsStatement.h"

class TVTRSQLDelete final : public TVTRSQLRowsStatement {
 public:
  using TVTRSQLRowsStatement::TVTRSQLRowsStatement;

  void Parse() override;

 private:
  void ChangeRow(TVTRTable& table) override;
};
