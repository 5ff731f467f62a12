#include "engine/storage/system/TableListFile.h"

#include <algorithm>
#include <cstring>

#include "engine/foundation/VTRExcept.h"
#include "engine/storage/pager/ByteOrder.h"
#include "engine/storage/pager/DiskPageManager.h"
#include "engine/storage/pager/PageHeader.h"
#include "engine/storage/system/RecordFile.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/TextCase.h"

namespace {

constexpr int kNameAt = 0;
constexpr int kNameFieldSize = 256;
constexpr int kTableIDAt = 256;
constexpr int kMetadataStartAt = 260;
constexpr int kMostUpdatedStartAt = 264;
constexpr int kLocksStartAt = 268;

std::string_view CutName(std::string_view name) {
  return name.substr(0, kMaxTableNameLength);
}

}  // namespace

void EncodeTableListEntry(const TableListEntry& entry, std::span<uint8_t, kTableListEntrySize> out) {
  uint8_t* p = out.data();
  const std::string_view name = CutName(entry.Name);
  std::memset(p + kNameAt, 0, kNameFieldSize);
  p[kNameAt] = static_cast<uint8_t>(name.size());
  std::memcpy(p + kNameAt + 1, name.data(), name.size());
  StoreI32(p + kTableIDAt, entry.TableID);
  StoreI32(p + kMetadataStartAt, entry.MetadataStart);
  StoreI32(p + kMostUpdatedStartAt, entry.MostUpdatedStart);
  StoreI32(p + kLocksStartAt, entry.LocksStart);
}

TableListEntry DecodeTableListEntry(std::span<const uint8_t, kTableListEntrySize> in) {
  const uint8_t* p = in.data();
  // A length byte never exceeds the 255 characters the field holds.
  return TableListEntry{std::string(reinterpret_cast<const char*>(p + kNameAt + 1), p[kNameAt]),
                        LoadI32(p + kTableIDAt), LoadI32(p + kMetadataStartAt),
                        LoadI32(p + kMostUpdatedStartAt), LoadI32(p + kLocksStartAt)};
}

TVTRTableListFile::TVTRTableListFile(TVTRDiskPageManager& manager) : file_(manager, ptTableList) {}

int32_t TVTRTableListFile::CreateFile() {
  file_.CreateFile(kSystemSessionID);
  const int32_t start_page = file_.StartPage();
  CloseFile();
  return start_page;
}

void TVTRTableListFile::OpenFile(int32_t start_page) {
  if (IsOpen()) throw EVTRException(30393, "Table list file already opened.");
  file_.OpenFile(start_page);
}

void TVTRTableListFile::CloseFile() {
  file_.CloseFile();
  entries_.clear();
}

void TVTRTableListFile::Load() {
  entries_ = ReadRecords<kTableListEntrySize, TableListEntry>(file_, DecodeTableListEntry);
}

void TVTRTableListFile::Save() {
  WriteRecords<kTableListEntrySize>(file_, entries_, EncodeTableListEntry);
}

int TVTRTableListFile::IndexOfTable(std::string_view name) const {
  const std::string wanted = UpperCase(CutName(name));
  const auto it = std::find_if(entries_.begin(), entries_.end(), [&wanted](const TableListEntry& entry) {
    return UpperCase(entry.Name) == wanted;
  });
  return it == entries_.end() ? -1 : static_cast<int>(it - entries_.begin());
}

int TVTRTableListFile::IndexOfListed(std::string_view name, int32_t native_error) const {
  const int index = IndexOfTable(name);
  if (index == -1) throw EVTRException::CreateFmt(native_error, "Table '%s' not exists.", name);
  return index;
}

void TVTRTableListFile::AddTable(std::string_view name, int32_t table_id, int32_t metadata_start,
                                 int32_t most_updated_start, int32_t locks_start) {
  Load();
  if (IndexOfTable(name) != -1)
    throw EVTRException::CreateFmt(30395, "Cannot create table. Table '%s' already exists", name);
  entries_.push_back(
      TableListEntry{std::string(CutName(name)), table_id, metadata_start, most_updated_start, locks_start});
}

TableListEntry TVTRTableListFile::GetTable(std::string_view name) {
  Load();
  return entries_[IndexOfListed(name, 30396)];
}

void TVTRTableListFile::DeleteTable(std::string_view name) {
  Load();
  entries_.erase(entries_.begin() + IndexOfListed(name, 30405));
}

void TVTRTableListFile::RenameTable(std::string_view name, std::string_view new_name) {
  Load();
  const int index = IndexOfListed(name, 30397);
  const int holder = IndexOfTable(new_name);
  // Two entries of one name would hide the second table for good.
  if (holder != -1 && holder != index)
    throw EVTRException::CreateFmt(30395, "Cannot create table. Table '%s' already exists", new_name);
  entries_[index].Name = CutName(new_name);
}

bool TVTRTableListFile::TableExists(std::string_view name) {
  Load();
  return IndexOfTable(name) != -1;
}

void TVTRTableListFile::GetTableNames(TStringList& names) {
  Load();
  names.Clear();
  for (const TableListEntry& entry : entries_) names.Add(entry.Name);
}
