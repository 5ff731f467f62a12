#include "engine/sql/dml/InsertStatement.h"

#include "engine/access/Table.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/sql/dml/AssignValue.h"
#include "engine/sql/dml/StatementChange.h"
#include "engine/sql/processor/StatementWords.h"
#include "platform/rtl/CodePage874.h"

using namespace statement_words;

namespace {

constexpr const char* kTableNameExpected = "Table name expected, but '%s' found at line %d, column %d";

}  // namespace

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
  RaiseAtToken(30154, "SQL token expected, but '%s' found at line %d, column %d");
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
  values_end_line_ = Token.line;
  values_end_column_ = Token.column;
  if (!FieldNames.empty() && FieldNames.size() != Values.size())
    RaiseCountMismatch(FieldNames.size(), Values.size());
}

void TVTRSQLInsert::RaiseCountMismatch(size_t names, size_t values) const {
  throw EVTRException::CreateFmt(
      20259, "Number of field names doesn't equal to the number of field values: %d <> %d. Found at line %d, column %d",
      static_cast<int32_t>(names), static_cast<int32_t>(values), values_end_line_, values_end_column_);
}

void TVTRSQLInsert::Execute(const TVTRQueryContext& query, bool, bool, bool&, TVTRAO*, TVTRCursor*) {
  RowsAffected = 0;
  std::unique_ptr<TVTRTable> table = query.NewTable(query.DatabaseName, TableName, InMemoryTarget);
  table->Open();
  RunInStatementSavepoint(*table->Handle(), [&] { InsertValues(*table); });
  table->Close();
}

std::vector<int32_t> TVTRSQLInsert::TargetFields(TVTRTable& table) const {
  std::vector<int32_t> targets;
  targets.reserve(Values.size());
  if (FieldNames.size() == Values.size()) {
    for (const std::string& name : FieldNames)
      targets.push_back(table.Fields().IndexOf(table.FieldByName(Cp874ToUtf8(name))));
    return targets;
  }
  const int32_t field_count = table.Fields().Count();
  if (static_cast<int32_t>(Values.size()) > field_count) RaiseCountMismatch(field_count, Values.size());
  for (int32_t i = 0; i < static_cast<int32_t>(Values.size()); ++i) targets.push_back(i);
  return targets;
}

void TVTRSQLInsert::InsertValues(TVTRTable& table) {
  const std::vector<int32_t> targets = TargetFields(table);
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
