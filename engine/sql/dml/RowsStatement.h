#pragma once
// TVTRSQLRowsStatement: the base of UPDATE and DELETE. Each turns its text
// into an internal SELECT * FROM the table with the statement's WHERE,
// runs it as a live query, takes the bookmarks of every matching row first
// and only then changes the rows one by one through a second table
// component. A changed row can therefore never come back into the rows
// still to visit, whatever the order or filter of the live result.
//
// The whole statement holds the database's section (LockDatabaseData) and
// is all or nothing (StatementChange.h).
#include <memory>

#include "engine/sql/processor/SQLCommand.h"
#include "engine/sql/query/SQLUnion.h"

class TVTRTable;

class TVTRSQLRowsStatement : public TVTRSQLCommand {
 public:
  using TVTRSQLCommand::TVTRSQLCommand;
  ~TVTRSQLRowsStatement() override;

  // RowsAffected: the rows changed. Outside a transaction 20223 "Table is
  // locked" when the table's write lock cannot be had.
  void Execute(const TVTRQueryContext& query, bool is_top, bool request_live, bool& read_only,
               TVTRAO* outer_ao, TVTRCursor* outer_cursor) override;

  // Holds the internal SELECT's tokens.
  std::unique_ptr<TVTRLexer> SelectLexer;
  std::unique_ptr<TVTRSQLUnion> Select;

 protected:
  // Starts the internal SELECT's command with the tokens select and *.
  void StartSelect();
  // Parses Select from the first token of SelectLexer.
  void ParseSelect();
  // Readies the second component, open, before any row changes.
  virtual void PrepareChanges(TVTRTable& table) {}
  // Changes or deletes the table's current row.
  virtual void ChangeRow(TVTRTable& table) = 0;
};
