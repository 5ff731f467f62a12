#pragma once
// START TRANSACTION, COMMIT and ROLLBACK on the database component of the
// query's alias. A transaction started by one text stays open across later
// texts and datasets of that component until a COMMIT or ROLLBACK ends it.
#include "engine/sql/processor/SQLCommand.h"

// START TRANSACTION; words after TRANSACTION are not read.
class TVTRSQLStartTransaction final : public TVTRSQLCommand {
 public:
  using TVTRSQLCommand::TVTRSQLCommand;
  void Parse() override;
  // "Database already in transaction" while one is open.
  void Execute(const TVTRQueryContext& query, bool is_top, bool request_live, bool& read_only,
               TVTRAO* outer_ao, TVTRCursor* outer_cursor) override;
};

// COMMIT [WORK] [FLUSH]: any words may follow; FLUSH among them writes the
// pages through to the disk.
class TVTRSQLCommit final : public TVTRSQLCommand {
 public:
  using TVTRSQLCommand::TVTRSQLCommand;
  void Parse() override;
  void Execute(const TVTRQueryContext& query, bool is_top, bool request_live, bool& read_only,
               TVTRAO* outer_ao, TVTRCursor* outer_cursor) override;

  bool Flush = false;
};

// ROLLBACK; nothing after it is read.
class TVTRSQLRollback final : public TVTRSQLCommand {
 public:
  using TVTRSQLCommand::TVTRSQLCommand;
  void Parse() override;
  void Execute(const TVTRQueryContext& query, bool is_top, bool request_live, bool& read_only,
               TVTRAO* outer_ao, TVTRCursor* outer_cursor) override;
};
