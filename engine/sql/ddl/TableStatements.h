#pragma once
// CREATE TABLE, DROP TABLE and TRUNCATE TABLE. A table that is not there is
// no error for DROP and TRUNCATE; none of them counts rows.
#include "engine/sql/ddl/TableManipulation.h"

// CREATE TABLE [IF NOT EXISTS] [MEMORY] [file.]table ( definitions ).
class TVTRDDLCreateTable final : public TVTRDDLTableManipulation {
 public:
  using TVTRDDLTableManipulation::TVTRDDLTableManipulation;
  void Parse() override;
  // 30247 when the table exists (nothing without IF NOT EXISTS); 30248
  // with the message of any failure to create it.
  void Execute(const TVTRQueryContext& query, bool is_top, bool request_live, bool& read_only,
               TVTRAO* outer_ao, TVTRCursor* outer_cursor) override;

  bool IfNotExists = false;
};

// DROP TABLE [IF EXISTS] [MEMORY] [file.]table.
class TVTRDDLDropTable final : public TVTRDDLTableManipulation {
 public:
  using TVTRDDLTableManipulation::TVTRDDLTableManipulation;
  void Parse() override;
  // 30250 with the message of any failure to drop the table.
  void Execute(const TVTRQueryContext& query, bool is_top, bool request_live, bool& read_only,
               TVTRAO* outer_ao, TVTRCursor* outer_cursor) override;
};

// TRUNCATE [TABLE] [MEMORY] [file.]table. Inside a transaction of the
// query's database the rows come back with a rollback.
class TVTRDDLTruncateTable final : public TVTRDDLTableManipulation {
 public:
  using TVTRDDLTableManipulation::TVTRDDLTableManipulation;
  void Parse() override;
  // 30491 with the message of any failure to empty the table.
  void Execute(const TVTRQueryContext& query, bool is_top, bool request_live, bool& read_only,
               TVTRAO* outer_ao, TVTRCursor* outer_cursor) override;
};
