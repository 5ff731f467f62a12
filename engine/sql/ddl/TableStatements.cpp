#include "engine/sql/ddl/TableStatements.h"

#include "engine/access/Table.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/sql/processor/StatementWords.h"

using namespace statement_words;

void TVTRDDLCreateTable::Parse() {
  if (!NextToken()) RaiseBlank(30249);
  if (AtWord(rwIf)) {
    ExpectNextToken(kAnyToken, 30486, {});
    if (!AtWord(rwNot)) RaiseTokenExpected(30486, "NOT");
    ExpectNextToken(kAnyToken, 30487, {});
    if (!AtWord(rwExists)) RaiseTokenExpected(30487, "EXISTS");
    NextToken();
    IfNotExists = true;
  }
  ParseTableName();
  ParseColumnDefinitions();
  CheckEnd();
}

void TVTRDDLCreateTable::Execute(const TVTRQueryContext& query, bool, bool, bool&, TVTRAO*, TVTRCursor*) {
  TVTRStatementTable made = MakeTable(query, true);
  if (made.Table->Exists()) {
    if (IfNotExists) return;
    throw EVTRException::CreateFmt(30247, "Cannot create table. Table '%s' already exists", TableName);
  }
  BuildIndexDefs(*made.Table);
  WithFailureAs(30248, "Error creating table: '%s'", [&] { made.Table->CreateTable(); });
}

void TVTRDDLDropTable::Parse() {
  if (!NextToken()) RaiseBlank(30251);
  if (AtWord(rwIf)) {
    ExpectNextToken(kAnyToken, 30485, {});
    if (!AtWord(rwExists)) RaiseTokenExpected(30485, "EXISTS");
    NextToken();
  }
  ParseTableName();
  CheckEnd();
}

void TVTRDDLDropTable::Execute(const TVTRQueryContext& query, bool, bool, bool&, TVTRAO*, TVTRCursor*) {
  TVTRStatementTable made = MakeTable(query, false);
  if (made.Table->Exists())
    WithFailureAs(30250, "Error dropping table: '%s'", [&] { made.Table->DeleteTable(); });
}

void TVTRDDLTruncateTable::Parse() {
  if (!NextToken()) RaiseBlank(30490);
  if (AtWord(rwTable)) NextToken();
  ParseTableName();
  CheckEnd();
}

void TVTRDDLTruncateTable::Execute(const TVTRQueryContext& query, bool, bool, bool&, TVTRAO*, TVTRCursor*) {
  TVTRStatementTable made = MakeTable(query, false);
  if (made.Table->Exists())
    WithFailureAs(30491, "Error truncating table: '%s'", [&] { made.Table->EmptyTable(); });
}
