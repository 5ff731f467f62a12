#pragma once
// TVTRSQLInsert: INSERT INTO [MEMORY] table [PASSWORD 'text'] [(columns)]
// VALUES (values) | [(] SELECT ... [)]. The rows go in through a table
// component of the query's alias and session, so they pass the same record
// checks, locks and transactions as a program's own edits.
#include <memory>
#include <string>
#include <vector>

#include "engine/sql/expression/SQLExpression.h"
#include "engine/sql/processor/SQLCommand.h"

class TVTRTable;

class TVTRSQLInsert final : public TVTRSQLCommand {
 public:
  using TVTRSQLCommand::TVTRSQLCommand;
  ~TVTRSQLInsert() override;

  void Parse() override;
  // One row from the VALUES; RowsAffected 1. A column the table lacks
  // raises the dataset's "Field '%s' not found" before anything is written;
  // a failing value or post cancels the row.
  void Execute(const TVTRQueryContext& query, bool is_top, bool request_live, bool& read_only,
               TVTRAO* outer_ao, TVTRCursor* outer_cursor) override;

  std::string TableName;
  std::string Password;  // read and not used
  std::vector<std::string> FieldNames;
  std::vector<std::unique_ptr<TVTRSQLExpression>> Values;

 private:
  void ParseColumnList();
  void ParseValues();
  // The visible field of the target each value goes to: by name when the
  // column list names one per value, else by position.
  std::vector<int32_t> TargetFields(TVTRTable& table) const;
  void InsertValues(TVTRTable& table);
  // 20259 "Number of field names doesn't equal to the number of field
  // values" with both counts, at the token where the values ended.
  [[noreturn]] void RaiseCountMismatch(size_t names, size_t values) const;

  int32_t values_end_line_ = 0;
  int32_t values_end_column_ = 0;
};
