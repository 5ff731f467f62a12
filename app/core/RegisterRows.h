#pragma once
// The stored rows of a register window's table, as the window's save, delete
// and number checks change and ask them. Every call works on the stored
// table as it is now (other windows and programs change it meanwhile) and
// reports refusals of the engine as its exceptions.
#include <string>
#include <vector>

struct ColumnValue {
  std::string column;
  std::string text;  // UTF-8, as the edit box shows it
};
using RowValues = std::vector<ColumnValue>;

class RegisterRows {
 public:
  virtual ~RegisterRows() = default;
  // Whether a row's key equals `key`, or with `prefix` begins with it
  // (case-sensitive).
  virtual bool HasKey(const std::string& key, bool prefix) = 0;
  virtual void Insert(const RowValues& values) = 0;
  // The rows affected: 0 when no row has the key (any more).
  virtual int Update(const std::string& key, const RowValues& values) = 0;
  virtual int Delete(const std::string& key) = 0;
};
