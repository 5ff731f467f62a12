#pragma once
// TVTRSQLUpdate: UPDATE [MEMORY] table [alias] [PASSWORD 'text'] SET column
// = value {, column = value} [WHERE condition]. Only the table's own name
// qualifies a column (UPDATE t SET t.a = 1); the rows are those of
// SELECT * FROM table [alias] WHERE condition (RowsStatement.h).
#include <memory>
#include <string>
#include <vector>

#include "engine/sql/dml/RowsStatement.h"
#include "engine/sql/expression/SQLExpression.h"

class TVTRSQLUpdate final : public TVTRSQLRowsStatement {
 public:
  using TVTRSQLRowsStatement::TVTRSQLRowsStatement;
  ~TVTRSQLUpdate() override;

  void Parse() override;

  std::string TableName;
  std::string Password;  // read and not used
  std::vector<std::string> FieldNames;
  std::vector<std::unique_ptr<TVTRSQLExpression>> Values;
  std::string Alias;

 private:
  void ParseAssignments();
  // A SET column the table lacks raises "Field '%s' not found" here,
  // before any row changes.
  void PrepareChanges(TVTRTable& table) override;
  // Every SET value is computed from the row as it was before the change.
  void ChangeRow(TVTRTable& table) override;

  std::vector<int32_t> targets_;  // the visible field of each SET column
  TToken table_token_;
  TToken alias_token_;
  bool memory_written_ = false;
};
