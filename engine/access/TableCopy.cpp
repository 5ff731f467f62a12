// Importing a table from any dataset, and copying a table into another
// table of its own database, of "MEMORY" or of another database file.
#include <filesystem>
#include <memory>
#include <system_error>

#include "engine/access/Database.h"
#include "engine/access/EngineRuntime.h"
#include "engine/access/ErrorMessage.h"
#include "engine/access/Session.h"
#include "engine/access/Table.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/containers/UniqueName.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/TextCase.h"

namespace {

constexpr const char* kMemoryAlias = "MEMORY";
constexpr const char* kLineEnd = "\r\n";

// A problem that stops a copy: a line of the log with `ignore_errors`,
// otherwise an engine error with the code.
void Report(std::string& log, bool ignore_errors, int32_t native_error, const std::string& text) {
  if (!ignore_errors) throw EVTRException(native_error, EngineMessageText(text));
  log += text + kLineEnd;
}

// Two names of one file: the same text ignoring case, or one file on disk.
bool SameFile(const std::string& a, const std::string& b) {
  if (SameText(a, b)) return true;
  std::error_code error;
  return std::filesystem::equivalent(a, b, error);
}

// Where a copy goes.
struct CopyTarget {
  std::string alias;
  std::string file_name;  // for the messages; empty without a database component
  bool is_own_table_place = false;
  std::unique_ptr<TVTRDatabase> database;  // the component made for a named file
};

// Connects a database component of its own to the target's file, in the
// mode of the table's database (a file the programs have open is opened
// multi-user). A failure leaves the target without a component and file
// name with `ignore_errors`, else it is raised.
void ConnectTarget(CopyTarget& target, const TVTRDatabase& own, const std::string& password, bool ignore_errors) {
  target.alias = MakeUniqueName(
      "TempDb", [](const std::string& name) { return DefaultSession().FindDatabase(name) != nullptr; });
  target.database = std::make_unique<TVTRDatabase>(nullptr);
  target.database->SetDatabaseName(target.alias);
  target.database->SetDatabaseFileName(target.file_name);
  target.database->Password = password;
  target.database->MultiUser = own.MultiUser;
  try {
    target.database->Open();
  } catch (...) {
    target.database.reset();
    target.file_name.clear();
    if (!ignore_errors) throw;
  }
}

}  // namespace

bool TVTRTable::ImportTable(TDataSet& source, std::string& log, const TIndexDefs* source_index_defs) {
  const size_t logged = log.size();
  SetFiltered(false);
  CheckInactive();
  IndexDefs().Clear();
  AdvIndexDefs().Clear();
  FieldDefs().Clear();
  AdvFieldDefs().Clear();
  if (auto* engine_source = dynamic_cast<TVTRDataSet*>(&source)) {
    AdvFieldDefs().Assign(engine_source->AdvFieldDefs());
    AdvIndexDefs().Assign(engine_source->AdvIndexDefs(), true);
  } else {
    FieldDefs().Assign(&source.FieldDefs());
    bool primary_named = false;
    for (int i = 0; source_index_defs != nullptr && i < source_index_defs->Count(); ++i) {
      const TIndexDef& index = *(*source_index_defs)[i];
      if (index.Fields().empty()) {
        log += Format("Cannot import index '%s'. Index type is not supported, index skipped", index.Name()) +
               kLineEnd;
        continue;
      }
      std::string name = index.Name();
      if (name.empty() && !primary_named) {
        name = "idxPrimaryKey";
        primary_named = true;
      }
      TIndexDef* added = IndexDefs().Add(name, index.Fields(), index.Options());
      added->SetDescFields(index.DescFields());
      added->SetCaseInsFields(index.CaseInsFields());
    }
  }
  try {
    CreateTable();
  } catch (const std::exception& error) {
    log += Format("Error importing table. Cannot create table due to error: %s\r\n", ExceptionMessageUtf8(error));
    return false;
  }
  Open();
  TVTRCursor* cursor = Handle();
  if (cursor == nullptr) throw EVTRException(10259, "Nil pointer occured");
  TVTRProgressEvents events(this, BeforeImport, OnImportProgress, AfterImport, "Import Table...",
                            Database()->SilentMode);
  cursor->LockDatabaseData();
  try {
    events.Before();
    std::string collected;
    bool go_on = true;
    BatchCopy(source, *this, collected, go_on, true, false, events.Progress(), 0, 100);
    if (!collected.empty())
      log += Format("Error importing table. Cannot copy data due to error: %s\r\n", collected);
    events.After();
  } catch (...) {
    CleaningUp([&] { events.After(); });
    cursor->UnlockDatabaseData();
    throw;
  }
  cursor->UnlockDatabaseData();
  Close();
  return log.size() == logged;
}

bool TVTRTable::CopyTable(const std::string& new_table_name, std::string& log, bool& continue_,
                          const std::string& database_file_name, const std::string& password, bool ignore_errors,
                          bool overwrite, bool copy_indexes, int32_t min_percent, int32_t max_percent) {
  const bool was_open = Active();
  const TBookmark bookmark = was_open ? GetBookmark() : TBookmark{};
  Close();
  Open();
  TVTRProgressEvents events(this, BeforeCopy, OnCopyProgress, AfterCopy, "Copy Table...", Database()->SilentMode);
  CopyTarget target;
  std::unique_ptr<TVTRTable> copy;
  const auto finish = [&] {
    copy.reset();
    events.After();
    if (was_open)
      GotoBookmark(bookmark);
    else
      Close();
    target.database.reset();
  };
  const auto copy_records = [&]() -> bool {
    if (database_file_name.empty()) {
      target.alias = DatabaseName();
      target.file_name = Database()->DatabaseFileName();
      target.is_own_table_place = true;
    } else if (SameText(database_file_name, kMemoryAlias)) {
      target.alias = kMemoryAlias;
      target.is_own_table_place = InMemory();
    } else {
      target.file_name = database_file_name;
      target.is_own_table_place = !InMemory() && SameFile(database_file_name, Database()->DatabaseFileName());
    }
    // A copy onto itself would delete or fill its own source.
    if (target.is_own_table_place && SameText(new_table_name, TableName())) {
      Report(log, ignore_errors, 30447,
             Format("Cannot copy table '%s.%s' into it self", target.file_name, TableName()));
      return false;
    }
    if (target.alias.empty()) ConnectTarget(target, *Database(), password, ignore_errors);
    events.Before();
    copy = std::make_unique<TVTRTable>(target.database ? nullptr : Owner());
    if (!target.database) copy->SetSessionName(SessionName());
    copy->SetTableName(new_table_name);
    copy->SetInMemory(InMemory());
    if (Temporary()) copy->SetTemporary(true);
    copy->SetDatabaseName(target.alias);
    copy->AdvFieldDefs().Assign(RestructureAdvFieldDefs());
    if (copy_indexes) copy->AdvIndexDefs().Assign(RestructureAdvIndexDefs(), false);
    if (copy->Exists()) {
      if (!overwrite) {
        Report(log, ignore_errors, 30448, Format("Table '%s.%s' already exists", target.file_name, new_table_name));
        return false;
      }
      copy->DeleteTable();
    }
    try {
      copy->CreateTable();
    } catch (const std::exception& error) {
      Report(log, ignore_errors, 30450,
             Format("Create table '%s.%s' error: '%s'", target.file_name, TableName(), ExceptionMessageUtf8(error)));
      return false;
    }
    copy->Open();
    try {
      BatchCopy(*this, *copy, log, continue_, ignore_errors, false, events.Progress(), min_percent, max_percent);
    } catch (...) {
      CleaningUp([&] { copy->Close(); });
      throw;
    }
    copy->Close();
    return true;
  };
  bool answer;
  try {
    answer = copy_records();
  } catch (...) {
    CleaningUp(finish);
    throw;
  }
  finish();
  return answer;
}
