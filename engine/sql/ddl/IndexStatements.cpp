#include "engine/sql/ddl/IndexStatements.h"

#include "engine/access/Table.h"
#include "engine/sql/processor/StatementWords.h"
#include "platform/rtl/CodePage874.h"

using namespace statement_words;

namespace {

constexpr const char* kIndexExpected = "'INDEX' keyword expected, but '%s' found at line %d, column %d";
constexpr const char* kOnExpected = "'ON' keyword expected, but '%s' found at line %d, column %d";

// An open table component of the query's alias, owned by the query's owner.
std::unique_ptr<TVTRTable> OpenTable(const TVTRQueryContext& query, const std::string& table_name) {
  auto table = std::make_unique<TVTRTable>(query.Owner);
  table->SetSessionName(query.SessionName);
  table->SetDatabaseName(query.DatabaseName);
  table->SetTableName(Cp874ToUtf8(table_name));
  table->Open();
  return table;
}

}  // namespace

void TVTRDDLCreateIndex::Parse() {
  if (AtEnd()) RaiseBlank(30266);
  if (AtWord(rwUnique)) {
    Unique = true;
    ExpectNextToken(kKeyword, 30267, kIndexExpected);
  }
  if (!AtWord(rwIndex)) RaiseAtToken(30268, kIndexExpected);
  ExpectNextToken(kNameOrKeyword, 30269, "index name expected, but '%s' found at line %d, column %d");
  IndexName = Token.text;
  ExpectNextToken(kKeyword, 30270, kOnExpected);
  if (!AtWord(rwOn)) RaiseAtToken(30271, kOnExpected);
  ExpectNextToken(kNameOrKeyword, 30272, "Table name expected, but '%s' found at line %d, column %d");
  TableName = Token.text;
  ExpectNextToken(kLeftParenthesis, 30273, "'(' symbol expected, but '%s' found at line %d, column %d");
  ReadIndexColumns(Columns, &Password);
}

void TVTRDDLCreateIndex::Execute(const TVTRQueryContext& query, bool, bool, bool&, TVTRAO*, TVTRCursor*) {
  const TIndexOptions options = Unique ? TIndexOptions{ixUnique} : TIndexOptions{};
  std::unique_ptr<TVTRTable> table = OpenTable(query, TableName);
  table->AddIndex(IndexName, JoinColumnNames(Columns, ';'), options,
                  JoinColumnNames(Columns, ';', IsDescending),
                  JoinColumnNames(Columns, ';', IsCaseInsensitive));
  table->Close();
}

void TVTRDDLDropIndex::Parse() {
  if (!NextToken()) RaiseUnexpectedEnd(30278);
  TableName = Token.text;
  if (!NextToken()) RaiseUnexpectedEnd(30279);
  if (Token.kind != tktDot) RaiseTokenExpected(30280, ".");
  if (!NextToken()) RaiseUnexpectedEnd(30281);
  IndexName = Token.text;
  if (NextToken() && AtWord(rwPassword)) {
    ExpectNextToken(kQuotedText, 30282, kQuotedPasswordExpected);
    Password = Token.text;
  }
}

void TVTRDDLDropIndex::Execute(const TVTRQueryContext& query, bool, bool, bool&, TVTRAO*, TVTRCursor*) {
  std::unique_ptr<TVTRTable> table = OpenTable(query, TableName);
  table->DeleteIndex(IndexName);
  table->Close();
}
