#pragma once
// TVTRAOTable: a leaf of the operator tree, over one stored table (also one
// of another database file, through a database component of its own). Its
// columns are the table's fields, hidden until the select list or a
// condition names them. The node never materialises: its result table is
// the stored table, opened with the node's filter and order, so a query on
// one table can give a live result.
#include <memory>
#include <string>

#include "engine/sql/operators/AO.h"

class TVTRDatabase;

class TVTRAOTable : public TVTRAO {
 public:
  // Opens the table; another process's table lock that outlasts the read's
  // attempts raises 20225, any other failure 10303. With an external file name
  // the table is opened through a new database component on that file,
  // under a new alias "ExternalDb" and a number.
  TVTRAOTable(const std::string& table_name, const std::string& password, bool in_memory,
              bool disable_temp_files, const std::string& session_name, const std::string& external_file_name,
              const std::string& database_name, std::string alias);
  ~TVTRAOTable() override;

  // A qualifier naming neither the table nor its alias raises 30327. The
  // table shows the selected fields under their aliases.
  void ApplySelectList(std::span<TVTRSelectListItem> items, bool distinct) override;
  // Orders the table, makes it distinct and hands the filter to its cursor,
  // which answers it through indexes and record tests.
  void Execute(bool is_root, TVTRAO* outer_ao, TVTRCursor* outer_cursor) override;

  std::unique_ptr<TVTRDatabase> ExternalDatabase;
};
