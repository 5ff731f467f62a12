#pragma once
// TVTRSQLInsert: INSERT INTO [MEMORY] table [PASSWORD 'text'] [(columns)]
// VALUES (values) | [(] SELECT ... [)]. The rows go in through a table
// component of the query's alias and session, so they pass the same record
// checks, locks and transactions as a program's own edits.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/sql/expression/SQLExpression.h"
#include "engine/sql/processor/SQLCommand.h"
#include "engine/sql/query/SQLUnion.h"

class TVTRTable;

// For tests: sees the temporary copy of INSERT ... SELECT before the
// SELECT's rows are imported into it (nil: none).
void SetInsertSelectImportHook(std::function<void(TVTRTable&)> hook);

class TVTRSQLInsert final : public TVTRSQLCommand {
 public:
  using TVTRSQLCommand::TVTRSQLCommand;
  ~TVTRSQLInsert() override;

  void Parse() override;
  // VALUES: one row; RowsAffected 1. A column the table lacks raises the
  // dataset's "Field '%s' not found" before anything is written; a failing
  // value or post cancels the row.
  // SELECT: the result is copied into a temporary "TmpTableForInsert" of
  // "TEMP" (dropped again on every path), whose rows are then appended all
  // or nothing, each field by position (or to the listed column); a copy
  // that loses rows raises 10403 with its log, more columns than the target
  // takes 20259, each before any row is written. RowsAffected: the rows.
  void Execute(const TVTRQueryContext& query, bool is_top, bool request_live, bool& read_only,
               TVTRAO* outer_ao, TVTRCursor* outer_cursor) override;

  std::string TableName;
  std::string Password;  // read and not used
  std::vector<std::string> FieldNames;
  std::vector<std::unique_ptr<TVTRSQLExpression>> Values;
  std::unique_ptr<TVTRSQLUnion> Select;

 private:
  void ParseColumnList();
  void ParseValues();
  // The SELECT from the current token on.
  void ParseSelect();
  void InsertValues(TVTRTable& table);
  void InsertSelected(const TVTRQueryContext& query, TVTRTable& table);
  // The columns the SELECT gives when its text tells (one SELECT without
  // "*"); -1 otherwise.
  int32_t KnownColumnCount() const;
  // The target's visible field for each of `columns` values: the listed
  // columns by name, else the leading fields; 20259 when the counts differ
  // (or, without a list, the target has fewer fields).
  std::vector<int32_t> TargetsOfColumns(TVTRTable& table, int32_t columns) const;
  // 20259 "Number of field names doesn't equal to the number of field
  // values" with both counts, at the token where the values ended or the
  // SELECT began.
  [[noreturn]] void RaiseCountMismatch(size_t names, size_t values) const;

  int32_t values_line_ = 0;
  int32_t values_column_ = 0;
};
