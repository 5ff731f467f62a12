// Compaction and repair: the database copied table by table into a new
// file, which may then replace the database file. The replacement is one
// rename of the new file over the old one while the old one is still held
// exclusively, so that no connection ever writes to a file that goes away
// and a failure at any point leaves the original in place.
#include <filesystem>
#include <system_error>

#include "engine/access/Database.h"
#include "engine/access/ErrorMessage.h"
#include "engine/foundation/VTRExcept.h"
#include "platform/os/FileSystem.h"
#include "platform/rtl/Format.h"

namespace {

constexpr int32_t kCopyFailed = 30456;
constexpr int32_t kCreateFailed = 30449;

void DeleteIfExists(const std::string& file_name) {
  if (FileExists(file_name)) DeleteFile(file_name);
}

// A copy written over the database's own file would destroy it before a
// single table was read.
void CheckNotOwnFile(const std::string& file_name, const std::string& own_file_name) {
  std::error_code error;
  if (file_name != own_file_name && !std::filesystem::equivalent(file_name, own_file_name, error)) return;
  throw EVTRException::CreateFmt(kCreateFailed, "Create database error: '%s'",
                                 Format("'%s' is the database's own file", EngineMessageText(file_name)));
}

// Keeps the original under the name `backup`: a second name of the same
// file, or a copy where the file system has no links.
void KeepBackup(const std::string& original, const std::string& backup) {
  std::error_code error;
  std::filesystem::remove(backup, error);
  std::filesystem::create_hard_link(original, backup, error);
  if (error) std::filesystem::copy_file(original, backup);
}

}  // namespace

bool TVTRDatabase::CompactDatabaseTo(const std::string& file_name) {
  return CompactInto(file_name, {});
}

bool TVTRDatabase::CompactInto(const std::string& file_name, const TReplaceSource& replace) {
  PrepareMaintenance();
  CheckNotOwnFile(file_name, database_file_name_);
  TVTRProgressEvents events(this, BeforeCompact, OnCompactProgress, AfterCompact, "Compacting Database...",
                            SilentMode);
  std::string error_text;
  bool copied;
  try {
    copied = CopyDatabaseData(file_name, error_text, events, false, replace);
  } catch (...) {
    CleaningUp([&] { DeleteIfExists(file_name); });
    throw;
  }
  if (!copied) {
    DeleteIfExists(file_name);
    throw EVTRException::CreateFmt(kCopyFailed, "Operation %s failed: %s", "CompactDatabase",
                                   EngineMessageText(error_text));
  }
  return true;
}

bool TVTRDatabase::CompactDatabase() {
  PrepareMaintenance();
  CheckNotInUse("CompactDatabase");
  const std::string original = database_file_name_;
  const std::string temporary = original + ".tmp";
  return CompactInto(temporary, [&](std::string&) { RenameFile(temporary, original); });
}

bool TVTRDatabase::RepairDatabaseTo(const std::string& file_name, std::string& error_text) {
  return RepairInto(file_name, error_text, {});
}

bool TVTRDatabase::RepairInto(const std::string& file_name, std::string& error_text,
                              const TReplaceSource& replace) {
  PrepareMaintenance();
  CheckNotOwnFile(file_name, database_file_name_);
  TVTRProgressEvents events(this, BeforeRepair, OnRepairProgress, AfterRepair, "Repairing Database...",
                            SilentMode);
  return CopyDatabaseData(file_name, error_text, events, true, replace);
}

bool TVTRDatabase::RepairDatabase(std::string& error_text) {
  error_text.clear();
  PrepareMaintenance();
  CheckNotInUse("RepairDatabase");
  const std::string original = database_file_name_;
  const std::string temporary = original + ".tmp";
  // Tables that were not copied whole may hold what only the original has.
  const auto replace = [&](std::string& text) {
    if (!text.empty()) {
      const std::string backup = original + ".bak";
      KeepBackup(original, backup);
      text += Format(" The original database file was kept as '%s'.", backup);
    }
    RenameFile(temporary, original);
  };
  bool repaired;
  try {
    repaired = RepairInto(temporary, error_text, replace);
  } catch (...) {
    CleaningUp([&] { DeleteIfExists(temporary); });
    throw;
  }
  if (!repaired) {
    if (error_text.empty()) error_text = "Unknown error";
    DeleteIfExists(temporary);
  }
  return repaired;
}
