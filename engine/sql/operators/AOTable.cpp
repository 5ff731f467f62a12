#include "engine/sql/operators/AOTable.h"

#include "engine/access/Database.h"
#include "engine/access/EngineError.h"
#include "engine/access/EngineRuntime.h"
#include "engine/access/Session.h"
#include "engine/access/SessionList.h"
#include "engine/access/Table.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/containers/UniqueName.h"
#include "engine/storage/base/ResultCodes.h"
#include "platform/rtl/TextCase.h"

TVTRAOTable::TVTRAOTable(const std::string& table_name, const std::string& password, bool in_memory,
                         bool disable_temp_files, const std::string& session_name,
                         const std::string& external_file_name, const std::string& database_name, std::string alias)
    : TVTRAO(nullptr, nullptr, std::move(alias), table_name) {
  DisableTempFiles = disable_temp_files;
  IsBaseTable = true;
  SessionName = session_name;
  TVTRTable& table = *ResultTable;
  try {
    if (!external_file_name.empty()) {
      ExternalDatabase = std::make_unique<TVTRDatabase>(nullptr);
      ExternalDatabase->SetSessionName(session_name);
      ExternalDatabase->SetDatabaseName(MakeUniqueName("ExternalDb", [&](const std::string& name) {
        TVTRSession* session = SessionList().FindSession(session_name);
        return session && session->FindDatabase(name);
      }));
      ExternalDatabase->SetDatabaseFileName(external_file_name);
      ExternalDatabase->Password = password;
      ExternalDatabase->DisableTempFiles = disable_temp_files;
      table.SetDatabaseName(ExternalDatabase->DatabaseName());
    } else {
      table.SetDatabaseName(database_name);
    }
    table.SetSessionName(session_name);
    table.SetTableName(table_name);
    table.SetInMemory(in_memory);
    table.Open();
  } catch (const std::exception& error) {
    // Opening reads the first record: another process's table lock that
    // outlasts the read's attempts is the lock failure the statement reports.
    const auto* engine_error = dynamic_cast<const EVTREngineError*>(&error);
    if (engine_error != nullptr && engine_error->ErrorCode == kResultTableLocked)
      throw EVTRException(20225, "Table is locked");
    throw EVTRException::CreateFmt(10303, "Cannot open table %s, InMemory = %d", table_name, in_memory ? 1 : 0);
  }
  const TVTRAdvFieldDefs& fields = table.AdvFieldDefs();
  for (int32_t i = 0; i < fields.GetCount(); ++i) {
    const TVTRAdvFieldDef& field = fields.GetItem(i);
    TVTRFieldLink& column = Columns.emplace_back();
    column.Name = field.Name;
    column.DataType = field.DataType;
    column.Size = field.Size;
    column.BlobCompressionAlgorithm = field.BlobCompressionAlgorithm;
    column.BlobCompressionMode = field.BlobCompressionMode;
    column.BlobBlockSize = field.BlobBlockSize;
    column.SourceDataSet = &table;
    column.SourceFieldNo = i;
    column.Hidden = true;
  }
}

TVTRAOTable::~TVTRAOTable() {
  // The table goes before the database component it is opened through.
  DropResultTable();
}

void TVTRAOTable::ApplySelectList(std::span<TVTRSelectListItem> items, bool distinct) {
  if (items.empty()) return TVTRAO::ApplySelectList(items, distinct);
  OutputNames output;
  for (const TVTRSelectListItem& item : items) {
    if (!item.TableName.empty() && !SameText(item.TableName, TableName) && !SameText(item.TableName, Alias))
      throw EVTRException::CreateFmt(30327,
                                     "Invalid table name in reference. Table name = %s, table alias = %s, tname = %s",
                                     UpperCase(TableName), UpperCase(Alias), UpperCase(item.TableName));
    if (item.AllFields) return;
    output.names.Add(item.FieldName);
    output.display_names.Add(item.Alias);
  }
  TVTRAO::ApplySelectList(items, distinct);
  ShowOutputNames(output);
}

void TVTRAOTable::Execute(bool is_root, TVTRAO* outer_ao, TVTRCursor* outer_cursor) {
  if (HasSortLists()) ApplySort(!Distinct);
  if (Distinct) {
    ApplyDistinctOrder();
    ClearSortLists();
  }
  if (Filter) {
    ResultTable->SetFilterExpression(Filter.get(), outer_ao, outer_cursor);
    ResultTable->First();
  }
  TVTRAO::Execute(is_root, outer_ao, outer_cursor);
}
