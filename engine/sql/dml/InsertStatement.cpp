#include "engine/sql/dml/InsertStatement.h"

#include "engine/access/Database.h"
#include "engine/access/Table.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/sql/dml/AssignValue.h"
#include "engine/sql/dml/StatementChange.h"
#include "engine/sql/operators/ResultTableName.h"
#include "engine/sql/query/SQLSelect.h"
#include "engine/sql/processor/StatementWords.h"
#include "platform/rtl/CodePage874.h"

using namespace statement_words;

namespace {

constexpr const char* kTableNameExpected = "Table name expected, but '%s' found at line %d, column %d";

std::function<void(TVTRTable&)>& ImportHook() {
  static std::function<void(TVTRTable&)> hook;
  return hook;
}

// The temporary copy of a SELECT's result, closed and dropped when it goes.
class TemporaryCopy {
 public:
  TemporaryCopy(const TVTRQueryContext& query, TVTRTable& result) : table_(query.Owner) {
    table_.SetSessionName(query.SessionName);
    const TVTRDatabase* database = query.FindDatabase();
    if (query.InMemory || (database != nullptr && database->DisableTempFiles)) table_.DisableTempFiles = true;
    table_.SetTemporary(true);
    NameResultTable(table_, "TmpTableForInsert");
    if (ImportHook()) ImportHook()(table_);
    std::string log;
    bool copied = false;
    try {
      copied = table_.ImportTable(result, log);
    } catch (const std::exception& error) {
      log += error.what();
    }
    if (!copied) {
      Drop();
      throw EVTRException::CreateFmt(10403, "Error importing table. Cannot copy data due to error: %s\r\n",
                                     Utf8ToCp874(log));
    }
    if (!table_.Active()) table_.Open();
    table_.First();
  }
  ~TemporaryCopy() { Drop(); }
  TemporaryCopy(const TemporaryCopy&) = delete;
  TemporaryCopy& operator=(const TemporaryCopy&) = delete;

  TVTRTable& Table() { return table_; }

 private:
  void Drop() noexcept {
    try {
      table_.Close();
      if (table_.Exists()) table_.DeleteTable();
    } catch (...) {
      // A temporary table left behind goes with the process's "TEMP" database.
    }
  }

  TVTRTable table_;
};

}  // namespace

void SetInsertSelectImportHook(std::function<void(TVTRTable&)> hook) {
  ImportHook() = std::move(hook);
}

TVTRSQLInsert::~TVTRSQLInsert() = default;

void TVTRSQLInsert::Parse() {
  if (AtEnd()) RaiseBlank(30204);
  if (!NextToken()) RaiseUnexpectedEnd(30205);
  if (!AtWord(rwInto)) RaiseTokenExpected(30206, "INTO");
  ExpectNextToken(kNameOrKeyword, 30207, kTableNameExpected);
  if (AtWord(rwMemory)) {
    InMemoryTarget = true;
    ExpectNextToken(kNameOrKeyword, 30208, kTableNameExpected);
  }
  TableName = Token.text;
  if (!NextToken()) RaiseUnexpectedEnd(30209);
  if (AtWord(rwPassword)) {
    ExpectNextToken(kQuotedText, 30210,
                    "Quoted password expected (for PASSWORD \"passwordData\"), but '%s' found at line %d, "
                    "column %d");
    Password = Token.text;
    if (!NextToken()) RaiseUnexpectedEnd(30211);
  }
  if (Token.kind == tktLeftParenthesis) {
    TToken next;
    if (!Lexer.LookAheadToken(next) || !IsReservedWordToken(next, rwSelect)) ParseColumnList();
  }
  if (AtWord(rwValues)) return ParseValues();
  const bool parenthesized = Token.kind == tktLeftParenthesis;
  if (parenthesized) NextToken();
  ParseSelect();
  if (!parenthesized) return;
  if (Token.kind != tktRightParenthesis)
    throw EVTRException::CreateFmt(20256, "Missing symbol ')' at line %d, column %d", Token.line, Token.column);
  NextToken();
}

void TVTRSQLInsert::ParseSelect() {
  values_line_ = Token.line;
  values_column_ = Token.column;
  Select = std::make_unique<TVTRSQLUnion>(Lexer);
  Select->Query = Query;
  Select->Parse();
  GetCurrentToken();
}

void TVTRSQLInsert::ParseColumnList() {
  do {
    ExpectNextToken(kNameOrKeyword, 2156, "Field name expected, but '%s' found at line %d, column %d");
    FieldNames.push_back(Token.text);
    ExpectNextToken(kRightParenthesisOrComma, 30212,
                    "')' or ',' symbol expected, but '%s' found at line %d, column %d");
  } while (Token.kind == tktComma);
  if (!NextToken()) RaiseUnexpectedEnd(30213);
}

void TVTRSQLInsert::ParseValues() {
  ExpectNextToken(kLeftParenthesis, 30214, "'(' symbol expected, but '%s' found at line %d, column %d");
  // Each pass steps over the "(" or the separator after the previous value.
  do {
    if (!NextToken()) RaiseUnexpectedEnd(30203);
    auto value = std::make_unique<TVTRSQLExpression>();
    value->ParseValueExpression(&Query, Lexer);
    GetCurrentToken();
    if (value->IsEmpty()) RaiseAtToken(30357, "Error parsing parameter '%s' at line %d, column %d");
    Values.push_back(std::move(value));
  } while (Token.kind != tktRightParenthesis);
  values_line_ = Token.line;
  values_column_ = Token.column;
  if (!FieldNames.empty() && FieldNames.size() != Values.size())
    RaiseCountMismatch(FieldNames.size(), Values.size());
}

void TVTRSQLInsert::RaiseCountMismatch(size_t names, size_t values) const {
  throw EVTRException::CreateFmt(
      20259, "Number of field names doesn't equal to the number of field values: %d <> %d. Found at line %d, column %d",
      static_cast<int32_t>(names), static_cast<int32_t>(values), values_line_, values_column_);
}

void TVTRSQLInsert::Execute(const TVTRQueryContext& query, bool, bool, bool&, TVTRAO*, TVTRCursor*) {
  RowsAffected = 0;
  std::unique_ptr<TVTRTable> table = query.NewTable(query.DatabaseName, TableName, InMemoryTarget);
  table->Open();
  if (Select) {
    InsertSelected(query, *table);
  } else {
    RunInStatementSavepoint(*table->Handle(), [&] { InsertValues(*table); });
  }
  table->Close();
}

int32_t TVTRSQLInsert::KnownColumnCount() const {
  const TVTRQueryExprNode& expression = *Select->Expression;
  if (expression.Operation != qoSelect) return -1;
  for (const TVTRSelectListItem& item : expression.Select->Items)
    if (item.AllFields) return -1;
  return static_cast<int32_t>(expression.Select->Items.size());
}

void TVTRSQLInsert::InsertSelected(const TVTRQueryContext& query, TVTRTable& table) {
  // Checked before the SELECT runs where its text tells the count.
  if (const int32_t columns = KnownColumnCount(); columns >= 0) TargetsOfColumns(table, columns);
  bool result_read_only = true;
  Select->Execute(query, false, false, result_read_only, nullptr, nullptr);
  TemporaryCopy copy(query, *Select->GetResultDataSet());
  TVTRTable& rows = copy.Table();
  const int32_t columns = rows.Fields().Count();
  const std::vector<int32_t> targets = TargetsOfColumns(table, columns);
  int32_t inserted = 0;
  TVTRVariant value;
  RunStatementChange(*table.Handle(), 20224, [&] {
    for (; !rows.Eof(); rows.Next()) {
      table.Append();
      try {
        for (int32_t i = 0; i < columns; ++i) {
          rows.GetFieldVariant(value, i, false);
          AssignValueToField(&value, table, targets[i]);
        }
        table.Post();
      } catch (...) {
        table.Cancel();
        throw;
      }
      ++inserted;
    }
  });
  RowsAffected = inserted;
}

std::vector<int32_t> TVTRSQLInsert::TargetsOfColumns(TVTRTable& table, int32_t columns) const {
  std::vector<int32_t> targets;
  if (!FieldNames.empty()) {
    if (FieldNames.size() != static_cast<size_t>(columns)) RaiseCountMismatch(FieldNames.size(), columns);
    for (const std::string& name : FieldNames)
      targets.push_back(table.Fields().IndexOf(table.FieldByName(Cp874ToUtf8(name))));
    return targets;
  }
  const int32_t field_count = table.Fields().Count();
  if (columns > field_count) RaiseCountMismatch(field_count, columns);
  for (int32_t i = 0; i < columns; ++i) targets.push_back(i);
  return targets;
}

void TVTRSQLInsert::InsertValues(TVTRTable& table) {
  const std::vector<int32_t> targets = TargetsOfColumns(table, static_cast<int32_t>(Values.size()));
  TVTRCursor& cursor = *table.Handle();
  for (const auto& value : Values) value->AssignCursor(cursor, nullptr, nullptr);
  table.Append();
  try {
    for (size_t i = 0; i < Values.size(); ++i) {
      const TVTRVariant* value = Values[i]->GetValue(true);
      if (value == nullptr) {
        const TVTRFieldDef& def = cursor.FieldDefs.GetFieldDef(targets[i]);
        throw EVTRException::CreateFmt(30356, "Parameter Value undefined (FieldName='%s', Type='%s')", def.Name,
                                       GetAdvancedTypeName(def.DataType));
      }
      AssignValueToField(value, table, targets[i]);
    }
    table.Post();
  } catch (...) {
    table.Cancel();
    throw;
  }
  RowsAffected = 1;
}
