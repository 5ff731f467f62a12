#pragma once
// TVTRTableListFile: the tables of a database with the start pages of their
// internal files. A transacted internal file of page type 6, uncompressed,
// read and written whole in the system session; its content is an array of
// entries:
//
//   offset  size  content
//   0       256   table name: u8 length (at most 255), the name, zero fill
//   256     4     i32 table ID
//   260     4     i32 start page of the metadata file (page type 8)
//   264     4     i32 start page of the counters file (page type 9)
//   268     4     i32 start page of the lock area (page type 7)
//
// Names are cut to 255 characters and compared without ASCII case.
//
// Other processes change the list, so every change and look-up reloads it
// from the file first. Changes require the caller to hold the tables lock
// (TVTRDiskPageManager::LockTables) from the change through the commit of the
// system session, and to Save after each change.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/storage/system/TransactedFile.h"

class TStringList;
class TVTRDiskPageManager;

inline constexpr int32_t kTableListEntrySize = 272;
inline constexpr size_t kMaxTableNameLength = 255;

struct TableListEntry {
  std::string Name;
  int32_t TableID = -1;
  int32_t MetadataStart = -1;
  int32_t MostUpdatedStart = -1;
  int32_t LocksStart = -1;
};

void EncodeTableListEntry(const TableListEntry& entry, std::span<uint8_t, kTableListEntrySize> out);
TableListEntry DecodeTableListEntry(std::span<const uint8_t, kTableListEntrySize> in);

class TVTRTableListFile {
 public:
  explicit TVTRTableListFile(TVTRDiskPageManager& manager);

  bool IsOpen() const { return file_.IsOpen(); }

  // The start page of a new, empty list created in the system session; the
  // object stays closed.
  int32_t CreateFile();
  // 30393 when the object is open already.
  void OpenFile(int32_t start_page);
  void CloseFile();
  void Load();
  void Save();

  // 30395 when the name is listed.
  void AddTable(std::string_view name, int32_t table_id, int32_t metadata_start, int32_t most_updated_start,
                int32_t locks_start);
  // 30396 when the name is not listed.
  TableListEntry GetTable(std::string_view name);
  // 30405 when the name is not listed.
  void DeleteTable(std::string_view name);
  // 30397 when the name is not listed; 30395 when another table has the new name.
  void RenameTable(std::string_view name, std::string_view new_name);
  bool TableExists(std::string_view name);
  // The names in list order.
  void GetTableNames(TStringList& names);

 private:
  int IndexOfTable(std::string_view name) const;
  int IndexOfListed(std::string_view name, int32_t native_error) const;

  TVTRInternalDBTransactedAccessFile file_;
  std::vector<TableListEntry> entries_;
};
