#include "engine/sql/dml/RowsStatement.h"

#include <string>
#include <vector>

#include "engine/access/Table.h"
#include "engine/sql/dml/StatementChange.h"
#include "engine/sql/processor/StatementWords.h"

using namespace statement_words;

namespace {

// Holds the database's section of a cursor for a scope.
class DatabaseDataLock {
 public:
  explicit DatabaseDataLock(TVTRCursor& cursor) : cursor_(cursor) { cursor_.LockDatabaseData(); }
  ~DatabaseDataLock() {
    try {
      cursor_.UnlockDatabaseData();
    } catch (...) {
      // Raised only for a closed cursor, which holds nothing.
    }
  }
  DatabaseDataLock(const DatabaseDataLock&) = delete;
  DatabaseDataLock& operator=(const DatabaseDataLock&) = delete;

 private:
  TVTRCursor& cursor_;
};

// A closed table component on the table the live result shows.
std::unique_ptr<TVTRTable> SameTable(const TVTRTable& result, TComponent* owner) {
  auto table = std::make_unique<TVTRTable>(owner);
  table->SetSessionName(result.SessionName());
  table->SetDatabaseName(result.DatabaseName());
  table->SetTableName(result.TableName());
  if (result.InMemory()) table->SetInMemory(true);
  return table;
}

}  // namespace

TVTRSQLRowsStatement::~TVTRSQLRowsStatement() = default;

void TVTRSQLRowsStatement::StartSelect() {
  SelectLexer = std::make_unique<TVTRLexer>("", nullptr);
  SelectLexer->AddCommand();
  TToken word{.kind = tktReservedWord, .reserved_word = rwSelect, .text = "select", .line = Token.line,
              .column = Token.column};
  SelectLexer->AddToken(word);
  SelectLexer->AddToken({.kind = tktString, .text = "*", .line = Token.line, .column = Token.column});
}

void TVTRSQLRowsStatement::ParseSelect() {
  SelectLexer->SetCurrentTokenNo(0);
  Select = std::make_unique<TVTRSQLUnion>(*SelectLexer);
  Select->Query = Query;
  Select->Parse();
}

void TVTRSQLRowsStatement::Execute(const TVTRQueryContext& query, bool, bool, bool&, TVTRAO*, TVTRCursor*) {
  RowsAffected = 0;
  bool result_read_only = false;
  Select->Execute(query, false, true, result_read_only, nullptr, nullptr);
  TVTRTable& result = *Select->GetResultDataSet();
  DatabaseDataLock lock(*result.Handle());
  std::vector<TBookmark> rows;
  for (result.First(); !result.Eof(); result.Next()) rows.push_back(result.GetBookmark());

  std::unique_ptr<TVTRTable> table = SameTable(result, query.Owner);
  table->Open();
  PrepareChanges(*table);
  RunStatementChange(*table->Handle(), 20223, [&] {
    for (const TBookmark& row : rows) {
      table->GotoBookmark(row);
      ChangeRow(*table);
    }
  });
  table->Close();
  RowsAffected = static_cast<int32_t>(rows.size());
}
