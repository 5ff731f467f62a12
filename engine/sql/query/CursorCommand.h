#pragma once
// TVTRSQLCursorCommand: the base of the statements that return rows. It
// builds the statement's operator tree (BuildAO, given by the subclass),
// runs it under read locks on the stored tables it reads, copies the result
// INTO a table when asked and hands out the cursor of the root's result.
//
// The result's lifetime. The command owns Root, and Root owns the result
// table behind the cursor that GetResultCursor hands out. The cursor goes
// to the query component, which frees it before the processor runs again
// or is freed; the result table (a "TEMPORARY_TABLE_n" of "TEMP", or for a
// live result the stored table itself) stays the command's and goes with
// Root: when the command executes again, or when the processor drops the
// command (its next run, its destruction on the query's UnPrepare, a change
// of its SQL or the query's destruction). A command that fails frees Root,
// and with it every temporary table it made, before the error leaves
// Execute. INTO tables are the user's and stay.
//
// Building and running a SELECT inside another statement (INSERT ...
// SELECT, UPDATE and DELETE, subqueries): create a TVTRSQLUnion over the
// lexer standing on SELECT or "(" and Parse it (SQLUnion.h); then either
// Execute it with is_top false and take GetResultDataSet, or call BuildAO
// and execute the returned tree yourself. A command builds one tree: BuildAO
// consumes its conditions and select-list expressions.
#include <memory>
#include <string>
#include <vector>

#include "engine/sql/operators/AO.h"
#include "engine/sql/processor/SQLCommand.h"

// One item of ORDER BY.
struct TVTRSortSpecification {
  std::string TableName;  // the qualifier; empty when none
  std::string FieldName;  // a name, or a position as digits
  bool Descending = false;
};

class TVTRSQLCursorCommand : public TVTRSQLCommand {
 public:
  using TVTRSQLCommand::TVTRSQLCommand;
  ~TVTRSQLCursorCommand() override;

  // True when every condition of the statement found a node to test it.
  virtual bool ConditionsApplied() const = 0;
  // The statement's operator tree. Subqueries pass request_live true;
  // allow_unapplied false makes a condition no node can test an error.
  virtual TVTRAOPtr BuildAO(const TVTRQueryContext& query, bool request_live, TVTRAO* outer_ao,
                            TVTRCursor* outer_cursor, bool allow_unapplied) = 0;

  // Builds and runs the tree (frees the previous one first). Locks: 20225
  // when the tables stay locked; INTO: 10403 when the copy fails. With
  // is_top, `read_only` tells whether the result may be edited: only a live
  // one-table selection or an INTO copy may.
  void Execute(const TVTRQueryContext& query, bool is_top, bool request_live, bool& read_only,
               TVTRAO* outer_ao, TVTRCursor* outer_cursor) override;
  // The result table's cursor, for the caller to own and to free before
  // the command executes again or goes (see the lifetime above).
  std::unique_ptr<TVTRCursor> GetResultCursor() override;
  TVTRTable* GetResultDataSet() override;

  std::string IntoDatabaseName;
  std::string IntoTableName;  // empty without INTO
  bool IntoImmediate = false;
  std::vector<TVTRSortSpecification> OrderBy;
  TVTRAOPtr Root;

 protected:
  // ORDER BY sort-list from the current token; false, reading nothing,
  // when the current token is not ORDER.
  bool ParseOrderBy();
  // Sorts the root by OrderBy: 20243 for a position outside the selected
  // columns, 30195 for a name no column has.
  void ApplyOrderBy(TVTRAO& root);
  // Takes the INTO target of another command (a query expression of one SELECT).
  void TakeIntoTarget(TVTRSQLCursorCommand& source);

 private:
  // Opens the stored tables of Root and takes their read locks, retrying
  // while another session or process holds a conflicting lock; false when
  // a table cannot be opened or the locks stay refused.
  bool LockTables();
  // 20227 when a lock cannot be released.
  void UnlockTables();
  void CopyInto();
};
