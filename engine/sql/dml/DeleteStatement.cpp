#include "engine/sql/dml/DeleteStatement.h"

#include "engine/access/Table.h"

void TVTRSQLDelete::Parse() {
  if (!NextToken()) RaiseUnexpectedEnd(30224);
  StartSelect();
  for (bool more = true; more; more = NextToken()) SelectLexer->AddToken(Token);
  ParseSelect();
}

void TVTRSQLDelete::ChangeRow(TVTRTable& table) {
  table.Delete();
}
