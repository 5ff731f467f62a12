#pragma once
// CREATE INDEX and DROP INDEX, through a table component of the query's
// alias; the table component's errors (20175 inside a transaction, 20228
// when another user has the table open) reach the caller unchanged.
#include <string>
#include <vector>

#include "engine/sql/ddl/SQLFieldDef.h"
#include "engine/sql/processor/SQLCommand.h"

// CREATE [UNIQUE] INDEX name ON table ( column [ASC|DESC|CASE|NOCASE]..., ... ).
class TVTRDDLCreateIndex final : public TVTRSQLCommand {
 public:
  using TVTRSQLCommand::TVTRSQLCommand;
  void Parse() override;
  void Execute(const TVTRQueryContext& query, bool is_top, bool request_live, bool& read_only,
               TVTRAO* outer_ao, TVTRCursor* outer_cursor) override;

  bool Unique = false;
  std::string IndexName;
  std::string TableName;
  std::string Password;  // read and not used
  std::vector<TVTRSQLIndexField> Columns;
};

// DROP INDEX table.index [PASSWORD 'text'].
class TVTRDDLDropIndex final : public TVTRSQLCommand {
 public:
  using TVTRSQLCommand::TVTRSQLCommand;
  void Parse() override;
  void Execute(const TVTRQueryContext& query, bool is_top, bool request_live, bool& read_only,
               TVTRAO* outer_ao, TVTRCursor* outer_cursor) override;

  std::string TableName;
  std::string IndexName;
  std::string Password;  // read and not used
};
