#include "engine/storage/database/DatabaseData.h"

#include <algorithm>
#include <exception>

#include "engine/storage/pager/PageManager.h"
#include "engine/storage/base/Cursor.h"
#include "engine/storage/database/DatabaseDataList.h"
#include "engine/storage/base/LockOrder.h"
#include "platform/rtl/TextCase.h"

TVTRDatabaseData::TVTRDatabaseData(std::string database_file_name, bool lives_for_process)
    : DatabaseFileName(std::move(database_file_name)), lives_for_process_(lives_for_process) {}

TVTRDatabaseData::~TVTRDatabaseData() {
  // Table objects may still use the section while they go.
  TableDataList.clear();
}

void TVTRDatabaseData::ConnectSession(TVTRBaseSession& session) {
  TVTRDatabaseDataGuard guard(*this);
  Sessions.push_back(&session);
  session.SessionID = 0;
}

void TVTRDatabaseData::DisconnectSession(TVTRBaseSession& session) {
  TVTRDatabaseDataGuard guard(*this);
  CloseSessionCursors(session);
  std::erase(Sessions, &session);
}

void TVTRDatabaseData::CloseSessionCursors(const TVTRBaseSession& session) {
  TVTRDatabaseDataGuard guard(*this);
  // Collected first: a closing cursor may free its table object.
  std::vector<TVTRCursor*> open;
  for (const auto& table : TableDataList) {
    for (TVTRCursor* cursor : table->Cursors)
      if (cursor->Session == &session) open.push_back(cursor);
  }
  std::exception_ptr failure;
  for (TVTRCursor* cursor : open) {
    try {
      cursor->CloseTable();
    } catch (...) {
      // A cursor leaves its table even when giving back its lock fails.
      if (!failure) failure = std::current_exception();
    }
  }
  if (failure) std::rethrow_exception(failure);
}

bool TVTRDatabaseData::FreeIfNoSessions() {
  TVTRDatabaseDataList& list = DatabaseDataList();
  TVTRDatabaseDataListGuard list_guard(list);
  bool unused;
  {
    TVTRDatabaseDataGuard guard(*this);
    unused = Sessions.empty() && !lives_for_process_;
  }
  return unused && list.Free(this);
}

void TVTRDatabaseData::GetTableNames(TStringList& names) {
  TVTRDatabaseDataGuard guard(*this);
  for (const auto& table : TableDataList) names.Add(table->TableName);
}

TVTRTableData* TVTRDatabaseData::FindTableData(const TVTRCursor& cursor) {
  TVTRDatabaseDataGuard guard(*this);
  const auto found = std::ranges::find_if(
      TableDataList, [&](const auto& table) { return SameText(table->TableName, cursor.TableName); });
  return found == TableDataList.end() ? nullptr : found->get();
}

TVTRTableData* TVTRDatabaseData::GetTableData(TVTRCursor& cursor) {
  TVTRDatabaseDataGuard guard(*this);
  TVTRTableData* table = FindTableData(cursor);
  return table ? table : CreateTableData(cursor);
}

void TVTRDatabaseData::Commit(int32_t session_id, bool flush) {
  TVTRDatabaseDataGuard guard(*this);
  if (PageManager) PageManager->Commit(session_id);
}

void TVTRDatabaseData::Rollback(int32_t session_id) {
  TVTRDatabaseDataGuard guard(*this);
  if (PageManager) PageManager->Rollback(session_id);
  for (const auto& table : TableDataList) table->AfterRollback(session_id);
}

void TVTRDatabaseData::MarkSession(int32_t session_id) {
  TVTRDatabaseDataGuard guard(*this);
  if (PageManager) PageManager->MarkSession(session_id);
  for (const auto& table : TableDataList) table->MarkSession(session_id);
}

void TVTRDatabaseData::RollbackToMark(int32_t session_id) {
  TVTRDatabaseDataGuard guard(*this);
  if (PageManager) PageManager->RollbackToMark(session_id);
  for (const auto& table : TableDataList) table->RollbackToMark(session_id);
}

void TVTRDatabaseData::ReleaseMark(int32_t session_id) {
  TVTRDatabaseDataGuard guard(*this);
  if (PageManager) PageManager->ReleaseMark(session_id);
  for (const auto& table : TableDataList) table->ReleaseMark(session_id);
}

void TVTRDatabaseData::Lock() {
  critical_section_.Enter();
  ++t_database_sections_held;
}

void TVTRDatabaseData::Unlock() {
  --t_database_sections_held;
  critical_section_.Leave();
}

bool TVTRDatabaseData::TableExists(std::string_view table_name) {
  TVTRDatabaseDataGuard guard(*this);
  TStringList names;
  GetTableNames(names);
  for (int32_t i = 0; i < names.Count(); ++i)
    if (SameText(names[i], table_name)) return true;
  return false;
}

TVTRTableData* TVTRDatabaseData::AddTableData(std::unique_ptr<TVTRTableData> table) {
  TVTRDatabaseDataGuard guard(*this);
  TableDataList.push_back(std::move(table));
  return TableDataList.back().get();
}

void TVTRDatabaseData::FreeTableData(TVTRTableData* table) {
  TVTRDatabaseDataGuard guard(*this);
  std::erase_if(TableDataList, [table](const auto& held) { return held.get() == table; });
}

void TVTRTableData::Lock() {
  Database.Lock();
}

void TVTRTableData::Unlock() {
  Database.Unlock();
}
