#include "app/core/CreateTempleDatabase.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/core/FileConnection.h"
#include "app/core/TableRows.h"
#include "app/core/TempleSchema.h"
#include "app/core/WorkingFolder.h"
#include "engine/access/LocalSession.h"
#include "engine/access/Table.h"

namespace {

constexpr const char* kTempleName = "วัดตัวอย่าง";

// A folder beside the target for building the file, removed with what it
// holds when the creation ends, whichever way.
class StagingFolder {
 public:
  explicit StagingFolder(const std::filesystem::path& parent) {
    std::string pattern = (parent / ".dat_temple-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
      throw Exception("Cannot create a folder in '" + parent.string() + "': " + std::strerror(errno));
    path_ = pattern;
  }
  ~StagingFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  StagingFolder(const StagingFolder&) = delete;
  StagingFolder& operator=(const StagingFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

[[noreturn]] void ThrowExists(const std::filesystem::path& target) {
  throw EDatabaseFileExists("The database file '" + target.string() +
                            "' already exists; nothing was changed");
}

void CreateFile(const std::filesystem::path& file) {
  TVTRLocalSession session;
  session.DatabaseFileName = file.string();
  session.PageSize = 4096;
  session.PagesPerExtent = 8;
  session.MaxConnections = 500;
  session.MultiUser = true;
  session.CreateDatabase();
}

void CreateTables(const std::filesystem::path& file) {
  FileConnection connection(file);
  for (const TableDefinition& definition : TempleSchema()) {
    const std::unique_ptr<TVTRTable> table = connection.Table(definition.Name);
    for (const ColumnDefinition& column : definition.Columns) {
      TVTRAdvFieldDef& field = table->AdvFieldDefs().AddFieldDef();
      field.Name = column.Name;
      field.DataType = column.DataType;
      field.Size = column.Size;
    }
    for (const IndexDefinition& index : definition.Indexes)
      table->AdvIndexDefs().AppendIndexDef(index.Name, index.Fields, index.Options, false, "", "", "");
    table->CreateTable();
  }
  connection.Close();
}

std::vector<ColumnValue> Numbered(const std::string& name, int first, int last, const std::string& value) {
  std::vector<ColumnValue> values;
  for (int i = first; i <= last; ++i) values.push_back({name + std::to_string(i), value});
  return values;
}

std::vector<TableRow> StartingRows() {
  TableRow settings{"sys_sys",
                    {{"of_id", "1"},
                     {"of_name", kTempleName},
                     {"prefix1", "LAND"},
                     {"prefix3", "HALL"},
                     {"prefix5", "DONA"},
                     {"prefix6", "PURC"},
                     {"prefix7", "SALE"},
                     {"prefix_donate", "DONR"},
                     {"prn_preview", "0"},
                     {"prn_logo", "0"},
                     {"prn_top", "0"},
                     {"prn_left", "0"},
                     {"tax_status", "0"},
                     {"tax_rate", "7"},
                     {"com_port", "1"},
                     {"type_business", "1"},
                     {"type_business2", "0"},
                     {"skin", "0"}}};
  const std::vector<ColumnValue> views = Numbered("view", 0, 9, "0");
  settings.Values.insert(settings.Values.end(), views.begin(), views.end());
  return {settings,
          {"tresksys", {{"of_id", "1"}, {"of_name", kTempleName}, {"prn_top", "0"}, {"prn_left", "0"}}},
          {"hotel_sys",
           {{"of_name", kTempleName},
            {"prn_top", "0"},
            {"prn_left", "0"},
            {"tax_status", "0"},
            {"tax_rate", "7"}}},
          {"password", {{"usrname", kAdminUserName}, {"passwd", kAdminPassword}, {"ac1", "1"}}}};
}

// Puts a file's bytes, or a folder's names, on the disk; a failure raises.
void SyncToDisk(const std::filesystem::path& path) {
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  const bool synced = descriptor >= 0 && ::fsync(descriptor) == 0;
  const int error = errno;
  if (descriptor >= 0) ::close(descriptor);
  if (!synced) throw Exception("Cannot write '" + path.string() + "' to the disk: " + std::strerror(error));
}

}  // namespace

std::filesystem::path CreateTempleDatabase(const std::filesystem::path& folder) {
  const std::filesystem::path target = folder / kDatabaseFileName;
  if (std::filesystem::exists(std::filesystem::symlink_status(target))) ThrowExists(target);
  const StagingFolder staging(folder);
  const std::filesystem::path built = staging.Path() / kDatabaseFileName;
  CreateFile(built);
  CreateTables(built);
  const std::vector<TableRow> rows = StartingRows();
  AppendRows(built, rows);
  SyncToDisk(built);
  // A link never replaces an existing name, unlike a rename.
  if (::link(built.c_str(), target.c_str()) != 0) {
    if (errno == EEXIST) ThrowExists(target);
    throw Exception("Cannot create the database file '" + target.string() + "': " + std::strerror(errno));
  }
  SyncToDisk(folder);
  return target;
}
