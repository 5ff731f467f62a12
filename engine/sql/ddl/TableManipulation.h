#pragma once
// TVTRDDLTableManipulation: the base of the statements that define or
// change a table. It holds the table's name and the parsed column and index
// definitions, parses them, and makes the table component (and, for a table
// of another file, the database component) a statement works through.
#include <memory>
#include <string>
#include <vector>

#include "engine/foundation/VTRExcept.h"
#include "engine/sql/ddl/SQLFieldDef.h"
#include "engine/sql/processor/SQLCommand.h"

class TVTRAdvFieldDef;
class TVTRDatabase;
class TVTRTable;

// The components of one statement; the table is freed before its database.
struct TVTRStatementTable {
  TVTRStatementTable();
  TVTRStatementTable(TVTRStatementTable&&) noexcept;
  ~TVTRStatementTable();

  std::unique_ptr<TVTRDatabase> ExternalDatabase;  // only for file.table
  std::unique_ptr<TVTRTable> Table;
};

// Runs the operation; any failure becomes `code` with `format` naming its message.
template <typename Operation>
void WithFailureAs(int32_t code, const char* format, Operation operation) {
  try {
    operation();
  } catch (const Exception& error) {
    throw EVTRException::CreateFmt(code, format, error.Message());
  }
}

class TVTRDDLTableManipulation : public TVTRSQLCommand {
 public:
  using TVTRSQLCommand::TVTRSQLCommand;

  std::string DatabaseFile;  // the word before the dot of file.table
  std::string TableName;
  TSQLFieldDefs FieldDefs;
  std::vector<TVTRSQLIndex> Indexes;

 protected:
  // [MEMORY] [file.]table from the current token on; the token after it
  // becomes current.
  void ParseTableName();
  // "(" column definitions and index clauses ")": the ")" stays current.
  void ParseColumnDefinitions();
  // The type whose name is the current token, with its size or
  // autoincrement options; the token after it becomes current.
  void ParseFieldType(TSQLFieldDef& def);
  // 30246 when a token follows the current one.
  void CheckEnd();
  // The table component (owned by the query's owner) on the query's alias,
  // or on a database component of its own for file.table; in memory for
  // MEMORY or an in-memory query. With `with_fields` its extended field
  // definitions are the parsed ones.
  TVTRStatementTable MakeTable(const TVTRQueryContext& query, bool with_fields) const;
  // Writes the values the definition gives over the extended definition.
  static void CopyFieldAttributes(TVTRAdvFieldDef& target, const TSQLFieldDef& source);
  // Clears the table's IndexDefs and appends the index clauses to both of
  // its extended index definition lists.
  void BuildIndexDefs(TVTRTable& table) const;

 private:
  void ParseColumnDefinition();
  void ParseColumnOptions(TSQLFieldDef& def);
  void ParseAutoincOptions(TSQLFieldDef& def);
  // PRIMARY [KEY] [name] (...) or [UNIQUE] INDEX [name] (...).
  void ParseIndexClause();
  // The token after DEFAULT, MINVALUE or MAXVALUE, which must be there; a
  // sign and the number after it are read as one signed number.
  TToken ReadOptionValue();
  // The integer of the next token (30292 for another token, 30291 when it
  // does not fit 64 bits).
  int64_t ReadInteger();
};
