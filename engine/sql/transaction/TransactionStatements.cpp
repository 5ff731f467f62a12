#include "engine/sql/transaction/TransactionStatements.h"

#include "engine/access/Database.h"
#include "engine/sql/processor/StatementWords.h"

using namespace statement_words;

void TVTRSQLStartTransaction::Parse() {
  if (AtEnd()) RaiseBlank(30457);
  if (!AtWord(rwStart)) RaiseTokenExpected(30458, "START");
  if (!NextToken()) RaiseUnexpectedEnd(30459);
  if (!AtWord(rwTransaction)) RaiseTokenExpected(30460, "TRANSACTION");
}

void TVTRSQLStartTransaction::Execute(const TVTRQueryContext& query, bool, bool, bool&, TVTRAO*,
                                      TVTRCursor*) {
  query.Database().StartTransaction();
}

void TVTRSQLCommit::Parse() {
  if (AtEnd()) RaiseBlank(30461);
  if (!AtWord(rwCommit)) RaiseTokenExpected(30462, "COMMIT");
  while (NextToken())
    if (AtWord(rwFlush)) Flush = true;
}

void TVTRSQLCommit::Execute(const TVTRQueryContext& query, bool, bool, bool&, TVTRAO*, TVTRCursor*) {
  query.Database().Commit(Flush);
}

void TVTRSQLRollback::Parse() {
  if (AtEnd()) RaiseBlank(30463);
  if (!AtWord(rwRollback)) RaiseTokenExpected(30464, "ROLLBACK");
}

void TVTRSQLRollback::Execute(const TVTRQueryContext& query, bool, bool, bool&, TVTRAO*, TVTRCursor*) {
  query.Database().Rollback();
}
