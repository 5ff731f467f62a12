// The provider operations of TVTRDataSet: transactions on the dataset's
// database, statements through a query component and the answers a provider
// asks of an SQL-based dataset. Flag dbfProvider keeps the database attached
// while a provider call runs.
#include "engine/access/Database.h"
#include "engine/access/DataSet.h"
#include "engine/access/Query.h"

void TVTRDataSet::PSStartTransaction() {
  SetDBFlag(dbfProvider, true);
  try {
    Database()->StartTransaction();
  } catch (...) {
    ClearDBFlagQuietly(dbfProvider);
    throw;
  }
}

void TVTRDataSet::PSEndTransaction(bool commit) {
  try {
    commit ? Database()->Commit(true) : Database()->Rollback();
  } catch (...) {
    ClearDBFlagQuietly(dbfProvider);
    throw;
  }
  SetDBFlag(dbfProvider, false);
}

int TVTRDataSet::PSExecuteStatement(const std::string& sql, TParams* params) {
  const bool provider_flag_was_set = DBFlag(dbfProvider);
  SetDBFlag(dbfProvider, true);
  int rows = 0;
  try {
    TVTRQuery query(nullptr);
    query.SetDatabaseName(DatabaseName());
    query.SetSessionName(SessionName());
    if (InMemory()) query.SetInMemory(true);
    query.SQL().SetText(sql);
    if (params != nullptr) query.Params().Assign(params);
    query.ExecSQL();
    rows = query.RowsAffected();
  } catch (...) {
    if (!provider_flag_was_set) ClearDBFlagQuietly(dbfProvider);
    throw;
  }
  if (!provider_flag_was_set) SetDBFlag(dbfProvider, false);
  return rows;
}

bool TVTRDataSet::PSInTransaction() {
  return cursor_ && cursor_->Session != nullptr && cursor_->Session->InTransaction;
}

void TVTRDataSet::PSReset() {
  TDataSet::PSReset();
  if (!Active()) return;
  Close();
  Open();
}

bool TVTRDataSet::PSUpdateRecord(TUpdateKind kind, TDataSet* delta) {
  if (!OnUpdateRecord) return false;
  TUpdateAction action = uaFail;
  OnUpdateRecord(delta, kind, action);
  return action == uaApplied;
}
