#pragma once
// RegisterRows over a table component of the window: the table is opened for
// each call and closed after it, so every call sees the stored rows as they
// are now. Rows are found by the text of their key column.
#include <string>

#include "app/core/RegisterRows.h"
#include "engine/access/Table.h"

class TTableRegisterRows : public RegisterRows {
 public:
  // `table` names the stored table on the window's alias; it is not ReadOnly.
  TTableRegisterRows(TVTRTable& table, std::string key_column);

  bool HasKey(const std::string& key, bool prefix) override;
  void Insert(const RowValues& values) override;
  int Update(const std::string& key, const RowValues& values) override;
  int Delete(const std::string& key) override;

 private:
  // Moves the open table to the first row whose key matches; false when none does.
  bool Seek(const std::string& key, bool prefix);
  void Assign(const RowValues& values);
  // Runs `work` on the open table and closes it on every exit; returns
  // what `work` returns.
  template <typename Work>
  auto WithOpenTable(Work&& work);

  TVTRTable& table_;
  std::string key_column_;
};
