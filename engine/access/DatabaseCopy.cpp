// The copy under compaction and repair: every table of the database, one
// after the other, into a new file with the same settings and cipher, while
// the source is held exclusively, with a slice of the progress per table.
#include <memory>

#include "engine/access/Database.h"
#include "engine/access/ErrorMessage.h"
#include "engine/access/LocalCursor.h"
#include "engine/access/LocalSession.h"
#include "engine/access/Session.h"
#include "engine/access/Table.h"
#include "engine/foundation/VTRExcept.h"
#include "engine/foundation/containers/UniqueName.h"
#include "engine/storage/database/DatabaseData.h"
#include "platform/rtl/CodePage874.h"
#include "platform/rtl/Format.h"

namespace {

constexpr int32_t kCreateFailed = 30449;
constexpr int32_t kTableFailed = 20199;
constexpr int32_t kFileInUse = 20239;

std::string ProblemText(const std::string& table_name, const std::string& message) {
  return Format("Problem occured while copying table '%s': '%s'", table_name, message);
}

// The names of the source's tables, in UTF-8. Unlike GetTableNames, a
// failure raises: a list cut short would copy too few tables.
std::vector<std::string> TableNamesOf(TVTRLocalSession& session) {
  TStringList engine_names;
  session.GetTableNames(engine_names);
  std::vector<std::string> names;
  names.reserve(engine_names.Count());
  for (int32_t i = 0; i < engine_names.Count(); ++i) names.push_back(Cp874ToUtf8(engine_names[i]));
  return names;
}

// A repair-mode scan of an open table reaches record pages its page map
// lost; their records are rescued, and the table is named for it.
std::string UnlistedPagesNote(TVTRTable& table) {
  auto* cursor = dynamic_cast<TVTRLocalCursor*>(table.Handle());
  if (cursor == nullptr || cursor->TableData == nullptr) return {};
  const int32_t unlisted = cursor->TableData->UnlistedRecordPageCount(*cursor);
  if (unlisted == 0) return {};
  return ProblemText(table.TableName(),
                     Format("records of %d record pages that the table's page map did not list were rescued",
                            unlisted));
}

}  // namespace

bool TVTRDatabase::CopyDatabaseData(const std::string& target_file, std::string& error_text,
                                    TVTRProgressEvents& events, bool repair, const TReplaceSource& replace) {
  bool answer = false;
  events.Before();
  error_text.clear();
  std::unique_ptr<TVTRDatabase> target;
  const bool was_exclusive = Exclusive;
  const bool was_silent = SilentMode;
  const bool was_kept = keep_connection_;
  const auto finish = [&] {
    target.reset();
    keep_connection_ = was_kept;
    Exclusive = was_exclusive;
    SilentMode = was_silent;
    events.After();
  };
  const auto copy = [&]() -> bool {
    target = std::make_unique<TVTRDatabase>(nullptr);
    target->SetDatabaseName(MakeUniqueName(
        "TempDatabase", [this](const std::string& name) { return session_->FindDatabase(name) != nullptr; }));
    target->SetDatabaseFileName(target_file);
    target->Password = Password;
    target->CipherAlgorithm = CipherAlgorithm;
    target->PageSize = PageSize;
    target->PagesPerExtent = PagesPerExtent;
    target->MaxConnections = MaxConnections;
    target->MultiUser = MultiUser;  // as the tables' own copies open it
    try {
      target->CreateDatabase();
      target->Open();
    } catch (const std::exception& error) {
      const std::string text = Format("Create database error: '%s'", ExceptionMessageUtf8(error));
      error_text += text;
      if (!repair) throw EVTRException(kCreateFailed, EngineMessageText(text));
      return false;
    }

    // The source stays connected, and so held, while its tables come and go.
    keep_connection_ = true;
    Exclusive = true;
    SilentMode = true;
    Open();
    SilentMode = was_silent;
    // The forced exclusive open holds only for the process's first
    // connection to the file; a second one would write to the file that the
    // copy replaces.
    if (replace && engine_session_->DatabaseData->Sessions.size() > 1)
      throw EVTRException::CreateFmt(kFileInUse,
                                     "Cannot perform '%s' operation: database file '%s' is open by another connection",
                                     repair ? "RepairDatabase" : "CompactDatabase",
                                     EngineMessageText(database_file_name_));
    engine_session_->SetRepairMode(true);

    const std::vector<std::string> names = TableNamesOf(*engine_session_);
    const int32_t count = static_cast<int32_t>(names.size());
    const TDatasetNotifyEvent nothing = [](TObject*) {};
    bool go_on = true;
    for (int32_t i = 0; i < count && go_on; ++i) {
      auto table = std::make_unique<TVTRTable>(Owner());
      table->SetSessionName(SessionName());
      table->SetDatabaseName(database_name_);
      table->SetTableName(names[i]);
      table->OnCopyProgress = events.Progress();
      table->BeforeCopy = nothing;
      table->AfterCopy = nothing;
      std::string log;
      try {
        table->Open();
        if (repair) error_text += UnlistedPagesNote(*table);
        table->Close();
        table->CopyTable(names[i], log, go_on, target_file, Password, repair, false, true, i * 100 / count,
                         (i + 1) * 100 / count - 1);
      } catch (const std::exception& error) {
        const std::string text = ProblemText(names[i], ExceptionMessageUtf8(error));
        error_text += text;
        if (!repair) throw EVTRException(kTableFailed, EngineMessageText(text));
        continue;
      }
      // Without a stop, what the copy logged are records it left out.
      if (go_on && !log.empty()) error_text += ProblemText(names[i], log);
    }
    engine_session_->SetRepairMode(false);
    if (!go_on) {
      error_text += "Terminated by User.";
      Close();
      return false;
    }
    if (const TVTRProgressEvent& progress = events.Progress()) progress(this, 100, go_on);
    target->Close();
    target->TruncateDatabase();
    const bool copied = repair || error_text.empty();
    if (copied && replace) replace(error_text);
    Close();
    return copied;
  };
  try {
    answer = copy();
  } catch (...) {
    CleaningUp([this] {
      if (Connected()) engine_session_->SetRepairMode(false);
      Close();
    });
    CleaningUp(finish);
    throw;
  }
  finish();
  return answer;
}
