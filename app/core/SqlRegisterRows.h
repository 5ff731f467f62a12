#pragma once
// RegisterRows through the window's own SQL texts: the INSERT, UPDATE and
// DELETE of a register run on a query component of the window's connection,
// with every ":name" parameter filled from the boxes' texts by the window's
// parameter list. The key look-ups are parameterised SELECTs on the key
// column. UPDATE and DELETE report the engine's rows affected.
#include <string>
#include <vector>

#include "app/core/RegisterRows.h"

class TComponent;
class TParam;
class TVTRQuery;

// How a box's text becomes a parameter's value.
enum class ParamKind {
  kText,     // the text as shown
  kNumber,   // a floating-point number; an empty box is null
  kInteger,  // a whole number; an empty box is null
  kDate,     // day/month/Buddhist-era year; a blank date is null
};

// A ":name" of the statements and the column of the window's row values that
// fills it; an empty column leaves the parameter null.
struct RegisterParam {
  std::string name;
  std::string column;
  ParamKind kind = ParamKind::kText;
};

// A statement as lines, and the parameter that takes the key the row had when
// the edit or delete started (empty: none).
struct KeyedStatement {
  std::vector<std::string> lines;
  std::string key_param;
};

struct RegisterSql {
  std::string table;
  std::string key_column;
  ParamKind key_kind = ParamKind::kText;
  std::vector<std::string> insert;
  KeyedStatement update;
  KeyedStatement remove;
  // Every parameter of the INSERT and UPDATE but the key parameters.
  std::vector<RegisterParam> params;
};

class SqlRegisterRows : public RegisterRows {
 public:
  // The queries belong to `owner` (the window) and run on `alias`.
  SqlRegisterRows(TComponent* owner, const std::string& alias, RegisterSql sql);

  bool HasKey(const std::string& key, bool prefix) override;
  void Insert(const RowValues& values) override;
  int Update(const std::string& key, const RowValues& values) override;
  int Delete(const std::string& key) override;

 private:
  // Runs the statement with its parameters filled; returns the rows affected.
  int Execute(const std::vector<std::string>& lines, const std::string& key_param, const std::string& key,
              const RowValues& values);
  void Fill(TParam& param, const RegisterParam& source, const RowValues& values) const;

  RegisterSql sql_;
  TVTRQuery* add_edit_;
  TVTRQuery* query_temp_;
};

// Sets `param` from a box's text by `kind`; a text that is no number or date
// raises EConvertError.
void SetParamFromText(TParam& param, ParamKind kind, const std::string& text);
