#include "engine/sql/query/CursorCommand.h"

#include <cstdlib>
#include <utility>

#include "engine/access/Database.h"
#include "engine/access/Table.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/sql/processor/StatementWords.h"
#include "engine/storage/base/Cursor.h"
#include "platform/os/RetryPolicy.h"
#include "platform/rtl/CodePage874.h"

using namespace statement_words;

namespace {

// A query waits up to 900 times 100 ms for its tables.
constexpr RetryPolicy kTableLockRetry{900, 100};

constexpr const char* kUnexpectedToken = "Unexpected token '%s' found at line %d, column %d";

// The digits of a sort item naming a position; nullopt-like -1 for a name.
int32_t SortPosition(const TVTRSortSpecification& item) {
  if (!item.TableName.empty() || item.FieldName.empty()) return -1;
  for (const char c : item.FieldName)
    if (c < '0' || c > '9') return -1;
  return static_cast<int32_t>(std::strtol(item.FieldName.c_str(), nullptr, 10));
}

}  // namespace

TVTRSQLCursorCommand::~TVTRSQLCursorCommand() = default;

bool TVTRSQLCursorCommand::ParseOrderBy() {
  if (!AtWord(rwOrder)) return false;
  NextToken();
  if (!AtWord(rwBy)) RaiseTokenExpected(30188, "BY");
  NextToken();
  for (;;) {
    if (!InKinds(kSortItem, Token.kind))
      RaiseAtToken(30187, "Field name expected, but '%s' found at line %d, column %d");
    TVTRSortSpecification& item = OrderBy.emplace_back();
    item.FieldName = Token.text;
    NextToken();
    if (Token.kind == tktDot) {
      item.TableName = std::move(item.FieldName);
      ExpectNextToken(kNameOrKeyword, 30186, kUnexpectedToken);
      item.FieldName = Token.text;
      NextToken();
    }
    if (AtWord(rwDesc) || AtWord(rwAsc)) {
      item.Descending = AtWord(rwDesc);
      NextToken();
    }
    if (Token.kind != tktComma) return true;
    ExpectNextToken(kSortItem, 30189, kUnexpectedToken);
  }
}

void TVTRSQLCursorCommand::ApplyOrderBy(TVTRAO& root) {
  if (OrderBy.empty()) return;
  std::string fields, desc_fields;
  for (const TVTRSortSpecification& item : OrderBy) {
    const int32_t position = SortPosition(item);
    const std::string& name = position >= 0 ? root.GetOrderByColumnName(position - 1) : item.FieldName;
    std::vector<int32_t> columns;
    if (root.FindFields(name, item.TableName, false, &columns, !root.IsGrouping) == 0)
      throw EVTRException::CreateFmt(30195, "Column '%s' from ORDER BY clause not found", name);
    const std::string field = root.GetColumnFieldName(columns.front(), true);
    if (!fields.empty()) fields += ';';
    fields += field;
    if (!item.Descending) continue;
    if (!desc_fields.empty()) desc_fields += ';';
    desc_fields += field;
  }
  root.Sort(fields, desc_fields, "");
}

void TVTRSQLCursorCommand::TakeIntoTarget(TVTRSQLCursorCommand& source) {
  IntoTableName = std::move(source.IntoTableName);
  IntoDatabaseName = std::move(source.IntoDatabaseName);
  IntoImmediate = source.IntoImmediate;
  InMemoryTarget = source.InMemoryTarget;
}

void TVTRSQLCursorCommand::Execute(const TVTRQueryContext& query, bool is_top, bool request_live,
                                   bool& read_only, TVTRAO* outer_ao, TVTRCursor* outer_cursor) {
  RowsAffected = 0;
  Root.reset();
  try {
    Root = BuildAO(query, request_live, outer_ao, outer_cursor, false);
    const bool into_memory = InMemoryTarget || query.InMemory;
    if (!IntoTableName.empty() && !Root->IsBaseTable) {
      // Only the IMMEDIATE form lets the root write the target itself.
      const std::string database =
          IntoDatabaseName.empty() && !into_memory ? query.DatabaseName : Cp874ToUtf8(IntoDatabaseName);
      Root->SetInto(into_memory, IntoImmediate, database, Cp874ToUtf8(IntoTableName));
    }
    if (!LockTables()) throw EVTRException(20225, "Table is locked");
    try {
      Root->Execute(is_top, outer_ao, outer_cursor);
    } catch (...) {
      try {
        UnlockTables();
      } catch (...) {
        // The failure of the execution is the one the caller hears about.
      }
      throw;
    }
    UnlockTables();
    if (is_top) {
      read_only = !request_live || (!Root->IsBaseTable && IntoTableName.empty());
      Root->Result().Handle()->ReadOnly = read_only;
    }
    if (!IntoTableName.empty() && (Root->IsBaseTable || Root->IntoTableName.empty())) CopyInto();
  } catch (...) {
    Root.reset();
    throw;
  }
}

bool TVTRSQLCursorCommand::LockTables() {
  if (!Root->OpenBaseTables()) return false;
  return kTableLockRetry.Run([this] {
    if (Root->LockBaseTables()) return true;
    // No partial set is held while waiting.
    if (!Root->UnlockBaseTables()) throw EVTRException(20226, "Cannot unlock table");
    return false;
  });
}

void TVTRSQLCursorCommand::UnlockTables() {
  if (!Root->UnlockBaseTables()) throw EVTRException(20227, "Cannot unlock table");
}

void TVTRSQLCursorCommand::CopyInto() {
  const bool in_memory = InMemoryTarget || Query.InMemory;
  TVTRTable target(Query.Owner);
  target.SetSessionName(Query.SessionName);
  if (in_memory) {
    target.SetInMemory(true);
  } else {
    // The copy goes into the database the statement names, else the query's.
    target.SetDatabaseName(IntoDatabaseName.empty() ? Query.DatabaseName : Cp874ToUtf8(IntoDatabaseName));
  }
  target.SetTableName(Cp874ToUtf8(IntoTableName));
  TVTRDatabase& database = Query.Database();
  const bool silent = std::exchange(database.SilentMode, true);
  std::string log;
  bool copied = false;
  try {
    // Creating the table would replace one of that name, and its rows with it.
    if (target.Exists())
      log = "Table '" + target.TableName() + "' already exists";
    else
      copied = target.ImportTable(Root->Result(), log);
  } catch (const std::exception& error) {
    log += error.what();
  }
  database.SilentMode = silent;
  if (!copied)
    throw EVTRException::CreateFmt(10403, "Error importing table. Cannot copy data due to error: %s\r\n",
                                   Utf8ToCp874(log));
}

std::unique_ptr<TVTRCursor> TVTRSQLCursorCommand::GetResultCursor() {
  if (!Root) return nullptr;
  // The query owns the cursor from here; the table behind it stays Root's
  // until Root goes, which the query's freeing the cursor must precede.
  return Root->Result().HandOverCursor();
}

TVTRTable* TVTRSQLCursorCommand::GetResultDataSet() {
  return Root ? &Root->Result() : nullptr;
}
